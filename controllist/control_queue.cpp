#include "controllist/control_queue.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "apply/capture.h"
#include "apply/row_identity.h"
#include "store/control_type_names.h"
#include "store/new_uid.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::controllist {
namespace {

// The types whose text the queue lists.
bool listsText(int type) {
  switch (type) {
    case TYPE::SString: case TYPE::String: case TYPE::Entry: case TYPE::Button: case TYPE::Prompt:
    case TYPE::Option: case TYPE::Check: case TYPE::Group: case TYPE::Radio: case TYPE::Tab:
      return true;
    default:
      return false;
  }
}

void clear(WNCTL& row) {
  text::blank(row.LABEL);
  text::blank(row.TYPETXT);
  text::blank(row.SCRTEXT);
  text::blank(row.STATETXT);
  text::blank(row.DESCRIPTION);
  row.FEQ = row.TYPE = row.TABORDER = row.UID = 0;
}

// What the queue shows of control `field` (0: the window), from the live window.
WNCTL describe(const Window& window, int field) {
  WNCTL row;
  clear(row);
  row.FEQ = field;
  if (field == 0) {
    text::assign(row.LABEL, store::kWindowLabel);
    text::assign(row.TYPETXT, store::kWindowLabel);
    text::assign(row.SCRTEXT, window.get(0, PROP::Text).str());
    text::assign(row.STATETXT, "Visible");
    return row;
  }
  text::assign(row.LABEL, window.label(field));
  row.TYPE = window.get(field, PROP::Type).i32();
  text::assign(row.STATETXT, window.get(field, PROP::Hide).truthy() ? "Hidden" : "Visible");
  std::string_view name = store::ControlTypeName(row.TYPE, store::TypeNames::kControlList);
  text::assign(row.TYPETXT, name);
  if (!name.empty() && listsText(row.TYPE)) text::assign(row.SCRTEXT, window.get(field, PROP::Text).str());
  return row;
}

// Finds the control's override row in WIN(), adding one made from the live
// control when there is none. False when the control cannot have a row.
bool findOrAddRow(Window& window, int field, std::string_view label, std::string_view procedureName,
                  std::string_view uniqueMarker) {
  if (label.empty()) return false;
  store::WindowControls& row = store::WIN();
  apply::SetRowKey(row, procedureName, uniqueMarker, label);
  if (store::winFile().get(store::KEYPROCEDUREMARKERLABEL)) return true;
  apply::SetRowKey(row, procedureName, uniqueMarker, label);
  apply::SetNewRowIdentity(row, field, label);
  apply::CaptureControl(window, field, row);
  store::AddRecordWithNewUid();  // reports its own failures; the control is listed all the same
  return true;
}

}  // namespace

void FillControlQueue(ControlQueue& queue, Window& window, std::string_view procedureName,
                      std::string_view uniqueMarker) {
  store::StoreUse use;
  queue.clear();
  const int last = window.lastField();
  for (int field = 0; field <= last; ++field) {
    if (field != 0 && !window.exists(field)) continue;
    WNCTL row = describe(window, field);
    // Rows are kept under the whole label, which the queue may show cut.
    if (findOrAddRow(window, field, apply::RowLabel(window, field), procedureName, uniqueMarker)) {
      const store::WindowControls& stored = store::WIN();
      text::assign(row.DESCRIPTION, text::field(stored.DESCRIPTION).substr(0, sizeof row.DESCRIPTION));
      row.TABORDER = stored.ORDER;
      row.UID = static_cast<int32_t>(stored.UID);
    }
    queue.push_back(row);
  }
  window.set(0, PROP::Pixels, 0);
}

WNCTL* FindByFeq(ControlQueue& queue, int32_t feq) {
  auto it = std::find_if(queue.begin(), queue.end(), [feq](const WNCTL& r) { return r.FEQ == feq; });
  return it == queue.end() ? nullptr : &*it;
}

WNCTL* FindByUid(ControlQueue& queue, int32_t uid) {
  auto it = std::find_if(queue.begin(), queue.end(), [uid](const WNCTL& r) { return r.UID == uid; });
  return it == queue.end() ? nullptr : &*it;
}

void SortByTabOrder(ControlQueue& queue) {
  std::stable_sort(queue.begin(), queue.end(),
                   [](const WNCTL& a, const WNCTL& b) { return a.TABORDER < b.TABORDER; });
}

}  // namespace wevo::controllist
