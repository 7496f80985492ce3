// One control of a window model: its properties in flat fields (numbers and
// switches need no allocation), the properties without a meaning of their
// own in a small list, and its screen state (what the user sees and edits,
// which display() and update() move to and from the bound variable).
#ifndef WEVO_PLATFORM_TOOLKIT_CONTROL_H_
#define WEVO_PLATFORM_TOOLKIT_CONTROL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/toolkit/choices.h"
#include "platform/toolkit/picture.h"
#include "platform/view/view.h"
#include "wevo/codes.h"
#include "wevo/value.h"
#include "wevo/window_decl.h"

namespace wevo::toolkit {

// A property the model keeps and returns as written.
struct KeptProp {
  int32_t prop = 0;
  int index = 0;
  Value value;
};

// Kept properties of one control or window, in a flat list (few per control).
class KeptProps {
 public:
  const Value* find(int32_t prop, int index) const {
    for (const KeptProp& k : items_)
      if (k.prop == prop && k.index == index) return &k.value;
    return nullptr;
  }
  void set(int32_t prop, int index, const Value& v) {
    for (KeptProp& k : items_)
      if (k.prop == prop && k.index == index) {
        k.value = v;
        return;
      }
    items_.push_back(KeptProp{prop, index, v});
  }
  void clear() { items_.clear(); }

 private:
  std::vector<KeptProp> items_;
};

enum class Justify : uint8_t { None, Left, Right, Center, Decimal };

struct Control {
  int field = 0;
  int type = TYPE::String;
  int parent = 0;  // field of the containing control; 0: the window
  std::string label;
  int64_t createdSeq = 0;  // creation order, for stacking

  // Geometry in pixels relative to the client area. `w`/`h` hold the explicit
  // size; the effective size also depends on defaultW/H and fullW/H.
  double x = 0, y = 0, w = 0, h = 0;
  bool defaultW = false, defaultH = false;
  bool fullW = false, fullH = false;

  std::string text;  // caption; the picture of an entry, spin or combo
  Picture picture;   // parsed `text` for an entry, spin or combo

  // Font; an empty face and a size of 0 inherit the window's.
  std::string fontFace;
  int fontSize = 0;
  int fontStyle = 0;
  int charset = 0;
  int32_t fontColor = COLOR::None;

  int32_t background = COLOR::None;
  int32_t selectedColor = COLOR::None;
  int32_t selectedFill = COLOR::None;
  int32_t fill = COLOR::None;
  int32_t gridColor = COLOR::None;

  Justify justify = Justify::None;
  int centerOffset = 0, leftOffset = 0, decimalOffset = 0, rightOffset = 0;
  bool rightToLeft = false;

  bool hidden = false, disabled = false, skip = false, readOnly = false, required = false;
  bool password = false, upper = false, capitalise = false, insert = false, overwrite = false;
  bool flat = false, transparent = false, boxed = false, single = false;
  bool scroll = false, hScroll = false;
  int vScroll = 0;
  bool tiled = false, centered = false;

  std::string tip, help, msg, cursor, icon, wallpaper;

  int delay = 0, repeat = 0;
  int rangeLow = 0, rangeHigh = 0, step = 1;
  int drop = 0;
  int vScrollPos = 0;
  int mouseDownRow = 0;

  // Values, choices and lists.
  Binding bind;
  std::string trueValue = "1", falseValue;  // check box
  std::string radioValue;                   // radio: what it stores in its option's variable
  std::string from;
  std::vector<Choice> choices;
  std::string format;
  std::vector<ListColumn> columnsDlu;  // parsed format, widths in dialog units
  const ListSource* source = nullptr;

  // Screen state.
  std::string screen;  // entry, spin, combo, text: the text as shown or being edited
  bool edited = false; // screen text changed by the user and not yet accepted
  bool checked = false;
  int chosen = 0;      // option: field of the chosen radio
  int selected = 0;    // list: row; drop list or choices: item (1-based); sheet: field of the current tab

  std::vector<int> alerts;
  KeptProps kept;

  // Natural size cache, pixels; valid while naturalValid.
  mutable bool naturalValid = false;
  mutable double naturalW = 0, naturalH = 0;

  bool dirty = false;  // changed since the last flush
};

// The rows of a list: its source's, else the choices of its From list.
inline int rowCount(const Control& c) {
  return c.source != nullptr ? static_cast<int>(c.source->rowCount()) : static_cast<int>(c.choices.size());
}

// Types whose PROP::Text is a picture and whose screen text is edited.
inline bool usesPicture(int type) {
  return type == TYPE::Entry || type == TYPE::Spin || type == TYPE::Combo || type == TYPE::DropCombo;
}
inline bool isListType(int type) {
  return type == TYPE::List || type == TYPE::Combo || type == TYPE::DropList || type == TYPE::DropCombo;
}
inline bool isContainerType(int type) {
  return type == TYPE::Group || type == TYPE::Option || type == TYPE::Sheet || type == TYPE::Tab ||
         type == TYPE::Toolbar || type == TYPE::Menu || type == TYPE::MenuBar || type == TYPE::Panel;
}
// Controls that can hold the keyboard focus.
inline bool isFocusable(int type) {
  switch (type) {
    case TYPE::Entry: case TYPE::Button: case TYPE::Check: case TYPE::Radio: case TYPE::List:
    case TYPE::Combo: case TYPE::Spin: case TYPE::Text: case TYPE::DropList: case TYPE::DropCombo:
    case TYPE::Custom: case TYPE::Rtf:
      return true;
    default:
      return false;
  }
}

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_CONTROL_H_
