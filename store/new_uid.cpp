#include "store/new_uid.h"

#include <cstring>
#include <vector>

#include "platform/keyedfile/error.h"
#include "store/store_messages.h"
#include "store/store_thread.h"
#include "store/test_hook.h"
#include "wevo/codes.h"
#include "wevo/runtime.h"

namespace wevo::store {
namespace {

constexpr int kAttempts = 3;
// Collisions with rows others added are retried without asking; a store busy
// beyond this many in a row for one add counts it as one failed attempt.
constexpr int kMaxCollisions = 1000;

TestHook<uint32_t>& hook() {
  static TestHook<uint32_t> h;
  return h;
}

enum class Read { kFound, kEmpty, kFailed };

// The highest number in the file, by the key's order.
Read highest(kf::File& file, int key, const kf::FieldDecl& number, uint32_t& value) {
  if (!file.set(key)) return Read::kFailed;
  if (file.previous()) {
    value = static_cast<uint32_t>(kf::readNumber(number, file.record()));
    return Read::kFound;
  }
  return kf::errorCode() == kf::kErrNoRecord ? Read::kEmpty : Read::kFailed;
}

// Whether the add just failed because a row with the buffer's number exists
// now (another station's). The add's error stays the thread's error.
bool collidedOnNumber(kf::File& file, int key) {
  if (kf::errorCode() != kf::kErrDuplicateKey) return false;
  const int code = kf::errorCode();
  const int driverCode = kf::driverErrorCode();
  const std::string driverText = kf::driverErrorText();
  const bool taken = file.duplicateCheck(key);
  kf::setError(code, driverCode, driverText);
  return taken;
}

}  // namespace

bool AddRecordWithNewUid(kf::File& file, int key, OnReadFailure onReadFailure) {
  const kf::FileDecl& decl = file.decl();
  const kf::FieldDecl& number =
      decl.fields[static_cast<size_t>(decl.keys[static_cast<size_t>(key)].components.front())];
  const size_t size = decl.recordSize;
  std::vector<char> kept(size);
  std::memcpy(kept.data(), file.record(), size);
  // Reading the highest row replaces the blob too; the new row takes the one given.
  const std::string blob = file.blobGet();

  int attempts = 0;
  int collisions = 0;
  for (;;) {
    uint32_t top = 0;
    switch (highest(file, key, number, top)) {
      case Read::kFailed:
        std::memcpy(file.record(), kept.data(), size);
        standardMessage(kMsgRetrievalError, decl.label);
        if (onReadFailure == OnReadFailure::kCloseWindow) postToThread(EVENT::CloseWindow);
        return false;
      case Read::kEmpty:
        top = 0;
        break;
      case Read::kFound:
        break;
    }
    const uint32_t next = top + 1;
    std::memcpy(file.record(), kept.data(), size);
    kf::writeNumber(number, file.record(), next);
    std::memcpy(kept.data(), file.record(), size);
    if (!decl.blob.empty()) file.blobSet(blob);
    hook().run(next);
    if (file.add()) return true;

    if (collidedOnNumber(file, key) && ++collisions < kMaxCollisions) continue;
    collisions = 0;
    if (++attempts < kAttempts) continue;
    if (standardMessage(kMsgAutoIncrementError) == BUTTON::Retry) {
      attempts = 0;
      continue;
    }
    message("Record Can't be created!");
    return false;
  }
}

bool AddRecordWithNewUid() { return AddRecordWithNewUid(winFile(), KEYUID); }

namespace detail {
void setAfterNumberReadHook(std::function<void(uint32_t)> fn) { hook().set(std::move(fn)); }
}  // namespace detail

}  // namespace wevo::store
