#include "apply/capture.h"

#include <string>

#include "apply/row_identity.h"
#include "store/new_uid.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

// Property reads of one control, in the forms the record takes.
class Reader {
 public:
  Reader(const Window& window, int field) : window_(window), field_(field) {}

  int32_t number(int32_t prop) const { return window_.get(field_, prop).i32(); }
  bool isSet(int32_t prop) const { return window_.get(field_, prop).truthy(); }
  bool isOne(int32_t prop) const { return window_.get(field_, prop).num() == 1; }
  std::string string(int32_t prop) const { return window_.get(field_, prop).str(); }
  template <size_t N>
  void text(char (&dest)[N], int32_t prop) const {
    text::assign(dest, string(prop));
  }

 private:
  const Window& window_;
  int field_;
};

void toDialogUnits(Window& window) {
  if (window.get(0, PROP::Pixels).num() != 0) window.set(0, PROP::Pixels, 0);
}

void captureLayout(const Reader& r, store::WindowControls& row) {
  if (r.isOne(PROP::Layout)) row.LAYOUT = 1;
}

// A blank wallpaper leaves both fields as they were.
void captureWallpaper(const Reader& r, store::WindowControls& row) {
  const std::string wallpaper = r.string(PROP::Wallpaper);
  if (text::clip(wallpaper).empty()) return;
  text::assign(row.WALLPAPER, wallpaper);
  row.WALLPAPERMODE = r.isOne(PROP::Centered) ? 1 : r.isOne(PROP::Tiled) ? 2 : 0;
}

void captureFont(const Reader& r, store::WindowControls& row) {
  r.text(row.TYPEFACE, PROP::FontName);
  row.FONTSIZE = r.number(PROP::FontSize);
  row.CHARSET = r.number(PROP::FontCharset);
  row.FONTSTYLE = r.number(PROP::FontStyle);
}

// The first justification switch that is set decides, with its own offset.
void captureJustification(const Reader& r, store::WindowControls& row) {
  struct Switch {
    int32_t on, offset, code;
  };
  static constexpr Switch kSwitches[] = {{PROP::Left, PROP::LeftOffset, 1},
                                         {PROP::Right, PROP::RightOffset, 2},
                                         {PROP::Center, PROP::CenterOffset, 3},
                                         {PROP::Decimal, PROP::DecimalOffset, 4}};
  for (const Switch& s : kSwitches)
    if (r.isSet(s.on)) {
      row.JUSTIFICATION = s.code;
      row.OFFSET = r.number(s.offset);
      return;
    }
  row.JUSTIFICATION = 0;
  row.OFFSET = 0;
}

// The size type of one direction: default, full, explicit, or as it was
// when the control reports no size and no switch.
int32_t sizeType(int32_t defaultSwitch, bool full, int32_t size, int32_t stored) {
  if (defaultSwitch != 0) return 1;
  if (full) return 0;
  if (size != 0) return 2;
  return stored;
}

void captureWindow(const Reader& r, store::WindowControls& row) {
  row.TYPE = TYPE::Window;
  captureLayout(r, row);
  r.text(row.ICON, PROP::Icon);
  captureWallpaper(r, row);
  captureFont(r, row);
}

