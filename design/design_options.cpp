// The design options: the process's in one guarded place, a window's kept in
// properties of the window itself, so that they go when it closes.
#include "wevo/design_options.h"

#include <algorithm>
#include <optional>

#include "platform/base/mutex.h"
#include "wevo/window.h"

namespace wevo {
namespace {

// Window properties the toolkit keeps as written; only design mode reads them.
constexpr int32_t kOwnProp = 0x7E570001;  // 1 while the window has options of its own
constexpr int32_t kSnappingProp = 0x7E570002;
constexpr int32_t kSnapDistanceProp = 0x7E570003;
constexpr int32_t kMarginProp = 0x7E570004;
constexpr int32_t kGridStepProp = 0x7E570005;

struct ProcessOptions {
  base::Mutex mu;
  std::optional<DesignOptions> set GUARDED_BY(mu);
  bool snapByDefault GUARDED_BY(mu) = false;
};

ProcessOptions& process() {
  static ProcessOptions p;
  return p;
}

DesignOptions sound(DesignOptions o) {
  o.snapDistance = std::max(o.snapDistance, 0);
  o.margin = std::max(o.margin, 0);
  o.gridStep = std::max(o.gridStep, 1);
  return o;
}

}  // namespace

void setDesignOptions(const DesignOptions& options) {
  ProcessOptions& p = process();
  base::MutexLock lock(p.mu);
  p.set = sound(options);
}

DesignOptions designOptions() {
  ProcessOptions& p = process();
  base::MutexLock lock(p.mu);
  if (p.set) return *p.set;
  DesignOptions o;
  o.snapping = p.snapByDefault;
  return o;
}

void clearDesignOptions() {
  ProcessOptions& p = process();
  base::MutexLock lock(p.mu);
  p.set.reset();
}

void setSnappingByDefault(bool on) {
  ProcessOptions& p = process();
  base::MutexLock lock(p.mu);
  p.snapByDefault = on;
}

void setDesignOptions(Window& window, const DesignOptions& options) {
  if (!window.isOpen()) return;
  const DesignOptions o = sound(options);
  window.set(0, kSnappingProp, o.snapping ? 1 : 0);
  window.set(0, kSnapDistanceProp, o.snapDistance);
  window.set(0, kMarginProp, o.margin);
  window.set(0, kGridStepProp, o.gridStep);
  window.set(0, kOwnProp, 1);
}

void clearDesignOptions(Window& window) {
  if (window.isOpen()) window.set(0, kOwnProp, 0);
}

DesignOptions designOptions(const Window& window) {
  if (!window.isOpen() || window.get(0, kOwnProp).i32() != 1) return designOptions();
  DesignOptions o;
  o.snapping = window.get(0, kSnappingProp).i32() != 0;
  o.snapDistance = window.get(0, kSnapDistanceProp).i32();
  o.margin = window.get(0, kMarginProp).i32();
  o.gridStep = window.get(0, kGridStepProp).i32();
  return o;
}

}  // namespace wevo
