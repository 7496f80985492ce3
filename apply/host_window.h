// The entry points a host calls take its window; the C forms take the
// window's handle. A window's model may be touched only by the thread that
// owns it, so a handle counts only when it names an open window of the
// calling thread.
#ifndef WEVO_APPLY_HOST_WINDOW_H_
#define WEVO_APPLY_HOST_WINDOW_H_

#include <cstdint>
#include <string>

#include "wevo/window.h"

namespace wevo::apply {

// Whether `window` is open and owned by the calling host thread.
bool OwnedByThisThread(const Window& window);

// The open window with this handle (PROP::Handle) when the calling thread
// owns it; nullptr for 0, a closed window's handle, or another thread's
// window.
Window* WindowOfThisThread(int64_t handle);

// A C string argument as text: nullptr counts as blank.
std::string TextArgument(const char* value);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_HOST_WINDOW_H_
