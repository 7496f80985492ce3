// The snapshot queue SNP: for each control design mode selected, its
// override row as it was the first time it was selected, so that leaving
// without saving can put every such row back.
#ifndef WEVO_DESIGN_SNAPSHOTS_H_
#define WEVO_DESIGN_SNAPSHOTS_H_

#include <string_view>
#include <vector>

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::design {

// Entries have exactly the fields of the stored row (SNP:UID, SNP:FEQ, ...).
using SNP = store::WindowControls;
using SnapshotQueue = std::vector<SNP>;

// The queue's entry of control `feq`, or nullptr.
const SNP* FindSnapshot(const SnapshotQueue& queue, int32_t feq);

// Keeps a copy of control `field`'s override row (procedureName,
// uniqueMarker, labelled `label`) unless the queue has one for it. The row is
// looked up by field number and taken when it carries the control's label;
// otherwise (a row numbered before the window was renumbered) it is looked
// up by label and its copy takes the control's current number. Nothing is
// kept for the window itself (field 0), for a blank label or when no row
// exists. The store must be open on this thread; uses WIN().
void TakeSnapshot(SnapshotQueue& queue, int field, std::string_view label, std::string_view procedureName,
                  std::string_view uniqueMarker);

// Reads the stored row with this UID into `row`; false (row unchanged) when
// there is none. The store must be open on this thread; uses WIN().
bool ReadRowByUid(int32_t uid, store::WindowControls& row);

// Overwrites the stored row with `saved`'s UID, field by field, from `saved`,
// and rewrites it; false when that row is gone. A failed rewrite shows the
// runtime's stop message with the file error's text. With `host`, the row is
// first applied to its live control (saved.FEQ; the window must be in dialog
// units). The store must be open on this thread; uses WIN().
bool PutRowBack(const store::WindowControls& saved, Window* host = nullptr);

// Puts every snapshot back, in the queue's order: the row with its UID is
// read, overwritten field by field from the snapshot, applied to the live
// control (SNP:FEQ) and rewritten (PutRowBack). A row that is gone is skipped; a failed
// rewrite shows the runtime's stop message with the file error's text. The
// host window is made the target and switched to dialog units first (and is
// left so). The store must be open on this thread; uses WIN().
void RestoreSnapshots(const SnapshotQueue& queue, Window& host);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_SNAPSHOTS_H_
