#include "apply/original_rows.h"

#include <cstring>
#include <string>

#include "apply/capture.h"
#include "apply/row_identity.h"
#include "platform/keyedfile/error.h"
#include "store/new_uid.h"
#include "store/store_thread.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

void refreshOne(Window& window, std::string_view procedureName, int field, const std::string& label) {
  store::WindowControls& row = store::WIN();
  kf::File& file = store::winFile();
  SetRowKey(row, procedureName, store::kOriginalMarker, label);
  if (!file.get(store::KEYPROCEDUREMARKERLABEL)) {
    // Only a row that is surely missing is added; a store that failed the
    // lookup would fail the add as well, or add a second row.
    if (kf::errorCode() != kf::kErrNoRecord) return;
    SetNewRowIdentity(row, field, label);
    CaptureControl(window, field, row);
    store::AddRecordWithNewUid();
    return;
  }
  store::WindowControls& before = store::WIN2();
  std::memcpy(&before, &row, sizeof row);
  row.FEQ = field;
  CaptureControl(window, field, row);
  if (std::memcmp(&before, &row, sizeof row) != 0) file.put();
}

}  // namespace

void RefreshOriginalRows(Window& window, std::string_view procedureName) {
  refreshOne(window, procedureName, 0, RowLabel(window, 0));
  const int last = window.lastField();
  for (int field = 1; field <= last; ++field) {
    if (!window.exists(field)) continue;
    const std::string label = window.label(field);
    if (text::clip(label).empty()) continue;
    refreshOne(window, procedureName, field, label);
  }
}

}  // namespace wevo::apply
