// The application frame "Application" and the program around it.
#ifndef WEVO_DEMO_FRAME_H_
#define WEVO_DEMO_FRAME_H_

#include <memory>

#include "demo/demo_state.h"
#include "wevo/window_decl.h"

namespace wevo::demo {

inline constexpr const char* kFrameCaption = "Application";
// Stack size the sample threads ask for.
inline constexpr int kSampleStack = 25000;

// The frame with its menu bar and the messages of its items.
WindowDecl frameDecl();

// The program's main procedure: switches the desktop's "show window
// contents while dragging" off for the run (and back on at the end when it
// was on), runs the frame until it closes, then asks every window the
// program's threads still have open to close.
void DemoProgram(std::shared_ptr<DemoState> state);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_FRAME_H_
