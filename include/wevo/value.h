// A property value: text or a number, as the toolkit's properties are read and
// written. Reading a number as text gives its decimal form; reading text as a
// number parses an optional sign and leading digits after leading blanks
// ("" and "abc" give 0, "12px" gives 12).
#ifndef WEVO_VALUE_H_
#define WEVO_VALUE_H_

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "wevo/text.h"

namespace wevo {

class Value {
 public:
  Value() = default;
  Value(int v) : isNumber_(true), number_(v) {}                       // NOLINT: implicit by design
  Value(int64_t v) : isNumber_(true), number_(v) {}                   // NOLINT
  Value(uint32_t v) : isNumber_(true), number_(v) {}                  // NOLINT
  Value(bool v) : isNumber_(true), number_(v ? 1 : 0) {}              // NOLINT
  Value(const char* s) : text_(s ? s : "") {}                         // NOLINT
  Value(std::string s) : text_(std::move(s)) {}                       // NOLINT
  Value(std::string_view s) : text_(s) {}                             // NOLINT

  bool isNumber() const { return isNumber_; }

  int64_t num() const {
    if (isNumber_) return number_;
    return parse(text_);
  }
  int32_t i32() const { return static_cast<int32_t>(num()); }

  std::string str() const { return isNumber_ ? std::to_string(number_) : text_; }

  // A switch is set when it reads as true: not zero and not blank.
  bool truthy() const {
    if (isNumber_) return number_ != 0;
    std::string_view t = text::clip(text_);
    if (t.empty()) return false;
    bool allZero = true;
    for (char c : t)
      if (c != '0' && c != ' ' && c != '-' && c != '+' && c != '.') allZero = false;
    return !allZero;
  }

  friend bool operator==(const Value& a, const Value& b) {
    if (a.isNumber_ && b.isNumber_) return a.number_ == b.number_;
    return a.str() == b.str();
  }

  static int64_t parse(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    int64_t v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      if (v < (INT64_MAX - 9) / 10) v = v * 10 + (s[i] - '0');
      ++i;
    }
    return negative ? -v : v;
  }

 private:
  bool isNumber_ = false;
  int64_t number_ = 0;
  std::string text_;
};

}  // namespace wevo

#endif  // WEVO_VALUE_H_
