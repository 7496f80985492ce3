// Properties by id: what each id with a meaning reads and writes. Every other
// id is kept per control (or window) and returned as written.
#include <algorithm>
#include <cmath>

#include "platform/toolkit/window_model.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::toolkit {

namespace {

Value flag(bool on) { return Value(on ? 1 : 0); }
Value yesNo(bool on) { return Value(on ? "1" : ""); }
int32_t i32(const Value& v) { return v.i32(); }

Value alertGet(const std::vector<int>& a, int index) {
  if (index <= 0) return Value(static_cast<int64_t>(a.size()));
  if (static_cast<size_t>(index) <= a.size()) return Value(a[static_cast<size_t>(index) - 1]);
  return Value(0);
}

void alertSet(std::vector<int>& a, int index, const Value& v) {
  int key = v.i32();
  if (index < 0 || index == 255) {
    if (key != 0 && std::find(a.begin(), a.end(), key) == a.end()) a.push_back(key);
    return;
  }
  if (index == 0) {  // index 0 clears them all
    if (key == 0) a.clear();
    return;
  }
  auto n = static_cast<size_t>(index);
  if (key == 0) {
    if (n <= a.size()) a.erase(a.begin() + static_cast<std::ptrdiff_t>(n - 1));
  } else if (n <= a.size()) {
    a[n - 1] = key;
  } else {
    a.push_back(key);
  }
}

void setJustify(Control& c, Justify j, bool on) {
  if (on)
    c.justify = j;
  else if (c.justify == j)
    c.justify = Justify::None;
}

}  // namespace

Value WindowModel::get(int field, int32_t prop, int index) const {
  if (field == 0) return getWindowProp(prop, index);
  const Control* c = controls_.find(field);
  if (c == nullptr) return Value();
  return getControlProp(*c, prop, index);
}

void WindowModel::set(int field, int32_t prop, int index, const Value& value) {
  if (field == 0) {
    setWindowProp(prop, index, value);
    return;
  }
  Control* c = controls_.find(field);
  if (c == nullptr) return;
  setControlProp(*c, prop, index, value);
}

// ---- Window ------------------------------------------------------------------

Value WindowModel::getWindowProp(int32_t prop, int index) const {
  const WindowGeometry& g = geometry_;
  switch (prop) {
    case PROP::Text: return Value(caption_);
    case PROP::Type: return Value(TYPE::Window);
    case PROP::XPos: return Value(g.fromPxX(g.screenX()));
    case PROP::YPos: return Value(g.fromPxY(g.screenY()));
    case PROP::Width: case PROP::ClientWidth: return Value(g.fromPxX(g.clientRect().w));
    case PROP::Height: case PROP::ClientHeight: return Value(g.fromPxY(g.clientRect().h));
    case PROP::YOffset: return Value(0);
    case PROP::MinWidth: return Value(g.fromPxX(g.limits().minW));
    case PROP::MinHeight: return Value(g.fromPxY(g.limits().minH));
    case PROP::MaxWidth: return Value(g.fromPxX(g.limits().maxW));
    case PROP::MaxHeight: return Value(g.fromPxY(g.limits().maxH));
    case PROP::Maximize: return flag(maximized_);
    case PROP::Iconize: return flag(iconized_);
    case PROP::Pixels: return flag(g.pixelsMode());
    case PROP::FontName: return Value(g.font().face);
    case PROP::FontSize: return Value(g.font().size);
    case PROP::FontColor: return Value(g.font().color);
    case PROP::FontStyle: return Value(g.font().style);
    case PROP::FontCharset: return Value(g.font().charset);
    case PROP::Background: return Value(background_);
    case PROP::Hide: return flag(hidden_);
    case PROP::Visible: return flag(!hidden_);
    case PROP::Icon: return Value(icon_);
    case PROP::Wallpaper: return Value(wallpaper_);
    case PROP::Tiled: return flag(tiled_);
    case PROP::Centered: return flag(centered_);
    case PROP::Layout: return flag(rightToLeft_);
    case PROP::Handle: return Value(handle_.load());
    case PROP::ClientHandle: return Value(clientHandle_.load());
    case PROP::WndProc: return Value(frameProc_);
    case PROP::ClientWndProc: return Value(clientProc_);
    case PROP::AcceptAll: return flag(acceptAll_);
    case PROP::Alrt: return alertGet(alerts_, index);
    case PROP::NextField: {
      int after = index < 0 ? 0 : index;
      for (const auto& c : controls_)
        if (c->field > after) return Value(c->field);
      return Value(0);
    }
    default: {
      const Value* v = kept_.find(prop, index);
      return v != nullptr ? *v : Value();
    }
  }
}

