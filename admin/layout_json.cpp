#include "admin/layout_json.h"

#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "admin/base64.h"
#include "platform/keyedfile/file_decl.h"
#include "wevo/text.h"

namespace wevo::admin {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

const kf::FileDecl& decl() { return store::winDecl(); }

const char* bytesOf(const store::WindowControls& r) { return reinterpret_cast<const char*>(&r); }
char* bytesOf(store::WindowControls& r) { return reinterpret_cast<char*>(&r); }

std::string_view textOf(const store::WindowControls& r, const kf::FieldDecl& f) {
  return text::clip(std::string_view(bytesOf(r) + f.offset, f.width));
}

// The index of the field named exactly `name`, or -1.
int fieldNamed(std::string_view name) {
  static const std::map<std::string, int, std::less<>> byName = [] {
    std::map<std::string, int, std::less<>> m;
    for (size_t i = 0; i < decl().fields.size(); ++i) m.emplace(decl().fields[i].name, static_cast<int>(i));
    return m;
  }();
  auto it = byName.find(name);
  return it == byName.end() ? -1 : it->second;
}

std::pair<int64_t, int64_t> rangeOf(kf::FieldType type) {
  switch (type) {
    case kf::FieldType::Byte:
      return {0, 255};
    case kf::FieldType::Short:
      return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()};
    case kf::FieldType::UShort:
      return {0, std::numeric_limits<uint16_t>::max()};
    case kf::FieldType::Long:
      return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    case kf::FieldType::ULong:
      return {0, std::numeric_limits<uint32_t>::max()};
    case kf::FieldType::String:
      break;
  }
  return {0, 0};
}

// ---- Reading -----------------------------------------------------------------

// Counts the characters the parser has taken from the text, so that a fault
// can be given a line.
class CountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator(const char* p, size_t* taken) : p_(p), taken_(taken) {}
  reference operator*() const { return *p_; }
  CountingIterator& operator++() {
    ++p_;
    ++*taken_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CountingIterator& o) const { return p_ == o.p_; }
  bool operator!=(const CountingIterator& o) const { return p_ != o.p_; }

 private:
  const char* p_;
  size_t* taken_;
};

// The line of the last character the parser took that is not white space
// (the parser reads one character past some tokens).
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}
  int lineAt(size_t taken) {
    size_t end = taken < text_.size() ? taken : text_.size();
    while (end > 0 && isSpace(text_[end - 1])) --end;
    const size_t at = end > 0 ? end - 1 : 0;
    while (pos_ < at) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
    while (pos_ > at) {
      --pos_;
      if (text_[pos_] == '\n') --line_;
    }
    return line_;
  }

 private:
  static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

struct Scalar {
  enum Kind { Null, Bool, Integer, Unsigned, Float, String } kind = Null;
  int64_t integer = 0;
  uint64_t unsignedValue = 0;
  std::string text;  // a string's bytes, or a float as written
};

std::string describe(const Scalar& v) {
  switch (v.kind) {
    case Scalar::Null:
      return "null";
    case Scalar::Bool:
      return v.integer != 0 ? "true" : "false";
    case Scalar::Integer:
      return std::to_string(v.integer);
    case Scalar::Unsigned:
      return std::to_string(v.unsignedValue);
    case Scalar::Float:
      return v.text;
    case Scalar::String:
      return "the text " + quotedText(v.text.substr(0, 40) + (v.text.size() > 40 ? "..." : ""));
  }
  return "";
}

class LayoutReader final : public nlohmann::json_sax<Json> {
 public:
  LayoutReader(std::string_view text, const size_t* taken) : lines_(text), taken_(taken) {}

  ParsedLayouts result() { return std::move(out_); }

  bool null() override { return scalar({}); }
  bool boolean(bool v) override {
    Scalar s;
    s.kind = Scalar::Bool;
    s.integer = v ? 1 : 0;
    return scalar(s);
  }
  bool number_integer(number_integer_t v) override {
    Scalar s;
    s.kind = Scalar::Integer;
    s.integer = v;
    return scalar(s);
  }
  bool number_unsigned(number_unsigned_t v) override {
    Scalar s;
    s.kind = Scalar::Unsigned;
    s.unsignedValue = v;
    return scalar(s);
  }
  bool number_float(number_float_t, const string_t& written) override {
    Scalar s;
    s.kind = Scalar::Float;
    s.text = written;
    return scalar(s);
  }
  bool string(string_t& v) override {
    Scalar s;
    s.kind = Scalar::String;
    s.text = std::move(v);
    return scalar(s);
  }
  bool binary(binary_t&) override { return fail(path(), "binary data has no place in a layouts file"); }

