#include "platform/keyedfile/row_codec.h"

#include <algorithm>

#include "wevo/text.h"

namespace wevo::kf {

FieldValue FieldValue::ofText(std::string_view s) {
  FieldValue v;
  v.isText = true;
  v.text = std::string(text::clip(s));
  return v;
}

FieldValue FieldValue::ofNumber(int64_t n) {
  FieldValue v;
  v.number = n;
  return v;
}

FieldValue fieldValue(const FieldDecl& field, const void* record) {
  if (field.type == FieldType::String)
    return FieldValue::ofText(text::field(static_cast<const char*>(record) + field.offset, field.width));
  return FieldValue::ofNumber(readNumber(field, record));
}

void bindValue(Stmt& stmt, int param, const FieldValue& value) {
  if (value.isText)
    stmt.bindText(param, value.text);
  else
    stmt.bindInt(param, value.number);
}

int compareValues(const FieldValue& a, const FieldValue& b, bool nocase) {
  if (!a.isText || !b.isText) {
    if (a.isText != b.isText) return a.isText ? 1 : -1;  // numbers sort before text
    return (a.number > b.number) - (a.number < b.number);
  }
  const size_t n = std::min(a.text.size(), b.text.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a.text[i]), y = static_cast<unsigned char>(b.text[i]);
    if (nocase) {
      if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
      if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    }
    if (x != y) return x < y ? -1 : 1;
  }
  return (a.text.size() > b.text.size()) - (a.text.size() < b.text.size());
}

KeyTuple keyTuple(const FileDecl& decl, int key, const void* record) {
  KeyTuple t;
  if (key < 0) return t;
  for (int c : decl.keys[static_cast<size_t>(key)].components)
    t.push_back(fieldValue(decl.fields[static_cast<size_t>(c)], record));
  return t;
}

void bindRecord(Stmt& stmt, int first, const FileDecl& decl, const void* record, std::string_view blob) {
  int param = first;
  const char* bytes = static_cast<const char*>(record);
  for (const FieldDecl& f : decl.fields) {
    if (f.type == FieldType::String)
      stmt.bindText(param++, text::clip(text::field(bytes + f.offset, f.width)));
    else
      stmt.bindInt(param++, readNumber(f, record));
  }
  if (!decl.blob.empty()) stmt.bindBlob(param, blob);
}

void readRecord(const Stmt& stmt, int first, const FileDecl& decl, void* record, int blobColumn, std::string& blob) {
  int col = first;
  char* bytes = static_cast<char*>(record);
  for (const FieldDecl& f : decl.fields) {
    if (f.type == FieldType::String)
      text::assign(bytes + f.offset, f.width, stmt.columnText(col++));
    else
      writeNumber(f, record, stmt.columnInt(col++));
  }
  if (blobColumn >= 0)
    blob.assign(stmt.columnBlob(blobColumn));
  else
    blob.clear();
}

}  // namespace wevo::kf
