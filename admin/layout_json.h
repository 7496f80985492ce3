// The layouts file: stored rows as a documented, versioned JSON document,
// the form `wevoadmin export` writes and `wevoadmin import` reads.
//
//   {
//     "format": "wevo-layouts",
//     "version": 1,
//     "rows": [
//       { "UID": 12, "PROCEDURENAME": "Main", ..., "USEBLOB": 0, "IMAGEBLOB": "" },
//       ...
//     ]
//   }
//
// A row names every field of the WindowControls record by its name, in the
// record's order, then IMAGEBLOB, the blob in base64. Numbers are JSON
// integers. Texts are JSON strings without their trailing blanks; a text
// whose bytes are not UTF-8 is written as {"base64": "..."} of its bytes, so
// every byte comes back as it was. Rows come in the order of the key over
// procedure, marker and label, and a row's keys always in the same order, so
// that two exports of similar stores differ only where the rows do.
//
// Reading is strict: anything the record cannot hold is refused with the
// place it was found (line and path), before any row reaches a store.
#ifndef WEVO_ADMIN_LAYOUT_JSON_H_
#define WEVO_ADMIN_LAYOUT_JSON_H_

#include <cstddef>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "store/window_controls.h"

namespace wevo::admin {

inline constexpr std::string_view kLayoutsFormat = "wevo-layouts";
inline constexpr int kLayoutsVersion = 1;
inline constexpr std::string_view kBlobName = "IMAGEBLOB";

// A row of the store with its blob.
struct StoredRow {
  store::WindowControls record;
  std::string blob;
};

// The row as the layouts file holds it.
nlohmann::ordered_json rowToJson(const StoredRow& row);

// Writes one layouts document to `out`, row by row, so that a large store
// never has to be held whole.
class LayoutWriter {
 public:
  explicit LayoutWriter(std::ostream& out);
  void add(const StoredRow& row);
  // Ends the document; nothing may be added afterwards.
  void finish();

 private:
  std::ostream& out_;
  size_t rows_ = 0;
};

// A row read from a layouts file, and where it stood there.
struct LayoutRow : StoredRow {
  size_t index = 0;  // its place in "rows", from 0
  int line = 0;      // the line its object begins on
};

struct ParsedLayouts {
  std::vector<LayoutRow> rows;
  // Empty when the whole document was read; otherwise why it was refused,
  // starting with the line ("line 12: rows[3].X: ...").
  std::string error;
  bool ok() const { return error.empty(); }
};

// Reads a layouts document. Refused, with the first fault's place:
//   text that is not JSON, or JSON after the document;
//   a document that is not an object of "format" ("wevo-layouts"),
//   "version" (1) and "rows" (an array of objects), or has other keys;
//   in a row: a name that is no field of the record (names are exact, in
//   capitals), a field given twice, a value of the wrong JSON type, a number
//   outside its field's range or not whole, a text longer than its field
//   (trailing blanks do not count), base64 that is not canonical;
//   a row without PROCEDURENAME, UNIQUEMARKER or CONTROLLABEL;
//   two rows with the same procedure, marker and label (letter case
//   ignored, as the store's key ignores it).
// Fields a row leaves out are cleared (numbers 0, text blank, blob empty).
// UID is checked but is only informative: importing numbers rows anew.
ParsedLayouts parseLayouts(std::string_view text);

// A text in double quotes as JSON writes it (escapes for control
// characters; bytes that are not UTF-8 shown as U+FFFD), for messages.
std::string quotedText(std::string_view text);

// A row's procedure, marker and label, for messages: ("Main", "COLORS", "?OK").
std::string describeRow(const store::WindowControls& row);

// Whether `bytes` are well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool isUtf8(std::string_view bytes);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_LAYOUT_JSON_H_
