#include "platform/toolkit/window_model.h"

#include <algorithm>
#include <cmath>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/list_format.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::toolkit {

int64_t roundUnits(double v) { return static_cast<int64_t>(std::floor(v + 0.5 + 1e-9)); }

namespace {

constexpr const char* kDefaultFace = "MS Sans Serif";
constexpr int kDefaultSize = 8;

bool byField(const std::unique_ptr<Control>& c, int field) { return c->field < field; }

}  // namespace

WindowModel::WindowModel(Window* window, WindowDecl decl)
    : loop(std::make_unique<LoopState>()), window_(window), decl_(std::move(decl)) {}

WindowModel::~WindowModel() = default;

// ---- Life ------------------------------------------------------------------

void WindowModel::build(View* view, double screenX, double screenY) {
  teardown();
  view_ = view;
  caption_ = decl_.caption;
  font_ = FontDesc{};
  font_.face = decl_.font.face.empty() ? kDefaultFace : decl_.font.face;
  font_.size = decl_.font.size > 0 ? decl_.font.size : kDefaultSize;
  font_.style = decl_.font.style;
  font_.charset = decl_.font.charset;
  font_.color = decl_.font.color;
  refreshMetrics();
  pixels_ = false;
  screenX_ = decl_.at.x == kDefault ? screenX : decl_.at.x * dluX_;
  screenY_ = decl_.at.y == kDefault ? screenY : decl_.at.y * dluY_;
  hidden_ = decl_.hidden;
  icon_ = decl_.icon;
  wallpaper_ = decl_.wallpaper;
  centered_ = decl_.wallpaperMode == 1;
  tiled_ = decl_.wallpaperMode == 2;
  alerts_ = decl_.alerts;
  if (!decl_.help.empty()) kept_.set(PROP::Hlp, -1, Value(decl_.help));
  minW_ = minH_ = maxW_ = maxH_ = 0;
  maximized_ = iconized_ = rightToLeft_ = false;
  background_ = COLOR::None;
  acceptAllFlag = false;

  // Controls, numbered in declaration order unless they name their number.
  int next = 1;
  for (const ControlDecl& d : decl_.controls) {
    int field = d.feq != 0 ? d.feq : next;
    if (find(field) != nullptr) field = lastField() + 1;
    Control* c = make(field, d.type, 0);
    c->label = d.use;
    tabOrder_.push_back(field);
    next = field + 1;
  }
  size_t i = 0;
  for (const ControlDecl& d : decl_.controls) {
    int field = tabOrder_[i++];
    Control* c = find(field);
    if (!d.parent.empty()) c->parent = fieldOf(d.parent);
    if (c->parent == field) c->parent = 0;
  }
  i = 0;
  for (const ControlDecl& d : decl_.controls) applyDecl(*find(tabOrder_[i++]), d);

  // A window without a declared size takes the room its controls need.
  if (decl_.at.w == kDefault || decl_.at.h == kDefault) {
    double right = 100 * dluX_, bottom = 50 * dluY_;
    for (auto& c : controls_) {
      if (c->fullW || c->fullH || c->type == TYPE::Sheet || c->type == TYPE::Toolbar || c->type == TYPE::Tab)
        continue;
      RectD r = rect(*c);
      right = std::max(right, r.x + r.w + 4 * dluX_);
      bottom = std::max(bottom, r.y + r.h + 4 * dluY_);
    }
    clientW_ = decl_.at.w == kDefault ? right : decl_.at.w * dluX_;
    clientH_ = decl_.at.h == kDefault ? bottom : decl_.at.h * dluY_;
  } else {
    clientW_ = decl_.at.w * dluX_;
    clientH_ = decl_.at.h * dluY_;
  }

  // Sheets show their first tab.
  for (auto& c : controls_) {
    if (c->type != TYPE::Sheet) continue;
    for (auto& t : controls_)
      if (t->type == TYPE::Tab && t->parent == c->field) {
        c->selected = t->field;
        break;
      }
  }
  for (const auto& [prop, value] : decl_.props) setWindowProp(prop, -1, value);
  for (i = 0; i < decl_.controls.size(); ++i)
    for (const auto& [prop, value] : decl_.controls[i].props) setControlProp(*find(tabOrder_[i]), prop, -1, value);

  display(0);
  focus_ = firstFocusable();
  pendingOpen_ = true;
  allDirty_ = true;
  windowDirty_ = true;
}

