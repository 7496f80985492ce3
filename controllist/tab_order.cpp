#include "controllist/tab_order.h"

#include <utility>

#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"

namespace wevo::controllist {

void RenumberTabOrder(ControlQueue& queue) {
  SortByTabOrder(queue);
  int32_t n = 0;
  for (WNCTL& row : queue) row.TABORDER = ++n;
  SortByTabOrder(queue);
}

bool MoveUp(ControlQueue& queue, size_t& position) {
  if (position < 2 || position > queue.size()) return false;
  std::swap(queue[position - 1].TABORDER, queue[position - 2].TABORDER);
  SortByTabOrder(queue);
  --position;
  return true;
}

bool MoveDown(ControlQueue& queue, size_t& position) {
  if (position < 1 || position >= queue.size()) return false;
  std::swap(queue[position - 1].TABORDER, queue[position].TABORDER);
  SortByTabOrder(queue);
  ++position;
  return true;
}

void StoreTabOrder(const ControlQueue& queue) {
  store::StoreUse use;
  kf::File& file = store::winFile();
  auto transaction = store::StoreTransaction::beginOrGoOnWithout(file);
  store::WindowControls& row = store::WIN();
  for (const WNCTL& control : queue) {
    if (control.UID == 0) continue;
    row.UID = static_cast<uint32_t>(control.UID);
    if (!file.get(store::KEYUID)) continue;
    row.ORDER = control.TABORDER;
    file.put();
  }
  transaction.commit();
}

}  // namespace wevo::controllist
