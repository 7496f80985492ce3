// Input from the screen on the thread that owns its window (the program
// routes it there, Program::postInput) and what the default window
// procedures make of it.
#ifndef WEVO_PLATFORM_TOOLKIT_INPUT_H_
#define WEVO_PLATFORM_TOOLKIT_INPUT_H_

#include <cstdint>

#include "platform/view/view.h"
#include "wevo/runtime.h"

namespace wevo::toolkit {

class WindowModel;
struct RunningLoop;

// Mouse moves, presses, releases and double clicks.
bool isMouseInput(InputMessage::Kind kind);

// Runs one input message on the owning thread in the loop `running`: mouse
// messages through the window's client-area procedure, keys and characters
// through its frame procedure, the rest straight into the model and events.
// Stops when a procedure destroys the window.
void processInput(WindowModel& m, const InputMessage& message, const RunningLoop& running);

// The default procedures (what PROP::WndProc / PROP::ClientWndProc hold
// when a window opens).
int64_t defaultFrameProc(Window& window, const RawMessage& message);
int64_t defaultClientProc(Window& window, const RawMessage& message);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_INPUT_H_
