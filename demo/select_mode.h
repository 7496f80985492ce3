// The mode window "Select Mode": the user picks the form mode a sample
// window opens in, which is the marker its customisations are kept under.
#ifndef WEVO_DEMO_SELECT_MODE_H_
#define WEVO_DEMO_SELECT_MODE_H_

#include <string>

#include "demo/demo_state.h"
#include "wevo/window_decl.h"

namespace wevo::demo {

inline constexpr const char* kSelectModeCaption = "Select Mode";

// The window, its option bound to `mode` (32 characters, blank-padded).
WindowDecl selectModeDecl(char (&mode)[32]);

// Runs the window on the calling thread and returns the chosen mode without
// its blanks ("ORIGINAL", "FLAT", "COLORS", "TRANSPARENT" or "QUIT"),
// however the window was closed. "Original" is chosen at the start.
std::string SelectMode(DemoState& state);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_SELECT_MODE_H_