  bool start_object(std::size_t) override {
    if (frames_.empty()) {
      frames_.push_back({Ctx::Top});
      return true;
    }
    Frame& f = frames_.back();
    switch (f.ctx) {
      case Ctx::Top:
        return wrongType(path(), "an object");
      case Ctx::Rows: {
        LayoutRow row;
        kf::clearRecord(decl(), &row.record);
        row.index = f.count++;
        row.line = line();
        row_ = std::move(row);
        frames_.push_back({Ctx::Row});
        return true;
      }
      case Ctx::Row:
        if (f.field >= 0 && decl().fields[static_cast<size_t>(f.field)].type == kf::FieldType::String) {
          frames_.push_back({Ctx::Bytes});
          return true;
        }
        return wrongType(path(), "an object");
      case Ctx::Bytes:
        return wrongType(path(), "an object");
    }
    return false;
  }

  bool end_object() override {
    Frame f = std::move(frames_.back());
    frames_.pop_back();
    switch (f.ctx) {
      case Ctx::Top:
        for (const char* k : {"format", "version", "rows"})
          if (!f.seen(k)) return fail("", std::string("the document has no \"") + k + "\"" + kDocumentShape);
        return true;
      case Ctx::Row:
        for (const char* k : {"PROCEDURENAME", "UNIQUEMARKER", "CONTROLLABEL"})
          if (!f.seen(k))
            return fail(
                rowPath(row_.index),
                std::string("no \"") + k + "\" (every row names its PROCEDURENAME, UNIQUEMARKER and CONTROLLABEL)");
        out_.rows.push_back(std::move(row_));
        return true;
      case Ctx::Bytes:
        if (!f.seen("base64")) return fail(path(), "a text given as an object needs its \"base64\"");
        return true;
      case Ctx::Rows:
        break;
    }
    return true;
  }

  bool start_array(std::size_t) override {
    if (frames_.empty()) return fail("", std::string("the document is an array") + kDocumentShape);
    Frame& f = frames_.back();
    if (f.ctx == Ctx::Top && f.key == "rows") {
      frames_.push_back({Ctx::Rows});
      return true;
    }
    if (f.ctx == Ctx::Rows) return fail(rowPath(f.count), "a row is an object of fields");
    return wrongType(path(), "an array");
  }

  bool end_array() override {
    frames_.pop_back();
    return true;
  }

