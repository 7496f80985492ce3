// A view: the rows of one open file, in the order of an order expression,
// kept when a filter expression accepts them.
//
//   order   "+UPPER(WIN:ProcedureName),+UPPER(WIN:UniqueMarker)"   ("" insertion order)
//   filter  "UPPER(WIN:ProcedureName) = UPPER(LOC:Name) AND WIN:FEQ = 3"   ("" all rows)
//
// Expressions name the file's fields under its prefix (WIN:ProcedureName),
// variables bound by name, and fields of records bound whole (WIN2:Label).
// They know UPPER(x), =, <>, <, <=, >, >=, AND, OR, NOT, parentheses, 'text'
// (with '' for a quote) and whole numbers. Text compares ignoring trailing
// blanks. The order must be the leading components of one of the file's keys
// (UPPER(field) for a case-insensitive text component, the plain field for
// anything else), all ascending ("+" or no sign) or all descending ("-").
// Expressions are evaluated here; no SQL text is made from them.
//
// Ranges. When the filter is a chain of ANDs that pins the leading components
// of the order key (equality of the component, or UPPER of it, with a value
// that names no field of the file), the view reads only that range: it ends
// with 33 at the range's end instead of reading on. The pinned values are
// taken when the view is positioned (set, setAt, reset).
//
// Rows are read into the file's record buffer and blob, and become the file's
// current row, as File::next() does; a row the filter rejects never reaches
// the buffer. Bound variables and records must outlive the view; the view must
// not outlive its file. Errors as File's: 33 past the end, 37 file not open,
// 80 expression errors.
#ifndef WEVO_PLATFORM_KEYEDFILE_VIEW_H_
#define WEVO_PLATFORM_KEYEDFILE_VIEW_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/keyedfile/file_decl.h"
#include "platform/keyedfile/keyed_file.h"

namespace wevo::kf {

class View {
 public:
  explicit View(File& file);
  ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Take effect at the next open().
  void setOrder(std::string_view order);
  void setFilter(std::string_view filter);

  // Bind a name (compared ignoring case) to a variable read whenever an
  // expression needs it: fixed-width blank-padded text, or a number.
  void bind(std::string_view name, const char* data, size_t width);
  void bind(std::string_view name, const int32_t* value);
  void bind(std::string_view name, const uint32_t* value);
  // Bind a whole record: "<decl.prefix>:<field>" names its fields.
  void bindRecord(const FileDecl& decl, const void* record);
  void clearBindings();

  // Reads the expressions and picks the key; the file must be open.
  bool open();
  bool close();
  bool isOpen() const;

  // set(): next() reads the first row, previous() the last. setAt(): from the
  // order key's values now in the file's buffer (components the filter pins
  // take the filter's values).
  bool set();
  bool setAt();
  bool next();
  bool previous();
  // The position of the row last read (a File position); reset(pos) makes
  // next()/previous() read that row first.
  std::string position() const;
  bool reset(std::string_view position);

  struct State;  // internal

 private:
  std::unique_ptr<State> s_;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_VIEW_H_
