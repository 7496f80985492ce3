// Input from the screen: where it goes (mouse capture, focus, modal
// windows) and what the default window procedures make of it.
#ifndef WEVO_PLATFORM_TOOLKIT_INPUT_H_
#define WEVO_PLATFORM_TOOLKIT_INPUT_H_

#include <cstdint>

#include "platform/view/view.h"
#include "wevo/runtime.h"

namespace wevo::toolkit {

class Program;
class WindowModel;

// Routes input to the host thread that owns its window: mouse input to the
// window holding the capture (else the window under the mouse), keys and
// typing to the window with the focus (when the message names none). Input
// for a window that a later window of its thread blocks is dropped. Returns
// whether it was queued. Safe from any thread.
bool routeInput(Program& program, const InputMessage& message);

// Runs one input message on the owning thread: mouse messages through the
// window's client-area procedure, keys and characters through its frame
// procedure, the rest straight into the model and events.
void processInput(WindowModel& m, const InputMessage& message);

// The default procedures (what PROP::WndProc / PROP::ClientWndProc hold
// when a window opens).
int64_t defaultFrameProc(Window& window, const RawMessage& message);
int64_t defaultClientProc(Window& window, const RawMessage& message);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_INPUT_H_
