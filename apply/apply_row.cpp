#include "apply/apply_row.h"

#include <initializer_list>
#include <string_view>

#include "store/store_open.h"
#include "store/store_thread.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

// Property writes of one control.
class Writer {
 public:
  Writer(Window& window, int field) : window_(window), field_(field) {}

  void number(int32_t prop, int64_t value) { window_.set(field_, prop, Value(value)); }
  void number(int32_t prop, int index, int64_t value) { window_.set(field_, prop, index, Value(value)); }
  template <size_t N>
  void text(int32_t prop, const char (&value)[N]) {
    window_.set(field_, prop, Value(text::clipped(value)));
  }

 private:
  Window& window_;
  int field_;
};

bool typeIn(int32_t type, std::initializer_list<int> types) {
  for (int t : types)
    if (type == t) return true;
  return false;
}

// Only a wallpaper that is not blank is set, with its mode.
void applyWallpaper(Writer& w, const store::WindowControls& row) {
  if (text::clipped(row.WALLPAPER).empty()) return;
  w.text(PROP::Wallpaper, row.WALLPAPER);
  const int32_t mode = row.WALLPAPERMODE;
  w.number(PROP::Centered, mode == 1 ? 1 : 0);
  w.number(PROP::Tiled, mode == 2 ? 1 : 0);
}

void applyFont(Writer& w, const store::WindowControls& row) {
  w.text(PROP::FontName, row.TYPEFACE);
  w.number(PROP::FontSize, row.FONTSIZE);
  w.number(PROP::FontCharset, row.CHARSET);
  w.number(PROP::FontStyle, row.FONTSTYLE);
}

void applyWindow(Writer& w, const store::WindowControls& row) {
  applyWallpaper(w, row);
  w.text(PROP::Icon, row.ICON);
  applyFont(w, row);
}

void applyJustification(Window& window, int field, Writer& w, const store::WindowControls& row) {
  const int32_t type = row.TYPE;
  const int32_t j = row.JUSTIFICATION;
  if (typeIn(type, {TYPE::Check, TYPE::Radio, TYPE::Button})) {
    w.number(PROP::Left, j == 1 ? 1 : 0);
    w.number(PROP::Right, j == 2 ? 1 : 0);
  } else if (typeIn(type, {TYPE::String, TYPE::Spin, TYPE::List, TYPE::Entry, TYPE::Combo})) {
    switch (j) {
      case 1: w.number(PROP::Left, 1); w.number(PROP::LeftOffset, row.OFFSET); break;
      case 2: w.number(PROP::Right, 1); w.number(PROP::RightOffset, row.OFFSET); break;
      case 3: w.number(PROP::Center, 1); w.number(PROP::CenterOffset, row.OFFSET); break;
      case 4: w.number(PROP::Decimal, 1); w.number(PROP::DecimalOffset, row.OFFSET); break;
      default:
        for (int32_t prop : {PROP::Center, PROP::Right, PROP::Left, PROP::Decimal, PROP::RightOffset,
                             PROP::LeftOffset, PROP::DecimalOffset, PROP::CenterOffset})
          w.number(prop, 0);
        break;
    }
  } else if (typeIn(type, {TYPE::Prompt, TYPE::Text})) {
    switch (j) {
      case 1: w.number(PROP::Left, 1); w.number(PROP::Right, 0); w.number(PROP::Center, 0); break;
      case 2: w.number(PROP::Left, 0); w.number(PROP::Right, 1); w.number(PROP::Center, 0); break;
      case 3: w.number(PROP::Center, 1); w.number(PROP::Right, 0); w.number(PROP::Left, 0); break;
      default: w.number(PROP::Center, 0); w.number(PROP::Right, 0); w.number(PROP::Left, 0); break;
    }
    if (type == TYPE::Text) window.display(field);
  }
}

// One direction of the size: default, full, explicit, or nothing. Full
// reaches only this direction, so that a width the row keeps explicit is not
// undone by a full height (or the reverse).
void applySize(Writer& w, int32_t sizeType, int32_t defaultProp, int fullIndex, int32_t sizeProp, int32_t size) {
  switch (sizeType) {
    case 1: w.number(defaultProp, 1); break;
    case 0: w.number(PROP::Full, fullIndex, 1); break;
    case 2: w.number(sizeProp, size); break;
    default: break;
  }
}

