#include "demo/install_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/testing/base/temp_dir.h"

namespace wevo::demo {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(InstallLayout, TheStoreStaysBesideAProgramWhoseFolderTakesItAndGoesToTheUsersDataFolderOtherwise) {
  testing::TempDir dir;
  EXPECT_EQ(storeFolder(dir.file("wevodemo")), "") << "a build folder takes the store";

  // A folder that does not exist takes no store, whoever runs the program.
  const std::string program = dir.file("gone/bin/wevodemo");
  {
    ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    EXPECT_EQ(storeFolder(program), dir.file("data") + "/wevodemo/");
    EXPECT_TRUE(fs::is_directory(dir.file("data/wevodemo")));
  }
  {
    ScopedEnv data("XDG_DATA_HOME", "relative/data");  // a relative one is ignored
    ScopedEnv home("HOME", dir.file("home"));
    EXPECT_EQ(storeFolder(program), dir.file("home") + "/.local/share/wevodemo/");
    EXPECT_TRUE(fs::is_directory(dir.file("home/.local/share/wevodemo")));
  }
}

}  // namespace
}  // namespace wevo::demo
