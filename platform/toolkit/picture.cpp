#include "platform/toolkit/picture.h"

#include <cstdlib>

#include "wevo/text.h"

namespace wevo::toolkit {

namespace {

int readInt(std::string_view s, size_t& i) {
  int v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    if (v < 100000) v = v * 10 + (s[i] - '0');
    ++i;
  }
  return v;
}

}  // namespace

Picture Picture::parse(std::string_view p) {
  Picture pic;
  size_t i = 0;
  while (i < p.size() && p[i] == ' ') ++i;
  if (i < p.size() && p[i] == '@') ++i;
  if (i >= p.size()) return pic;
  char k = text::upperChar(p[i++]);
  if (k == 'S') {
    pic.kind = Text;
    pic.width = readInt(p, i);
  } else if (k == 'N') {
    pic.kind = Number;
    if (i < p.size() && p[i] == '-') {
      pic.sign = true;
      ++i;
    }
    pic.width = readInt(p, i);
    if (i < p.size() && p[i] == '.') {
      ++i;
      pic.decimals = readInt(p, i);
    }
    while (i < p.size()) {
      char c = text::upperChar(p[i++]);
      if (c == 'B') pic.blankZero = true;
      if (c == '-') pic.sign = true;
    }
  }
  return pic;
}

std::string Picture::format(const Value& value) const {
  switch (kind) {
    case None:
      return std::string(text::clip(value.str()));
    case Text: {
      std::string s(text::clip(value.str()));
      if (width > 0 && s.size() > static_cast<size_t>(width)) s.resize(static_cast<size_t>(width));
      return s;
    }
    case Number: {
      int64_t n = value.num();
      if (n == 0 && blankZero) return "";
      if (n < 0 && !sign) n = -n;
      std::string digits = std::to_string(n < 0 ? -n : n);
      int digitRoom = width > 0 ? width : 18;
      if (static_cast<int>(digits.size()) > digitRoom) return std::string(static_cast<size_t>(digitRoom), '#');
      std::string out = n < 0 ? "-" + digits : digits;
      if (decimals > 0) out += "." + std::string(static_cast<size_t>(decimals), '0');
      return out;
    }
  }
  return {};
}

bool Picture::check(std::string_view typed, Value& out) const {
  if (kind != Number) {
    std::string s(typed);
    if (kind == Text && width > 0 && s.size() > static_cast<size_t>(width)) s.resize(static_cast<size_t>(width));
    out = Value(std::move(s));
    return true;
  }
  size_t i = 0;
  while (i < typed.size() && typed[i] == ' ') ++i;
  bool negative = false;
  if (i < typed.size() && (typed[i] == '-' || typed[i] == '+')) {
    negative = typed[i] == '-';
    if (negative && !sign) return false;
    ++i;
  }
  int64_t v = 0;
  int digits = 0;
  while (i < typed.size() && ((typed[i] >= '0' && typed[i] <= '9') || typed[i] == ',')) {
    if (typed[i] != ',') {
      if (++digits > 18) return false;
      v = v * 10 + (typed[i] - '0');
    }
    ++i;
  }
  if (i < typed.size() && typed[i] == '.') {  // decimal places: kept out of a whole-number variable
    ++i;
    while (i < typed.size() && typed[i] >= '0' && typed[i] <= '9') ++i;
  }
  while (i < typed.size() && typed[i] == ' ') ++i;
  if (i != typed.size()) return false;
  if (width > 0 && digits > width) return false;
  out = Value(negative ? -v : v);
  return true;
}

}  // namespace wevo::toolkit
