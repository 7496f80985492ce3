#include "store/store_update.h"

#include "platform/keyedfile/error.h"
#include "store/store_messages.h"
#include "store/store_thread.h"
#include "store/window_controls.h"

namespace wevo::store {
namespace {

constexpr int kWaitSeconds = 2;

}  // namespace

UpdateResult updateCurrentRow(kf::File& file, bool showChanges) {
  const std::string& label = file.decl().label;
  if (!file.begin(kWaitSeconds)) {
    saveError(file);
    standardMessage(kMsgTransactionError, "Update", label);
    return kUpdateFailed;
  }
  std::string& position = updatePosition();
  position = file.position(KEYUID);
  if (file.put() && file.commit()) return kUpdated;
  saveError(file);
  if (savedError().code == kf::kErrChanged) {
    if (showChanges)
      standardMessage(kMsgRecordNotUpdated);
    else
      standardMessage(kMsgUpdateError, "Record Changed by Another Station");
    file.watch();
    file.reget(position);
    return kChangedElsewhere;
  }
  standardMessage(kMsgUpdateError, label);
  return kUpdateFailed;
}

UpdateResult deleteCurrentRow(kf::File& file) {
  const std::string& label = file.decl().label;
  const std::string position = file.position(KEYUID);
  if (!file.begin(kWaitSeconds)) {
    saveError(file);
    standardMessage(kMsgTransactionError, "Delete", label);
    return kUpdateFailed;
  }
  if (file.reget(position) && file.del() && file.commit()) return kUpdated;
  saveError(file);
  standardMessage(kMsgDeleteError, label);
  return kUpdateFailed;
}

}  // namespace wevo::store