  bool key(string_t& k) override {
    Frame& f = frames_.back();
    const std::string where = framePath(frames_.size() - 1);
    if (f.seen(k)) return fail(where, quotedText(k) + " is given twice");
    f.keys.push_back(k);
    f.key = k;
    switch (f.ctx) {
      case Ctx::Top:
        if (k != "format" && k != "version" && k != "rows")
          return fail(where, quotedText(k) + " is not a key of the document" + kDocumentShape);
        return true;
      case Ctx::Row:
        f.field = fieldNamed(k);
        if (f.field < 0 && k != kBlobName) {
          std::string why = quotedText(k) + " is no field of the record";
          const std::string upper = text::upper(k);
          if (fieldNamed(upper) >= 0 || upper == kBlobName) why += " (the names are in capitals: \"" + upper + "\")";
          return fail(where, why);
        }
        return true;
      case Ctx::Bytes:
        if (k != "base64") return fail(where, quotedText(k) + ": a text given as an object has only \"base64\"");
        return true;
      case Ctx::Rows:
        break;
    }
    return false;
  }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    std::string what = e.what();
    // "[json.exception.parse_error.101] parse error at line 3, column 5: ..."
    const size_t at = what.find("parse error");
    if (at != std::string::npos) what = what.substr(at);
    out_.error = "not JSON: " + what;
    return false;
  }

 private:
  static constexpr const char* kDocumentShape =
      " (a layouts file is an object of \"format\", \"version\" and \"rows\")";

  enum class Ctx { Top, Rows, Row, Bytes };
  struct Frame {
    Ctx ctx;
    std::vector<std::string> keys{};
    std::string key{};
    int field = -1;    // Row: the field `key` names (-1: the blob)
    size_t count = 0;  // Rows: objects seen
    bool seen(std::string_view k) const {
      for (const std::string& s : keys)
        if (s == k) return true;
      return false;
    }
  };

  int line() { return lines_.lineAt(*taken_); }
  std::string rowPath(size_t index) const { return "rows[" + std::to_string(index) + "]"; }
  // Where frame `i` stands: "" (the document), "rows", "rows[3]",
  // "rows[3].CURSOR".
  std::string framePath(size_t i) const {
    std::string p;
    for (size_t k = 0; k <= i && k < frames_.size(); ++k) {
      const Frame& f = frames_[k];
      if (f.ctx == Ctx::Row) p = rowPath(row_.index);
      if (k == i) break;
      if (!f.key.empty()) p += (p.empty() ? "" : ".") + f.key;
    }
    return p;
  }
  // Where the value now read stands.
  std::string path() const {
    const std::string frame = framePath(frames_.size() - 1);
    const std::string& key = frames_.back().key;
    return key.empty() ? frame : frame + (frame.empty() ? "" : ".") + key;
  }

  bool fail(const std::string& where, const std::string& why) {
    out_.error = "line " + std::to_string(line()) + ": " + (where.empty() ? "" : where + ": ") + why;
    return false;
  }
  bool wrongType(const std::string& where, std::string_view found) {
    return fail(where, expected() + ", found " + std::string(found));
  }
  bool wrongValue(const Scalar& v) { return fail(path(), expected() + ", found " + describe(v)); }

  // What the value now read should be.
  std::string expected() const {
    const Frame& f = frames_.back();
    if (f.ctx == Ctx::Top) {
      if (f.key == "format") return "expected the text \"" + std::string(kLayoutsFormat) + "\"";
      if (f.key == "version") return "expected the format's version, a whole number";
      return "expected an array of rows";
    }
    if (f.ctx == Ctx::Bytes) return "expected base64 text";
    if (f.field < 0) return "expected the blob as base64 text";
    const kf::FieldDecl& field = decl().fields[static_cast<size_t>(f.field)];
    if (field.type == kf::FieldType::String)
      return "expected a text of at most " + std::to_string(field.width) + " bytes";
    const auto [low, high] = rangeOf(field.type);
    return "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high);
  }

  bool scalar(const Scalar& v) {
    if (frames_.empty()) return fail("", std::string("the document is not an object") + kDocumentShape);
    Frame& f = frames_.back();
    switch (f.ctx) {
      case Ctx::Top:
        return topValue(f, v);
      case Ctx::Rows:
        return fail(rowPath(f.count), "a row is an object of fields, found " + describe(v));
      case Ctx::Row:
        return fieldValue(f, v);
      case Ctx::Bytes: {
        if (v.kind != Scalar::String) return wrongValue(v);
        std::optional<std::string> bytes = base64Decode(v.text);
        if (!bytes) return fail(path(), "not base64 (the standard alphabet with padding, nothing else)");
        const Frame& row = frames_[frames_.size() - 2];
        return setText(row, *bytes);
      }
    }
    return false;
  }

  bool topValue(Frame& f, const Scalar& v) {
    if (f.key == "format") {
      if (v.kind != Scalar::String) return wrongValue(v);
      if (v.text != kLayoutsFormat)
        return fail("format", describe(v) + " is not \"" + std::string(kLayoutsFormat) + "\": not a layouts file");
      return true;
    }
    if (f.key == "version") {
      if (v.kind != Scalar::Integer && v.kind != Scalar::Unsigned) return wrongValue(v);
      const bool one = v.kind == Scalar::Integer ? v.integer == kLayoutsVersion
                                                 : v.unsignedValue == static_cast<uint64_t>(kLayoutsVersion);
      if (!one)
        return fail("version", "format version " + describe(v) + "; this wevoadmin reads version " +
                                   std::to_string(kLayoutsVersion));
      return true;
    }
    return wrongValue(v);  // "rows" that is not an array
  }

  bool fieldValue(const Frame& f, const Scalar& v) {
    if (f.field < 0) {
      if (v.kind != Scalar::String) return wrongValue(v);
      std::optional<std::string> bytes = base64Decode(v.text);
      if (!bytes) return fail(path(), "not base64 (the standard alphabet with padding, nothing else)");
      row_.blob = std::move(*bytes);
      return true;
    }
    const kf::FieldDecl& field = decl().fields[static_cast<size_t>(f.field)];
    if (field.type == kf::FieldType::String) {
      if (v.kind != Scalar::String) return wrongValue(v);
      return setText(f, v.text);
    }
    const auto [low, high] = rangeOf(field.type);
    int64_t n = 0;
    if (v.kind == Scalar::Integer)
      n = v.integer;
    else if (v.kind == Scalar::Unsigned && v.unsignedValue <= static_cast<uint64_t>(high))
      n = static_cast<int64_t>(v.unsignedValue);
    else
      return wrongValue(v);
    if (n < low || n > high) return wrongValue(v);
    kf::writeNumber(field, &row_.record, n);
    return true;
  }

  // Puts `bytes` into the text field the row frame's key names.
  bool setText(const Frame& row, std::string_view bytes) {
    const kf::FieldDecl& field = decl().fields[static_cast<size_t>(row.field)];
    const std::string_view kept = text::clip(bytes);
    if (kept.size() > field.width)
      return fail(path(), "a text of " + std::to_string(kept.size()) + " bytes; the field holds " +
                              std::to_string(field.width));
    text::assign(bytesOf(row_.record) + field.offset, field.width, kept);
    return true;
  }

  LineCounter lines_;
  const size_t* taken_;
  std::vector<Frame> frames_;
  LayoutRow row_;
  ParsedLayouts out_;
};

