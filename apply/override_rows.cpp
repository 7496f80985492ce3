#include "apply/override_rows.h"

#include "apply/apply_row.h"
#include "apply/row_control.h"
#include "apply/row_identity.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

const store::WindowControls& rowAt(const kf::RowSet& rows, size_t i) {
  return *static_cast<const store::WindowControls*>(rows.record(i));
}

}  // namespace

bool ReadOverrideRows(kf::File& file, std::string_view procedureName, std::string_view uniqueMarker,
                      kf::RowSet& rows) {
  SetRowKey(*static_cast<store::WindowControls*>(file.record()), procedureName, uniqueMarker, "");
  return file.readRange(store::KEYPROCEDUREMARKERLABEL, 2, rows);
}

std::vector<RowOfControl> MatchOverrideRows(const Window& window, kf::RowSet& rows, RowWrites& writes) {
  std::vector<RowOfControl> matched;
  matched.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    store::WindowControls& row = *static_cast<store::WindowControls*>(rows.record(i));
    if (text::clipped(row.CONTROLLABEL).empty()) continue;
    const int field = ControlOfRow(window, row);
    if (field == kNoControl) continue;
    if (field != row.FEQ) {
      store::WindowControls corrected = row;
      corrected.FEQ = field;
      if (writes.rewrite(rows.position(i), corrected)) row.FEQ = field;
    }
    matched.push_back({i, field});
  }
  return matched;
}

void ApplyOverrideRows(Window& window, const kf::RowSet& rows, const std::vector<RowOfControl>& matched) {
  for (const RowOfControl& m : matched) ApplyRow(window, m.field, rowAt(rows, m.row));
}

int ApplyTabOrder(Window& window, const kf::RowSet& rows, const std::vector<size_t>& order) {
  int first = 0;
  int previous = 0;
  for (size_t i : order) {
    const store::WindowControls& row = rowAt(rows, i);
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
