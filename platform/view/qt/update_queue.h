// Model changes waiting for the Qt thread, coalesced per window.
//
// Host threads add batches; the Qt thread takes everything at once. Later
// changes of a window fold into its waiting update: the newest window
// snapshot wins, a control's newest snapshot replaces the one waiting, a
// destroyed control drops its waiting snapshot, and a closed window drops
// everything else of it. Windows come out in the order their changes first
// arrived, controls in field order; applying the result gives the same
// screen as applying every batch in turn. Thread-safe.
#ifndef WEVO_PLATFORM_VIEW_QT_UPDATE_QUEUE_H_
#define WEVO_PLATFORM_VIEW_QT_UPDATE_QUEUE_H_

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/base/mutex.h"
#include "platform/view/view.h"

namespace wevo::qtview {

class UpdateQueue {
 public:
  // Returns true when the queue was empty before (the caller then asks the
  // Qt thread to take it).
  bool add(const std::vector<toolkit::ViewUpdate>& batch);
  std::vector<toolkit::ViewUpdate> take();
  bool empty() const;

 private:
  struct Pending {
    toolkit::ViewUpdate update;  // everything but the controls
    std::map<int, toolkit::ControlSnapshot> controls;
  };
  void merge(Pending& into, const toolkit::ViewUpdate& u);

  mutable base::Mutex mu_;
  std::vector<int64_t> order_ GUARDED_BY(mu_);
  std::unordered_map<int64_t, Pending> pending_ GUARDED_BY(mu_);
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_UPDATE_QUEUE_H_
