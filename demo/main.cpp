// wevodemo: the demonstration host.
//   wevodemo              the program, on the desktop
//   wevodemo --tour DIR   the scripted tour, pictures and transcript in DIR
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "demo/demo_state.h"
#include "demo/frame.h"
#include "demo/install_layout.h"
#include "demo/tour.h"
#include "wevo/qt_view.h"
#include "wevo/toolkit.h"

namespace {

bool hasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && *v != '\0') return true;
  }
  return false;
}

int usage() {
  std::cerr << "usage: wevodemo              run the demonstration\n"
               "       wevodemo --tour DIR   play the scripted tour, writing pictures and transcript.txt to DIR\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--tour") == 0) {
    if (argc != 3) return usage();
    // Without a display the tour still runs, offscreen.
    if (!hasDisplay()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return wevo::demo::RunTour(argv[2], std::cout);
  }
  if (argc != 1) return usage();
  if (!hasDisplay()) {
    std::cerr << "wevodemo: no display; run \"wevodemo --tour DIR\" to see the tour offscreen\n";
    return 1;
  }
  auto state = std::make_shared<wevo::demo::DemoState>();
  wevo::RunOptions options;
  options.view = wevo::qtView({.screenshotDir = {}, .imageDir = wevo::demo::pictureFolder()});
  wevo::ProgramResult result = wevo::run([state] { wevo::demo::DemoProgram(state); }, options);
  if (result.failed || result.halted) {  // a store that cannot be opened ends the program with a short text
    std::cerr << wevo::describe(result);
    return 1;
  }
  return 0;
}
