// WindowResizer keeps the controls of one resizable window laid out while the
// user sizes, maximizes or restores it.
//
// It captures every managed control's rectangle when started and, whenever
// the window's inner size changes, places each control from that captured
// layout by the control's placement codes and size rule (resizer_tables.h,
// place_control.h), the defaults coming from the application strategy and
// the control's type (default_strategy.h). Reaching the starting size again
// puts every control back exactly where it was captured.
//
// Usage, on the thread that owns the window, right after opening it:
//   wevo::resizer::WindowResizer resizer(window);
//   resizer.StartResizer(1, true, false);
//   while (window.accept()) {
//     if (wevo::event() == wevo::EVENT::Sized) wevo::postToThread(wevo::EVENT::User);
//     ...
//   }
//   resizer.StopResizer();  // on the close events
// The reflow runs from event handlers on EVENT::User (1023), Restored,
// GainFocus and Maximized, before the loop sees those events (which it
// still does). Controls with PROP::NoResizeCapture set, menus, menu items
// and tabs are never managed.
//
// One instance belongs to one window and is used only on that window's
// thread. It must not outlive the running program while started, and must
// not be moved (its handlers refer to it). Destroying it stops it.
#ifndef WEVO_RESIZER_WINDOW_RESIZER_H_
#define WEVO_RESIZER_WINDOW_RESIZER_H_

#include <cstdint>
#include <vector>

#include "resizer/resizer_tables.h"
#include "wevo/window.h"

namespace wevo::resizer {

class WindowResizer {
 public:
  explicit WindowResizer(Window& window);
  virtual ~WindowResizer();
  WindowResizer(const WindowResizer&) = delete;
  WindowResizer& operator=(const WindowResizer&) = delete;

  // The operations a derived resizer may replace, in this order.

  // The PARENTID of the control's row; 0 when it has none.
  virtual int32_t ParentOfControl(int32_t control);
  // Takes the window's position, inner size and state as ORIGWIN (and
  // PREVIOUSWIN), refreshes the POS of controls already in the table and adds
  // every other managed control with its default strategy and the window as
  // parent. RESIZECALLED becomes 0.
  virtual void CaptureLayout();
  // What the sizing events run: ReflowControls(0).
  virtual void OnWindowSized();
  // Places the children of `control` (0: the window) for its current size.
  // For the window: nothing when its inner size equals PREVIOUSWIN's; the
  // captured layout put back when it equals ORIGWIN's; else each control
  // placed from its captured rectangle (PlaceControl), recursing into a
  // control's children when it moved or is full-size. The moves are recorded
  // in RESIZELIST and only changed rectangles are written (a default-width
  // control keeps its natural width). With DEFERMOVES the runtime's deferred
  // move count (PROP::DeferMove) is the number of rows during the reflow, then
  // 0 (or its earlier value when that was negative). The window's reflow sets
  // PREVIOUSWIN; every reflow that got past the checks sets RESIZECALLED.
  virtual void ReflowControls(int32_t control);
  // Puts the window back to its captured state: maximized and iconized as
  // captured, inner size ORIGWIN's (position unchanged), every control at its
  // captured rectangle.
  virtual void RestoreStartLayout();
  // Makes the smallest container control (group, option, region, box, sheet,
  // panel) in the table whose captured rectangle encloses the control's the
  // control's parent (0 when none does), and marks that container as having
  // children. Of two containers of equal area the earlier row encloses the
  // later, so parents never form a cycle.
  virtual void AssignParent(int32_t control);
  // AssignParent for every row, after clearing every HASCHILDREN.
  virtual void AssignAllParents();
  // The control's new rectangle for its parent's old and new rectangles
  // (PlaceRect with the row's POS and strategies).
  virtual Rect PlaceControl(const Rect& oldParent, const Rect& newParent, const ControlRow& control);

  // Starts managing the window: clears both tables, records the strategy
  // (1 to 5, others read as 1), hooks the four sizing events, sets the
  // window's PROP::ResizerMark, captures the layout (and, for strategies 2
  // and 4, assigns parents by containment). With keepMinimum the window's
  // minimum size becomes its captured inner size, with keepMaximum its
  // maximum size too. DEFERMOVES becomes 1. Starting a started resizer
  // restarts it; on a window that is not open it only records the strategy.
  void StartResizer(int appStrategy, bool keepMinimum, bool keepMaximum);
  // Unhooks the sizing events and empties both tables. Harmless when not
  // started, and after the window closed or was destroyed.
  void StopResizer();
  // Puts every control of the table whose rectangle differs from its POS
  // back to POS (a default-width control keeps its natural width).
  void RestoreControls();
  bool started() const { return !handlers_.empty(); }

  // The row of a control, or nullptr.
  ControlRow* row(int32_t control);

  uint8_t APPSTRATEGY = 0;
  uint8_t AUTOTRANSPARENT = 0;  // kept; nothing here reads it
  OrigWin ORIGWIN;
  ControlQueue CONTROLQUEUE;
  uint8_t DEFERMOVES = 0;
  Rect PREVIOUSWIN;
  uint8_t RESIZECALLED = 0;
  ResizeList RESIZELIST;
  uint8_t MAXIONE = 0;  // kept; nothing here reads it

 private:
  Rect windowRect() const;
  Rect controlRect(int32_t control) const;
  // Adds moves for the children of `parent` and, where they moved, theirs,
  // at most `depth` levels down.
  void planChildren(int32_t parent, const Rect& oldParent, const Rect& newParent, size_t depth);
  void moveTo(int32_t control, const Rect& r);
  void applyMoves();

  Window& window_;
  int64_t windowHandle_ = 0;  // the handle the hooks were made under
  std::vector<int> handlers_;
};

}  // namespace wevo::resizer

#endif  // WEVO_RESIZER_WINDOW_RESIZER_H_
