// A boundary nothing unwinds across: the library's entry points that hosts
// call through the C ABI run their work inside one, as an exception cannot
// cross the caller's C frames.
#ifndef WEVO_PLATFORM_TOOLKIT_NO_UNWIND_H_
#define WEVO_PLATFORM_TOOLKIT_NO_UNWIND_H_

#include <functional>

namespace wevo::toolkit {

// Runs `work` and returns normally whatever it throws. When the program ends
// inside it (halt, a failed script, the watchdog), the program is ending
// already and the calling host thread unwinds at its next toolkit call (its
// Window::accept) as it would have. Any other exception ends the calling
// thread's program as failed, with `entry` and what was thrown as the
// reason, and unwinds the thread the same way.
void runWithoutUnwinding(const char* entry, const std::function<void()>& work) noexcept;

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_NO_UNWIND_H_
