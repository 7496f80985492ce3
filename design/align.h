// The "Align" commands for several selected controls, relative to the
// primary one: its edges, centre lines and size are the reference; spacing
// keeps the two outermost controls where they are.
#ifndef WEVO_DESIGN_ALIGN_H_
#define WEVO_DESIGN_ALIGN_H_

#include <string>
#include <vector>

#include "design/pixel_rect.h"

namespace wevo::design {

// In the order the submenu lists them.
enum class AlignCommand {
  kLefts,
  kRights,
  kTops,
  kBottoms,
  kCentres,  // the same vertical centre line
  kMiddles,  // the same horizontal centre line
  kSameWidth,
  kSameHeight,
  kSameSize,
  kSpaceAcross,  // equal gaps between neighbours, left to right
  kSpaceDown,    // equal gaps between neighbours, top to bottom
};
inline constexpr int kAlignCommands = 11;

// The submenu as popup text: "Align{Lefts|Rights|...|Space Evenly Down}".
std::string AlignMenuText();

// Where the controls go: `rects[0]` is the primary's, which the commands
// keep (spacing may move it like any other). Spacing needs three controls;
// with fewer nothing moves. Gaps that do not divide evenly give the first
// gaps a pixel more.
std::vector<PixelRect> Aligned(AlignCommand command, std::vector<PixelRect> rects);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_ALIGN_H_
