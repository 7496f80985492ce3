#include "qthost/model_window.h"

#include "platform/view/qt/bound_window.h"
#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/window_binder.h"
#include "wevo/props.h"
#include "wevo/runtime.h"

namespace wevo::qthost {

ModelWindow::ModelWindow(qtview::QtView& view, const FormModel& form, qtview::BoundWindow& binding)
    : view_(view), form_(form), binding_(binding) {}

ModelWindow::~ModelWindow() {
  // Unwinding (the program ends): the form keeps what reached it.
  if (tied_) view_.binder().unbind(handle_);
}

void ModelWindow::open() {
  window_ = std::make_unique<Window>(form_.decl);
  window_->open();
  window_->set(0, PROP::Pixels, 1);
  window_->setPosition(0, form_.screenPos.x(), form_.screenPos.y(), form_.size.width(), form_.size.height());
  for (size_t i = 0; i < form_.places.size(); ++i) {
    const FormModel::Place& p = form_.places[i];
    if (!p.isTab) window_->setPosition(static_cast<int>(i) + 1, p.x, p.y, p.w, p.h);
  }
  for (const auto& [sheet, tab] : form_.tabs) window_->setSelection(sheet, tab);
  window_->set(0, PROP::Pixels, 0);
  handle_ = window_->handle();
  view_.binder().bind(handle_, &binding_);
  tied_ = true;
  // The first snapshot is how the form stands; it must reach the binding
  // alone, before later changes fold into it on their way to the view.
  invalidate(handle_, false);
  view_.onQtThread([] {});
}

UnitRects ModelWindow::unitRects(const FontSpec& font) {
  Window& w = *window_;
  w.set(0, PROP::Pixels, 0);
  const std::string face = w.get(0, PROP::FontName).str();
  const int size = w.get(0, PROP::FontSize).i32();
  const int style = w.get(0, PROP::FontStyle).i32();
  // Dialog units follow the window's font: measure in the one asked for.
  const bool other = !font.face.empty() && (font.face != face || font.size != size || font.style != style);
  if (other) {
    w.set(0, PROP::FontName, Value(font.face));
    w.set(0, PROP::FontSize, Value(font.size));
    w.set(0, PROP::FontStyle, Value(font.style));
  }
  UnitRects rects;
  for (size_t i = 0; i < form_.places.size(); ++i) {
    if (form_.places[i].isTab) continue;  // a tab has its sheet's rectangle
    const int field = static_cast<int>(i) + 1;
    UnitRect r;
    w.getPosition(field, r.x, r.y, r.w, r.h);
    rects[w.label(field)] = r;
  }
  if (other) {
    w.set(0, PROP::FontName, Value(face));
    w.set(0, PROP::FontSize, Value(size));
    w.set(0, PROP::FontStyle, Value(style));
  }
  return rects;
}

void ModelWindow::finish() {
  if (!tied_) return;
  // Everything the library changed reaches the widgets before the binding
  // lets go: a closing window's waiting changes are dropped.
  invalidate(handle_, false);
  const int64_t handle = handle_;
  qtview::WindowBinder& binder = view_.binder();
  view_.onQtThread([&binder, handle] { binder.unbind(handle); });
  tied_ = false;
  window_->close();
}

}  // namespace wevo::qthost
