// Running a program on the toolkit: the view that shows it, the scripted user
// that can drive it, and what happened when it ended.
#ifndef WEVO_PROGRAM_H_
#define WEVO_PROGRAM_H_

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "wevo/export.h"

namespace wevo {

class Script;

// Makes the view a program runs on: headlessView(), or qtView() from
// wevo/qt_view.h. An empty factory stands for the headless view. Copies
// make views alike.
class ViewFactory {
 public:
  struct Maker;  // the library's own
  ViewFactory() = default;
  explicit ViewFactory(std::shared_ptr<const Maker> maker) : maker_(std::move(maker)) {}
  explicit operator bool() const { return maker_ != nullptr; }
  const std::shared_ptr<const Maker>& maker() const { return maker_; }

 private:
  std::shared_ptr<const Maker> maker_;
};
WEVO_API ViewFactory headlessView();

struct RunOptions {
  ViewFactory view;               // empty: headless
  Script* script = nullptr;       // input and dialog answers; nullptr: a person (or nothing, headless)
  std::vector<std::string> args;  // the command line; args[0] is the program's path (default: this process's)
  // With a script (and always under the headless view) the program fails
  // when no host thread gets anything done for this long, so that nothing
  // can hang a test. 0: 60 seconds.
  int stallSeconds = 0;
};

struct ProgramResult {
  bool halted = false;           // ended through halt() or stop()
  std::string haltText;
  bool failed = false;           // the script could not go on; `failure` says why
  std::string failure;
  std::vector<std::string> transcript;  // every dialog shown, in order, with its answer
};

// The result in a few lines: how the program ended, then the transcript.
WEVO_API std::string describe(const ProgramResult& result);

// Runs `main` on a new host thread and returns when the program has ended:
// its main procedure returned and every thread it started has ended, or it
// halted, or the script failed. Runs the view's loop on the calling thread
// (for the Qt view this must be the process's main thread). One program at a
// time per process: a second call while one runs throws std::logic_error.
// Under the headless view without a script the program runs on an empty
// script, so it fails as soon as every thread waits for input. It never ends
// the process: a host thread that does not unwind within seconds of the end
// is left behind.
WEVO_API ProgramResult run(std::function<void()> main, const RunOptions& options = {});

}  // namespace wevo

#endif  // WEVO_PROGRAM_H_
