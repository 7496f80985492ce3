#include "store/store_open.h"

#include "platform/keyedfile/error.h"
#include "store/store_context.h"
#include "store/store_messages.h"
#include "wevo/runtime.h"

namespace wevo::store {
namespace {

// Creates the missing file and opens it, or ends the program (a server that
// cannot be reached is reported as by openWithRecovery). Stations
// that find the store missing together (threads or processes) create it
// once: each builds a file of its own and only the first takes the store's
// name; the others open that one.
bool reportedUnreachable(kf::File& file) {
  if (kf::errorCode() != kf::kErrConnection) return false;
  noteServerUnreachable();
  standardMessage(kMsgFileAccessError, file.name());
  return true;
}

void createAndOpen(kf::File& file, int mode) {
  if (!file.createIfMissing()) {
    if (reportedUnreachable(file)) return;
    standardMessage(kMsgCreateError, file.name());
  }
  if (!file.open(mode) && kf::errorCode() == kf::kErrLocked) {
    file.send("Recover=10");
    file.open(mode);
  }
  if (!file.isOpen() && !reportedUnreachable(file)) standardMessage(kMsgOpenCreatedError, file.name());
}

}  // namespace

void openWithRecovery(kf::File& file, bool createAllowed, int mode) {
  if (serverFoundUnreachable()) {
    kf::setError(kf::kErrConnection);
    return;
  }
  if (!file.open(mode) && kf::errorCode() == kf::kErrLocked) {
    file.send("Recover=10");
    file.open(mode);
  }
  switch (kf::errorCode()) {
    case kf::kNoError:
    case kf::kErrAlreadyOpen:
      return;
    case kf::kErrNotFound:
      if (createAllowed) {
        createAndOpen(file, mode);
        return;
      }
      standardMessage(kMsgCreateError, file.name());
      return;
    case kf::kErrKeysDamaged:
      standardMessage(kMsgInvalidKey, file.name());  // No ends the program
      if (!file.build()) standardMessage(kMsgKeyRebuildError, file.name());
      file.open(mode);
      break;
    case kf::kErrLayout:
      standardMessage(kMsgInvalidFile, file.name());
      return;
    case kf::kErrConnection:
      // A server that cannot be reached is no reason to end the program: the
      // user is told once, and the call goes on without the store.
      reportedUnreachable(file);
      return;
    default:
      break;
  }
  if (!file.isOpen()) {
    standardMessage(kMsgFileAccessError, file.name());
    halt("Disk Error");
  }
}

void openCounted(kf::File& file) {
  int& count = useCount(file);
  if (count == 0) openWithRecovery(file);
  ++count;
}

void closeCounted(kf::File& file) {
  int& count = useCount(file);
  if (count == 0) return;
  if (--count == 0) file.close();
}

}  // namespace wevo::store
