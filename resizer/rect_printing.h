// How test failures show a rectangle: "{x, y, width, height}".
#ifndef WEVO_RESIZER_RECT_PRINTING_H_
#define WEVO_RESIZER_RECT_PRINTING_H_

#include <ostream>

#include "resizer/resizer_tables.h"

namespace wevo::resizer {

inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.XPOS << ", " << r.YPOS << ", " << r.WIDTH << ", " << r.HEIGHT << "}";
}

}  // namespace wevo::resizer

#endif  // WEVO_RESIZER_RECT_PRINTING_H_
