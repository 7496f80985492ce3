#include "resizer/decimal.h"

#include <algorithm>
#include <cstdlib>

namespace wevo::resizer {

namespace {

__extension__ typedef __int128 Wide;

constexpr Wide kOne = 100000000;  // 10^kPlaces

Wide powerOfTen(int places) {
  Wide p = 1;
  for (int i = 0; i < places; ++i) p *= 10;
  return p;
}

}  // namespace

Decimal::Units Decimal::divideRounded(Units n, Units d) {
  Units q = n / d;
  Units r = n % d;  // same sign as n
  Units twice = (r < 0 ? -r : r) * 2;
  if (twice >= d) q += n < 0 ? -1 : 1;
  return q;
}

Decimal Decimal::whole(int64_t value) { return fromUnits(static_cast<Units>(value) * kOne); }

Decimal Decimal::quotient(int64_t a, int64_t b, int places) {
  places = std::clamp(places, 0, kPlaces);
  Units n = static_cast<Units>(a);
  Units d = static_cast<Units>(b);
  if (d < 0) {
    n = -n;
    d = -d;
  }
  Units scaled = divideRounded(n * powerOfTen(places), d);
  return fromUnits(scaled * powerOfTen(kPlaces - places));
}

Decimal Decimal::operator*(const Decimal& o) const { return fromUnits(divideRounded(units_ * o.units_, kOne)); }

Decimal Decimal::half() const { return fromUnits(divideRounded(units_, 2)); }

int32_t Decimal::toInt32() const {
  Units w = divideRounded(units_, kOne);
  if (w > INT32_MAX) return INT32_MAX;
  if (w < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(w);
}

std::string Decimal::str() const {
  Units u = units_ < 0 ? -units_ : units_;
  Units whole = u / kOne;
  Units frac = u % kOne;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(whole % 10)));
    whole /= 10;
  } while (whole != 0);
  if (units_ < 0) digits.insert(digits.begin(), '-');
  if (frac != 0) {
    std::string f(kPlaces, '0');
    for (int i = kPlaces - 1; i >= 0; --i) {
      f[static_cast<size_t>(i)] = static_cast<char>('0' + static_cast<int>(frac % 10));
      frac /= 10;
    }
    while (!f.empty() && f.back() == '0') f.pop_back();
    digits += "." + f;
  }
  return digits;
}

}  // namespace wevo::resizer
