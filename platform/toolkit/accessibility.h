// What the toolkit tells assistive tools (screen readers) beyond what the
// windows show: the control a user works on while the program drives the
// input itself (design mode, where the real focus stays elsewhere).
#ifndef WEVO_PLATFORM_TOOLKIT_ACCESSIBILITY_H_
#define WEVO_PLATFORM_TOOLKIT_ACCESSIBILITY_H_

#include <cstdint>
#include <string_view>

namespace wevo::toolkit {

// Control `field` of the window with this handle (0: the window itself) is
// what the user works on, as `description` says; an empty description
// withdraws it. A window of the calling thread has its changes put on screen
// first, so that the control is there to be described. A handle of no open
// window does nothing.
void announce(int64_t window, int field, std::string_view description);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_ACCESSIBILITY_H_
