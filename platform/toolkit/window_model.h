// The model behind a Window, made of its parts: its controls (ControlSet),
// where everything is (WindowGeometry), the tab order and focus
// (FocusOrder), the bound values (ValueBindings) and the changes not yet
// sent to the view (ChangeLog). The model itself keeps the window's own
// properties, reads and writes every property by id, builds the window from
// its declaration, and holds what the program and the event loop keep for
// an open window.
//
// A model is used only on the host thread that owns its window (its handles
// and owner are atomics because other threads read them to post).
#ifndef WEVO_PLATFORM_TOOLKIT_WINDOW_MODEL_H_
#define WEVO_PLATFORM_TOOLKIT_WINDOW_MODEL_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/toolkit/change_log.h"
#include "platform/toolkit/control.h"
#include "platform/toolkit/control_set.h"
#include "platform/toolkit/focus_order.h"
#include "platform/toolkit/value_bindings.h"
#include "platform/toolkit/window_geometry.h"
#include "platform/view/view.h"
#include "wevo/window.h"
#include "wevo/window_decl.h"

namespace wevo::toolkit {

struct LoopState;

class WindowModel {
 public:
  WindowModel(Window* window, WindowDecl decl);
  ~WindowModel();
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  Window* window() const { return window_; }
  const WindowDecl& decl() const { return decl_; }

  // ---- The parts ----
  ControlSet& controls() { return controls_; }
  const ControlSet& controls() const { return controls_; }
  WindowGeometry& geometry() { return geometry_; }
  const WindowGeometry& geometry() const { return geometry_; }
  FocusOrder& focusOrder() { return focusOrder_; }
  const FocusOrder& focusOrder() const { return focusOrder_; }
  ValueBindings& values() { return values_; }
  const ValueBindings& values() const { return values_; }
  ChangeLog& changes() { return changes_; }

  // ---- Life (the event side is in event_loop.cpp) ----
  // Builds the controls from the declaration with `view` measuring fonts.
  // Positions come from the declaration (dialog units); a window without a
  // declared position goes to (screenX, screenY).
  void build(View* view, double screenX, double screenY);
  // Drops the controls and every pending change.
  void teardown();

  // ---- Kept for an open window by the program and its loop ----
  int64_t handle() const { return handle_.load(); }
  int64_t clientHandle() const { return clientHandle_.load(); }
  int ownerThread() const { return ownerThread_.load(); }
  // Handles given when the window opens (0, 0 when it closes).
  void setHandles(int64_t handle, int64_t clientHandle);
  void setOwnerThread(int thread) { ownerThread_.store(thread); }
  int64_t openOrder() const { return openOrder_; }
  void setOpenOrder(int64_t order) { openOrder_ = order; }
  bool isOpen() const { return open_; }
  void setOpen(bool open) { open_ = open; }
  LoopState& loop() { return *loop_; }
  // The accept-all pass runs (PROP::AcceptAll).
  bool acceptingAll() const { return acceptAll_; }
  void setAcceptingAll(bool on) { acceptAll_ = on; }
  // The window procedures (PROP::WndProc, PROP::ClientWndProc).
  int64_t frameProc() const { return frameProc_; }
  int64_t clientProc() const { return clientProc_; }
  void setProcs(int64_t frame, int64_t client);
  // A later window of the owning thread is open (mirrored into snapshots).
  void setBlocked(bool blocked);
  bool blocked() const { return blocked_; }

  // ---- Controls made and destroyed at run time ----
  int create(int field, int type, int parent);
  // Destroys a control and every control inside it.
  void destroy(int field);

  // ---- Properties by id (index -1: none) ----
  Value get(int field, int32_t prop, int index = -1) const;
  void set(int field, int32_t prop, int index, const Value& value);
  void getPosition(int field, int& x, int& y, int& w, int& h) const;
  void setPosition(int field, int x, int y, int w, int h);

  // ---- The window's own ----
  bool hidden() const { return hidden_; }
  const std::string& caption() const { return caption_; }
  const std::vector<int>& alerts() const { return alerts_; }

  // ---- Changes for the view (window_snapshot.cpp) ----
  // Builds the update for the view and clears the pending changes. Returns
  // false when nothing changed.
  bool takeUpdate(ViewUpdate& out);
  WindowSnapshot snapshot() const;
  ControlSnapshot snapshot(const Control& c, int tabPos) const;

 private:
  void applyDecl(Control& c, const ControlDecl& d);
  void setWindowProp(int32_t prop, int index, const Value& v);
  Value getWindowProp(int32_t prop, int index) const;
  void setControlProp(Control& c, int32_t prop, int index, const Value& v);
  Value getControlProp(const Control& c, int32_t prop, int index) const;
  void setHidden(Control& c, bool on);

  Window* window_;
  WindowDecl decl_;
  ControlSet controls_;
  ChangeLog changes_;
  WindowGeometry geometry_{controls_, changes_};
  FocusOrder focusOrder_{controls_, changes_};
  ValueBindings values_{controls_, changes_};

  std::string caption_;
  bool maximized_ = false, iconized_ = false, hidden_ = false, rightToLeft_ = false;
  bool tiled_ = false, centered_ = false;
  std::string icon_, wallpaper_;
  int32_t background_ = COLOR::None;
  std::vector<int> alerts_;
  KeptProps kept_;

  std::atomic<int64_t> handle_{0};
  std::atomic<int64_t> clientHandle_{0};
  std::atomic<int> ownerThread_{0};
  int64_t openOrder_ = 0;
  bool open_ = false;
  std::unique_ptr<LoopState> loop_;  // event_loop.h
  bool acceptAll_ = false;
  int64_t frameProc_ = 0;
  int64_t clientProc_ = 0;
  bool blocked_ = false;
};

// The model of a window, for the library's own code.
WindowModel& modelOf(const Window& window);

}  // namespace wevo::toolkit

namespace wevo {
struct Window::Impl {
  Impl(Window* window, WindowDecl decl) : model(window, std::move(decl)) {}
  static toolkit::WindowModel& of(const Window& window) { return window.impl_->model; }
  toolkit::WindowModel model;
};
}  // namespace wevo

namespace wevo::toolkit {
inline WindowModel& modelOf(const Window& window) { return Window::Impl::of(window); }
}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_WINDOW_MODEL_H_
