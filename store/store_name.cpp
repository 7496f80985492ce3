#include "store/store_name.h"

#include "store/store_file_vars.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::store {
namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// The program's file name: the text after the last separator, or the whole
// path when it has none.
std::string_view fileNameOf(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i)
    if (isSeparator(path[i - 1])) return path.substr(i);
  return path;
}

// Whether the file name ends in a dot and a three-character extension.
bool hasExtension(std::string_view name) {
  if (name.size() < 5 || name[name.size() - 4] != '.') return false;
  for (size_t i = name.size() - 3; i < name.size(); ++i)
    if (name[i] == '.' || isSeparator(name[i])) return false;
  return true;
}

std::string withSlashes(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace

std::string storeNameFor(WEVOSETTINGS& settings, std::string_view programPath) {
  programPath = text::clip(programPath);
  std::string_view fileName = fileNameOf(programPath);
  const bool extension = hasExtension(fileName);
  std::string name;
  std::string_view folder = text::hostText(text::field(settings.WEVOPATH));
  if (folder.empty()) {
    // Beside the program: the extension gives way to "wevo".
    name = extension ? std::string(programPath.substr(0, programPath.size() - 3)) + "wevo"
                     : std::string(programPath) + ".wevo";
  } else {
    std::string base(extension ? fileName.substr(0, fileName.size() - 4) : fileName);
    std::string dir = withSlashes(folder);
    if (!isSeparator(folder.back())) {
      dir += '/';
      // The caller's folder gains the separator too, once; a NUL that ended
      // it ends it again after the separator.
      const size_t at = folder.size();
      if (at < sizeof(settings.WEVOPATH)) {
        const bool endedByNul = settings.WEVOPATH[at] == '\0';
        settings.WEVOPATH[at] = '/';
        if (endedByNul && at + 1 < sizeof(settings.WEVOPATH)) settings.WEVOPATH[at + 1] = '\0';
      }
    }
    name = dir + base + ".wevo";
  }
  if (name.size() > kFileNameWidth) name.resize(kFileNameWidth);
  return name;
}

StoreContext applyStoreSettings(WEVOSETTINGS& settings) {
  StoreContext context{storeNameFor(settings, command(0)),
                       kf::Secret(text::hostText(text::field(settings.PASSWORD)))};
  setStoreFileName(context.path);
  setStoreOwner(context.password.view());
  return context;
}

}  // namespace wevo::store