// The rows' keys ignoring letter case and trailing blanks, as the store's
// key over procedure, marker and label compares them.
std::string identityOf(const store::WindowControls& r) {
  std::string id = text::upper(text::clipped(r.PROCEDURENAME));
  id += '\0';
  id += text::upper(text::clipped(r.UNIQUEMARKER));
  id += '\0';
  id += text::upper(text::clipped(r.CONTROLLABEL));
  return id;
}

}  // namespace

std::string quotedText(std::string_view s) {
  return Json(std::string(s)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string describeRow(const store::WindowControls& r) {
  return "(" + quotedText(text::clipped(r.PROCEDURENAME)) + ", " + quotedText(text::clipped(r.UNIQUEMARKER)) + ", " +
         quotedText(text::clipped(r.CONTROLLABEL)) + ")";
}

// ---- Writing -------------------------------------------------------------------

bool isUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07u;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = cp << 6 | (d & 0x3Fu);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

OrderedJson rowToJson(const StoredRow& row) {
  OrderedJson j = OrderedJson::object();
  for (const kf::FieldDecl& f : decl().fields) {
    if (f.type == kf::FieldType::String) {
      const std::string text(textOf(row.record, f));
      if (isUtf8(text))
        j[f.name] = text;
      else
        j[f.name] = OrderedJson{{"base64", base64Encode(text)}};
    } else {
      j[f.name] = kf::readNumber(f, &row.record);
    }
  }
  j[std::string(kBlobName)] = base64Encode(row.blob);
  return j;
}

LayoutWriter::LayoutWriter(std::ostream& out) : out_(out) {
  out_ << "{\n  \"format\": \"" << kLayoutsFormat << "\",\n  \"version\": " << kLayoutsVersion << ",\n  \"rows\": [";
}

void LayoutWriter::add(const StoredRow& row) {
  std::string dumped = rowToJson(row).dump(2, ' ', false);
  std::string indented;
  indented.reserve(dumped.size() + dumped.size() / 8);
  indented += "    ";
  for (char c : dumped) {
    indented += c;
    if (c == '\n') indented += "    ";
  }
  out_ << (rows_++ == 0 ? "\n" : ",\n") << indented;
}

void LayoutWriter::finish() { out_ << (rows_ == 0 ? "]\n}\n" : "\n  ]\n}\n"); }

ParsedLayouts parseLayouts(std::string_view text) {
  size_t taken = 0;
  LayoutReader reader(text, &taken);
  CountingIterator first(text.data(), &taken);
  CountingIterator last(text.data() + text.size(), &taken);
  const bool parsed = Json::sax_parse(first, last, &reader);
  ParsedLayouts out = reader.result();
  if (!parsed) {
    out.rows.clear();
    if (out.error.empty()) out.error = "not JSON";
    return out;
  }
  std::map<std::string, size_t> seen;
  for (size_t i = 0; i < out.rows.size(); ++i) {
    auto [it, added] = seen.emplace(identityOf(out.rows[i].record), i);
    if (added) continue;
    const LayoutRow& firstRow = out.rows[it->second];
    const LayoutRow& again = out.rows[i];
    out.error = "line " + std::to_string(again.line) + ": rows[" + std::to_string(again.index) +
                "]: the same row as rows[" + std::to_string(firstRow.index) + "] (line " +
                std::to_string(firstRow.line) + "), " + describeRow(again.record) +
                " (procedure, marker and label name one row, letter case ignored)";
    out.rows.clear();
    return out;
  }
  return out;
}

}  // namespace wevo::admin
