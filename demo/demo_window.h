// The second sample window, "Wevo Demo Window" (procedure "Main20"): a
// wallpaper, a sheet of three tabs, groups, an icon check box and a line.
#ifndef WEVO_DEMO_DEMO_WINDOW_H_
#define WEVO_DEMO_DEMO_WINDOW_H_

#include "demo/sample_window.h"

namespace wevo::demo {

inline constexpr const char* kDemoWindowCaption = "Wevo Demo Window";

// The window with its 27 controls in field-number order, bound to `vars`.
WindowDecl demoWindowDecl(SampleVars& vars);

const SampleKind& demoWindowKind();

// The thread procedure "Wevo+" starts.
void StartDemoWindow(DemoState& state);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_DEMO_WINDOW_H_
