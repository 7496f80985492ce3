// Where the store lives and which password protects it, from the settings a
// host passes on every call.
//
// The store is named after the host program (its path as command-line item
// 0): beside the program when WEVOPATH is blank, otherwise in the folder
// WEVOPATH names, as "<program name>.wevo". "/" is the separator; "\" is
// accepted as one wherever a path is read.
//   blank WEVOPATH, program /opt/sales/bin/sales      -> /opt/sales/bin/sales.wevo
//   blank WEVOPATH, program /opt/apps/SALES.EXE       -> /opt/apps/SALES.wevo
//   WEVOPATH /data (or /data/), program .../SALES.EXE -> /data/SALES.wevo
//   WEVOPATH /data, program /opt/sales/bin/sales      -> /data/sales.wevo
// A program name counts as having an extension when it ends in a dot and
// three characters other than dots and separators, with something before
// the dot.
#ifndef WEVO_STORE_STORE_NAME_H_
#define WEVO_STORE_STORE_NAME_H_

#include <string>
#include <string_view>

#include "store/store_context.h"
#include "wevo/wevo.h"

namespace wevo::store {

// The store's file name for these settings and program path (trailing blanks
// of either ignored), cut at 256 characters. When WEVOPATH is not blank and
// does not end in a separator, "/" is appended to settings.WEVOPATH itself
// (when it has room), so a second call finds nothing to add. Every "\" of
// WEVOPATH reads as "/" in the result.
std::string storeNameFor(WEVOSETTINGS& settings, std::string_view programPath);

// The store of one entry call: its name from the settings and this program's
// path (wevo::command(0)), as storeNameFor gives it, and PASSWORD without
// trailing blanks (blank: the store is used without one). The process-wide
// store name and password are set to the same values.
StoreContext applyStoreSettings(WEVOSETTINGS& settings);

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_NAME_H_
