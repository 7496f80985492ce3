#include "controllist/reset_list.h"

#include "apply/row_identity.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"

namespace wevo::controllist {

void DeleteWindowRows(std::string_view procedureName, std::string_view uniqueMarker) {
  store::StoreUse use;
  kf::File& file = store::winFile();
  auto transaction = store::StoreTransaction::beginOrGoOnWithout(file);
  store::WindowControls& row = store::WIN();
  apply::SetRowKey(row, procedureName, uniqueMarker, "");
  if (!file.setAt(store::KEYPROCEDUREMARKERLABEL)) return;
  while (file.next() && apply::RowBelongsTo(row, procedureName, uniqueMarker)) file.del();
  transaction.commit();
}

}  // namespace wevo::controllist
