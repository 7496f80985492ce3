// The copy both store conversions make: every row of the store, read in
// physical order through one declaration, into a new file of another
// declaration, which then takes the store's place.
//
// The store is never left damaged. The new file is built beside the store
// under a temporary name, its keys built once at the end; the old store is
// copied to its backup; then the new file replaces the store in one atomic
// rename. The store stays opened for this copy alone (others denied) from
// the first read to the replacement, so no other thread or process writes
// rows that the copy would lose. Interrupted at any point, the store is
// either the old one or the new one, whole; a leftover temporary file is
// removed by the next conversion or the next format check.
#ifndef WEVO_STORE_STORE_COPY_H_
#define WEVO_STORE_STORE_COPY_H_

#include <cstdint>
#include <functional>
#include <string>

#include "platform/keyedfile/file_decl.h"
#include "platform/keyedfile/secret.h"

namespace wevo::store {

struct StoreCopy {
  const kf::FileDecl* from = nullptr;  // how the store is read
  const kf::FileDecl* to = nullptr;    // the layout of the new file
  kf::Secret fromOwner;                // the store's password (empty: none)
  kf::Secret toOwner;                  // the new file's password
  std::string tempName;                // the new file while it is filled
  std::string backupName;              // where the old store is kept
  // Fills the new record (cleared: numbers 0, text blank) from the old one.
  std::function<void(const void* from, void* to)> transfer;
};

// Copies the store named `storeName` as `copy` says, with the progress
// window counting rows. False when the copy was abandoned: the failing step's
// error was shown (ReportFileError), the temporary file removed, the store
// unchanged.
bool copyStore(const std::string& storeName, const StoreCopy& copy);

// If the calling thread's last keyed-file operation failed, shows "Error: "
// with its text (error 90: the driver's own text) in a plain message box and
// returns its number; otherwise 0.
int ReportFileError();

// The temporary names a conversion of the store `storeName` may leave behind
// when it is interrupted.
std::string layoutTempName(const std::string& storeName);
std::string protectTempName(const std::string& storeName);

namespace detail {
// Points of a copy that tests may stop at (simulating a crash there).
enum class CopyStep {
  kTempCreated,    // the new file exists, empty
  kRowCopied,      // after each row; `rows` copied so far
  kTempComplete,   // every row copied, keys built, new file closed
  kBackupWritten,  // the old store copied to its backup
  kStoreReplaced,  // the new file renamed over the store; temporary not yet removed
};
// Test hook called at each step on the copying thread. Empty: none. Set it
// only while no copy runs.
void setCopyHook(std::function<void(CopyStep step, uint32_t rows)> hook);
}  // namespace detail

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_COPY_H_
