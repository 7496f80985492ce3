// The Qt 6 view: a program's windows on a real screen (or offscreen under
// QT_QPA_PLATFORM=offscreen, where they can still be saved as pictures).
//
//   wevo::RunOptions options;
//   options.view = wevo::qtView({.screenshotDir = "shots"});
//   wevo::run(mainProcedure, options);
//
// wevo::run must then be called on the process's main thread (it runs Qt's
// event loop there); every wevo::run of the process must use that thread.
#ifndef WEVO_QT_VIEW_H_
#define WEVO_QT_VIEW_H_

#include <cstdint>
#include <string>

#include "wevo/export.h"
#include "wevo/program.h"

namespace wevo {

struct QtViewOptions {
  // Where scripted screenshots with a relative name are saved ("": the
  // current folder).
  std::string screenshotDir;
  // A folder where pictures and icons named without a folder are looked for
  // (after the current folder, before the program's own folder).
  std::string imageDir;
};

WEVO_API ViewFactory qtView();
WEVO_API ViewFactory qtView(QtViewOptions options);

// Saves the open window with this handle (PROP::Handle) as a PNG as it
// shows now, with its menu bar and status bar, once the changes its thread
// made so far are on screen. From any thread while a program runs on the Qt
// view. False when no such window is shown or the file cannot be written.
WEVO_API bool saveWindowPng(int64_t handle, const std::string& path);

}  // namespace wevo

#endif  // WEVO_QT_VIEW_H_
