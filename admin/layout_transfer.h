// Layouts in and out of a store as layouts files (layout_json.h): the
// commands export and import.
#ifndef WEVO_ADMIN_LAYOUT_TRANSFER_H_
#define WEVO_ADMIN_LAYOUT_TRANSFER_H_

#include <optional>
#include <ostream>
#include <string>

#include "admin/admin_store.h"

namespace wevo::admin {

struct ExportRequest {
  std::optional<std::string> procedure;  // only this procedure's rows
  std::optional<std::string> marker;     // only this marker's (with a procedure)
  std::string output;                    // a file to write ("" or "-": `out`)
};

// `export`: the rows (all of the store, of a procedure or of one marker)
// as a layouts file, read in one transaction so that they are the rows of
// one moment. A file is written under a temporary name and renamed when
// whole. Fails (kExitNotFound) when a procedure or marker was named and has
// no rows; nothing is written then.
void exportLayouts(AdminStore& store, const ExportRequest& request, std::ostream& out);

enum class ImportMode {
  kAdd,      // only new rows: a row the store has already fails the import
  kReplace,  // each marker of the file replaces that marker's rows in the store
  kMerge,    // rows the store has are overwritten (keeping their UID), others added
};

struct ImportRequest {
  std::string file;  // "-": standard input
  ImportMode mode = ImportMode::kAdd;
  bool dryRun = false;
};

// `import`: the file's rows into the store, all or nothing, in one write
// transaction. The whole file is read and checked against the record first
// (parseLayouts); a file with any fault fails (kExitBadInput) before the
// store is opened. New rows are numbered by the store's own rule
// (AddRecordWithNewUid); a UID in the file is not used. A missing store is
// created. kAdd fails (kExitExists) when the store has one of the rows.
// With `dryRun` nothing is written (nor created): what would change is said.
// Prints what was (or would be) added, changed and removed, per marker.
void importLayouts(AdminStore& store, const ImportRequest& request, std::ostream& out);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_LAYOUT_TRANSFER_H_
