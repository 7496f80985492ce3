// Operations on a closed keyed file as a whole: exists, copy, remove.
#ifndef WEVO_PLATFORM_KEYEDFILE_WHOLE_FILE_H_
#define WEVO_PLATFORM_KEYEDFILE_WHOLE_FILE_H_

#include <string>

namespace wevo::kf {

// A regular file of that name exists.
bool fileExists(const std::string& name);

// Copies `from` to `to` (replacing it, and dropping any journal left beside
// it) while holding a shared database lock, so that a writer elsewhere cannot
// change the file half way; the bytes are read through SQLite's own handle and
// need no password. Returns 0 or the error set: 2 no such file, 32 a writer
// kept it busy or left an interrupted transaction behind, 5/90 I/O.
int copyWholeFile(const std::string& from, const std::string& to);

// Removes the file, its journal and its lock file. 2 no such file, 32 someone
// has it open, 5/90 I/O.
int removeWholeFile(const std::string& name);

// 0 when the file is gone; otherwise the error set for errno `e`.
int reportErrno(int e, const std::string& what);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_WHOLE_FILE_H_
