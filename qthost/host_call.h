// Work on a wevo host thread while the Qt thread waits for it.
//
// The library's algorithms run on host threads and never touch a widget;
// a Qt host's calls come on its GUI thread, which is the Qt view's. So a
// call hands its work to a new host thread and runs a nested event loop
// until that work is done, as QDialog::exec() does: the view keeps drawing
// and taking input meanwhile, the host's other windows keep working, and
// what the work changed is on the widgets when the call returns.
#ifndef WEVO_QTHOST_HOST_CALL_H_
#define WEVO_QTHOST_HOST_CALL_H_

#include <functional>

namespace wevo::qtview {
class QtView;
}

namespace wevo::qthost {

// Runs `work` on a new host thread of the running program and returns once
// it has ended (returned, or unwound because the program ended). False
// when it could not start: no program runs, or it is ending. If the Qt
// application quits while the work waits for the user, the program is
// ended so that the work unwinds. On the Qt thread only.
bool runOnHostThread(qtview::QtView& view, std::function<void()> work);

}  // namespace wevo::qthost

#endif  // WEVO_QTHOST_HOST_CALL_H_
