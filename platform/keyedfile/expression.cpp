#include "platform/keyedfile/expression.h"

#include <charconv>
#include <utility>

#include "wevo/text.h"

namespace wevo::kf {

struct Expression::Node {
  enum class Kind { kLiteral, kName, kUpper, kCompare, kAnd, kOr, kNot };
  enum class Op { kEq, kNe, kLt, kLe, kGt, kGe };
  Kind kind = Kind::kLiteral;
  Op op = Op::kEq;
  FieldValue literal;
  NameRef ref;
  std::unique_ptr<Node> left, right;

  bool usesRow() const {
    if (kind == Kind::kName) return ref.kind == NameRef::Kind::kRowField;
    return (left && left->usesRow()) || (right && right->usesRow());
  }
  // The row field this node is, bare or in UPPER(); -1 otherwise.
  int rowField(bool* upper) const {
    const Node* n = this;
    *upper = false;
    if (n->kind == Kind::kUpper) {
      *upper = true;
      n = n->left.get();
    }
    return n->kind == Kind::kName && n->ref.kind == NameRef::Kind::kRowField ? n->ref.index : -1;
  }
};

namespace {

using Node = Expression::Node;

// Expressions come from code, but a runaway one must not run the stack dry.
constexpr size_t kMaxLength = 8192;
constexpr int kMaxDepth = 64;

struct Token {
  enum class Kind { kEnd, kName, kText, kNumber, kSymbol };
  Kind kind = Kind::kEnd;
  std::string text;  // name, text literal or symbol
  int64_t number = 0;
};

bool nameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool nameChar(char c) { return nameStart(c) || (c >= '0' && c <= '9') || c == ':'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

class Lexer {
 public:
  explicit Lexer(std::string_view s) : s_(s) {}

  bool next(Token& t, std::string* error) {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n')) ++pos_;
    t = Token{};
    if (pos_ >= s_.size()) return true;
    const size_t start = pos_;
    char c = s_[pos_];
    if (nameStart(c)) {
      while (pos_ < s_.size() && nameChar(s_[pos_])) ++pos_;
      t.kind = Token::Kind::kName;
      t.text = std::string(s_.substr(start, pos_ - start));
      return true;
    }
    if (digit(c)) {
      while (pos_ < s_.size() && digit(s_[pos_])) ++pos_;
      auto [end, ec] = std::from_chars(s_.data() + start, s_.data() + pos_, t.number);
      if (ec != std::errc()) return fail(error, "number out of range at " + std::to_string(start + 1));
      t.kind = Token::Kind::kNumber;
      return true;
    }
    if (c == '\'') {
      ++pos_;
      for (;;) {
        if (pos_ >= s_.size()) return fail(error, "unterminated text at " + std::to_string(start + 1));
        if (s_[pos_] == '\'') {
          if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
            t.text.push_back('\'');
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        t.text.push_back(s_[pos_++]);
      }
      t.kind = Token::Kind::kText;
      return true;
    }
    for (std::string_view sym : {"<>", "<=", ">=", "=", "<", ">", "(", ")", ",", "+", "-"}) {
      if (s_.substr(pos_, sym.size()) == sym) {
        pos_ += sym.size();
        t.kind = Token::Kind::kSymbol;
        t.text = std::string(sym);
        return true;
      }
    }
    return fail(error, std::string("unexpected '") + c + "' at " + std::to_string(start + 1));
  }

  size_t offset() const { return pos_; }

 private:
  static bool fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
  }
  std::string_view s_;
  size_t pos_ = 0;
};

bool keyword(const Token& t, std::string_view word) {
  return t.kind == Token::Kind::kName && text::sameNoCase(t.text, word) && t.text.size() == word.size();
}
bool symbol(const Token& t, std::string_view sym) { return t.kind == Token::Kind::kSymbol && t.text == sym; }

class Parser {
 public:
  Parser(std::string_view s, const Scope& scope, std::string* error) : lex_(s), scope_(scope), error_(error) {}

  bool start() { return advance(); }
  bool atEnd() const { return tok_.kind == Token::Kind::kEnd; }
  const Token& token() const { return tok_; }
  bool advance() { return lex_.next(tok_, error_); }

  std::unique_ptr<Node> parseOr(int depth) {
    if (depth > kMaxDepth) return fail("expression nested too deeply");
    auto left = parseAnd(depth);
    while (left && keyword(tok_, "OR")) {
      if (!advance()) return nullptr;
      auto right = parseAnd(depth);
      if (!right) return nullptr;
      left = binary(Node::Kind::kOr, std::move(left), std::move(right));
    }
    return left;
  }

  std::unique_ptr<Node> parseAnd(int depth) {
    auto left = parseNot(depth);
    while (left && keyword(tok_, "AND")) {
      if (!advance()) return nullptr;
      auto right = parseNot(depth);
      if (!right) return nullptr;
      left = binary(Node::Kind::kAnd, std::move(left), std::move(right));
    }
    return left;
  }

  std::unique_ptr<Node> parseNot(int depth) {
    if (keyword(tok_, "NOT")) {
      if (depth > kMaxDepth) return fail("expression nested too deeply");
      if (!advance()) return nullptr;
      auto inner = parseNot(depth + 1);
      if (!inner) return nullptr;
      auto n = std::make_unique<Node>();
      n->kind = Node::Kind::kNot;
      n->left = std::move(inner);
      return n;
    }
    return parseCompare(depth);
  }

  std::unique_ptr<Node> parseCompare(int depth) {
    auto left = parseTerm(depth);
    if (!left) return nullptr;
    static const std::pair<const char*, Node::Op> kOps[] = {{"=", Node::Op::kEq},  {"<>", Node::Op::kNe},
                                                            {"<", Node::Op::kLt},  {"<=", Node::Op::kLe},
                                                            {">", Node::Op::kGt},  {">=", Node::Op::kGe}};
    for (const auto& [sym, op] : kOps) {
      if (!symbol(tok_, sym)) continue;
      if (!advance()) return nullptr;
      auto right = parseTerm(depth);
      if (!right) return nullptr;
      auto n = binary(Node::Kind::kCompare, std::move(left), std::move(right));
      n->op = op;
      return n;
    }
    return left;
  }

  std::unique_ptr<Node> parseTerm(int depth) {
    if (depth > kMaxDepth) return fail("expression nested too deeply");
    if (symbol(tok_, "(")) {
      if (!advance()) return nullptr;
      auto inner = parseOr(depth + 1);
      if (!inner || !expect(")")) return nullptr;
      return inner;
    }
    if (tok_.kind == Token::Kind::kText || tok_.kind == Token::Kind::kNumber || symbol(tok_, "-")) {
      auto n = std::make_unique<Node>();
      if (symbol(tok_, "-")) {
        if (!advance()) return nullptr;
        if (tok_.kind != Token::Kind::kNumber) return fail("a number must follow '-'");
        n->literal = FieldValue::ofNumber(-tok_.number);
      } else if (tok_.kind == Token::Kind::kNumber) {
        n->literal = FieldValue::ofNumber(tok_.number);
      } else {
        n->literal.isText = true;
        n->literal.text = tok_.text;
      }
      if (!advance()) return nullptr;
      return n;
    }
    if (keyword(tok_, "UPPER")) {
      if (!advance() || !expect("(")) return nullptr;
      auto inner = parseOr(depth + 1);
      if (!inner || !expect(")")) return nullptr;
      auto n = std::make_unique<Node>();
      n->kind = Node::Kind::kUpper;
      n->left = std::move(inner);
      return n;
    }
    if (tok_.kind == Token::Kind::kName) return name();
    return fail(atEnd() ? "expression ends too early" : "unexpected '" + tok_.text + "'");
  }

  std::unique_ptr<Node> name() {
    std::optional<NameRef> ref = scope_.resolve(tok_.text);
    if (!ref) return fail("unknown name " + tok_.text);
    auto n = std::make_unique<Node>();
    n->kind = Node::Kind::kName;
    n->ref = *ref;
    if (!advance()) return nullptr;
    return n;
  }

  bool expect(std::string_view sym) {
    if (!symbol(tok_, sym)) {
      fail("'" + std::string(sym) + "' expected");
      return false;
    }
    return advance();
  }

  std::unique_ptr<Node> fail(std::string message) {
    if (error_ && error_->empty()) *error_ = std::move(message);
    return nullptr;
  }

 private:
  static std::unique_ptr<Node> binary(Node::Kind kind, std::unique_ptr<Node> l, std::unique_ptr<Node> r) {
    auto n = std::make_unique<Node>();
    n->kind = kind;
    n->left = std::move(l);
    n->right = std::move(r);
    return n;
  }

  Lexer lex_;
  Token tok_;
  const Scope& scope_;
  std::string* error_;
};

std::string textForm(const FieldValue& v) { return v.isText ? v.text : std::to_string(v.number); }

bool truthy(const FieldValue& v) { return v.isText ? !text::clip(v.text).empty() : v.number != 0; }

}  // namespace

std::optional<int64_t> numberIn(std::string_view s) {
  s = text::clip(s);
  size_t lead = 0;
  while (lead < s.size() && s[lead] == ' ') ++lead;
  s = s.substr(lead);
  int64_t n = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return n;
}

namespace {

FieldValue eval(const Node& n, const Scope& scope, const void* row) {
  switch (n.kind) {
    case Node::Kind::kLiteral:
      return n.literal;
    case Node::Kind::kName:
      return scope.value(n.ref, row);
    case Node::Kind::kUpper:
      return FieldValue::ofText(text::upper(textForm(eval(*n.left, scope, row))));
    case Node::Kind::kNot:
      return FieldValue::ofNumber(truthy(eval(*n.left, scope, row)) ? 0 : 1);
    case Node::Kind::kAnd:
      return FieldValue::ofNumber(truthy(eval(*n.left, scope, row)) && truthy(eval(*n.right, scope, row)));
    case Node::Kind::kOr:
      return FieldValue::ofNumber(truthy(eval(*n.left, scope, row)) || truthy(eval(*n.right, scope, row)));
    case Node::Kind::kCompare: {
      int c = compareValues(eval(*n.left, scope, row), eval(*n.right, scope, row));
      bool r = false;
      switch (n.op) {
        case Node::Op::kEq:
          r = c == 0;
          break;
        case Node::Op::kNe:
          r = c != 0;
          break;
        case Node::Op::kLt:
          r = c < 0;
          break;
        case Node::Op::kLe:
          r = c <= 0;
          break;
        case Node::Op::kGt:
          r = c > 0;
          break;
        case Node::Op::kGe:
          r = c >= 0;
          break;
      }
      return FieldValue::ofNumber(r ? 1 : 0);
    }
  }
  return FieldValue::ofNumber(0);
}

void collectAndTerms(const Node* n, std::vector<const Node*>& out) {
  if (n->kind == Node::Kind::kAnd) {
    collectAndTerms(n->left.get(), out);
    collectAndTerms(n->right.get(), out);
  } else {
    out.push_back(n);
  }
}

}  // namespace

int compareValues(const FieldValue& a, const FieldValue& b) {
  auto sign = [](int64_t x, int64_t y) { return (x > y) - (x < y); };
  if (!a.isText && !b.isText) return sign(a.number, b.number);
  if (a.isText != b.isText) {
    std::optional<int64_t> n = numberIn(a.isText ? a.text : b.text);
    if (n) return a.isText ? sign(*n, b.number) : sign(a.number, *n);
  }
  std::string ta = textForm(a), tb = textForm(b);
  int c = text::clip(ta).compare(text::clip(tb));
  return (c > 0) - (c < 0);
}

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

bool Expression::parse(std::string_view source, const Scope& scope, std::string* error) {
  root_.reset();
  terms_.clear();
  if (error) error->clear();
  if (source.size() > kMaxLength) {
    if (error) *error = "expression too long";
    return false;
  }
  Parser p(source, scope, error);
  if (!p.start()) return false;
  if (p.atEnd()) return true;
  std::unique_ptr<Node> root = p.parseOr(0);
  if (!root) return false;
  if (!p.atEnd()) {
    p.fail("unexpected '" + p.token().text + "' after the expression");
    return false;
  }
  root_ = std::move(root);
  collectAndTerms(root_.get(), terms_);
  return true;
}

bool Expression::empty() const { return root_ == nullptr; }

FieldValue Expression::evaluate(const Scope& scope, const void* row) const {
  return root_ ? eval(*root_, scope, row) : FieldValue::ofNumber(1);
}

bool Expression::accepts(const Scope& scope, const void* row) const { return truthy(evaluate(scope, row)); }

std::vector<Expression::Pin> Expression::pins() const {
  std::vector<Pin> out;
  for (size_t i = 0; i < terms_.size(); ++i) {
    const Node* t = terms_[i];
    if (t->kind != Node::Kind::kCompare || t->op != Node::Op::kEq) continue;
    bool upper = false;
    int field = t->left->rowField(&upper);
    if (field >= 0 && !t->right->usesRow()) {
      out.push_back({field, upper, static_cast<int>(i)});
      continue;
    }
    field = t->right->rowField(&upper);
    if (field >= 0 && !t->left->usesRow()) out.push_back({field, upper, static_cast<int>(i)});
  }
  return out;
}

FieldValue Expression::pinValue(const Pin& pin, const Scope& scope) const {
  const Node* t = terms_[static_cast<size_t>(pin.term)];
  const Node& fixed = t->left->usesRow() ? *t->right : *t->left;
  return eval(fixed, scope, nullptr);
}

bool parseOrder(std::string_view source, const Scope& scope, std::vector<OrderTerm>& terms, std::string* error) {
  terms.clear();
  if (error) error->clear();
  if (source.size() > kMaxLength) {
    if (error) *error = "order too long";
    return false;
  }
  Parser p(source, scope, error);
  if (!p.start()) return false;
  while (!p.atEnd()) {
    OrderTerm term;
    if (symbol(p.token(), "+") || symbol(p.token(), "-")) {
      term.descending = symbol(p.token(), "-");
      if (!p.advance()) return false;
    }
    if (keyword(p.token(), "UPPER")) {
      term.upper = true;
      if (!p.advance() || !p.expect("(")) return false;
    }
    if (p.token().kind != Token::Kind::kName) {
      p.fail("a field name expected in the order");
      return false;
    }
    std::unique_ptr<Node> n = p.name();
    if (!n) return false;
    if (n->ref.kind != NameRef::Kind::kRowField) {
      p.fail("the order names a field that is not the file's");
      return false;
    }
    term.field = n->ref.index;
    if (term.upper && !p.expect(")")) return false;
    terms.push_back(term);
    if (p.atEnd()) break;
    if (!p.expect(",")) return false;
  }
  return true;
}

}  // namespace wevo::kf
