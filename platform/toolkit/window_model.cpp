#include "platform/toolkit/window_model.h"

#include <algorithm>
#include <string>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/list_format.h"
#include "wevo/props.h"

namespace wevo::toolkit {

namespace {

constexpr const char* kDefaultFace = "MS Sans Serif";
constexpr int kDefaultSize = 8;

}  // namespace

WindowModel::WindowModel(Window* window, WindowDecl decl)
    : window_(window), decl_(std::move(decl)), loop_(std::make_unique<LoopState>()) {}

WindowModel::~WindowModel() = default;

// ---- Life ------------------------------------------------------------------

void WindowModel::build(View* view, double screenX, double screenY) {
  teardown();
  geometry_.setView(view);
  caption_ = decl_.caption;
  FontDesc font;
  font.face = decl_.font.face.empty() ? kDefaultFace : decl_.font.face;
  font.size = decl_.font.size > 0 ? decl_.font.size : kDefaultSize;
  font.style = decl_.font.style;
  font.charset = decl_.font.charset;
  font.color = decl_.font.color;
  geometry_.setFont(font);
  geometry_.setPixelsMode(false);
  const double dluX = geometry_.dluX(), dluY = geometry_.dluY();
  geometry_.moveTo(decl_.at.x == kDefault ? screenX : decl_.at.x * dluX,
                   decl_.at.y == kDefault ? screenY : decl_.at.y * dluY);
  hidden_ = decl_.hidden;
  icon_ = decl_.icon;
  wallpaper_ = decl_.wallpaper;
  centered_ = decl_.wallpaperMode == 1;
  tiled_ = decl_.wallpaperMode == 2;
  alerts_ = decl_.alerts;
  if (!decl_.help.empty()) kept_.set(PROP::Hlp, -1, Value(decl_.help));
  geometry_.setLimits({});
  maximized_ = iconized_ = rightToLeft_ = false;
  background_ = COLOR::None;
  acceptAll_ = false;

  // Controls, numbered in declaration order unless they name their number.
  std::vector<int> declared;
  declared.reserve(decl_.controls.size());
  int next = 1;
  for (const ControlDecl& d : decl_.controls) {
    int field = d.feq != 0 ? d.feq : next;
    if (controls_.find(field) != nullptr) field = controls_.lastField() + 1;
    Control* c = controls_.make(field, d.type, 0);
    c->label = d.use;
    declared.push_back(field);
    focusOrder_.append(field);
    next = field + 1;
  }
  size_t i = 0;
  for (const ControlDecl& d : decl_.controls) {
    int field = declared[i++];
    Control* c = controls_.find(field);
    if (!d.parent.empty()) c->parent = controls_.fieldOf(d.parent);
    if (c->parent == field) c->parent = 0;
  }
  i = 0;
  for (const ControlDecl& d : decl_.controls) applyDecl(*controls_.find(declared[i++]), d);

  // A window without a declared size takes the room its controls need.
  double clientW, clientH;
  if (decl_.at.w == kDefault || decl_.at.h == kDefault) {
    double right = 100 * dluX, bottom = 50 * dluY;
    for (const auto& c : controls_) {
      if (c->fullW || c->fullH || c->type == TYPE::Sheet || c->type == TYPE::Toolbar || c->type == TYPE::Tab)
        continue;
      RectD r = geometry_.rect(*c);
      right = std::max(right, r.x + r.w + 4 * dluX);
      bottom = std::max(bottom, r.y + r.h + 4 * dluY);
    }
    clientW = decl_.at.w == kDefault ? right : decl_.at.w * dluX;
    clientH = decl_.at.h == kDefault ? bottom : decl_.at.h * dluY;
  } else {
    clientW = decl_.at.w * dluX;
    clientH = decl_.at.h * dluY;
  }
  geometry_.setClientWidth(clientW);
  geometry_.setClientHeight(clientH);

  // Sheets show their first tab.
  for (const auto& c : controls_) {
    if (c->type != TYPE::Sheet) continue;
    for (const auto& t : controls_)
      if (t->type == TYPE::Tab && t->parent == c->field) {
        c->selected = t->field;
        break;
      }
  }
  for (const auto& [prop, value] : decl_.props) setWindowProp(prop, -1, value);
  for (i = 0; i < decl_.controls.size(); ++i)
    for (const auto& [prop, value] : decl_.controls[i].props) setControlProp(*controls_.find(declared[i]), prop, -1, value);

  values_.display(0);
  focusOrder_.setFocusField(focusOrder_.firstFocusable());
  changes_.opened();
}

void WindowModel::teardown() {
  controls_.clear();
  focusOrder_.clear();
  kept_.clear();
  alerts_.clear();
  changes_.clear();
}

void WindowModel::setHandles(int64_t handle, int64_t clientHandle) {
  handle_.store(handle);
  clientHandle_.store(clientHandle);
}

void WindowModel::setProcs(int64_t frame, int64_t client) {
  frameProc_ = frame;
  clientProc_ = client;
}

void WindowModel::setBlocked(bool blocked) {
  blocked_ = blocked;
  changes_.window();
}

// ---- Controls made and destroyed at run time ------------------------------------

int WindowModel::create(int field, int type, int parent) {
  if (field <= 0) field = controls_.lastField() + 1;
  if (controls_.find(field) != nullptr) destroy(field);
  if (parent != 0 && controls_.find(parent) == nullptr) parent = 0;
  Control* c = controls_.make(field, type, parent);
  c->defaultW = c->defaultH = true;
  if (type == TYPE::Toolbar) c->fullW = true;
  focusOrder_.append(field);
  // A control destroyed and made again before a flush goes out as a new one.
  changes_.control(*c);
  return field;
}

void WindowModel::destroy(int field) {
  if (controls_.find(field) == nullptr) return;
  // Contained controls go with their container.
  for (int f : controls_.children(field)) destroy(f);
  controls_.erase(field);
  focusOrder_.remove(field);
  changes_.destroyed(field);
}

void WindowModel::applyDecl(Control& c, const ControlDecl& d) {
  const double dluX = geometry_.dluX(), dluY = geometry_.dluY();
  c.text = d.text;
  if (usesPicture(c.type)) c.picture = Picture::parse(c.text);
  c.x = d.at.x == kDefault ? 0 : d.at.x * dluX;
  c.y = d.at.y == kDefault ? 0 : d.at.y * dluY;
  c.defaultW = d.at.w == kDefault;
  c.defaultH = d.at.h == kDefault;
  c.w = c.defaultW ? 0 : d.at.w * dluX;
  c.h = c.defaultH ? 0 : d.at.h * dluY;
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

}  // namespace wevo::toolkit
