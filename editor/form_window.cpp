#include "editor/form_window.h"

#include <utility>

#include "store/store_thread.h"
#include "wevo/codes.h"
#include "wevo/runtime.h"

namespace wevo::editor {

int32_t takeCallersRequest() {
  const int32_t request = store::GlobalRequest();
  store::GlobalRequest() = 0;
  store::GlobalResponse() = 0;
  if (keyCode() == KEY::MouseRight) setKeyCode(0);
  return request;
}

FormWindow::~FormWindow() {
  resizer_.reset();
  window_.reset();
}

Window& FormWindow::open(WindowDecl decl) {
  resizer_.reset();
  window_ = std::make_unique<Window>(std::move(decl));
  window_->open();
  return *window_;
}

resizer::WindowResizer& FormWindow::startResizer() {
  resizer_ = std::make_unique<resizer::WindowResizer>(*window_);
  resizer_->StartResizer(1, true, false);
  return *resizer_;
}

void FormWindow::stopResizer() {
  if (resizer_) resizer_->StopResizer();
}

void FormWindow::run(const std::function<void(int event, int field)>& onEvent) {
  while (window_->accept()) onEvent(event(), field());
  stopResizer();
}

}  // namespace wevo::editor
