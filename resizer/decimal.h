// Decimal numbers for the resizer's placement arithmetic.
//
// Scale factors (new size / old size) are held to four decimal places, so a
// factor of 2/3 is 0.6667 and the placements it gives are those of that
// four-place factor. Everything built from whole numbers, halves and such
// factors is exact here (eight places are kept); only storing a result as a
// whole number rounds it: to the nearest, halves away from zero, and values
// beyond 32 bits are clamped to the 32-bit range.
//
// Range: sums and single products of values whose whole parts fit in 64 bits
// are exact; products of products are not supported.
#ifndef WEVO_RESIZER_DECIMAL_H_
#define WEVO_RESIZER_DECIMAL_H_

#include <cstdint>
#include <string>

namespace wevo::resizer {

class Decimal {
 public:
  static constexpr int kPlaces = 8;

  constexpr Decimal() = default;
  static Decimal whole(int64_t value);
  // a / b rounded (halves away from zero) to `places` decimal places, 0 to 8.
  // b must not be 0.
  static Decimal quotient(int64_t a, int64_t b, int places);

  Decimal operator+(const Decimal& o) const { return fromUnits(units_ + o.units_); }
  Decimal operator-(const Decimal& o) const { return fromUnits(units_ - o.units_); }
  // Rounded to eight places (exact for a four-place factor times a half).
  Decimal operator*(const Decimal& o) const;
  // Half of it, rounded to eight places.
  Decimal half() const;
  friend bool operator==(const Decimal& a, const Decimal& b) { return a.units_ == b.units_; }

  // Nearest whole number, halves away from zero, clamped to 32 bits.
  int32_t toInt32() const;
  // "-12.5", "0.6667": without trailing zeros after the point, for messages.
  std::string str() const;

 private:
  __extension__ typedef __int128 Units;  // the value times 10^8
  static Decimal fromUnits(Units u) {
    Decimal d;
    d.units_ = u;
    return d;
  }
  // n / d rounded to the nearest whole, halves away from zero; d > 0.
  static Units divideRounded(Units n, Units d);

  Units units_ = 0;
};

}  // namespace wevo::resizer

#endif  // WEVO_RESIZER_DECIMAL_H_