void applyControl(Window& window, int field, Writer& w, const store::WindowControls& row) {
  const int32_t type = row.TYPE;
  if (!text::clipped(row.CONTROLTEXT).empty()) {
    window.set(field, PROP::Text, Value(""));
    w.text(PROP::Text, row.CONTROLTEXT);
  }
  w.number(PROP::Flat, row.FLAT);
  applyJustification(window, field, w, row);
  if (row.LAYOUT == 1) w.number(PROP::Layout, 1);
  w.number(PROP::Hide, row.HIDE);
  w.number(PROP::Disable, row.DISABLE);
  w.number(PROP::Skip, row.SKIP);
  w.text(PROP::Scroll, row.SCROLL);
  w.number(PROP::Trn, row.TRANSPARENT);
  if (typeIn(type, {TYPE::Entry, TYPE::Text})) {
    if (row.WORDCASE == 1) w.number(PROP::Upr, 1);
    if (row.WORDCASE == 2) w.number(PROP::Cap, 1);
    if (row.ENTRYMODE == 1) w.number(PROP::Ins, 1);
    if (row.ENTRYMODE == 2) w.number(PROP::Ovr, 1);
  }
  w.number(PROP::Req, row.REQUIRED);
  w.number(PROP::ReadOnly, row.READONLY);
  if (type == TYPE::Entry) w.number(PROP::Password, row.PASSWORD);
  w.number(PROP::FontColor, row.TEXTCOLOR);
  w.number(PROP::Background, row.BACKGROUND);
  w.number(PROP::SelectedColor, row.SELECTEDTEXT);
  w.number(PROP::SelectedFill, row.SELECTEDFILL);
  w.number(PROP::XPos, row.X);
  w.number(PROP::YPos, row.Y);
  applySize(w, row.WIDTHTYPE, PROP::NoWidth, PROP::FullAcross, PROP::Width, row.WIDTH);
  applySize(w, row.HEIGHTTYPE, PROP::NoHeight, PROP::FullDown, PROP::Height, row.HEIGHT);
  if (typeIn(type, {TYPE::Check, TYPE::Radio, TYPE::Button})) w.text(PROP::Icon, row.ICON);
  w.text(PROP::Tip, row.TIP);
  w.text(PROP::Hlp, row.HELP);
  w.text(PROP::Msg, row.MESSAGE);
  if (typeIn(type, {TYPE::Group, TYPE::Option, TYPE::Text})) w.number(PROP::Boxed, row.BOXED);
  if (type == TYPE::Text) w.number(PROP::Single, row.SINGLE);
  if (typeIn(type, {TYPE::Spin, TYPE::Button})) {
    w.number(PROP::Delay, row.DELAY);
    w.number(PROP::Repeat, row.REPEAT);
  }
  if (type == TYPE::Spin) {
    w.text(PROP::RangeLow, row.LOWER);
    w.text(PROP::RangeHigh, row.UPPER);
    w.text(PROP::Step, row.STEP);
  }
  if (typeIn(type, {TYPE::Combo, TYPE::List})) {
    w.number(PROP::Drop, row.DROP);
    w.number(PROP::GridColor, row.ANGLE);
  }
  applyFont(w, row);
  if (typeIn(type, {TYPE::Region, TYPE::Group, TYPE::Option, TYPE::Panel})) {
    w.number(PROP::BevelOuter, row.OUTER);
    w.number(PROP::BevelInner, row.INNER);
    w.number(PROP::BevelStyle, row.STYLE);
  }
  w.text(PROP::HScroll, row.HORIZONTAL);
  w.number(PROP::VScroll, row.VERTICAL);
  if (type == TYPE::Toolbar) applyWallpaper(w, row);
}

}  // namespace

void ApplyRow(Window& window, int field, const store::WindowControls& row) {
  {
    store::StoreUse use(store::winFile());
    Writer w(window, field);
    if (field == 0)
      applyWindow(w, row);
    else
      applyControl(window, field, w, row);
  }
  invalidate(window.get(0, PROP::Handle).num(), false);
  if (field != 0) window.display(field);
}

void ApplyRow(Window& window, int field) { ApplyRow(window, field, store::WIN()); }

}  // namespace wevo::apply
