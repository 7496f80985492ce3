// A folder of its own for one test, removed with everything in it when the
// object goes out of scope.
#ifndef WEVO_TESTS_TESTING_BASE_TEMP_DIR_H_
#define WEVO_TESTS_TESTING_BASE_TEMP_DIR_H_

#include <string>

namespace wevo::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing "/".
  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace wevo::testing

#endif  // WEVO_TESTS_TESTING_BASE_TEMP_DIR_H_
