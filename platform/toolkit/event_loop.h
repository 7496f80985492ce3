// Windows on host threads: opening and closing, the event loop, posting,
// the accept-all pass, focus changes with their events, and flushing model
// changes to the view.
#ifndef WEVO_PLATFORM_TOOLKIT_EVENT_LOOP_H_
#define WEVO_PLATFORM_TOOLKIT_EVENT_LOOP_H_

#include <vector>

#include "wevo/window.h"

namespace wevo::toolkit {

class HostThread;
class WindowModel;

struct LoopState {
  int lastEvent = 0;  // the event the last accept() returned
  bool cycled = false;
  // The accept-all pass.
  bool passActive = false;
  std::vector<int> passFields;
  size_t passPos = 0;
  // Registered handlers.
  struct Handler {
    int id;
    int event;
    Window::Handler fn;
  };
  std::vector<Handler> handlers;
  int nextHandlerId = 1;
  int pressedField = 0;  // control under the last left press
};

// Opens the model on the calling host thread (throws std::logic_error when
// it is not one) and queues EVENT::OpenWindow.
void openWindow(WindowModel& m);
// Closes at once; safe during unwinding.
void closeWindow(WindowModel& m) noexcept;
void closeThreadWindows(HostThread& t) noexcept;
// Window::accept. Throws std::logic_error when the window's loop is running
// already on the stack (a handler or procedure called it again). Returns
// false once the window is closed, or destroyed by code it ran.
bool acceptEvent(WindowModel& m);

// Queues an event for the window; from any thread.
void postEvent(const WindowModel& m, int event, int field);
// Queues an event for the calling thread's topmost window.
void postToTopmost(int event);

void startAcceptAll(WindowModel& m);
void stopAcceptAll(WindowModel& m);

// Program focus: gives the window the keyboard focus (LoseFocus/GainFocus
// when it crosses threads) and the control the focus within it, with
// EVENT::Selected. Field 0: the first control in tab order.
void selectControl(WindowModel& m, int field);
// A focus change made by the user: an edited control is accepted first (and
// keeps the focus when its input is rejected). Returns whether it moved.
bool userFocus(WindowModel& m, int field);
// Accepts the user's edit of a control: Accepted, or Rejected when its
// picture refuses the text.
bool commitControl(WindowModel& m, int field);

void flushWindow(WindowModel& m);
void flushThread(HostThread& t);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_EVENT_LOOP_H_
