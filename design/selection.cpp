#include "design/selection.h"

#include <algorithm>

#include "design/grab_handles.h"
#include "wevo/codes.h"
#include "wevo/props.h"

namespace wevo::design {
namespace {

constexpr int kTabStripDepth = 20;

bool sheetOrTab(const CLCNQ& c) { return c.TYPE == TYPE::Sheet || c.TYPE == TYPE::Tab; }

}  // namespace

std::vector<CLCNQ> CandidatesAt(const MorphState& s, const Window& host, int mx, int my, int& lastTop) {
  std::vector<CLCNQ> out;
  const int hostX = host.get(0, PROP::XPos).i32();
  const int hostY = host.get(0, PROP::YPos).i32();
  for (int32_t i = std::max<int32_t>(s.FIRSTCONTROL, 1); i <= s.LASTCONTROL; ++i) {
    if (!host.exists(i) || host.get(i, PROP::Visible).num() == 0) continue;
    const int cx = host.get(i, PROP::XPos).i32() + hostX;
    const int cy = host.get(i, PROP::YPos).i32() + hostY;
    const int cw = host.get(i, PROP::Width).i32();
    const int ch = host.get(i, PROP::Height).i32();
    if (mx < cx || mx > cx + cw || my < cy || my > cy + ch) continue;
    CLCNQ c{i, cw + ch, host.get(i, PROP::Type).i32()};
    // After every candidate of the same size: the lower number stays first.
    auto at = std::upper_bound(out.begin(), out.end(), c.SIZE,
                               [](int32_t size, const CLCNQ& e) { return size < e.SIZE; });
    out.insert(at, c);
    lastTop = cy;
  }
  return out;
}

int32_t ChooseCandidate(const std::vector<CLCNQ>& candidates, int my, int lastTop) {
  if (candidates.empty()) return 0;
  if (candidates.size() == 1 || !std::all_of(candidates.begin(), candidates.end(), sheetOrTab))
    return candidates.front().FEQ;
  const int wanted = my - lastTop > kTabStripDepth ? TYPE::Sheet : TYPE::Tab;
  for (const CLCNQ& c : candidates)
    if (c.TYPE == wanted) return c.FEQ;
  return candidates.front().FEQ;
}

bool InsideSelection(const MorphState& s, const DesignWindows& w, int mouseX, int mouseY) {
  if (s.MOUSEISDOWN != 1) return false;
  int left, top, width, height;
  SelectionBounds(s, w.host, left, top, width, height);
  left -= OverlayToHostX(w);
  top -= OverlayToHostY(w);
  return left < mouseX && mouseX < left + width && top < mouseY && mouseY < top + height;
}

}  // namespace wevo::design
