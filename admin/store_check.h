// `check`: what is wrong with a store, and, asked to, the repair of what can
// be repaired without knowing the program's windows.
#ifndef WEVO_ADMIN_STORE_CHECK_H_
#define WEVO_ADMIN_STORE_CHECK_H_

#include <ostream>
#include <string>

#include "admin/admin_store.h"

namespace wevo::admin {

// Checks the store and says what it found:
//   integrity: every row reads, blob included, in the order rows were added,
//     and the store counts as many rows as the walk found;
//   keys: each of the four keys lists every row exactly once, the unique
//     key no number twice; keys left invalid by an interrupted copy;
//   stale rows: rows of a marker whose label has no original row of its
//     procedure (the window lost that control, or the rows came from another
//     version of the program), and markers whose procedure has no original
//     rows at all;
//   renumbered controls: original rows of one procedure that claim the same
//     field number. Each window open corrects the number of the controls it
//     has, so one of them is a control the window lost; which one only the
//     program knows, so this is said, not repaired.
// With `fix`, after a copy of the store is kept beside it
// ("<store>.check.bak", or ".check.2.bak" and so on when that is taken; for
// a server store, whose rows cannot be copied beside it, a layouts file of
// all its rows in the current folder, "<schema>.check.bak.json", which
// import --replace puts back):
// invalid keys are rebuilt, and exactly the stale rows reported are removed
// (each checked again first, in one write transaction). Returns kExitOk when
// nothing is left to repair; otherwise, after the report, fails
// (kExitProblems) with a line that says what is left.
int checkStore(AdminStore& store, bool fix, std::ostream& out);

// The first of "<name>.check.bak<suffix>", "<name>.check.2.bak<suffix>",
// ... that no file has.
std::string freeBackupName(const std::string& name, const std::string& suffix = "");

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_STORE_CHECK_H_
