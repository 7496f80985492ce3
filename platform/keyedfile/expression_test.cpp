#include "platform/keyedfile/expression.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/keyedfile/test_items.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

// Row fields are ITM:<field> of an Item; variables are named values.
class TestScope : public Scope {
 public:
  std::map<std::string, FieldValue> variables;

  std::optional<NameRef> resolve(std::string_view name) const override {
    std::string upper = text::upper(name);
    int i = 0;
    for (const auto& entry : variables) {
      if (text::upper(entry.first) == upper) return NameRef{NameRef::Kind::kVariable, i, 0};
      ++i;
    }
    if (upper.rfind("ITM:", 0) == 0) {
      int f = testing::itemsDecl().fieldIndex(name.substr(4));
      if (f >= 0) return NameRef{NameRef::Kind::kRowField, f, 0};
    }
    return std::nullopt;
  }

  FieldValue value(const NameRef& ref, const void* row) const override {
    if (ref.kind == NameRef::Kind::kRowField)
      return row ? fieldValue(testing::itemsDecl().fields[static_cast<size_t>(ref.index)], row) : FieldValue{};
    auto it = variables.begin();
    std::advance(it, ref.index);
    return it->second;
  }
};

class Expressions : public ::testing::Test {
 protected:
  bool accepts(std::string_view text) {
    Expression e;
    std::string error;
    EXPECT_TRUE(e.parse(text, scope, &error)) << text << ": " << error;
    return e.accepts(scope, &row);
  }
  std::string parseError(std::string_view text) {
    Expression e;
    std::string error;
    EXPECT_FALSE(e.parse(text, scope, &error)) << text;
    return error;
  }

  TestScope scope;
  Item row = makeItem(7, "MainWindow", "?OkButton", -3, "it's");
};

TEST_F(Expressions, ComparisonsIgnoreTrailingBlanksAndUpperIgnoresCase) {
  scope.variables["LOC:Marker"] = FieldValue::ofText("?okbutton");
  scope.variables["BRW1::Sort1:Save:WIN:ProcedureName"] = FieldValue::ofText("mainwindow      ");
  EXPECT_TRUE(accepts("UPPER(ITM:Name) = UPPER(BRW1::Sort1:Save:WIN:ProcedureName)"));
  EXPECT_FALSE(accepts("ITM:Name = BRW1::Sort1:Save:WIN:ProcedureName"));
  EXPECT_TRUE(accepts("upper(itm:marker) = upper(loc:marker) and ITM:NAME = 'MainWindow'"));
  EXPECT_TRUE(accepts("ITM:NOTE = 'it''s   '"));
  EXPECT_FALSE(accepts("ITM:NOTE = ' it''s'"));  // leading blanks count
  EXPECT_TRUE(accepts("ITM:NAME <> 'Main' AND ITM:NAME > 'Main' AND ITM:NAME < 'Mainz' AND ITM:NAME >= 'MainWindow'"));
  EXPECT_TRUE(accepts("'b' > 'B'"));  // bytes, not letters
  EXPECT_FALSE(accepts("UPPER('b') > 'B'"));
}

TEST_F(Expressions, NumbersLogicAndPrecedence) {
  scope.variables["LOC:N"] = FieldValue::ofNumber(-3);
  EXPECT_TRUE(accepts("ITM:NUM = -3 AND ITM:UID = 7"));
  EXPECT_TRUE(accepts("ITM:NUM = LOC:N"));
  EXPECT_TRUE(accepts("ITM:NUM < 0 AND ITM:UID <= 7 AND ITM:UID >= 7 AND ITM:UID > 6"));
  EXPECT_TRUE(accepts("ITM:UID = '7'"));   // text that reads as a number compares as one
  EXPECT_TRUE(accepts("ITM:UID = ' 7 '"));
  EXPECT_FALSE(accepts("ITM:UID = '7x'"));
  EXPECT_TRUE(accepts("10 > 9"));           // as numbers
  EXPECT_FALSE(accepts("'10' > '9'"));      // as text
  EXPECT_TRUE(accepts("1 = 0 OR 1 = 1 AND 2 = 2"));  // AND binds tighter
  EXPECT_FALSE(accepts("(1 = 0 OR 1 = 1) AND 2 = 3"));
  EXPECT_TRUE(accepts("NOT 1 = 0"));
  EXPECT_TRUE(accepts("NOT NOT ITM:UID"));
  EXPECT_FALSE(accepts("ITM:MARKER = '' OR NOT ITM:NAME"));

  Expression none;
  ASSERT_TRUE(none.parse("  ", scope, nullptr));
  EXPECT_TRUE(none.empty());
  EXPECT_TRUE(none.accepts(scope, &row));
}