void captureControl(Window& window, int field, const Reader& r, store::WindowControls& row) {
  row.TYPE = r.number(PROP::Type);
  r.text(row.CONTROLTEXT, PROP::Text);
  row.FLAT = r.number(PROP::Flat);
  captureJustification(r, row);
  captureLayout(r, row);
  row.HIDE = r.number(PROP::Hide);
  row.DISABLE = r.number(PROP::Disable);
  row.SKIP = r.number(PROP::Skip);
  r.text(row.SCROLL, PROP::Scroll);
  row.TRANSPARENT = r.number(PROP::Trn);
  row.WORDCASE = r.isSet(PROP::Upr) ? 1 : r.isSet(PROP::Cap) ? 2 : 0;
  row.ENTRYMODE = r.isSet(PROP::Ins) ? 1 : r.isSet(PROP::Ovr) ? 2 : 0;
  row.REQUIRED = r.number(PROP::Req);
  row.READONLY = r.number(PROP::ReadOnly);
  row.PASSWORD = r.number(PROP::Password);
  row.TEXTCOLOR = r.number(PROP::FontColor);
  row.BACKGROUND = r.number(PROP::Background);
  row.SELECTEDTEXT = r.number(PROP::SelectedColor);
  row.SELECTEDFILL = r.number(PROP::SelectedFill);
  CapturePlacement(window, field, row);
  r.text(row.TIP, PROP::Tip);
  r.text(row.HELP, PROP::Hlp);
  r.text(row.MESSAGE, PROP::Msg);
  r.text(row.CURSOR, PROP::Cursor);
  r.text(row.ICON, PROP::Icon);
  r.text(row.HORIZONTAL, PROP::HScroll);
  row.VERTICAL = r.number(PROP::VScroll);
  row.BOXED = r.number(PROP::Boxed);
  row.SINGLE = r.number(PROP::Single);
  row.DELAY = r.number(PROP::Delay);
  row.REPEAT = r.number(PROP::Repeat);
  r.text(row.LOWER, PROP::RangeLow);
  r.text(row.UPPER, PROP::RangeHigh);
  r.text(row.STEP, PROP::Step);
  row.DROP = r.number(PROP::Drop);
  captureFont(r, row);
  row.OUTER = r.number(PROP::BevelOuter);
  row.INNER = r.number(PROP::BevelInner);
  row.STYLE = r.number(PROP::BevelStyle);
  if (row.TYPE == TYPE::List || row.TYPE == TYPE::Combo) row.ANGLE = r.number(PROP::GridColor);
  if (row.TYPE == TYPE::Toolbar) captureWallpaper(r, row);
}

}  // namespace

void CapturePlacement(Window& window, int field, store::WindowControls& row) {
  toDialogUnits(window);
  const Reader r(window, field);
  const bool full = r.isSet(PROP::Full);
  row.X = r.number(PROP::XPos);
  row.Y = r.number(PROP::YPos);
  row.WIDTH = r.number(PROP::Width);
  row.NOWIDTH = r.number(PROP::NoWidth);
  row.WIDTHTYPE = sizeType(row.NOWIDTH, full, row.WIDTH, row.WIDTHTYPE);
  row.HEIGHT = r.number(PROP::Height);
  row.NOHEIGHT = r.number(PROP::NoHeight);
  row.HEIGHTTYPE = sizeType(row.NOHEIGHT, full, row.HEIGHT, row.HEIGHTTYPE);
}

void CaptureControl(Window& window, int field, store::WindowControls& row) {
  toDialogUnits(window);
  const Reader r(window, field);
  if (field == 0) {
    captureWindow(r, row);
    return;
  }
  captureControl(window, field, r, row);
}

void CaptureControl(Window& window, int field) { CaptureControl(window, field, store::WIN()); }

void StoreControlPlacement(int field, Window& window, std::string_view procedureName,
                           std::string_view uniqueMarker, std::string_view label) {
  toDialogUnits(window);
  {
    store::StoreUse use(store::winFile());
    // The lookup and the write it decides on in one transaction, so that
    // two stations storing the same new control do not both add its row; a
    // store held past the wait still takes the placement.
    auto transaction = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
    store::WindowControls& row = store::WIN();
    SetRowKey(row, procedureName, uniqueMarker, label);
    if (store::winFile().get(store::KEYPROCEDUREMARKERLABEL)) {
      CapturePlacement(window, field, row);
      store::winFile().put();
    } else {
      SetNewRowIdentity(row, field, text::clip(label));
      CaptureControl(window, field, row);
      store::AddRecordWithNewUid();
    }
    transaction.commit();
  }
  window.set(0, PROP::Pixels, 1);
}

}  // namespace wevo::apply
