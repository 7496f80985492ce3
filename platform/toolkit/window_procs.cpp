#include "platform/toolkit/window_procs.h"

#include <vector>

#include "platform/base/mutex.h"
#include "platform/toolkit/input.h"
#include "wevo/runtime.h"

namespace wevo {

namespace {

// Handles start high so that a stray small number is never a procedure.
constexpr int64_t kFirstHandle = 0x57500001;

struct Registry {
  base::Mutex mu;
  std::vector<WindowProc> procs GUARDED_BY(mu);
  // The default procedures, registered first.
  static constexpr int64_t frame = kFirstHandle;
  static constexpr int64_t client = kFirstHandle + 1;
  Registry() {
    base::MutexLock lock(mu);
    procs.emplace_back(toolkit::defaultFrameProc);
    procs.emplace_back(toolkit::defaultClientProc);
  }
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

int64_t registerWindowProc(WindowProc proc) {
  Registry& r = registry();
  base::MutexLock lock(r.mu);
  r.procs.push_back(std::move(proc));
  return kFirstHandle + static_cast<int64_t>(r.procs.size()) - 1;
}

int64_t callWindowProc(int64_t proc, Window& window, const RawMessage& message) {
  Registry& r = registry();
  WindowProc fn;
  {
    base::MutexLock lock(r.mu);
    int64_t i = proc - kFirstHandle;
    if (i < 0 || i >= static_cast<int64_t>(r.procs.size())) return 0;
    fn = r.procs[static_cast<size_t>(i)];
  }
  return fn ? fn(window, message) : 0;
}

namespace toolkit {

int64_t defaultFrameProcHandle() {
  registry();
  return Registry::frame;
}
int64_t defaultClientProcHandle() {
  registry();
  return Registry::client;
}

}  // namespace toolkit

}  // namespace wevo
