// What the view is sent: snapshots of the window and of its changed controls.
#include <algorithm>
#include <unordered_map>

#include "platform/toolkit/window_model.h"
#include "wevo/props.h"

namespace wevo::toolkit {

namespace {

int px(double v) { return static_cast<int>(roundUnits(v)); }

char justifyChar(Justify j) {
  switch (j) {
    case Justify::Left: return 'L';
    case Justify::Right: return 'R';
    case Justify::Center: return 'C';
    case Justify::Decimal: return 'D';
    default: return 0;
  }
}

}  // namespace

WindowSnapshot WindowModel::snapshot() const {
  const WindowGeometry& g = geometry_;
  WindowSnapshot w;
  w.handle = handle_.load();
  w.clientHandle = clientHandle_.load();
  w.thread = ownerThread_.load();
  w.openOrder = openOrder_;
  w.caption = caption_;
  w.x = px(g.screenX());
  w.y = px(g.screenY());
  w.width = px(g.clientRect().w);
  w.height = px(g.clientRect().h);
  w.font = g.font();
  w.icon = icon_;
  w.wallpaper = wallpaper_;
  w.wallpaperMode = centered_ ? 1 : tiled_ ? 2 : 0;
  w.frameType = decl_.frameType;
  w.hidden = hidden_;
  w.modal = decl_.modal;
  w.blocked = blocked_;
  w.statusBar = decl_.statusBar;
  const int focus = focusOrder_.focus();
  if (const Control* f = controls_.find(focus)) w.statusText = f->msg;
  w.maximized = maximized_;
  w.iconized = iconized_;
  w.minWidth = px(g.limits().minW);
  w.minHeight = px(g.limits().minH);
  w.maxWidth = px(g.limits().maxW);
  w.maxHeight = px(g.limits().maxH);
  w.focusedField = focus;
  w.background = background_;
  return w;
}

ControlSnapshot WindowModel::snapshot(const Control& c, int tabPos) const {
  const WindowGeometry& g = geometry_;
  ControlSnapshot s;
  s.field = c.field;
  s.type = c.type;
  s.parent = c.parent;
  s.label = c.label;
  RectD r = g.rect(c);
  s.x = px(r.x);
  s.y = px(r.y);
  s.width = px(r.w);
  s.height = px(r.h);
  if (usesPicture(c.type) || c.type == TYPE::Text || c.type == TYPE::Rtf) {
    s.text = c.screen;
    if (usesPicture(c.type)) s.picture = c.text;
  } else {
    s.text = c.text;
  }
  s.font = g.effectiveFont(c);
  s.background = c.background;
  s.selectedColor = c.selectedColor;
  s.selectedFill = c.selectedFill;
  s.fill = c.fill;
  s.gridColor = c.gridColor;
  s.hidden = c.hidden;
  s.visible = controls_.visible(c);
  s.disabled = !controls_.enabled(c);
  s.readOnly = c.readOnly;
  s.password = c.password;
  s.required = c.required;
  s.flat = c.flat;
  s.transparent = c.transparent;
  s.boxed = c.boxed;
  s.single = c.single;
  s.skip = c.skip;
  s.upper = c.upper;
  s.capitalise = c.capitalise;
  s.hScroll = c.hScroll;
  s.vScroll = c.vScroll != 0;
  s.rightToLeft = c.rightToLeft;
  s.justify = justifyChar(c.justify);
  int offset = c.justify == Justify::Left ? c.leftOffset
               : c.justify == Justify::Right ? c.rightOffset
               : c.justify == Justify::Center ? c.centerOffset
               : c.justify == Justify::Decimal ? c.decimalOffset : 0;
  s.justifyOffset = px(offset * g.dluX());
  s.icon = c.icon;
  s.tip = c.tip;
  s.msg = c.msg;
  s.help = c.help;
  s.cursor = c.cursor;
  s.wallpaper = c.wallpaper;
  s.wallpaperMode = c.centered ? 1 : c.tiled ? 2 : 0;
  s.bevelOuter = get(c.field, PROP::BevelOuter).i32();
  s.bevelInner = get(c.field, PROP::BevelInner).i32();
  s.bevelStyle = get(c.field, PROP::BevelStyle).i32();
  if (c.type == TYPE::Check) s.checked = c.checked;
  if (c.type == TYPE::Radio) {
    const Control* option = controls_.find(c.parent);
    s.checked = option != nullptr && option->chosen == c.field;
  }
  if (c.type == TYPE::Sheet) s.currentTab = c.selected;
  s.tabOrder = tabPos;
  s.focused = focusOrder_.focus() == c.field;
  if (isListType(c.type)) {
    s.drop = c.drop;
    s.selected = c.selected;
    s.vScrollPos = c.vScrollPos;
    for (const Choice& ch : c.choices) s.choices.push_back(ch.text);
    std::vector<ListColumn> cols = c.columnsDlu;
    if (cols.empty()) cols.push_back(ListColumn{});
    for (ListColumn& col : cols) {
      col.width = px(col.width * g.dluX());
      col.indent = px(col.indent * g.dluX());
      col.headerIndent = px(col.headerIndent * g.dluX());
    }
    int n = rowCount(c);
    s.rows.reserve(static_cast<size_t>(n));
    for (int row = 1; row <= n; ++row) {
      std::vector<std::string> cells;
      cells.reserve(cols.size());
      for (const ListColumn& col : cols) cells.push_back(values_.cellText(c, row, col));
      s.rows.push_back(std::move(cells));
    }
    if (!c.columnsDlu.empty()) s.columns = std::move(cols);
  }
  if (c.type == TYPE::Spin) {
    s.rangeLow = c.rangeLow;
    s.rangeHigh = c.rangeHigh;
    s.step = c.step;
  }
  return s;
}

bool WindowModel::takeUpdate(ViewUpdate& out) {
  if (!changes_.pending()) return false;
  out = ViewUpdate{};
  out.handle = handle_.load();
  out.opened = changes_.isOpening();
  if (changes_.windowChanged()) out.window = snapshot();
  out.destroyed = changes_.takeDestroyed();
  const std::vector<int>& tabOrder = focusOrder_.tabOrder();
  std::unordered_map<int, int> tabPos;
  tabPos.reserve(tabOrder.size());
  for (size_t i = 0; i < tabOrder.size(); ++i) tabPos[tabOrder[i]] = static_cast<int>(i) + 1;
  auto position = [&](int field) {
    auto it = tabPos.find(field);
    return it != tabPos.end() ? it->second : 0;
  };
  if (changes_.allChanged()) {
    out.controls.reserve(controls_.size());
    for (const auto& c : controls_) {
      out.controls.push_back(snapshot(*c, position(c->field)));
      c->dirty = false;
    }
  } else {
    std::vector<int>& changed = changes_.changedControls();
    std::sort(changed.begin(), changed.end());
    for (int f : changed) {
      Control* c = controls_.find(f);
      if (c == nullptr) continue;
      out.controls.push_back(snapshot(*c, position(f)));
      c->dirty = false;
    }
  }
  changes_.taken();
  return true;
}

}  // namespace wevo::toolkit
