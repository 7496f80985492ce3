// Display pictures: how a bound value is shown and how typed text is checked.
//
//   "s20", "@s20", "S20"   text of up to 20 characters
//   "n-14"                 a signed whole number of up to 14 digits
//   "n3"                   an unsigned whole number of up to 3 digits
//   "n-14b"                as "n-14", shown blank when zero
//   "n-10.2"               two decimal places shown ("12.00"); input keeps the whole part
// Numbers are shown without grouping; input may carry blanks around the
// number and "," separators. Any other picture shows text as it stands.
#ifndef WEVO_PLATFORM_TOOLKIT_PICTURE_H_
#define WEVO_PLATFORM_TOOLKIT_PICTURE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "wevo/value.h"

namespace wevo::toolkit {

struct Picture {
  enum Kind : uint8_t { None, Text, Number };
  Kind kind = None;
  int width = 0;      // characters (text) or digits (number)
  bool sign = false;  // number: "-" allowed
  bool blankZero = false;
  int decimals = 0;

  static Picture parse(std::string_view picture);
  bool isNumber() const { return kind == Number; }

  // The value as shown on screen.
  std::string format(const Value& value) const;
  // Checks typed text. On success sets `out` (a number for a number picture,
  // the text cut to the width for a text picture) and returns true.
  bool check(std::string_view typed, Value& out) const;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_PICTURE_H_
