#include "admin/store_location.h"

#include "admin/failure.h"
#include "store/store_file_vars.h"
#include "store/store_name.h"
#include "wevo/text.h"
#include "wevo/wevo.h"

namespace wevo::admin {

bool isServerUri(std::string_view text) {
  return text.rfind("postgresql://", 0) == 0 || text.rfind("postgres://", 0) == 0;
}

StoreLocation locateStore(std::string_view given, std::string_view program) {
  StoreLocation l;
  l.given = std::string(given);
  if (given.empty()) throw Failure(kExitUsage, "a store is named by its file's path or a server's URI");
  l.server = isServerUri(given);
  if (!l.server) {
    // "\" reads as "/", as everywhere the library reads a path.
    l.name = std::string(given);
    for (char& c : l.name)
      if (c == '\\') c = '/';
    if (l.name.size() > store::kFileNameWidth)
      throw Failure(kExitUsage,
                    l.given + ": a store's name has at most " + std::to_string(store::kFileNameWidth) + " characters");
    return l;
  }
  if (program.empty())
    throw Failure(kExitUsage, l.given + ": a server store needs --program NAME, the program whose store it is");
  WEVOSETTINGS settings;
  if (given.size() > sizeof settings.WEVOPATH - 1)
    throw Failure(kExitUsage, l.given + ": a URI has at most " + std::to_string(sizeof settings.WEVOPATH - 1) +
                                  " characters, as WEVOPATH");
  text::assign(settings.WEVOPATH, given);
  text::blank(settings.PASSWORD);
  settings.PROMPTONEXIT = 0;
  l.name = store::storeNameFor(settings, program);
  return l;
}

std::string programOfStoreFile(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
  constexpr std::string_view kSuffix = ".wevo";
  if (base.size() > kSuffix.size() && base.substr(base.size() - kSuffix.size()) == kSuffix)
    base.remove_suffix(kSuffix.size());
  return std::string(base);
}

}  // namespace wevo::admin
