// Moving a record between its buffer and a row: text without trailing blanks
// on the way in, blank-padded to the field's width on the way out; numbers as
// integers. And the values of a record's fields as this layer compares them.
#ifndef WEVO_PLATFORM_KEYEDFILE_ROW_CODEC_H_
#define WEVO_PLATFORM_KEYEDFILE_ROW_CODEC_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyedfile/file_decl.h"
#include "platform/keyedfile/sqlite_db.h"

namespace wevo::kf {

// One value: text (without trailing blanks) or a number.
struct FieldValue {
  bool isText = false;
  std::string text;
  int64_t number = 0;

  static FieldValue ofText(std::string_view s);
  static FieldValue ofNumber(int64_t n);
};

FieldValue fieldValue(const FieldDecl& field, const void* record);
void bindValue(Stmt& stmt, int param, const FieldValue& value);

// The order of two stored values as the file's keys order them: numbers by
// value and before text, text byte by byte, ASCII letters folded when
// `nocase`. Negative, 0 or positive.
int compareValues(const FieldValue& a, const FieldValue& b, bool nocase);

// The values of a key's components in a record.
using KeyTuple = std::vector<FieldValue>;
KeyTuple keyTuple(const FileDecl& decl, int key, const void* record);

// Binds every field as ?first.. in declaration order, then the blob (when
// the declaration has one).
void bindRecord(Stmt& stmt, int first, const FileDecl& decl, const void* record, std::string_view blob);
// Reads the fields from columns first.. and the blob from `blobColumn` (-1:
// none; the blob is then emptied).
void readRecord(const Stmt& stmt, int first, const FileDecl& decl, void* record, int blobColumn, std::string& blob);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_ROW_CODEC_H_
