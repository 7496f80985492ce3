#include "apply/row_control.h"

#include "apply/row_identity.h"
#include "wevo/text.h"

namespace wevo::apply {

int ControlOfRow(const Window& window, const store::WindowControls& row) {
  if (IsWindowRow(row)) return 0;
  if (text::clipped(row.CONTROLLABEL).empty()) return kNoControl;
  const int stored = row.FEQ;
  if (stored != 0 && window.exists(stored) && LabelMatches(window.label(stored), row)) return stored;
  const int last = window.lastField();
  for (int field = 1; field <= last; ++field)
    if (window.exists(field) && LabelMatches(window.label(field), row)) return field;
  return kNoControl;
}

}  // namespace wevo::apply
