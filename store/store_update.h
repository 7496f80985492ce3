// Rewriting and deleting the current row of the store inside a transaction,
// for the property form. Failures are reported through the standard
// messages and leave the row as it was (the transaction rolled back).
#ifndef WEVO_STORE_STORE_UPDATE_H_
#define WEVO_STORE_STORE_UPDATE_H_

#include "platform/keyedfile/keyed_file.h"

namespace wevo::store {

enum UpdateResult : int { kUpdated = 0, kUpdateFailed = 1, kChangedElsewhere = 2 };

// Rewrites the current row of `file` (open; its buffer holds the new values)
// in a transaction that waits up to 2 s for the store:
//   the transaction cannot begin: message 34 ("Update", the file's label),
//     kUpdateFailed;
//   the row was watched and another station changed it since (89): message
//     38 when `showChanges`, otherwise message 15; then the other station's
//     version is read into the buffer (watched again): kChangedElsewhere;
//   any other failure (of the rewrite or the commit): message 15 naming the
//     file's label, kUpdateFailed.
// The row's KEYUID position is kept in updatePosition().
UpdateResult updateCurrentRow(kf::File& file, bool showChanges);

// Deletes the current row of `file` in a transaction that waits up to 2 s:
// kUpdated; kUpdateFailed after message 34 ("Delete", the label) when the
// transaction cannot begin, or message 17 (the label) when the row cannot
// be read again or deleted or the commit fails.
UpdateResult deleteCurrentRow(kf::File& file);

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_UPDATE_H_