void WindowModel::setWindowProp(int32_t prop, int index, const Value& v) {
  WindowGeometry& g = geometry_;
  changes_.window();
  WindowGeometry::Limits limits = g.limits();
  // A font change: new dialog units and natural sizes.
  auto font = [&g](auto change) {
    FontDesc f = g.font();
    change(f);
    g.setFont(f);
  };
  switch (prop) {
    case PROP::Text: caption_ = v.str(); return;
    case PROP::Type: case PROP::ClientWidth: case PROP::ClientHeight: case PROP::YOffset: case PROP::Visible:
    case PROP::Handle: case PROP::ClientHandle: case PROP::AcceptAll: case PROP::NextField:
      return;  // read-only
    case PROP::XPos: g.moveTo(g.toPxX(v), g.screenY()); return;
    case PROP::YPos: g.moveTo(g.screenX(), g.toPxY(v)); return;
    case PROP::Width: g.setClientWidth(g.toPxX(v)); return;
    case PROP::Height: g.setClientHeight(g.toPxY(v)); return;
    case PROP::MinWidth: limits.minW = std::max(0.0, g.toPxX(v)); g.setLimits(limits); return;
    case PROP::MinHeight: limits.minH = std::max(0.0, g.toPxY(v)); g.setLimits(limits); return;
    case PROP::MaxWidth: limits.maxW = std::max(0.0, g.toPxX(v)); g.setLimits(limits); return;
    case PROP::MaxHeight: limits.maxH = std::max(0.0, g.toPxY(v)); g.setLimits(limits); return;
    case PROP::Maximize: maximized_ = v.truthy(); if (maximized_) iconized_ = false; return;
    case PROP::Iconize: iconized_ = v.truthy(); if (iconized_) maximized_ = false; return;
    case PROP::Pixels: g.setPixelsMode(v.truthy()); return;
    case PROP::FontName:
      font([&v](FontDesc& f) {
        std::string face(text::clip(v.str()));
        f.face = face.empty() ? "MS Sans Serif" : face;
      });
      return;
    case PROP::FontSize: font([&v](FontDesc& f) { f.size = v.i32() > 0 ? v.i32() : 8; }); return;
    case PROP::FontColor: font([&v](FontDesc& f) { f.color = i32(v); }); return;
    case PROP::FontStyle: font([&v](FontDesc& f) { f.style = i32(v); }); return;
    case PROP::FontCharset: font([&v](FontDesc& f) { f.charset = i32(v); }); return;
    case PROP::Background: background_ = i32(v); return;
    case PROP::Hide: hidden_ = v.truthy(); return;
    case PROP::Icon: icon_ = v.str(); return;
    case PROP::Wallpaper: wallpaper_ = std::string(text::clip(v.str())); return;
    case PROP::Tiled: tiled_ = v.truthy(); if (tiled_) centered_ = false; return;
    case PROP::Centered: centered_ = v.truthy(); if (centered_) tiled_ = false; return;
    case PROP::Layout: rightToLeft_ = v.truthy(); return;
    case PROP::WndProc: frameProc_ = v.num(); return;
    case PROP::ClientWndProc: clientProc_ = v.num(); return;
    case PROP::Alrt: alertSet(alerts_, index, v); return;
    default: kept_.set(prop, index, v); return;
  }
}

// ---- Controls ------------------------------------------------------------------

