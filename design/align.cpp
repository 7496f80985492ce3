#include "design/align.h"

#include <algorithm>
#include <numeric>

namespace wevo::design {
namespace {

// Spreads the rectangles along one axis: `pos` and `size` pick x and w, or y and h.
void space(std::vector<PixelRect>& rects, int PixelRect::*pos, int PixelRect::*size) {
  const size_t n = rects.size();
  if (n < 3) return;
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rects[a].*pos < rects[b].*pos; });
  const PixelRect& first = rects[order.front()];
  const PixelRect& last = rects[order.back()];
  int sizes = 0;
  for (const PixelRect& r : rects) sizes += r.*size;
  const int room = last.*pos + last.*size - first.*pos - sizes;
  const int gaps = static_cast<int>(n) - 1;
  int base = room / gaps;
  if (room % gaps < 0) --base;  // rounded down, so that 0 <= extra < gaps
  const int extra = room - base * gaps;
  int at = first.*pos + first.*size;
  for (size_t i = 1; i + 1 < n; ++i) {
    const int gap = base + (static_cast<int>(i) <= extra ? 1 : 0);
    PixelRect& r = rects[order[i]];
    r.*pos = at + gap;
    at = r.*pos + r.*size;
  }
}

}  // namespace

std::string AlignMenuText() {
  return "Align{Lefts|Rights|Tops|Bottoms|Centres|Middles|Same Width|Same Height|Same Size|Space Evenly Across|"
         "Space Evenly Down}";
}

std::vector<PixelRect> Aligned(AlignCommand command, std::vector<PixelRect> rects) {
  if (rects.empty()) return rects;
  const PixelRect p = rects.front();
  for (PixelRect& r : rects) {
    switch (command) {
      case AlignCommand::kLefts: r.x = p.x; break;
      case AlignCommand::kRights: r.x = p.right() - r.w; break;
      case AlignCommand::kTops: r.y = p.y; break;
      case AlignCommand::kBottoms: r.y = p.bottom() - r.h; break;
      case AlignCommand::kCentres: r.x = p.x + p.w / 2 - r.w / 2; break;
      case AlignCommand::kMiddles: r.y = p.y + p.h / 2 - r.h / 2; break;
      case AlignCommand::kSameWidth: r.w = p.w; break;
      case AlignCommand::kSameHeight: r.h = p.h; break;
      case AlignCommand::kSameSize: r.w = p.w, r.h = p.h; break;
      default: break;
    }
  }
  if (command == AlignCommand::kSpaceAcross) space(rects, &PixelRect::x, &PixelRect::w);
  if (command == AlignCommand::kSpaceDown) space(rects, &PixelRect::y, &PixelRect::h);
  return rects;
}

}  // namespace wevo::design
