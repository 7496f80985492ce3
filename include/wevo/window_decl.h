// Windows written as data: a WindowDecl with its ControlDecls in declaration
// order. Opening a window numbers its controls 1, 2, ... in that order (a
// control may name its number instead); the window itself is field 0.
// Positions and sizes in a declaration are dialog units of the window's font.
#ifndef WEVO_WINDOW_DECL_H_
#define WEVO_WINDOW_DECL_H_

#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "wevo/codes.h"
#include "wevo/export.h"
#include "wevo/value.h"

namespace wevo {

// A part left out takes its default: 0 for a position, the natural size for a
// width or height.
inline constexpr int kDefault = INT_MIN;

// A window without a position is placed by the toolkit; a window without a
// size takes the room its controls need.
struct At {
  int x = kDefault;
  int y = kDefault;
  int w = kDefault;
  int h = kDefault;
};

struct FontSpec {
  std::string face;  // empty: the window's (for a window: the toolkit's default face)
  int size = 0;      // points; 0: the window's
  int32_t color = COLOR::None;
  int style = 0;     // weight in the low 12 bits (0 normal, 700 bold); 0x1000 italic, 0x2000 underline, 0x4000 strikeout
  int charset = 0;
};

// Where a control's value lives. The toolkit reads and writes the bytes with
// memcpy, so the variable may sit at any address, including a field of a
// packed record. Text is fixed width and blank-padded.
struct Binding {
  enum class Kind : uint8_t { None, Text, Long, ULong, Byte };
  Kind kind = Kind::None;
  void* data = nullptr;
  uint32_t width = 0;

  static Binding text(char* data, size_t width) { return {Kind::Text, data, static_cast<uint32_t>(width)}; }
  template <size_t N>
  static Binding text(char (&data)[N]) {
    return text(data, N);
  }
  static Binding long32(void* data) { return {Kind::Long, data, 4}; }
  static Binding ulong32(void* data) { return {Kind::ULong, data, 4}; }
  static Binding byte(void* data) { return {Kind::Byte, data, 1}; }
  bool bound() const { return kind != Kind::None; }
};

// The rows a list control shows: an in-memory table of the program's. Field n
// is the n-th source field as the list format names it ("#n#"; without a
// number, the columns take fields 1, 2, ... in order). Used on the thread that
// owns the window.
class WEVO_API ListSource {
 public:
  virtual ~ListSource();
  virtual size_t rowCount() const = 0;
  virtual std::string cell(size_t row, int field) const = 0;
};

// A ListSource over a std::vector<T>, with a function that gives field n of a row.
template <typename T>
class VectorListSource final : public ListSource {
 public:
  using CellFn = std::function<std::string(const T&, int field)>;
  VectorListSource(const std::vector<T>& rows, CellFn cell) : rows_(rows), cell_(std::move(cell)) {}
  size_t rowCount() const override { return rows_.size(); }
  std::string cell(size_t row, int field) const override { return cell_(rows_[row], field); }

 private:
  const std::vector<T>& rows_;
  CellFn cell_;
};

struct ControlDecl {
  int type = TYPE::String;  // a LIST with `drop` > 0 is a drop list
  std::string use;     // "?OkButton", "?WIN:DESCRIPTION", "?OPTION1:RADIO1:2"; may be empty
  std::string text;    // caption or text; for an entry, spin or combo its picture ("s20", "@n-14")
  At at;
  std::string parent;  // use label of the containing group, option, sheet, tab, toolbar or menu; empty: the window
  int feq = 0;         // 0: the next number in declaration order

  FontSpec font;
  int32_t textColor = COLOR::None;
  int32_t background = COLOR::None;
  int32_t fill = COLOR::None;
  bool hidden = false;
  bool disabled = false;
  bool flat = false;
  bool full = false;  // fills its container (PROP::Full)
  std::string icon;
  std::string tip;
  std::string msg;
  std::string help;
  std::string cursor;
  std::string wallpaper;  // toolbar

  std::string format;  // list: "80L(2)|M~Label~@s80@#1#..."
  std::string from;    // list items or choices: "Line 1|Line 2" or "Default|#0|Left|#1"
  int drop = 0;        // list, combo: rows of the drop-down; > 0 makes it a drop list
  std::string value;       // radio: the value it stores in its option's variable (empty: its position among the
                           // option's radios, 1, 2, ...); check: the value when checked (empty: "1")
  std::string falseValue;  // check: the value when clear ("" reads as 0 for a number); a check shows checked
                           // whenever its variable holds anything else
  int rangeLow = 0, rangeHigh = 0, step = 1;  // spin (a high of 0 with a low of 0: no range)
  std::vector<int> alerts;  // alerted key codes

  // Any other property, set in this order when the window opens.
  std::vector<std::pair<int32_t, Value>> props;

  Binding bind;  // the variable the control shows and edits
};

struct WindowDecl {
  std::string caption;
  At at;  // position and client size in dialog units; position omitted: placed by the toolkit
  FontSpec font;  // default: "MS Sans Serif" 8
  std::string icon;
  std::string wallpaper;
  int wallpaperMode = 0;  // 0 stretched, 1 centred, 2 tiled
  int frameType = 0;      // 0 single, 1 double, 2 resizable, 3 none
  bool hidden = false;    // opens hidden
  bool modal = false;
  bool statusBar = false;
  std::string help;
  std::vector<int> alerts;
  std::vector<std::pair<int32_t, Value>> props;
  std::vector<ControlDecl> controls;
};

}  // namespace wevo

#endif  // WEVO_WINDOW_DECL_H_