Value WindowModel::getControlProp(const Control& c, int32_t prop, int index) const {
  const WindowGeometry& g = geometry_;
  switch (prop) {
    case PROP::Text: return Value(c.type == TYPE::Text || c.type == TYPE::Rtf ? c.screen : c.text);
    case PROP::Type: return Value(c.type);
    case PROP::XPos: return Value(g.fromPxX(g.rect(c).x));
    case PROP::YPos: return Value(g.fromPxY(g.rect(c).y));
    case PROP::Width: return Value(g.fromPxX(g.rect(c).w));
    case PROP::Height: return Value(g.fromPxY(g.rect(c).h));
    case PROP::NoWidth: return flag(c.defaultW);
    case PROP::NoHeight: return flag(c.defaultH);
    case PROP::Full: return flag(c.fullW || c.fullH);
    case PROP::Pixels: return flag(g.pixelsMode());
    case PROP::Center: return flag(c.justify == Justify::Center);
    case PROP::Left: return flag(c.justify == Justify::Left);
    case PROP::Right: return flag(c.justify == Justify::Right);
    case PROP::Decimal: return flag(c.justify == Justify::Decimal);
    case PROP::CenterOffset: return Value(c.centerOffset);
    case PROP::LeftOffset: return Value(c.leftOffset);
    case PROP::RightOffset: return Value(c.rightOffset);
    case PROP::DecimalOffset: return Value(c.decimalOffset);
    case PROP::Layout: return flag(c.rightToLeft);
    case PROP::FontName: return Value(c.fontFace);
    case PROP::FontSize: return Value(c.fontSize);
    case PROP::FontColor: return Value(c.fontColor);
    case PROP::FontStyle: return Value(c.fontStyle);
    case PROP::FontCharset: return Value(c.charset);
    case PROP::Background: return Value(c.background);
    case PROP::SelectedColor: return Value(c.selectedColor);
    case PROP::SelectedFill: return Value(c.selectedFill);
    case PROP::Fill: return Value(c.fill);
    case PROP::GridColor: return Value(c.gridColor);
    case PROP::Hide: return flag(c.hidden);
    case PROP::Visible: return flag(controls_.visible(c));
    case PROP::Disable: return flag(c.disabled);
    case PROP::Skip: return flag(c.skip);
    case PROP::ReadOnly: return flag(c.readOnly);
    case PROP::Req: return flag(c.required);
    case PROP::Password: return flag(c.password);
    case PROP::Upr: return flag(c.upper);
    case PROP::Cap: return flag(c.capitalise);
    case PROP::Ins: return flag(c.insert);
    case PROP::Ovr: return flag(c.overwrite);
    case PROP::Flat: return flag(c.flat);
    case PROP::Trn: return flag(c.transparent);
    case PROP::Boxed: return flag(c.boxed);
    case PROP::Single: return flag(c.single);
    case PROP::Scroll: return yesNo(c.scroll);
    case PROP::HScroll: return yesNo(c.hScroll);
    case PROP::VScroll: return Value(c.vScroll);
    case PROP::Tip: return Value(c.tip);
    case PROP::Hlp: return Value(c.help);
    case PROP::Msg: return Value(c.msg);
    case PROP::Cursor: return Value(c.cursor);
    case PROP::Icon: return Value(c.icon);
    case PROP::Wallpaper: return Value(c.wallpaper);
    case PROP::Tiled: return flag(c.tiled);
    case PROP::Centered: return flag(c.centered);
    case PROP::Delay: return Value(c.delay);
    case PROP::Repeat: return Value(c.repeat);
    case PROP::RangeLow: return Value(c.rangeLow);
    case PROP::RangeHigh: return Value(c.rangeHigh);
    case PROP::Step: return Value(c.step);
    case PROP::Drop: return Value(c.drop);
    case PROP::From: return Value(c.from);
    case PROP::Items: return Value(isListType(c.type) ? g.visibleRows(c) : 0);
    case PROP::MouseDownRow: return Value(c.mouseDownRow);
    case PROP::VScrollPos: return Value(c.vScrollPos);
    case PROP::Follows: return Value(focusOrder_.before(c.field));
    case PROP::Alrt: return alertGet(c.alerts, index);
    default: {
      const Value* v = c.kept.find(prop, index);
      return v != nullptr ? *v : Value();
    }
  }
}

