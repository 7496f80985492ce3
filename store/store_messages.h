// The standard messages: the one way store errors and store questions reach
// the user, each a message box with its own title, text, icon, buttons and
// default button, addressed by number. The messages that report an unusable
// store end the program after the box is closed.
//
// Every message first builds the error text (at most 150 characters): from
// the saved error when one is saved, else from the calling thread's current
// keyed-file error; for a driver error (90, 100) the driver's text and number
// ("disk I/O error (10)"), otherwise the error's text and number ("File is
// locked (32)"). Building it clears the saved error.
#ifndef WEVO_STORE_STORE_MESSAGES_H_
#define WEVO_STORE_STORE_MESSAGES_H_

#include <string>
#include <string_view>

#include "platform/keyedfile/keyed_file.h"

namespace wevo::store {

// Message numbers.
enum Msg : int {
  kMsgInvalidFile = 1,          // ends the program: "Invalid File!"
  kMsgInvalidKey = 2,           // Yes: 2; No ends the program: "Invalid Key!"
  kMsgKeyRebuildError = 3,      // ends the program: "Error Rebuilding Key!"
  kMsgCreateError = 4,          // ends the program: "File Creation Error!"
  kMsgOpenCreatedError = 5,     // ends the program: "File Creation Error!"
  kMsgInsertError = 14,
  kMsgUpdateError = 15,
  kMsgUpdateRetry = 16,
  kMsgDeleteError = 17,
  kMsgDeleteRetry = 18,
  kMsgConfirmCancel = 23,
  kMsgDuplicateKey = 24,
  kMsgAutoIncrementError = 25,
  kMsgFileAccessError = 30,
  kMsgConfirmDelete = 32,
  kMsgTransactionError = 34,
  kMsgRetrievalError = 35,
  kMsgViewOpenError = 36,
  kMsgRecordNotUpdated = 38,
};

// Shows message `number` with its texts (trailing blanks of each are
// ignored) and returns the button pressed (BUTTON::Ok, Yes, No, Retry,
// Cancel). The program-ending messages halt with their text and do not
// return. A number not listed above shows nothing and returns 0. Must run on
// a host thread of a running program.
int standardMessage(int number, std::string_view first = "", std::string_view second = "");

// ---- The saved error ---------------------------------------------------------
// A process-wide copy of the last store error a transactional operation
// caught, kept for the next message. Guarded: threads may meet here.
struct SavedError {
  int code = 0;
  std::string text;
  int driverCode = 0;
  std::string driverText;
};

// Saves the calling thread's current keyed-file error (texts cut at 255
// characters), then rolls back `file`'s open transaction, if any.
void saveError(kf::File& file);
SavedError savedError();
void clearSavedError();

// Builds the error text as described above and clears the saved error.
std::string errorText();

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_MESSAGES_H_
