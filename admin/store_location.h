// What a STORE argument names. A store file is named by its path. A store on
// a PostgreSQL server is named by the URI its stations put in WEVOPATH
// ("postgresql://..." or "postgres://...") and the name of the program whose
// store it is (--program; a copy takes it from the file on its other side),
// from which the store layer's own naming rule makes the store's name, as it
// does for every station. Every command then works on that name through the
// store layer alone, whichever backend lies behind it.
#ifndef WEVO_ADMIN_STORE_LOCATION_H_
#define WEVO_ADMIN_STORE_LOCATION_H_

#include <string>
#include <string_view>

namespace wevo::admin {

struct StoreLocation {
  std::string given;    // as the command line wrote it
  bool server = false;  // a server store (URI), not a file
  std::string name;     // the store's name, as the store layer takes it
};

// Whether `text` is a libpq connection URI (the form that selects a server).
bool isServerUri(std::string_view text);

// The store `given` names. `program` is needed for a server store only.
// Fails (kExitUsage) when a name is longer than the store layer keeps (256
// characters), or a server store has no program.
StoreLocation locateStore(std::string_view given, std::string_view program);

// The program a store file belongs to: its file name without ".wevo"
// ("/data/SALES.wevo" -> "SALES").
std::string programOfStoreFile(std::string_view path);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_STORE_LOCATION_H_
