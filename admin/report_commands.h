// The commands that read a store and report: list, show and diff. None of
// them writes to the store.
#ifndef WEVO_ADMIN_REPORT_COMMANDS_H_
#define WEVO_ADMIN_REPORT_COMMANDS_H_

#include <optional>
#include <ostream>
#include <string>

#include "admin/admin_store.h"

namespace wevo::admin {

// `list`: the store's procedures and markers with their rows and the
// newest row number of each (rows are numbered as they are added, and
// carry no time), after a line about the whole store (rows, protection,
// when its file was last written).
void listStore(AdminStore& store, std::ostream& out);

// `show`: the rows of a procedure (of one marker, when given) as a table of
// label, type, place and size in dialog units (a size may be "full" or
// "default"), tab order and text; with `json`, as a layouts file. Fails
// (kExitNotFound) when there is no such row.
void showRows(AdminStore& store, const std::string& procedure, const std::optional<std::string>& marker, bool json,
              std::ostream& out);

// `diff`: what the marker's rows change against the designed original (the
// procedure's WEVO_ORIGINAL rows), row by row and field by field; a row's
// number, marker and field number are its identity, not changes. Rows
// without an original are named as such. Fails (kExitUsage) for the marker
// WEVO_ORIGINAL itself, (kExitNotFound) when the marker has no rows.
void diffMarker(AdminStore& store, const std::string& procedure, const std::string& marker, std::ostream& out);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_REPORT_COMMANDS_H_
