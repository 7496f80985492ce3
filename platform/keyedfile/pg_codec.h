// Moving a record between its buffer and a server's row.
//
// Text. A record's text is bytes, one per character, kept byte for byte; a
// server keeps text in its encoding and refuses a zero byte. Each byte goes
// to the server as the character of the same number (Latin-1: "é" is 0xE9 in
// the record and shows as "é" to the server's own tools), and the zero byte,
// which no server text may hold, as U+0100. Back from the server, every
// character up to U+00FF is its byte again, U+0100 the zero byte, and any
// other character (written by another program) "?". Case is folded on the
// server for the ASCII letters only (lower() under the "C" collation), as the
// file's keys fold them.
//
// Columns come back in binary: numbers as int8, text as its bytes, the blob
// raw. A row is selected as the file's rows are (schema.h): the row id, its
// version, one column per field, then the blob.
#ifndef WEVO_PLATFORM_KEYEDFILE_PG_CODEC_H_
#define WEVO_PLATFORM_KEYEDFILE_PG_CODEC_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/keyedfile/file_decl.h"
#include "platform/keyedfile/pg_connection.h"
#include "platform/keyedfile/row_codec.h"

namespace wevo::kf {

// A record's text as the server keeps it, and back.
std::string toServerText(std::string_view recordText);
std::string fromServerText(std::string_view serverText);

PgValue pgValue(const FieldValue& value);

// Every field of the record (text without its trailing blanks), then the
// blob when the declaration has one (empty: none), appended to `params`.
void appendRecord(std::vector<PgValue>& params, const FileDecl& decl, const void* record, std::string_view blob);

// Reads a selected row's fields into `record` and its blob into `blob`
// (emptied without one).
void readPgRecord(const PgResult& result, int row, const FileDecl& decl, void* record, std::string& blob);

// The key's component values of a selected row, as the record holds them.
KeyTuple pgKeyTuple(const PgResult& result, int row, const FileDecl& decl, int key);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_PG_CODEC_H_
