// The scripted user: delivers a Script's steps to the program in order, as a
// person would, and answers its dialogs.
//
// An input step is delivered through the view (View::deliver) when the host
// thread it goes to waits in an event loop with nothing queued, and only after
// the thread that took the previous step waits again, so that a step always
// meets the screen its predecessor left. A screenshot step taken goes into
// the transcript. A dialog step answers the next
// dialog shown. The program fails (ProgramResult::failed) with a message that
// names the step or dialog when a dialog has no matching step, a step cannot
// be delivered, or every host thread waits while no step can go on.
#ifndef WEVO_PLATFORM_TOOLKIT_SCRIPTED_USER_H_
#define WEVO_PLATFORM_TOOLKIT_SCRIPTED_USER_H_

#include <mutex>
#include <string>
#include <vector>

#include "platform/view/view.h"
#include "wevo/script.h"

namespace wevo::toolkit {

class Program;

class ScriptedUser {
 public:
  ScriptedUser(Program& program, std::vector<ScriptStep> steps);

  // A host thread is about to wait with nothing queued (it counts as waiting
  // already); -1 when a host thread ended. May deliver the next step.
  void onThreadWaiting(int thread);
  // The step that answers this dialog (checked against it), or, when there
  // is none, the program fails and ProgramEnd is thrown.
  const ScriptStep* dialogStep(const DialogRequest& request);

  // "step 3 of 7: press at 10,20 in "Main"", or "no step left (7 done)".
  std::string position() const;
  static std::string describe(const ScriptStep& step);
  static std::string describe(const DialogRequest& request);

 private:
  // Works out where a step goes from what is on screen. Returns false with
  // `why` when it cannot go anywhere now.
  bool resolve(const ScriptStep& step, ResolvedStep& out, int& thread, std::string& why);
  std::string stepName(size_t index) const;
  bool isDialogStep(const ScriptStep& step) const;

  Program& program_;
  std::vector<ScriptStep> steps_;
  mutable std::mutex mu_;
  size_t next_ = 0;
  bool inFlight_ = false;
  int lastThread_ = 0;  // the thread that took the last input step
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_SCRIPTED_USER_H_
