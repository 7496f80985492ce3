// The run-time controls design mode puts on the host window besides the
// eight grab handles of the selection (10001 to 10008): the handles of the
// other selected controls, the rubber band and the two guide lines. They are
// numbered above every control the window had when design mode started, so
// that no press ever selects them and they never replace a control.
#ifndef WEVO_DESIGN_MARK_FIELDS_H_
#define WEVO_DESIGN_MARK_FIELDS_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "design/morph_state.h"

namespace wevo::design {

class MarkFields {
 public:
  explicit MarkFields(int32_t lastControl)
      : base_(std::max<int32_t>(lastControl, kFirstHandleField + kHandleCount - 1) + 1) {}

  int32_t band() const { return base_; }
  int32_t verticalGuide() const { return base_ + 1; }
  int32_t horizontalGuide() const { return base_ + 2; }
  // Handle n (1 to 8) of the `other`th (0-based) selected control besides the primary.
  int32_t otherHandle(size_t other, int n) const {
    return base_ + kHandleCount + static_cast<int32_t>(other) * kHandleCount + n - 1;
  }

 private:
  int32_t base_;
};

}  // namespace wevo::design

#endif  // WEVO_DESIGN_MARK_FIELDS_H_
