#include "platform/keyedfile/file_decl.h"

#include <cstring>

#include "wevo/text.h"

namespace wevo::kf {
namespace {

// "WIN:UID" and "UID" both name the field UID.
std::string_view withoutPrefix(std::string_view name) {
  size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

int64_t readNumber(const FieldDecl& f, const void* record) {
  const unsigned char* p = static_cast<const unsigned char*>(record) + f.offset;
  switch (f.type) {
    case FieldType::Byte:
      return p[0];
    case FieldType::Short: {
      int16_t v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    case FieldType::UShort: {
      uint16_t v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    case FieldType::Long: {
      int32_t v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    case FieldType::ULong: {
      uint32_t v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    case FieldType::String:
      break;
  }
  return 0;
}

void writeNumber(const FieldDecl& f, void* record, int64_t value) {
  unsigned char* p = static_cast<unsigned char*>(record) + f.offset;
  switch (f.type) {
    case FieldType::Byte:
      p[0] = static_cast<unsigned char>(value);
      break;
    case FieldType::Short:
    case FieldType::UShort: {
      uint16_t v = static_cast<uint16_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    case FieldType::Long:
    case FieldType::ULong: {
      uint32_t v = static_cast<uint32_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    case FieldType::String:
      break;
  }
}

int FileDecl::fieldIndex(std::string_view fieldName) const {
  fieldName = withoutPrefix(fieldName);
  for (size_t i = 0; i < fields.size(); ++i)
    if (text::sameNoCase(fields[i].name, fieldName)) return static_cast<int>(i);
  return -1;
}

int FileDecl::keyIndex(std::string_view keyName) const {
  keyName = withoutPrefix(keyName);
  for (size_t i = 0; i < keys.size(); ++i)
    if (text::sameNoCase(keys[i].name, keyName)) return static_cast<int>(i);
  return -1;
}

void copyByName(const FileDecl& from, const void* src, const FileDecl& to, void* dst) {
  const auto* s = static_cast<const unsigned char*>(src);
  auto* d = static_cast<unsigned char*>(dst);
  for (const FieldDecl& target : to.fields) {
    int i = from.fieldIndex(target.name);
    if (i < 0) continue;
    const FieldDecl& source = from.fields[static_cast<size_t>(i)];
    if (target.type == FieldType::String) {
      std::string value;
      if (source.type == FieldType::String)
        value.assign(reinterpret_cast<const char*>(s + source.offset), source.width);
      else
        value = std::to_string(readNumber(source, s));
      text::assign(reinterpret_cast<char*>(d + target.offset), target.width, value);
    } else if (source.type == FieldType::String) {
      std::string value(reinterpret_cast<const char*>(s + source.offset), source.width);
      writeNumber(target, d, std::strtoll(value.c_str(), nullptr, 10));
    } else {
      writeNumber(target, d, readNumber(source, s));
    }
  }
}

void clearRecord(const FileDecl& decl, void* record) {
  auto* r = static_cast<unsigned char*>(record);
  std::memset(r, 0, decl.recordSize);
  for (const FieldDecl& f : decl.fields)
    if (f.type == FieldType::String) std::memset(r + f.offset, ' ', f.width);
}

}  // namespace wevo::kf
