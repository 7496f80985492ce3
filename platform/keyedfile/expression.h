// The expressions views are made of, read and evaluated here.
//
// Filter:  or    := and {OR and}
//          and   := not {AND not}
//          not   := NOT not | cmp
//          cmp   := term [(= | <> | < | <= | > | >=) term]
//          term  := '(' or ')' | UPPER '(' or ')' | 'text' | [-]digits | name
// Order:   [+|-] (UPPER '(' name ')' | name) {, ...}
//
// Keywords and names ignore case; a name may hold colons (WIN:Label,
// BRW1::Sort1:Save:WIN:ProcedureName). A Scope gives names their meaning when
// the text is read and their values when it is evaluated. Values are text or
// whole numbers; text compares byte by byte ignoring trailing blanks, a number
// with text that reads as a number compares as numbers; a value is true when
// it is a non-zero number or non-blank text.
#ifndef WEVO_PLATFORM_KEYEDFILE_EXPRESSION_H_
#define WEVO_PLATFORM_KEYEDFILE_EXPRESSION_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyedfile/row_codec.h"

namespace wevo::kf {

// What a name stands for: a field of the row being evaluated, a bound
// variable, or a field of a bound record (numbers are the scope's own).
struct NameRef {
  enum class Kind { kRowField, kVariable, kRecordField };
  Kind kind = Kind::kRowField;
  int index = 0;  // field of the row / variable / record
  int field = 0;  // field of that record
};

class Scope {
 public:
  virtual ~Scope() = default;
  virtual std::optional<NameRef> resolve(std::string_view name) const = 0;
  // `row` is null when the value must not depend on a row.
  virtual FieldValue value(const NameRef& ref, const void* row) const = 0;
};

class Expression {
 public:
  Expression();
  ~Expression();
  Expression(Expression&&) noexcept;
  Expression& operator=(Expression&&) noexcept;

  // Reads a filter; "" accepts every row. False with a message on a syntax
  // error or an unknown name.
  bool parse(std::string_view text, const Scope& scope, std::string* error);
  bool empty() const;

  FieldValue evaluate(const Scope& scope, const void* row) const;
  bool accepts(const Scope& scope, const void* row) const;

  // The terms of the top-level chain of ANDs that fix a row field: `field =
  // value` or `UPPER(field) = value` (either way round), the value naming no
  // row field.
  struct Pin {
    int field = 0;
    bool upper = false;
    int term = 0;  // which term, for pinValue()
  };
  std::vector<Pin> pins() const;
  FieldValue pinValue(const Pin& pin, const Scope& scope) const;

  struct Node;

 private:
  std::unique_ptr<Node> root_;
  std::vector<const Node*> terms_;  // the AND chain's terms
};

struct OrderTerm {
  int field = 0;  // row field
  bool upper = false;
  bool descending = false;
};

// Reads an order expression ("" is no order). Names must be row fields.
bool parseOrder(std::string_view text, const Scope& scope, std::vector<OrderTerm>& terms, std::string* error);

// Comparison as expressions make it: <0, 0, >0.
int compareValues(const FieldValue& a, const FieldValue& b);

// The whole number a text reads as (blanks around it allowed), if any.
std::optional<int64_t> numberIn(std::string_view s);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_EXPRESSION_H_
