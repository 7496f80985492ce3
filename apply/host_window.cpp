#include "apply/host_window.h"

#include "platform/toolkit/host_thread.h"
#include "platform/toolkit/window_model.h"

namespace wevo::apply {

bool OwnedByThisThread(const Window& window) {
  const toolkit::HostThread* thread = toolkit::thisThread();
  // The owner first: only the owner may read the rest of the model.
  return thread != nullptr && toolkit::modelOf(window).ownerThread() == thread->id && window.isOpen();
}

Window* WindowOfThisThread(int64_t handle) {
  if (handle == 0) return nullptr;
  Window* window = Window::fromHandle(handle);
  return window != nullptr && OwnedByThisThread(*window) ? window : nullptr;
}

std::string TextArgument(const char* value) { return value != nullptr ? std::string(value) : std::string(); }

}  // namespace wevo::apply
