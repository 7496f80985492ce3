#include "platform/toolkit/window_geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/toolkit/picture.h"

namespace wevo::toolkit {

int64_t roundUnits(double v) { return static_cast<int64_t>(std::floor(v + 0.5 + 1e-9)); }

// ---- The window's font and dialog units --------------------------------------------

void WindowGeometry::setFont(const FontDesc& font) {
  font_ = font;
  metrics_ = metricsOf(font_);
  dluX_ = metrics_.aveCharWidth > 0 ? metrics_.aveCharWidth / 4.0 : 1.5;
  dluY_ = metrics_.height > 0 ? metrics_.height / 8.0 : 1.625;
  invalidateNatural();
  changes_.all();
}

FontMetrics WindowGeometry::metricsOf(const FontDesc& f) const {
  if (view_ != nullptr) return view_->metrics(f);
  // Without a view (a model on its own) the headless metrics stand.
  return FontMetrics{static_cast<int>(std::lround(f.size * 0.75)), static_cast<int>(std::lround(f.size * 1.625))};
}

double WindowGeometry::toPxX(const Value& v) const {
  return pixels_ ? static_cast<double>(v.num()) : static_cast<double>(v.num()) * dluX_;
}
double WindowGeometry::toPxY(const Value& v) const {
  return pixels_ ? static_cast<double>(v.num()) : static_cast<double>(v.num()) * dluY_;
}
int64_t WindowGeometry::fromPxX(double px) const { return roundUnits(pixels_ ? px : px / dluX_); }
int64_t WindowGeometry::fromPxY(double px) const { return roundUnits(pixels_ ? px : px / dluY_); }

// ---- The window ----------------------------------------------------------------------

void WindowGeometry::moveTo(double sx, double sy) {
  screenX_ = sx;
  screenY_ = sy;
  changes_.window();
}

void WindowGeometry::setClientWidth(double w) {
  clientW_ = std::max(0.0, w);
  changes_.all();
}

void WindowGeometry::setClientHeight(double h) {
  clientH_ = std::max(0.0, h);
  changes_.all();
}

void WindowGeometry::resizeByUser(double w, double h) {
  if (limits_.minW > 0) w = std::max(w, limits_.minW);
  if (limits_.minH > 0) h = std::max(h, limits_.minH);
  if (limits_.maxW > 0) w = std::min(w, limits_.maxW);
  if (limits_.maxH > 0) h = std::min(h, limits_.maxH);
  clientW_ = std::max(w, 0.0);
  clientH_ = std::max(h, 0.0);
  changes_.all();
}

// ---- Controls --------------------------------------------------------------------------

void WindowGeometry::invalidateNatural() {
  for (const auto& c : controls_) c->naturalValid = false;
}

RectD WindowGeometry::containerRect(const Control& c) const {
  const Control* p = c.parent != 0 ? controls_.find(c.parent) : nullptr;
  if (p == nullptr) return clientRect();
  RectD r = rect(*p);
  if (p->type == TYPE::Tab) {
    // The page of a tab: its sheet below the tab strip.
    double strip = std::floor(metrics_.height * 14.0 / 8.0);
    r.y += strip;
    r.h = std::max(0.0, r.h - strip);
  }
  return r;
}

RectD WindowGeometry::rect(const Control& c) const {
  if (c.type == TYPE::Tab) {
    const Control* sheet = controls_.find(c.parent);
    if (sheet != nullptr && sheet->type == TYPE::Sheet) return rect(*sheet);
  }
  RectD r{c.x, c.y, c.w, c.h};
  bool needNatural = (c.defaultW && !c.fullW) || (c.defaultH && !c.fullH);
  double nw = 0, nh = 0;
  if (needNatural) naturalSize(c, nw, nh);
  if (c.fullW || c.fullH) {
    RectD cont = containerRect(c);
    if (c.fullW) r.w = std::max(0.0, cont.x + cont.w - c.x);
    if (c.fullH) r.h = std::max(0.0, cont.y + cont.h - c.y);
  }
  if (c.defaultW && !c.fullW) r.w = nw;
  if (c.defaultH && !c.fullH) r.h = nh;
  return r;
}

FontDesc WindowGeometry::effectiveFont(const Control& c) const {
  FontDesc f = font_;
  if (!c.fontFace.empty()) f.face = c.fontFace;
  if (c.fontSize > 0) f.size = c.fontSize;
  f.style = c.fontStyle;
  f.charset = c.charset;
  f.color = c.fontColor;
  return f;
}

double WindowGeometry::rowHeight(const Control& c) const {
  FontMetrics m = metricsOf(effectiveFont(c));
  return std::floor(m.height * 10.0 / 8.0);
}

double WindowGeometry::headerHeight(const Control& c) const {
  for (const ListColumn& col : c.columnsDlu)
    if (!col.header.empty()) return rowHeight(c);
  return 0;
}

int WindowGeometry::visibleRows(const Control& c) const {
  RectD r = rect(c);
  double rh = rowHeight(c);
  if (rh <= 0) return 0;
  double room = r.h - headerHeight(c);
  return room <= 0 ? 0 : static_cast<int>(std::floor(room / rh + 1e-9));
}

void WindowGeometry::naturalSize(const Control& c, double& w, double& h) const {
  if (c.naturalValid) {
    w = c.naturalW;
    h = c.naturalH;
    return;
  }
  FontDesc f = effectiveFont(c);
  FontMetrics m = metricsOf(f);
  double cw = m.aveCharWidth, ch = m.height;
  double line = std::floor(ch * 10.0 / 8.0);  // a one-line input control
  auto textW = [&]() -> double {
    return view_ != nullptr ? view_->textWidth(f, c.text) : static_cast<double>(c.text.size()) * cw;
  };
  auto pictureChars = [&]() -> double {
    if (c.picture.kind == Picture::Text && c.picture.width > 0) return c.picture.width;
    if (c.picture.kind == Picture::Number)
      return c.picture.width + (c.picture.sign ? 1 : 0) + (c.picture.decimals > 0 ? c.picture.decimals + 1 : 0);
    return 10;
  };
  switch (c.type) {
    case TYPE::SString: case TYPE::String: case TYPE::Prompt: case TYPE::Item: case TYPE::Menu:
      w = textW();
      h = ch;
      break;
    case TYPE::Button:
      w = textW() + 2 * cw + (c.icon.empty() ? 0 : 2 * cw);
      h = std::floor(ch * 14.0 / 8.0);
      break;
    case TYPE::Check: case TYPE::Radio:
      // The box or circle is about a character high, then a character of room.
      w = textW() + ch + cw + (c.icon.empty() ? 0 : 2 * cw);
      h = line;
      break;
    case TYPE::Entry:
      w = pictureChars() * cw + cw;
      h = line;
      break;
    case TYPE::Spin: case TYPE::Combo: case TYPE::DropCombo:
      w = pictureChars() * cw + cw + line;
      h = line;
      break;
    case TYPE::DropList: case TYPE::List: {
      double cols = 0;
      for (const ListColumn& col : c.columnsDlu) cols += col.width * dluX_;
      if (c.columnsDlu.empty()) {
        double widest = 0;
        for (const Choice& ch2 : c.choices)
          widest = std::max(widest, view_ != nullptr ? static_cast<double>(view_->textWidth(f, ch2.text))
                                                     : static_cast<double>(ch2.text.size()) * cw);
        cols = widest + cw;
      }
      bool dropList = c.type == TYPE::DropList || c.drop > 0;
      w = std::max(cols, 4 * cw) + (dropList ? line : 0);
      h = dropList ? line : line * 5 + headerHeight(c);
      break;
    }
    case TYPE::Text: case TYPE::Rtf:
      w = 20 * cw;
      h = 3 * ch + 4;
      break;
    case TYPE::Group: case TYPE::Option:
      w = textW() + 4 * cw;
      h = 2 * ch;
      break;
    case TYPE::Tab:
      w = textW() + 2 * cw;
      h = std::floor(ch * 14.0 / 8.0);
      break;
    case TYPE::Sheet: {
      RectD cont = containerRect(c);
      w = std::max(0.0, cont.x + cont.w - c.x);
      h = std::max(0.0, cont.y + cont.h - c.y);
      break;
    }
    case TYPE::Toolbar: {
      RectD cont = containerRect(c);
      w = std::max(0.0, cont.x + cont.w - c.x);
      h = std::floor(ch * 25.0 / 8.0);
      break;
    }
    case TYPE::MenuBar:
      w = clientW_;
      h = ch + 4;
      break;
    default:  // lines, boxes, regions, images, panels: no content to size by
      w = 0;
      h = 0;
      break;
  }
  // Sheets and toolbars follow their container, so their size is not cached.
  if (c.type != TYPE::Sheet && c.type != TYPE::Toolbar && c.type != TYPE::MenuBar) {
    c.naturalW = w;
    c.naturalH = h;
    c.naturalValid = true;
  }
}

int WindowGeometry::controlAt(double px, double py) const {
  int best = 0;
  double bestSize = 0;
  for (const auto& c : controls_) {
    if (c->type == TYPE::Menu || c->type == TYPE::Item || c->type == TYPE::MenuBar) continue;
    if (!controls_.visible(*c)) continue;
    RectD r = rect(*c);
    if (px < r.x || py < r.y || px > r.x + r.w || py > r.y + r.h) continue;
    double size = r.w + r.h;
    if (best == 0 || size <= bestSize) {
      best = c->field;
      bestSize = size;
    }
  }
  return best;
}

int WindowGeometry::rowAt(const Control& list, double py) const {
  RectD r = rect(list);
  double top = r.y + headerHeight(list);
  double rh = rowHeight(list);
  if (py < top || rh <= 0) return 0;
  int row = static_cast<int>(std::floor((py - top) / rh)) + 1;
  return row <= rowCount(list) ? row : 0;
}

}  // namespace wevo::toolkit
