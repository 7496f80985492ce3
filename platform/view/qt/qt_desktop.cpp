#include "platform/view/qt/qt_desktop.h"

#include <QAccessible>
#include <QGuiApplication>
#include <algorithm>

#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/qt_context.h"
#include "platform/view/qt/qt_convert.h"
#include "platform/view/qt/top_window.h"

namespace wevo::qtview {

QtDesktop::QtDesktop(QtContext& ctx) : ctx_(ctx) {}

QtDesktop::~QtDesktop() {
  closeAll();
  setCursor("");
}

void QtDesktop::apply(const toolkit::ViewUpdate& u) {
  if (u.closed) {
    windows_.erase(u.handle);
    return;
  }
  auto it = windows_.find(u.handle);
  if (it == windows_.end()) {
    // A window's first update carries its snapshot; anything else is about
    // a window this view never saw open (it closed in the meantime).
    if (!u.window) return;
    it = windows_.emplace(u.handle, std::make_unique<TopWindow>(ctx_, *u.window)).first;
  }
  it->second->apply(u);
}

TopWindow* QtDesktop::window(int64_t handle) const {
  if (handle == 0) return nullptr;
  auto it = windows_.find(handle);
  if (it == windows_.end() && (handle & 1) != 0) it = windows_.find(handle - 1);
  return it != windows_.end() ? it->second.get() : nullptr;
}

std::vector<TopWindow*> QtDesktop::windows() const {
  std::vector<TopWindow*> out;
  for (const auto& [h, w] : windows_) out.push_back(w.get());
  std::sort(out.begin(), out.end(),
            [](TopWindow* a, TopWindow* b) { return a->snapshot().openOrder < b->snapshot().openOrder; });
  return out;
}

void QtDesktop::closeAll() { windows_.clear(); }

void QtDesktop::setFocus(int64_t handle, int field) {
  TopWindow* w = window(handle);
  if (w == nullptr) return;
  if (w->isVisible()) w->activateWindow();
  w->focusField(field != 0 ? field : w->snapshot().focusedField);
}

void QtDesktop::invalidate(int64_t handle) {
  if (TopWindow* w = window(handle)) w->update();
}

void QtDesktop::announce(int64_t handle, int field, const std::string& description) {
  if (announced_) announced_->setAccessibleDescription(announcedBefore_);
  announced_ = nullptr;
  TopWindow* w = window(handle);
  if (w == nullptr || description.empty()) return;
  QWidget* widget = field == 0 ? w->client() : w->widget(field);
  if (widget == nullptr) return;
  announced_ = widget;
  announcedBefore_ = widget->accessibleDescription();
  widget->setAccessibleDescription(toQ(description));
  QAccessibleEvent changed(widget, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&changed);
  QAccessibleEvent focus(widget, QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

void QtDesktop::setCursor(const std::string& cursor) {
  std::optional<QCursor> c;
  if (std::optional<Qt::CursorShape> shape = stockCursor(cursor)) {
    c = QCursor(*shape);
  } else if (!cursor.empty()) {
    QPixmap pm = ctx_.images.pixmap(cursor);
    c = pm.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(pm);
  }
  if (!c) {
    if (overrideCursor_) QGuiApplication::restoreOverrideCursor();
    overrideCursor_ = false;
    return;
  }
  if (overrideCursor_)
    QGuiApplication::changeOverrideCursor(*c);
  else
    QGuiApplication::setOverrideCursor(*c);
  overrideCursor_ = true;
}

}  // namespace wevo::qtview
