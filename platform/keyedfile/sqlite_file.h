// Keyed files as SQLCipher databases: the backend of every store whose name
// is a path (backend.h).
//
// One file is one database holding one table named after the declaration's
// label, one column per field, the blob in a column of its own, one index per
// key (text components COLLATE NOCASE) and the metadata table "kf_meta" with
// the layout and whether the keys are valid. Access modes are flock()s on
// "<file>-lock" (file_lock.h), turns are taken in the same file
// (fair_lock.h), transactions are BEGIN IMMEDIATE, connections are kept per
// thread between opens (connection_pool.h).
#ifndef WEVO_PLATFORM_KEYEDFILE_SQLITE_FILE_H_
#define WEVO_PLATFORM_KEYEDFILE_SQLITE_FILE_H_

#include <memory>
#include <string>

#include "platform/keyedfile/backend.h"

namespace wevo::kf {

std::unique_ptr<Backend> makeSqliteBackend(File::State& s);

// Whole files by name (whole_file.h does the work).
bool sqliteStoreExists(const std::string& name);
bool removeSqliteStore(const std::string& name);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_SQLITE_FILE_H_
