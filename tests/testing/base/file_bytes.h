// A whole file's bytes, read or written at once: how tests look at and
// damage store files.
#ifndef WEVO_TESTS_TESTING_BASE_FILE_BYTES_H_
#define WEVO_TESTS_TESTING_BASE_FILE_BYTES_H_

#include <string>

namespace wevo::testing {

// Every byte of the file; empty when it cannot be read.
std::string fileBytes(const std::string& path);
// Replaces the file with `bytes`; false when it cannot be written whole.
bool writeFileBytes(const std::string& path, const std::string& bytes);

}  // namespace wevo::testing

#endif  // WEVO_TESTS_TESTING_BASE_FILE_BYTES_H_