void WindowModel::setControlProp(Control& c, int32_t prop, int index, const Value& v) {
  const WindowGeometry& g = geometry_;
  changes_.control(c);
  switch (prop) {
    case PROP::Text:
      if (c.type == TYPE::Text || c.type == TYPE::Rtf) {
        c.screen = v.str();
        c.edited = false;
        return;
      }
      c.text = v.str();
      c.naturalValid = false;
      if (usesPicture(c.type)) {
        c.picture = Picture::parse(c.text);
        if (c.bind.bound()) values_.display(c);
      }
      return;
    case PROP::Type: case PROP::Visible: case PROP::Items:
      return;  // read-only
    case PROP::XPos: c.x = g.toPxX(v); return;
    case PROP::YPos: c.y = g.toPxY(v); return;
    case PROP::Width:
      c.w = g.toPxX(v);
      c.fullW = c.defaultW = false;
      return;
    case PROP::Height:
      c.h = g.toPxY(v);
      c.fullH = c.defaultH = false;
      return;
    case PROP::NoWidth:
      if (v.truthy()) {
        c.defaultW = true;
        c.fullW = false;
      } else if (c.defaultW) {
        c.w = g.rect(c).w;
        c.defaultW = false;
      }
      return;
    case PROP::NoHeight:
      if (v.truthy()) {
        c.defaultH = true;
        c.fullH = false;
      } else if (c.defaultH) {
        c.h = g.rect(c).h;
        c.defaultH = false;
      }
      return;
    case PROP::Full:
      if (v.truthy()) {
        c.fullW = c.fullH = true;
        c.defaultW = c.defaultH = false;
      } else if (c.fullW || c.fullH) {
        RectD r = g.rect(c);
        if (c.fullW) c.w = r.w;
        if (c.fullH) c.h = r.h;
        if (c.fullW) c.defaultW = false;
        if (c.fullH) c.defaultH = false;
        c.fullW = c.fullH = false;
      }
      return;
    case PROP::Pixels: setWindowProp(prop, index, v); return;
    case PROP::Center: setJustify(c, Justify::Center, v.truthy()); return;
    case PROP::Left: setJustify(c, Justify::Left, v.truthy()); return;
    case PROP::Right: setJustify(c, Justify::Right, v.truthy()); return;
    case PROP::Decimal: setJustify(c, Justify::Decimal, v.truthy()); return;
    case PROP::CenterOffset: c.centerOffset = i32(v); return;
    case PROP::LeftOffset: c.leftOffset = i32(v); return;
    case PROP::RightOffset: c.rightOffset = i32(v); return;
    case PROP::DecimalOffset: c.decimalOffset = i32(v); return;
    case PROP::Layout: c.rightToLeft = v.truthy(); return;
    case PROP::FontName: c.fontFace = std::string(text::clip(v.str())); c.naturalValid = false; return;
    case PROP::FontSize: c.fontSize = std::max(0, i32(v)); c.naturalValid = false; return;
    case PROP::FontColor: c.fontColor = i32(v); return;
    case PROP::FontStyle: c.fontStyle = i32(v); c.naturalValid = false; return;
    case PROP::FontCharset: c.charset = i32(v); return;
    case PROP::Background: c.background = i32(v); return;
    case PROP::SelectedColor: c.selectedColor = i32(v); return;
    case PROP::SelectedFill: c.selectedFill = i32(v); return;
    case PROP::Fill: c.fill = i32(v); return;
    case PROP::GridColor: c.gridColor = i32(v); return;
    case PROP::Hide: setHidden(c, v.truthy()); return;
    case PROP::Disable:
      c.disabled = v.truthy();
      if (isContainerType(c.type)) changes_.all();
      return;
    case PROP::Skip: c.skip = v.truthy(); return;
    case PROP::ReadOnly: c.readOnly = v.truthy(); return;
    case PROP::Req: c.required = v.truthy(); return;
    case PROP::Password: c.password = v.truthy(); return;
    case PROP::Upr: c.upper = v.truthy(); if (c.upper) c.capitalise = false; return;
    case PROP::Cap: c.capitalise = v.truthy(); if (c.capitalise) c.upper = false; return;
    case PROP::Ins: c.insert = v.truthy(); if (c.insert) c.overwrite = false; return;
    case PROP::Ovr: c.overwrite = v.truthy(); if (c.overwrite) c.insert = false; return;
    case PROP::Flat: c.flat = v.truthy(); return;
    case PROP::Trn: c.transparent = v.truthy(); return;
    case PROP::Boxed: c.boxed = v.truthy(); return;
    case PROP::Single: c.single = v.truthy(); return;
    case PROP::Scroll: c.scroll = v.truthy(); return;
    case PROP::HScroll: c.hScroll = v.truthy(); return;
    case PROP::VScroll: c.vScroll = i32(v); return;
    case PROP::Tip: c.tip = v.str(); return;
    case PROP::Hlp: c.help = v.str(); return;
    case PROP::Msg: c.msg = v.str(); return;
    case PROP::Cursor: c.cursor = v.str(); return;
    case PROP::Icon: c.icon = v.str(); c.naturalValid = false; return;
    case PROP::Wallpaper: c.wallpaper = std::string(text::clip(v.str())); return;
    case PROP::Tiled: c.tiled = v.truthy(); if (c.tiled) c.centered = false; return;
    case PROP::Centered: c.centered = v.truthy(); if (c.centered) c.tiled = false; return;
    case PROP::Delay: c.delay = i32(v); return;
    case PROP::Repeat: c.repeat = i32(v); return;
    case PROP::RangeLow: c.rangeLow = i32(v); return;
    case PROP::RangeHigh: c.rangeHigh = i32(v); return;
    case PROP::Step: c.step = i32(v); return;
    case PROP::Drop: c.drop = std::max(0, i32(v)); c.naturalValid = false; return;
    case PROP::From:
      c.from = v.str();
      c.choices = parseChoices(c.from);
      c.naturalValid = false;
      values_.syncChoiceFromVariable(c);
      return;
    case PROP::MouseDownRow: c.mouseDownRow = i32(v); return;
    case PROP::VScrollPos: c.vScrollPos = std::clamp(i32(v), 0, 100); return;
    case PROP::Follows: focusOrder_.follows(c.field, i32(v)); return;
    case PROP::Alrt: alertSet(c.alerts, index, v); return;
    default: c.kept.set(prop, index, v); return;
  }
}

void WindowModel::setHidden(Control& c, bool on) {
  if (c.hidden == on) return;
  c.hidden = on;
  if (isContainerType(c.type)) changes_.all();
  changes_.control(c);
}

}  // namespace wevo::toolkit
