#include "design/snapshots.h"

#include <algorithm>

#include "apply/apply_row.h"
#include "apply/row_identity.h"
#include "platform/keyedfile/error.h"
#include "store/store_thread.h"
#include "wevo/props.h"
#include "wevo/runtime.h"

namespace wevo::design {
namespace {

// Reads control `field`'s override row into WIN().
bool readRow(int field, std::string_view label, std::string_view procedureName, std::string_view uniqueMarker) {
  store::WindowControls& row = store::WIN();
  apply::SetRowKey(row, procedureName, uniqueMarker, "");
  row.FEQ = field;
  if (store::winFile().get(store::KEYPROCEDUREMARKERFEQ) && apply::LabelMatches(label, row)) return true;
  apply::SetRowKey(row, procedureName, uniqueMarker, label);
  if (!store::winFile().get(store::KEYPROCEDUREMARKERLABEL)) return false;
  row.FEQ = field;
  return true;
}

}  // namespace

const SNP* FindSnapshot(const SnapshotQueue& queue, int32_t feq) {
  auto it = std::find_if(queue.begin(), queue.end(), [feq](const SNP& s) { return s.FEQ == feq; });
  return it == queue.end() ? nullptr : &*it;
}

void TakeSnapshot(SnapshotQueue& queue, int field, std::string_view label, std::string_view procedureName,
                  std::string_view uniqueMarker) {
  if (field == 0 || label.empty() || FindSnapshot(queue, field) != nullptr) return;
  if (readRow(field, label, procedureName, uniqueMarker)) queue.push_back(store::WIN());
}

bool ReadRowByUid(int32_t uid, store::WindowControls& row) {
  store::WIN().UID = uid;
  if (!store::winFile().get(store::KEYUID)) return false;
  row = store::WIN();
  return true;
}

bool PutRowBack(const store::WindowControls& saved, Window* host) {
  const kf::FileDecl& decl = store::winDecl();
  store::WindowControls& row = store::WIN();
  row.UID = saved.UID;
  if (!store::winFile().get(store::KEYUID)) return false;
  kf::copyByName(decl, &saved, decl, &row);
  if (host != nullptr) apply::ApplyRow(*host, saved.FEQ);
  if (!store::winFile().put()) stop(kf::errorText());
  return true;
}

void RestoreSnapshots(const SnapshotQueue& queue, Window& host) {
  setTarget(&host);
  host.set(0, PROP::Pixels, 0);
  for (const SNP& snapshot : queue) PutRowBack(snapshot, &host);
}

}  // namespace wevo::design