void WindowModel::teardown() {
  controls_.clear();
  tabOrder_.clear();
  kept_.clear();
  alerts_.clear();
  focus_ = 0;
  pendingOpen_ = windowDirty_ = allDirty_ = false;
  dirty_.clear();
  destroyed_.clear();
}

void WindowModel::refreshMetrics() {
  metrics_ = metricsOf(font_);
  dluX_ = metrics_.aveCharWidth > 0 ? metrics_.aveCharWidth / 4.0 : 1.5;
  dluY_ = metrics_.height > 0 ? metrics_.height / 8.0 : 1.625;
}

FontMetrics WindowModel::metricsOf(const FontDesc& f) const {
  if (view_ != nullptr) return view_->metrics(f);
  // Without a view (a model on its own) the headless metrics stand.
  return FontMetrics{static_cast<int>(std::lround(f.size * 0.75)), static_cast<int>(std::lround(f.size * 1.625))};
}

void WindowModel::invalidateNatural() {
  for (auto& c : controls_) c->naturalValid = false;
}

// ---- Controls ----------------------------------------------------------------

Control* WindowModel::find(int field) {
  auto it = std::lower_bound(controls_.begin(), controls_.end(), field, byField);
  return it != controls_.end() && (*it)->field == field ? it->get() : nullptr;
}

const Control* WindowModel::find(int field) const {
  auto it = std::lower_bound(controls_.begin(), controls_.end(), field, byField);
  return it != controls_.end() && (*it)->field == field ? it->get() : nullptr;
}

int WindowModel::firstField() const { return controls_.empty() ? 0 : controls_.front()->field; }
int WindowModel::lastField() const { return controls_.empty() ? 0 : controls_.back()->field; }

std::string WindowModel::label(int field) const {
  const Control* c = find(field);
  return c != nullptr ? c->label : std::string();
}

int WindowModel::fieldOf(std::string_view lbl) const {
  if (text::clip(lbl).empty()) return 0;
  for (const auto& c : controls_)
    if (text::sameNoCase(c->label, lbl)) return c->field;
  return 0;
}

std::vector<int> WindowModel::fields() const {
  std::vector<int> out;
  out.reserve(controls_.size());
  for (const auto& c : controls_) out.push_back(c->field);
  return out;
}

std::vector<int> WindowModel::children(int parent) const {
  std::vector<int> out;
  for (const auto& c : controls_)
    if (c->parent == parent) out.push_back(c->field);
  return out;
}

Control* WindowModel::make(int field, int type, int parent) {
  auto c = std::make_unique<Control>();
  c->field = field;
  c->type = type;
  c->parent = parent;
  c->createdSeq = ++createSeq_;
  Control* raw = c.get();
  auto it = std::lower_bound(controls_.begin(), controls_.end(), field, byField);
  controls_.insert(it, std::move(c));
  return raw;
}

int WindowModel::create(int field, int type, int parent) {
  if (field <= 0) field = lastField() + 1;
  if (find(field) != nullptr) destroy(field);
  if (parent != 0 && find(parent) == nullptr) parent = 0;
  Control* c = make(field, type, parent);
  c->defaultW = c->defaultH = true;
  if (type == TYPE::Toolbar) c->fullW = true;
  tabOrder_.push_back(field);
  // A control destroyed and made again before a flush goes out as a new one.
  markDirty(*c);
  return field;
}

