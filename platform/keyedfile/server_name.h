// The names of stores kept on a PostgreSQL server.
//
// A store on a server is named by the server and the schema it lives in:
//   "<connection URI without a password>#<schema>"
//   postgresql://wevo@db.office.lan/office?sslmode=verify-full#SALES.wevo
// The URI is any libpq connection URI ("postgresql://" or "postgres://":
// host, port, database, user and parameters such as sslmode); the schema is
// a name of at most 63 bytes, any characters, letter case kept. A name never
// carries a password: it is shown in messages. The password travels as the
// store's owner (File::setOwner) and is given to the server only.
//
// Any other name is a file's path.
#ifndef WEVO_PLATFORM_KEYEDFILE_SERVER_NAME_H_
#define WEVO_PLATFORM_KEYEDFILE_SERVER_NAME_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/keyedfile/secret.h"

namespace wevo::kf {

// PostgreSQL's longest name.
inline constexpr size_t kServerSchemaWidth = 63;

// Whether `name` (or a WEVOPATH) names a server: it starts with
// "postgresql://" or "postgres://".
bool isServerName(std::string_view name);

// A connection URI taken apart: `uri` without its password (the user's
// ":password" before "@", and any "password=" parameter, removed) and the
// password it carried (empty: none). `problem` says why a text is not a URI
// the client library accepts (then `uri` is empty).
struct ServerUri {
  std::string uri;
  Secret password;
  std::string problem;
};
ServerUri splitServerUri(std::string_view uri);

// The name of the store in `schema` on the server of `uri` (a URI without
// password). The schema is cut to kServerSchemaWidth bytes.
std::string serverStoreName(std::string_view uri, std::string_view schema);

// A store name's parts; nullopt for a name that is no server store's (not
// a server, or no schema after "#").
struct ServerStore {
  std::string uri;
  std::string schema;
};
std::optional<ServerStore> parseServerStoreName(std::string_view name);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_SERVER_NAME_H_
