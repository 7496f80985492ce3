// How wevoadmin ends: its exit codes, and the failure a command throws to
// end with one of them.
//
// A store error that the store reports through one of its standard messages
// ends the command with that message's number as the exit code (1 to 38,
// console_view.h), the message's title and text being the line on stderr.
// The tool's own failures use the codes below (as sysexits.h numbers them).
#ifndef WEVO_ADMIN_FAILURE_H_
#define WEVO_ADMIN_FAILURE_H_

#include <stdexcept>
#include <string>

namespace wevo::admin {

enum Exit : int {
  kExitOk = 0,
  kExitProblems = 60,     // check found problems and left some of them
  kExitUsage = 64,        // bad command line or password input
  kExitBadInput = 65,     // a layouts file the record cannot take
  kExitNotFound = 66,     // no such store, file, procedure, marker or row
  kExitInternal = 70,     // the tool itself failed
  kExitExists = 73,       // the command would overwrite what exists (use --replace, --merge, another name)
  kExitStoreError = 74,   // the store failed without a message of its own ("Error: ...")
  kExitBusy = 75,         // another station held the store past the wait
};

// Ends a command with `code` and the one line `what()` says. An empty line
// means the reason is already on stderr (a store message said it), and the
// message's number is the exit code.
class Failure : public std::runtime_error {
 public:
  Failure(int code, const std::string& line) : std::runtime_error(line), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// The reason was a store message, already shown.
inline Failure reportedByStore() { return Failure(kExitStoreError, ""); }

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_FAILURE_H_
