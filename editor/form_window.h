// How the library's own windows run (the property form, the control list,
// the browse), and how each of its runs that a right press may have started
// begins (those and design mode).
#ifndef WEVO_EDITOR_FORM_WINDOW_H_
#define WEVO_EDITOR_FORM_WINDOW_H_

#include <cstdint>
#include <functional>
#include <memory>

#include "resizer/window_resizer.h"
#include "wevo/window.h"
#include "wevo/window_decl.h"

namespace wevo::editor {

// Returns the caller's request (store::GlobalRequest) and clears it and the
// response, and forgets the right press that may have started the run, so
// that it is no press of the run's own.
int32_t takeCallersRequest();

// One library window on the calling thread: opened from its declaration,
// its controls laid out again as the user sizes it once the resizer is
// started, its loop handing every event on. Destroying it stops the resizer,
// then closes the window.
class FormWindow {
 public:
  FormWindow() = default;
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  Window& open(WindowDecl decl);
  explicit operator bool() const { return window_ != nullptr; }
  Window& operator*() const { return *window_; }
  Window* operator->() const { return window_.get(); }

  // Keeps the controls laid out as the user sizes, maximizes or restores
  // the window.
  resizer::WindowResizer& startResizer();
  // On the window's close events; again does nothing.
  void stopResizer();

  // Hands each event to `onEvent` until the window closes, then stops the
  // resizer.
  void run(const std::function<void(int event, int field)>& onEvent);

 private:
  std::unique_ptr<Window> window_;
  std::unique_ptr<resizer::WindowResizer> resizer_;
};

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_FORM_WINDOW_H_