void WindowModel::destroy(int field) {
  auto it = std::lower_bound(controls_.begin(), controls_.end(), field, byField);
  if (it == controls_.end() || (*it)->field != field) return;
  // Contained controls go with their container.
  std::vector<int> inner = children(field);
  for (int f : inner) destroy(f);
  it = std::lower_bound(controls_.begin(), controls_.end(), field, byField);
  controls_.erase(it);
  for (size_t i = tabOrder_.size(); i-- > 0;)
    if (tabOrder_[i] == field) {
      tabOrder_.erase(tabOrder_.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  for (size_t i = dirty_.size(); i-- > 0;)
    if (dirty_[i] == field) dirty_.erase(dirty_.begin() + static_cast<std::ptrdiff_t>(i));
  destroyed_.push_back(field);
  if (focus_ == field) {
    focus_ = 0;
    windowDirty_ = true;
  }
}

void WindowModel::applyDecl(Control& c, const ControlDecl& d) {
  c.text = d.text;
  if (usesPicture(c.type)) c.picture = Picture::parse(c.text);
  c.x = d.at.x == kDefault ? 0 : d.at.x * dluX_;
  c.y = d.at.y == kDefault ? 0 : d.at.y * dluY_;
  c.defaultW = d.at.w == kDefault;
  c.defaultH = d.at.h == kDefault;
  c.w = c.defaultW ? 0 : d.at.w * dluX_;
  c.h = c.defaultH ? 0 : d.at.h * dluY_;
  if (c.type == TYPE::Toolbar && c.defaultW) c.fullW = true;
  if (d.full) {
    c.fullW = c.fullH = true;
    c.defaultW = c.defaultH = false;
  }
  c.fontFace = d.font.face;
  c.fontSize = d.font.size;
  c.fontStyle = d.font.style;
  c.charset = d.font.charset;
  c.fontColor = d.textColor != COLOR::None ? d.textColor : d.font.color;
  c.background = d.background;
  c.fill = d.fill;
  c.hidden = d.hidden;
  c.disabled = d.disabled;
  c.flat = d.flat;
  c.icon = d.icon;
  c.tip = d.tip;
  c.msg = d.msg;
  c.help = d.help;
  c.cursor = d.cursor;
  c.wallpaper = d.wallpaper;
  c.format = d.format;
  if (!d.format.empty()) c.columnsDlu = parseListFormat(d.format);
  c.from = d.from;
  c.choices = parseChoices(d.from);
  c.drop = d.drop;
  if (c.type == TYPE::Check) {
    c.trueValue = d.value.empty() ? "1" : d.value;
    c.falseValue = d.falseValue;
  }
  if (c.type == TYPE::Radio) c.radioValue = d.value;
  c.rangeLow = d.rangeLow;
  c.rangeHigh = d.rangeHigh;
  c.step = d.step == 0 ? 1 : d.step;
  c.alerts = d.alerts;
  c.bind = d.bind;
  // A radio without a value stores its position among its option's radios.
  if (c.type == TYPE::Radio && c.radioValue.empty()) {
    int n = 0;
    for (const auto& other : controls_) {
      if (other->type == TYPE::Radio && other->parent == c.parent) ++n;
      if (other.get() == &c) break;
    }
    c.radioValue = std::to_string(n);
  }
}

// ---- Geometry ---------------------------------------------------------------

RectD WindowModel::containerRect(const Control& c) const {
  const Control* p = c.parent != 0 ? find(c.parent) : nullptr;
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

RectD WindowModel::rect(const Control& c) const {
  if (c.type == TYPE::Tab) {
    const Control* sheet = find(c.parent);
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

FontDesc WindowModel::effectiveFont(const Control& c) const {
  FontDesc f = font_;
  if (!c.fontFace.empty()) f.face = c.fontFace;
  if (c.fontSize > 0) f.size = c.fontSize;
  f.style = c.fontStyle;
  f.charset = c.charset;
  f.color = c.fontColor;
  return f;
}

double WindowModel::rowHeight(const Control& c) const {
  FontMetrics m = metricsOf(effectiveFont(c));
  return std::floor(m.height * 10.0 / 8.0);
}

double WindowModel::headerHeight(const Control& c) const {
  for (const ListColumn& col : c.columnsDlu)
    if (!col.header.empty()) return rowHeight(c);
  return 0;
}

int WindowModel::visibleRows(const Control& c) const {
  RectD r = rect(c);
  double rh = rowHeight(c);
  if (rh <= 0) return 0;
  double room = r.h - headerHeight(c);
  return room <= 0 ? 0 : static_cast<int>(std::floor(room / rh + 1e-9));
}

void WindowModel::naturalSize(const Control& c, double& w, double& h) const {
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

void WindowModel::moveTo(double sx, double sy) {
  screenX_ = sx;
  screenY_ = sy;
  windowDirty_ = true;
}

void WindowModel::resizeByUser(double w, double h) {
  if (minW_ > 0) w = std::max(w, minW_);
  if (minH_ > 0) h = std::max(h, minH_);
  if (maxW_ > 0) w = std::min(w, maxW_);
  if (maxH_ > 0) h = std::min(h, maxH_);
  w = std::max(w, 0.0);
  h = std::max(h, 0.0);
  clientW_ = w;
  clientH_ = h;
  markAllDirty();
}

void WindowModel::getPosition(int field, int& x, int& y, int& w, int& h) const {
  x = static_cast<int>(get(field, PROP::XPos).num());
  y = static_cast<int>(get(field, PROP::YPos).num());
  w = static_cast<int>(get(field, PROP::Width).num());
  h = static_cast<int>(get(field, PROP::Height).num());
}

void WindowModel::setPosition(int field, int x, int y, int w, int h) {
  set(field, PROP::XPos, -1, Value(x));
  set(field, PROP::YPos, -1, Value(y));
  if (w != Window::kKeepDefaultWidth) set(field, PROP::Width, -1, Value(w));
  set(field, PROP::Height, -1, Value(h));
}

int WindowModel::controlAt(double px, double py) const {
  int best = 0;
  double bestSize = 0;
  for (const auto& c : controls_) {
    if (c->type == TYPE::Menu || c->type == TYPE::Item || c->type == TYPE::MenuBar) continue;
    if (!visible(*c)) continue;
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

int WindowModel::rowAt(const Control& list, double py) const {
  RectD r = rect(list);
  double top = r.y + headerHeight(list);
  double rh = rowHeight(list);
  if (py < top || rh <= 0) return 0;
  int row = static_cast<int>(std::floor((py - top) / rh)) + 1;
  return row <= rowCount(list) ? row : 0;
}

// ---- Visibility -------------------------------------------------------------

bool WindowModel::visible(const Control& c) const {
  const Control* cur = &c;
  for (int depth = 0; cur != nullptr && depth < 64; ++depth) {
    if (cur->hidden) return false;
    if (cur->type == TYPE::Tab) {
      const Control* sheet = find(cur->parent);
      if (sheet != nullptr && sheet->type == TYPE::Sheet && sheet->selected != cur->field) return false;
    }
    cur = cur->parent != 0 ? find(cur->parent) : nullptr;
  }
  return true;
}

bool WindowModel::enabled(const Control& c) const {
  const Control* cur = &c;
  for (int depth = 0; cur != nullptr && depth < 64; ++depth) {
    if (cur->disabled) return false;
    cur = cur->parent != 0 ? find(cur->parent) : nullptr;
  }
  return true;
}

void WindowModel::setHidden(Control& c, bool on) {
  if (c.hidden == on) return;
  c.hidden = on;
  if (isContainerType(c.type)) markAllDirty();
  markDirty(c);
}

// ---- Tab order and focus ----------------------------------------------------

void WindowModel::follows(int field, int after) {
  if (field == after || find(field) == nullptr) return;
  auto it = std::find(tabOrder_.begin(), tabOrder_.end(), field);
  if (it != tabOrder_.end()) tabOrder_.erase(it);
  auto pos = std::find(tabOrder_.begin(), tabOrder_.end(), after);
  if (pos == tabOrder_.end())
    tabOrder_.insert(tabOrder_.begin(), field);
  else
    tabOrder_.insert(pos + 1, field);
  markAllDirty();
}

bool WindowModel::canFocus(const Control& c) const {
  return isFocusable(c.type) && visible(c) && enabled(c);
}

int WindowModel::nextFocusable(int from, bool back) const {
  size_t n = tabOrder_.size();
  if (n == 0) return 0;
  size_t start = n;
  for (size_t i = 0; i < n; ++i)
    if (tabOrder_[i] == from) start = i;
  for (size_t k = 1; k <= n; ++k) {
    size_t i;
    if (start == n)
      i = back ? n - k : k - 1;
    else
      i = back ? (start + n - k) % n : (start + k) % n;
    const Control* c = find(tabOrder_[i]);
    if (c != nullptr && !c->skip && canFocus(*c)) return c->field;
  }
  return 0;
}

int WindowModel::firstFocusable() const {
  for (int f : tabOrder_) {
    const Control* c = find(f);
    if (c != nullptr && !c->skip && canFocus(*c)) return f;
  }
  return 0;
}

void WindowModel::setFocusField(int field) {
  if (Control* old = find(focus_)) markDirty(*old);
  focus_ = field;
  windowDirty_ = true;
  Control* c = find(field);
  if (c == nullptr) return;
  markDirty(*c);
  // A control on a tab that is not showing brings its tab forward.
  for (Control* p = find(c->parent); p != nullptr; p = find(p->parent)) {
    if (p->type != TYPE::Tab) continue;
    Control* sheet = find(p->parent);
    if (sheet != nullptr && sheet->type == TYPE::Sheet && sheet->selected != p->field) {
      sheet->selected = p->field;
      markAllDirty();
    }
  }
}

void WindowModel::markDirty(Control& c) {
  if (c.dirty) return;
  c.dirty = true;
  dirty_.push_back(c.field);
}

}  // namespace wevo::toolkit
