#include "platform/toolkit/window_procs.h"

#include <mutex>
#include <vector>

#include "platform/toolkit/input.h"
#include "wevo/runtime.h"

namespace wevo {

namespace {

// Handles start high so that a stray small number is never a procedure.
constexpr int64_t kFirstHandle = 0x57500001;

struct Registry {
  std::mutex mu;
  std::vector<WindowProc> procs;
  int64_t frame = 0;
  int64_t client = 0;
  Registry() {
    procs.emplace_back(toolkit::defaultFrameProc);
    frame = kFirstHandle;
    procs.emplace_back(toolkit::defaultClientProc);
    client = kFirstHandle + 1;
  }
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

int64_t registerWindowProc(WindowProc proc) {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mu);
  r.procs.push_back(std::move(proc));
  return kFirstHandle + static_cast<int64_t>(r.procs.size()) - 1;
}

int64_t callWindowProc(int64_t proc, Window& window, const RawMessage& message) {
  Registry& r = registry();
  WindowProc fn;
  {
    std::lock_guard<std::mutex> lock(r.mu);
    int64_t i = proc - kFirstHandle;
    if (i < 0 || i >= static_cast<int64_t>(r.procs.size())) return 0;
    fn = r.procs[static_cast<size_t>(i)];
  }
  return fn ? fn(window, message) : 0;
}

namespace toolkit {

int64_t defaultFrameProcHandle() { return registry().frame; }
int64_t defaultClientProcHandle() { return registry().client; }

}  // namespace toolkit

}  // namespace wevo
