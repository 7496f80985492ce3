// The first sample window, "Control Window" (procedure "Main"): a toolbar
// and a spread of the common control types.
#ifndef WEVO_DEMO_CONTROL_WINDOW_H_
#define WEVO_DEMO_CONTROL_WINDOW_H_

#include "demo/sample_window.h"

namespace wevo::demo {

inline constexpr const char* kControlWindowCaption = "Control Window";

// The window with its 21 controls in field-number order, bound to `vars`.
WindowDecl controlWindowDecl(SampleVars& vars);

const SampleKind& controlWindowKind();

// The thread procedure "&Wevo" starts.
void StartControlWindow(DemoState& state);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_CONTROL_WINDOW_H_
