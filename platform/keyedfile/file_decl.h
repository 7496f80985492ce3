// The declaration of a keyed record file: its record layout, keys, optional
// blob, the table it lives in and where its name and owner come from.
//
// A declaration is plain data, written once and shared by every thread. Each
// thread works on the file through its own kf::File instance bound to a record
// buffer of `recordSize` bytes laid out as `fields` say.
#ifndef WEVO_PLATFORM_KEYEDFILE_FILE_DECL_H_
#define WEVO_PLATFORM_KEYEDFILE_FILE_DECL_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyedfile/secret.h"

namespace wevo::kf {

enum class FieldType : uint8_t {
  Byte,    // unsigned 8-bit
  Short,   // signed 16-bit, little-endian
  UShort,  // unsigned 16-bit
  Long,    // signed 32-bit
  ULong,   // unsigned 32-bit
  String,  // fixed width, blank-padded
};

struct FieldDecl {
  std::string name;  // as the column is named: "UID", "PROCEDURENAME" (no prefix)
  FieldType type;
  uint32_t offset;  // byte position in the record buffer
  uint32_t width;   // bytes
};

struct KeyDecl {
  std::string name;             // "KEYUID", "KEYPROCEDUREMARKERLABEL" (no prefix)
  std::vector<int> components;  // indexes into FileDecl::fields, in key order
  bool unique = false;          // false: duplicates allowed
  bool nocase = false;          // text components compare ignoring letter case
};

struct FileDecl {
  std::string prefix;  // record prefix, "WIN"; names fields as "WIN:UID" in views
  std::string label;   // the table the file's rows live in, "WindowControls"
  uint32_t recordSize = 0;
  std::vector<FieldDecl> fields;
  std::vector<KeyDecl> keys;
  std::string blob;  // name of the one blob, empty when the file has none
  // Read at create, open, copy and remove time: the file's name and its owner
  // (password; blank for none). A File may override either (File::setName).
  std::function<std::string()> name;
  std::function<Secret()> owner;

  // Index of the field / key with this name (prefix and case ignored), or -1.
  int fieldIndex(std::string_view fieldName) const;
  int keyIndex(std::string_view keyName) const;
};

// Copies every field of `src` (laid out as `from`) whose name `to` also
// declares into `dst` (laid out as `to`), converting between number types and
// padding or cutting text. Fields of `to` that `from` lacks are left as they are.
void copyByName(const FileDecl& from, const void* src, const FileDecl& to, void* dst);

// Clears a record: every number 0, every text blank.
void clearRecord(const FileDecl& decl, void* record);

// A number field's value in a record (0 for a text field), and storing one
// (cut to the field's width; text fields are left alone).
int64_t readNumber(const FieldDecl& field, const void* record);
void writeNumber(const FieldDecl& field, void* record, int64_t value);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_FILE_DECL_H_
