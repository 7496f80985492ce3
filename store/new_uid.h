// Numbering new rows: the row in a file's record buffer is added under the
// highest number in the file + 1, found through a unique key over one
// unsigned number field (for the store: KEYUID over UID).
//
// Concurrency. The highest number is read, then the row is added; when
// another thread or process added a row under that number meanwhile, the add
// fails on the unique key and is retried with the next number, so two rows
// never share a number. Such a collision means someone else got a row in;
// it is retried at once and is not counted as a failed attempt, so a busy
// store does not ask the user about a failure that is none.
#ifndef WEVO_STORE_NEW_UID_H_
#define WEVO_STORE_NEW_UID_H_

#include <functional>

#include "platform/keyedfile/keyed_file.h"

namespace wevo::store {

// Adds the record now in `file`'s buffer (every field set but the number)
// under a new number, on the open `file`. `key` is a unique key whose only
// (or first) component is the number field. Returns true when the row is
// added; the buffer then holds it with its number and it is the current row.
// Otherwise the failure was reported and the buffer holds the record as given
// (with the last number tried):
//   the highest number cannot be read: message 35 naming the file's label,
//     and (kCloseWindow) EVENT::CloseWindow posted to the calling thread's
//     topmost window; a caller that has not opened its own window yet passes
//     kReportOnly, so that the close does not reach a window of its caller;
//   three failed adds: message 25; Retry starts three more attempts, Cancel
//     gives up and (kSayNotCreated) shows "Record Can't be created!"; the
//     property form passes kQuiet: its user already chose to give up and the
//     form simply does not open.
// Must run on a host thread of a running program.
enum class OnReadFailure { kCloseWindow, kReportOnly };
enum class OnGivingUp { kSayNotCreated, kQuiet };
bool AddRecordWithNewUid(kf::File& file, int key, OnReadFailure onReadFailure = OnReadFailure::kCloseWindow,
                         OnGivingUp onGivingUp = OnGivingUp::kSayNotCreated);
// The store's own rows: the thread's winFile() by KEYUID.
bool AddRecordWithNewUid();

namespace detail {
// Test hook: runs after the highest number was read and before the add, with
// the number about to be used. Empty: none. Set it only while no add runs.
void setAfterNumberReadHook(std::function<void(uint32_t number)> hook);
}  // namespace detail

}  // namespace wevo::store

#endif  // WEVO_STORE_NEW_UID_H_
