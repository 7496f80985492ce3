#include "admin/store_reset.h"

#include <vector>

#include "admin/failure.h"
#include "editor/form_record.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"
#include "wevo/text.h"

namespace wevo::admin {

void resetLayout(AdminStore& store, const std::string& procedure, const std::string& marker,
                 const std::optional<std::string>& label, std::ostream& out) {
  if (text::sameNoCase(storedText(marker, sizeof(store::WindowControls::UNIQUEMARKER)), store::kOriginalMarker))
    throw Failure(kExitUsage, std::string(store::kOriginalMarker) + " holds the designed original itself");
  store.requireExisting();
  StoreInUse win(store::winFile());
  StoreInUse win2(store::win2File());
  kf::File& file = store::winFile();
  auto transaction = store::StoreTransaction::beginOrGoOnWithout(file);
  requireBegun(transaction);
  const std::string where = "procedure " + quotedText(procedure) + ", marker " + quotedText(marker);
  if (!label) {
    std::vector<uint32_t> uids;
    walkRows(RowRange::ofMarker(procedure, marker), [&](const StoredRow& r) { uids.push_back(r.record.UID); });
    if (uids.empty()) throw Failure(kExitNotFound, store.location().given + ": no rows of " + where);
    store::WindowControls& row = store::WIN();
    for (uint32_t uid : uids) {
      kf::clearRecord(store::winDecl(), &row);
      row.UID = uid;
      if (!file.get(store::KEYUID) || !file.del()) {
        store::standardMessage(store::kMsgDeleteError, store::kTableLabel);
        throw reportedByStore();
      }
    }
    if (!transaction.commit()) throw reportedByStore();
    out << "removed " << uids.size() << (uids.size() == 1 ? " row" : " rows") << " of " << where
        << ": the window opens with it as designed\n";
    return;
  }
  if (!getRow(procedure, marker, *label))
    throw Failure(kExitNotFound, store.location().given + ": no row of " + quotedText(*label) + " under " + where);
  if (!editor::ResetFromOriginal(store::WIN()))
    throw Failure(kExitNotFound, store.location().given + ": " + quotedText(*label) + " of procedure " +
                                     quotedText(procedure) +
                                     " has no original row (the window has not been opened with that control)");
  if (!file.put()) {
    store::standardMessage(store::kMsgUpdateError, store::kTableLabel);
    throw reportedByStore();
  }
  if (!transaction.commit()) throw reportedByStore();
  out << quotedText(*label) << " of " << where
      << " is back to its designed original (its UID, field number and tab order kept)\n";
}

}  // namespace wevo::admin
