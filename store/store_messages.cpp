#include "store/store_messages.h"

#include <utility>

#include "platform/base/mutex.h"
#include "platform/keyedfile/error.h"
#include "wevo/codes.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::store {
namespace {

constexpr size_t kSavedTextWidth = 255;
constexpr size_t kErrorTextWidth = 150;

class Saved {
 public:
  void set(SavedError e) EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    error_ = std::move(e);
  }
  SavedError get() const EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    return error_;
  }
  // The saved error, which is cleared.
  SavedError take() EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    return std::exchange(error_, SavedError{});
  }

 private:
  mutable base::Mutex mutex_;
  SavedError error_ GUARDED_BY(mutex_);
};

Saved& saved() {
  static Saved s;
  return s;
}

std::string cut(std::string_view s, size_t width) { return std::string(s.substr(0, width)); }

std::string lowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool isDriverError(int code) { return code == kf::kErrDriver || code == 100; }

struct BuiltError {
  int code = 0;      // the number the text reports
  std::string text;  // trailing blanks removed
};

BuiltError buildError() {
  SavedError e = saved().take();
  if (e.code == 0) {
    e.code = kf::errorCode();
    e.text = kf::errorText();
    e.driverCode = kf::driverErrorCode();
    e.driverText = kf::driverErrorText();
  }
  std::string out = isDriverError(e.code)
                        ? std::string(text::clip(e.driverText)) + " (" + std::to_string(e.driverCode) + ")"
                        : std::string(text::clip(e.text)) + " (" + std::to_string(e.code) + ")";
  return {e.code, std::string(text::clip(cut(out, kErrorTextWidth)))};
}

struct Shown {
  const char* title;
  std::string text;
  const char* icon;
  int buttons;
  int defaultButton;
  const char* endsWith = nullptr;  // the program ends with this text once the box is closed
};

int show(const Shown& m) {
  int button = message(m.text, m.title, m.icon, m.buttons, m.defaultButton);
  if (m.endsWith != nullptr) halt(m.endsWith);
  return button;
}

}  // namespace

int standardMessage(int number, std::string_view firstIn, std::string_view secondIn) {
  const BuiltError built = buildError();
  const std::string& err = built.text;
  const std::string first(text::clip(firstIn));
  const std::string second(text::clip(secondIn));
  const char* kError = ICON::Error;
  const char* kQuestion = ICON::Question;
  const std::string kEnd = ".  Press OK to end this application.";
  using namespace BUTTON;
  switch (number) {
    case kMsgInvalidFile:
      return show({"Invalid File", "Error: (" + err + ") accessing " + first + kEnd, kError, Ok, Ok, "Invalid File!"});
    case kMsgInvalidKey: {
      int b = show({"Invalid Key", first + " key file is invalid.  Do you want to rebuild the key?", kQuestion,
                    Yes | No, Yes});
      if (b != Yes) halt("Invalid Key!");
      return b;
    }
    case kMsgKeyRebuildError:
      return show({"Key Rebuild Error", "Error: (" + err + ") repairing key for " + first + kEnd, kError, Ok, Ok,
                   "Error Rebuilding Key!"});
    case kMsgCreateError:
      return show({"File Creation Error", "Error: (" + err + ") creating " + first + kEnd, kError, Ok, Ok,
                   "File Creation Error!"});
    case kMsgOpenCreatedError:
      return show({"File Creation Error", "Error: (" + err + ") opening created file:" + first + kEnd, kError, Ok,
                   Ok, "File Creation Error!"});
    case kMsgInsertError:
      return show({"Record Insert Error",
                   "An error was experienced during the update of record.  Error: " + err + ".", kError, Ok, Ok});
    case kMsgUpdateError: {
      std::string t = built.code != 0 && built.code != kf::kErrChanged
                          ? "An error (" + err +
                                ") was experienced when attempting to update a record from the file.  Probable "
                                "Cause: " +
                                first + "."
                          : std::string("This record was changed by another station.");
      return show({"Update Operation Error", t, kError, Ok, Ok});
    }
    case kMsgUpdateRetry:
      return show({"Record Update Error",
                   "An error was experienced changing this record.  Do you want to try to save again?", kError,
                   Yes | No | Cancel, Cancel});
    case kMsgDeleteError:
      return show({"Delete Operation Error",
                   "An error (" + err + ") was experienced when attempting to delete a record from the file " +
                       first + ".",
                   kError, Ok, Ok});
    case kMsgDeleteRetry:
      return show({"Record Update Error",
                   "An error was experienced deleting this record.  Do you want to try to save again?", kError,
                   Yes | No | Cancel, Cancel});
    case kMsgConfirmCancel:
      return show({"Update Cancelled", "Are you sure you want to cancel?", kQuestion, Yes | No, No});
    case kMsgDuplicateKey:
      return show({"Duplicate Key Error", "Adding this record creates a duplicate entry for the key:" + first,
                   kError, Ok, Ok});
    case kMsgAutoIncrementError:
      return show({"Auto Increment Error",
                   "Attempts to automatically number this record have failed.  Error: " + err + ".", kError,
                   Retry | Cancel, Cancel});
    case kMsgFileAccessError:
      return show({"File Access Error", "File (" + first + ") could not be opened.  Error: " + err + ".", kError,
                   Ok, Ok});
    case kMsgConfirmDelete:
      return show({"Confirm Delete",
                   "You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
                   "record.",
                   kQuestion, Ok | Cancel, Cancel});
    case kMsgTransactionError:
      return show({"Transaction Framing Error",
                   "Error: (" + err + ") attempting to frame the " + lowerCase(first) + " transaction on " +
                       second + ".  " + first + " transaction cancelled.",
                   kError, Ok, Ok});
    case kMsgRetrievalError:
      return show({"Record Retrieval Error",
                   "Error: (" + err + ") attempting to access a record from the " + first +
                       " file.  Returning to previous window.",
                   kError, Ok, Ok});
    case kMsgViewOpenError:
      return show({"View Open Error",
                   "Error: (" + err + ") attempting to open the current VIEW. Filter and Range Limits ignored.",
                   kError, Ok, Ok});
    case kMsgRecordNotUpdated:
      return show({"Record Was Not Updated",
                   "This record was changed by another station. Those changes will now be displayed. Use the "
                   "Ditto Button or Ctrl+' to recall your changes.",
                   kError, Ok, Ok});
    default:
      return 0;
  }
}

void saveError(kf::File& file) {
  saved().set({kf::errorCode(), cut(kf::errorText(), kSavedTextWidth), kf::driverErrorCode(),
               cut(kf::driverErrorText(), kSavedTextWidth)});
  if (file.isOpen()) file.rollback();
}

SavedError savedError() { return saved().get(); }

void clearSavedError() { saved().set(SavedError{}); }

std::string errorText() { return buildError().text; }

}  // namespace wevo::store
