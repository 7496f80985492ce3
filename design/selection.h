// What a press in design mode selects: the candidate list CLCNQ of the
// visible controls under the mouse, the choice among them, and whether the
// mouse lies inside the selection (a move drag) or on one of its handles.
#ifndef WEVO_DESIGN_SELECTION_H_
#define WEVO_DESIGN_SELECTION_H_

#include <cstdint>
#include <vector>

#include "design/design_windows.h"
#include "design/morph_state.h"

namespace wevo::design {

struct CLCNQ {
  int32_t FEQ;   // the control
  int32_t SIZE;  // its width plus its height
  int32_t TYPE;  // its type code
};

// The candidates under a point of the screen (MX, MY): every visible control
// numbered FIRSTCONTROL to LASTCONTROL whose rectangle holds the point, edges
// included, smallest SIZE first (of equal sizes the lower field number
// first). `lastTop` gets the screen Y of the top of the highest-numbered
// candidate (unchanged when there is none). Hidden controls, and controls
// whose tab is not showing, are never candidates.
std::vector<CLCNQ> CandidatesAt(const MorphState& s, const Window& host, int mx, int my, int& lastTop);

// The control a press at screen Y `my` selects among `candidates`:
//   none: 0, the window itself;
//   any that is neither a SHEET nor a TAB: the first (the smallest);
//   only SHEETs and TABs: the first TAB when the press lies at most 20
//     pixels below `lastTop` (the tab strip), else the first SHEET; when
//     there is none of that type, the first candidate.
int32_t ChooseCandidate(const std::vector<CLCNQ>& candidates, int my, int lastTop);

// Whether the mouse at (mouseX, mouseY) of the overlay lies strictly inside
// the selection while a button is down (MOUSEISDOWN 1): the selected
// control's rectangle, or for the window itself its client area.
bool InsideSelection(const MorphState& s, const DesignWindows& w, int mouseX, int mouseY);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_SELECTION_H_
