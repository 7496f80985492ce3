// The screen wevoadmin's store work runs on. The store layer shows its errors
// and questions as message boxes on the calling host thread; here nobody
// sits at a screen, so the boxes become lines on stderr and a fixed policy
// answers them:
//   every message: "wevoadmin: <title>: <text>" on stderr (lines of a box
//     joined by blanks), and the first one's number kept as the exit code;
//   "Invalid Key" (the store's keys are damaged): Yes (rebuild them) only
//     when the command repairs (check --fix), otherwise No, which ends the
//     command as it ends a program;
//   "Auto Increment Error" (a row could not be numbered): Cancel;
//   any other question: its default button; a stop message ends the
//     command; popup menus, colour and file dialogs are cancelled.
// Windows the store opens (the progress window of a copy) are kept, not drawn.
#ifndef WEVO_ADMIN_CONSOLE_VIEW_H_
#define WEVO_ADMIN_CONSOLE_VIEW_H_

#include <string>
#include <string_view>

#include "platform/base/mutex.h"
#include "wevo/program.h"

namespace wevo::admin {

// The messages shown during one run. Written on the host thread, read by
// the caller of wevo::run after it returned.
class MessageLog {
 public:
  void add(int number, const std::string& line) EXCLUDES(mutex_);
  // The number of the first message shown (0: none) and its line.
  int firstNumber() const EXCLUDES(mutex_);
  std::string firstLine() const EXCLUDES(mutex_);
  int count() const EXCLUDES(mutex_);

 private:
  mutable base::Mutex mutex_;
  int first_ GUARDED_BY(mutex_) = 0;
  std::string firstLine_ GUARDED_BY(mutex_);
  int count_ GUARDED_BY(mutex_) = 0;
};

struct MessagePolicy {
  bool rebuildKeys = false;  // answer "Invalid Key" with Yes
};

// A view for wevo::run that reports into `log` (which must outlive the run).
ViewFactory consoleView(MessageLog* log, MessagePolicy policy);

// The store's message number for a box of this title and text; kExitStoreError
// for the store's plain errors that carry no number ("Error: ...", "Record
// Can't be created!").
int messageNumber(std::string_view title, std::string_view text);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_CONSOLE_VIEW_H_
