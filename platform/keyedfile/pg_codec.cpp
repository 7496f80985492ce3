#include "platform/keyedfile/pg_codec.h"

#include "platform/keyedfile/schema.h"
#include "wevo/text.h"

namespace wevo::kf {
namespace {

constexpr unsigned kZeroStandIn = 0x100;

void putUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace

std::string toServerText(std::string_view recordText) {
  std::string out;
  out.reserve(recordText.size() + recordText.size() / 4);
  for (char c : recordText) {
    const unsigned b = static_cast<unsigned char>(c);
    if (b == 0)
      putUtf8(out, kZeroStandIn);
    else if (b < 0x80)
      out.push_back(c);
    else
      putUtf8(out, b);
  }
  return out;
}

std::string fromServerText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const unsigned b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(s[i]);
      ++i;
      continue;
    }
    // The length of the sequence, from its first byte; a byte that starts
    // none (a database that keeps text unchecked) stands for itself.
    const size_t n = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    bool whole = n != 0 && i + n <= s.size();
    for (size_t k = 1; whole && k < n; ++k) whole = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
    if (!whole) {
      out.push_back(s[i]);
      ++i;
      continue;
    }
    unsigned code = b & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) code = (code << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    if (code == kZeroStandIn)
      out.push_back('\0');
    else if (code <= 0xFF)
      out.push_back(static_cast<char>(code));
    else
      out.push_back('?');
    i += n;
  }
  return out;
}

PgValue pgValue(const FieldValue& value) {
  return value.isText ? PgValue::text(value.text) : PgValue::integer(value.number);
}

void appendRecord(std::vector<PgValue>& params, const FileDecl& decl, const void* record, std::string_view blob) {
  const char* bytes = static_cast<const char*>(record);
  for (const FieldDecl& f : decl.fields) {
    if (f.type == FieldType::String)
      params.push_back(PgValue::text(text::clip(text::field(bytes + f.offset, f.width))));
    else
      params.push_back(PgValue::integer(readNumber(f, record)));
  }
  if (!decl.blob.empty()) params.push_back(PgValue::raw(blob));
}

void readPgRecord(const PgResult& result, int row, const FileDecl& decl, void* record, std::string& blob) {
  int col = Schema::kFirstFieldColumn;
  char* bytes = static_cast<char*>(record);
  for (const FieldDecl& f : decl.fields) {
    if (f.type == FieldType::String)
      text::assign(bytes + f.offset, f.width, fromServerText(result.bytes(row, col++)));
    else
      writeNumber(f, record, result.integer(row, col++));
  }
  if (!decl.blob.empty())
    blob.assign(result.bytes(row, col));
  else
    blob.clear();
}

KeyTuple pgKeyTuple(const PgResult& result, int row, const FileDecl& decl, int key) {
  KeyTuple t;
  if (key < 0) return t;
  for (int c : decl.keys[static_cast<size_t>(key)].components) {
    const int col = Schema::kFirstFieldColumn + c;
    if (decl.fields[static_cast<size_t>(c)].type == FieldType::String) {
      // The stored text as it stands: a bound made of it finds this row
      // again even for a value wider than the field.
      FieldValue v;
      v.isText = true;
      v.text = fromServerText(result.bytes(row, col));
      t.push_back(std::move(v));
    } else {
      t.push_back(FieldValue::ofNumber(result.integer(row, col)));
    }
  }
  return t;
}

}  // namespace wevo::kf