TEST_F(Expressions, BadTextIsRefusedWithAReason) {
  EXPECT_NE(parseError("ITM:NOPE = 1").find("unknown name ITM:NOPE"), std::string::npos);
  EXPECT_NE(parseError("LOC:Missing = 1").find("unknown name"), std::string::npos);
  EXPECT_NE(parseError("ITM:NAME = 'open").find("unterminated"), std::string::npos);
  EXPECT_NE(parseError("UPPER(ITM:NAME = 'a'").find("')' expected"), std::string::npos);
  EXPECT_NE(parseError("ITM:NAME = 'a' 'b'").find("after the expression"), std::string::npos);
  EXPECT_NE(parseError("ITM:NAME = ").find("ends too early"), std::string::npos);
  EXPECT_NE(parseError("ITM:NAME ; 1").find("unexpected ';'"), std::string::npos);
  EXPECT_NE(parseError("99999999999999999999 = 1").find("out of range"), std::string::npos);
  EXPECT_NE(parseError(std::string(500, '(') + "1" + std::string(500, ')')).find("too deeply"), std::string::npos);
  std::string nots;
  for (int i = 0; i < 300; ++i) nots += "NOT ";
  EXPECT_NE(parseError(nots + "1").find("too deeply"), std::string::npos);
  EXPECT_NE(parseError(std::string(9000, ' ') + "1").find("too long"), std::string::npos);
}

TEST_F(Expressions, PinsAreEqualitiesOfARowFieldWithAFixedValue) {
  scope.variables["LOC:Name"] = FieldValue::ofText("abc");
  Expression e;
  ASSERT_TRUE(e.parse("UPPER(ITM:NAME) = UPPER(LOC:Name) AND 4 = ITM:NUM AND ITM:MARKER <> 'a' AND "
                      "ITM:NOTE = ITM:NAME AND UPPER(ITM:UID) = 1",
                      scope, nullptr));
  std::vector<Expression::Pin> pins = e.pins();
  ASSERT_EQ(pins.size(), 3u);
  EXPECT_EQ(pins[0].field, 1);
  EXPECT_TRUE(pins[0].upper);
  EXPECT_EQ(e.pinValue(pins[0], scope).text, "ABC");
  EXPECT_EQ(pins[1].field, 3);
  EXPECT_FALSE(pins[1].upper);
  EXPECT_EQ(e.pinValue(pins[1], scope).number, 4);
  EXPECT_EQ(pins[2].field, 0);

  // Under an OR nothing is fixed.
  ASSERT_TRUE(e.parse("ITM:NAME = 'a' OR ITM:NAME = 'b'", scope, nullptr));
  EXPECT_TRUE(e.pins().empty());
  ASSERT_TRUE(e.parse("(ITM:NAME = 'a' AND ITM:NUM = 1) AND ITM:UID = 2", scope, nullptr));
  EXPECT_EQ(e.pins().size(), 3u);
}

TEST_F(Expressions, OrderNamesTheFilesFieldsWithDirections) {
  scope.variables["LOC:Name"] = FieldValue::ofText("abc");
  std::vector<OrderTerm> terms;
  std::string error;
  ASSERT_TRUE(parseOrder("+UPPER(ITM:Name), -ITM:NUM,ITM:UID", scope, terms, &error)) << error;
  ASSERT_EQ(terms.size(), 3u);
  EXPECT_EQ(terms[0].field, 1);
  EXPECT_TRUE(terms[0].upper);
  EXPECT_FALSE(terms[0].descending);
  EXPECT_EQ(terms[1].field, 3);
  EXPECT_TRUE(terms[1].descending);
  EXPECT_FALSE(terms[2].descending);
  ASSERT_TRUE(parseOrder("", scope, terms, &error));
  EXPECT_TRUE(terms.empty());
  EXPECT_FALSE(parseOrder("+LOC:Name", scope, terms, &error));
  EXPECT_NE(error.find("not the file's"), std::string::npos);
  EXPECT_FALSE(parseOrder("+UPPER(ITM:NAME", scope, terms, &error));
  EXPECT_FALSE(parseOrder("ITM:NAME ITM:NUM", scope, terms, &error));
  EXPECT_FALSE(parseOrder("+'x'", scope, terms, &error));
}

}  // namespace
}  // namespace wevo::kf
