#include "editor/form_record.h"

#include <cstring>
#include <string>

#include "apply/capture.h"
#include "apply/row_identity.h"
#include "platform/keyedfile/file_decl.h"
#include "store/control_type_names.h"
#include "store/new_uid.h"
#include "store/store_messages.h"
#include "store/store_thread.h"
#include "store/store_update.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::editor {

void SetInfoMessage(char* out, size_t width, std::string_view procedureName, std::string_view uniqueMarker) {
  std::string info(text::clip(procedureName));
  info += " - ";
  info += text::clip(uniqueMarker);
  text::assign(out, width, info);
}

bool LookUpRecord(std::string_view procedureName, std::string_view uniqueMarker, std::string_view label) {
  apply::SetRowKey(store::WIN(), procedureName, uniqueMarker, label);
  return store::winFile().get(store::KEYPROCEDUREMARKERLABEL);
}

bool PrimeRecord(int field, std::string_view label) {
  store::winFile().blobSetSize(0);
  apply::SetNewRowIdentity(store::WIN(), field, text::clip(label));
  return store::AddRecordWithNewUid(store::winFile(), store::KEYUID, store::OnReadFailure::kReportOnly,
                                    store::OnGivingUp::kQuiet);
}

int DeleteRequest() {
  if (store::standardMessage(store::kMsgConfirmDelete) != BUTTON::Ok) return 2;
  kf::File& file = store::winFile();
  const uint32_t uid = store::WIN().UID;
  for (;;) {
    setCursor(CURSOR::Wait);
    store::UpdateResult result = store::kUpdateFailed;
    // Only the row the buffer names is deleted, never another current row.
    store::WIN().UID = uid;
    if (file.get(store::KEYUID))
      result = store::deleteCurrentRow(file);
    else
      store::standardMessage(store::kMsgDeleteError, file.decl().label);
    setCursor(CURSOR::Default);
    if (result == store::kUpdated) return 1;
    if (store::standardMessage(store::kMsgDeleteRetry) != BUTTON::Yes) return 2;
  }
}

void CopyLiveGeometry(Window& host, int field, store::WindowControls& record) {
  if (field != 0 && !host.exists(field)) return;
  const bool pixels = host.get(0, PROP::Pixels).truthy();
  apply::CapturePlacement(host, field, record);
  if (pixels) host.set(0, PROP::Pixels, Value(1));
}

bool RecordChanged(const store::WindowControls& record, const store::WindowControls& saved) {
  return std::memcmp(&record, &saved, sizeof record) != 0 || store::winFile().blobChanged();
}

bool ResetFromOriginal(store::WindowControls& record) {
  store::WindowControls& original = store::WIN2();
  apply::SetRowKey(original, text::field(record.PROCEDURENAME), store::kOriginalMarker,
                   text::field(record.CONTROLLABEL));
  if (!store::win2File().get(store::KEYPROCEDUREMARKERLABEL)) return false;
  const uint32_t uid = record.UID;
  char marker[sizeof record.UNIQUEMARKER];
  std::memcpy(marker, record.UNIQUEMARKER, sizeof marker);
  const int32_t feq = record.FEQ;
  const int32_t order = record.ORDER;
  kf::copyByName(store::win2Decl(), &original, store::winDecl(), &record);
  record.UID = uid;
  std::memcpy(record.UNIQUEMARKER, marker, sizeof marker);
  record.FEQ = feq;
  record.ORDER = order;
  return true;
}

std::string FormCaption(const Window& host, int field, const store::WindowControls& record) {
  const int type = host.get(field, PROP::Type).i32();
  std::string caption(store::ControlTypeName(type, store::TypeNames::kStoredRows));
  caption += " ";
  caption += text::clipped(record.CONTROLLABEL);
  return caption;
}

}  // namespace wevo::editor
