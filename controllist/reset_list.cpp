#include "controllist/reset_list.h"

#include "apply/row_identity.h"
#include "controllist/store_transaction.h"
#include "store/store_open.h"
#include "store/store_thread.h"

namespace wevo::controllist {

void DeleteWindowRows(std::string_view procedureName, std::string_view uniqueMarker) {
  store::StoreUse use;
  kf::File& file = store::winFile();
  CommandTransaction transaction(file);
  store::WindowControls& row = store::WIN();
  apply::SetRowKey(row, procedureName, uniqueMarker, "");
  if (!file.setAt(store::KEYPROCEDUREMARKERLABEL)) return;
  while (file.next() && apply::RowBelongsTo(row, procedureName, uniqueMarker)) file.del();
}

}  // namespace wevo::controllist
