#include "apply/override_rows.h"

#include <cstdint>
#include <limits>

#include "apply/apply_row.h"
#include "apply/row_control.h"
#include "apply/row_identity.h"
#include "store/store_thread.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::apply {

void ApplyOverrideRows(Window& window, std::string_view procedureName, std::string_view uniqueMarker) {
  store::WindowControls& row = store::WIN();
  kf::File& file = store::winFile();
  SetRowKey(row, procedureName, uniqueMarker, "");
  if (!file.setAt(store::KEYPROCEDUREMARKERLABEL)) return;
  while (file.next() && RowBelongsTo(row, procedureName, uniqueMarker)) {
    if (text::clipped(row.CONTROLLABEL).empty()) continue;
    const int field = ControlOfRow(window, row);
    if (field == kNoControl) continue;
    if (field != row.FEQ) {
      row.FEQ = field;
      file.put();
    }
    ApplyRow(window, field, row);
  }
}

int ApplyTabOrder(Window& window, std::string_view procedureName, std::string_view uniqueMarker) {
  store::WindowControls& row = store::WIN();
  kf::File& file = store::winFile();
  SetRowKey(row, procedureName, uniqueMarker, "");
  // From the lowest order there is, so that no row of the window is left out.
  row.ORDER = std::numeric_limits<int32_t>::min();
  if (!file.setAt(store::ORDERKEY)) return 0;
  int first = 0;
  int previous = 0;
  while (file.next() && RowBelongsTo(row, procedureName, uniqueMarker)) {
    if (row.FEQ == 0) continue;
    const int field = ControlOfRow(window, row);
    if (field == kNoControl || field == 0 || field == previous) continue;
    if (first == 0)
      first = field;
    else
      window.set(field, PROP::Follows, previous);
    previous = field;
    window.display(field);
  }
  return first;
}

}  // namespace wevo::apply
