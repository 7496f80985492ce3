// The Qt 6 view (see include/wevo/qt_view.h): the driver that keeps Qt
// widgets in step with the toolkit's snapshots and turns the user's input
// on them into the toolkit's input messages.
//
// Threads. The view is made on the thread that calls wevo::run (which makes
// the QApplication there the first time) and runs Qt's event loop in run().
// Host threads never touch a widget: update() queues the snapshots
// (coalesced per window, see update_queue.h) and asks the Qt thread to take
// them; dialog() and deliver() run their Qt part on the Qt thread and wait
// for it; metrics() and textWidth() measure on the calling thread. Once
// run() has returned nothing more reaches Qt and waiting host threads are
// let go.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_VIEW_H_
#define WEVO_PLATFORM_VIEW_QT_QT_VIEW_H_

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/view/qt/font_measure.h"
#include "platform/view/qt/qt_caller.h"
#include "platform/view/qt/update_queue.h"
#include "platform/view/view.h"
#include "wevo/qt_view.h"

class QEventLoop;
class QWidget;

namespace wevo::qtview {

class ImageCache;
class InputRouter;
class QtDesktop;
class QtDialogs;
class StepPlayer;
class TopWindow;
class WindowBinder;
struct QtContext;

class QtView final : public toolkit::View {
 public:
  QtView(toolkit::ViewHost& host, QtViewOptions options);
  ~QtView() override;

  // The Qt view of the running program, or nullptr.
  static QtView* running();

  void run() override;
  void quit() override;
  bool hasPerson() const override { return true; }
  void update(const std::vector<toolkit::ViewUpdate>& batch) override;
  toolkit::FontMetrics metrics(const toolkit::FontDesc& font) override;
  int textWidth(const toolkit::FontDesc& font, std::string_view text) override;
  std::vector<FontFace> fonts() override;
  toolkit::DialogResult dialog(const toolkit::DialogRequest& request, const ScriptStep* step) override;
  void setCursor(std::string_view cursor) override;
  void setCapture(int64_t window) override;
  void setFocus(int64_t window, int field) override;
  void invalidate(int64_t window, bool erase) override;
  void announce(int64_t window, int field, std::string_view description) override;
  void beep() override;
  bool deliver(const toolkit::ResolvedStep& step, std::string& why) override;
  bool editFocused(int64_t window, EditCommand command) override;
  bool hasPageSetup() const override;

  // Runs `fn` on the Qt thread once every update queued so far is on the
  // widgets; false when the view has stopped. For tests, the benchmark and
  // saveWindowPng.
  bool onQtThread(std::function<void()> fn);
  // The same once the calling host thread's changes are on the widgets too.
  bool whenShown(std::function<void()> fn);
  // The window's widget, on the Qt thread (nullptr when not shown).
  TopWindow* window(int64_t handle) const;
  FontMeasure& measure() { return measure_; }
  // The windows shown through a host's own widgets (window_binder.h).
  WindowBinder& binder() { return *binder_; }

 private:
  void applyPending();
  // The window a dialog shows over: the asking thread's top window, or its
  // newest shown one when that is hidden (a design overlay).
  QWidget* dialogOwner(int64_t owner) const;
  void startQt();
  void stopQt();
  void applicationStateChanged(int state);

  toolkit::ViewHost& host_;
  QtViewOptions options_;
  FontMeasure measure_;
  UpdateQueue queue_;
  std::unique_ptr<QtCaller> caller_;
  // Qt thread side; made in the constructor, gone when run() returns.
  std::unique_ptr<ImageCache> images_;
  std::unique_ptr<QtContext> context_;
  std::unique_ptr<InputRouter> router_;
  std::unique_ptr<QtDesktop> desktop_;
  std::unique_ptr<QtDialogs> dialogs_;
  std::unique_ptr<StepPlayer> player_;
  std::unique_ptr<WindowBinder> binder_;
  QEventLoop* loop_ = nullptr;
  std::atomic<bool> quitting_{false};
  bool away_ = false;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_QT_VIEW_H_
