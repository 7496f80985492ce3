#include "demo/install_layout.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace wevo::demo {

namespace fs = std::filesystem;

std::string pictureFolder() {
  std::error_code ec;
  fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  fs::path folder = (program.parent_path() / WEVODEMO_DATA_DIR).lexically_normal();
  return fs::is_directory(folder, ec) ? folder.string() : std::string();
}

std::string storeFolder(const std::string& programPath) {
  fs::path program(programPath);
  fs::path folder = program.has_parent_path() ? program.parent_path() : fs::path(".");
  fs::path store = program;
  store += ".wevo";
  std::error_code ec;
  if (::access(folder.c_str(), W_OK | X_OK) == 0 || fs::exists(store, ec)) return {};

  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  fs::path data;
  if (dataHome != nullptr && *dataHome == '/')
    data = dataHome;
  else if (home != nullptr && *home != '\0')
    data = fs::path(home) / ".local" / "share";
  else
    return {};
  fs::path ours = data / "wevodemo";
  fs::create_directories(ours, ec);
  return ours.string() + "/";
}

}  // namespace wevo::demo
