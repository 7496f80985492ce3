#include "controllist/reset_to_original.h"

#include "apply/row_identity.h"
#include "editor/form_record.h"
#include "platform/keyedfile/error.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "wevo/runtime.h"

namespace wevo::controllist {

bool ResetControlToOriginal(std::string_view procedureName, std::string_view label, std::string_view uniqueMarker) {
  store::StoreUse win(store::winFile());
  store::StoreUse win2(store::win2File());
  store::WindowControls& row = store::WIN();
  apply::SetRowKey(row, procedureName, uniqueMarker, label);
  if (!store::winFile().get(store::KEYPROCEDUREMARKERLABEL)) return false;
  if (!editor::ResetFromOriginal(row)) return false;
  if (store::winFile().put()) return true;
  stop(kf::errorText());
  return false;
}

}  // namespace wevo::controllist
