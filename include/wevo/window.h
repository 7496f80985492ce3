// An open window of the toolkit and its controls.
//
// A Window is made from a WindowDecl and opened on a host thread, which then
// owns it: its events go to that thread's queue and only that thread runs its
// event loop and changes it. post() and handle() may be called from any thread.
//
// Field 0 is the window itself; controls are 1 ... lastField() in declaration
// order (plus run-time controls and controls declared with their own number).
//
// Windows of one thread stack: the newest open window of a thread takes that
// thread's input; an older one takes none until the newer ones close (it is
// "blocked", though events posted to it wait in the queue for its loop).
// Model changes reach the screen when the owning thread waits for input,
// shows a dialog, or releases frozen drawing (lockWindowUpdate).
#ifndef WEVO_WINDOW_H_
#define WEVO_WINDOW_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "wevo/export.h"
#include "wevo/value.h"
#include "wevo/window_decl.h"

namespace wevo {

class WEVO_API Window {
 public:
  explicit Window(WindowDecl decl);
  ~Window();  // closes the window if it is still open
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The window that has this handle (PROP::Handle), or nullptr when none is open.
  static Window* fromHandle(int64_t handle);

  // Opens the window on the calling host thread, hidden or shown as declared,
  // and queues EVENT::OpenWindow. Controls get their numbers and labels here,
  // bound variables are displayed, the first control in tab order has the
  // focus, and a shown window takes the keyboard focus. A window declared
  // without a position is placed by the toolkit. Opening a window that is
  // open does nothing. Throws std::logic_error off a host thread.
  void open();
  // Closes the window at once: its loop ends, its handle becomes invalid, its
  // queued events are dropped. It may be opened again.
  void close();
  bool isOpen() const;

  // The event loop. Finishes the previous event (an EVENT::CloseWindow that was
  // not cycled closes the window), then waits for the next event of this
  // window and makes it current (wevo::event(), wevo::field(), ...). Returns
  // false once the window is closed. While it waits it runs the input that
  // arrives for this window through its procedures (which queue events) and
  // the events posted to the thread when this is the thread's newest window.
  // When the program ends (halt, a failed script) it does not return: the
  // thread unwinds. Only the owning thread may call it.
  //   while (w.accept()) { switch (wevo::event()) { ... } }
  bool accept();
  // Cancels the default action of the current event (a close is refused).
  void cycle();
  // Queues an event for this window (and field); safe from any thread, and
  // wakes the owning thread's loop. Ignored while the window is closed.
  void post(int event, int field = 0);

  // Properties of the window (field 0) or a control. Reading an unknown field
  // gives an empty value; writing one is ignored.
  Value get(int field, int32_t prop) const;
  Value get(int field, int32_t prop, int index) const;
  void set(int field, int32_t prop, const Value& value);
  void set(int field, int32_t prop, int index, const Value& value);

  int firstField() const;  // lowest control number, 0 when the window has no controls
  int lastField() const;   // highest control number, 0 when the window has no controls
  bool exists(int field) const;
  std::string label(int field) const;          // "?OkButton"; "" for the window or an unknown field
  int fieldOf(std::string_view label) const;   // 0 when no control has this label (case ignored)

  // Run-time controls: created with the given number (or the next free one when
  // 0; returns the number; a control with that number is replaced), at 0,0
  // with its natural size, shown, without a label, last in tab order. Returns
  // 0 while the window is closed.
  int create(int field, int type, int parent = 0);
  // Destroys a control and every control inside it.
  void destroy(int field);

  void hide(int field);
  void unhide(int field);
  void enable(int field);
  void disable(int field);
  // Gives the window the keyboard focus and the control the focus within it
  // (field 0: the first control in tab order), bringing its tab forward, and
  // queues EVENT::Selected for it. Stops an accept-all pass. When the focus
  // moves from a window of another thread, that window gets EVENT::LoseFocus
  // and this one EVENT::GainFocus (focus moving between windows of one thread
  // raises neither).
  void select(int field);
  // The control that has the focus (0: none).
  int focused() const;
  // Copies bound variables to the screen (field 0: every control).
  void display(int field = 0);
  // Copies screen values to bound variables (field 0: every control). Text
  // that its picture refuses leaves the variable as it is.
  void update(int field = 0);
  // The accept-all pass, run by the following accept() calls: every bound
  // input control that shows and is enabled is updated and returned as
  // EVENT::Accepted, in tab order, with PROP::AcceptAll reading 1; then
  // EVENT::Completed (AcceptAll 0 again). A control whose text its picture
  // refuses, or a required one left blank (or 0), ends the pass early with
  // EVENT::Rejected and the focus; so does select().
  void acceptAll();

  void bind(int field, Binding binding);
  // The rows of a list control; the source must outlive the window or be reset.
  void setList(int field, const ListSource* source);
  // The selected row of a list (1-based, 0: none), the selected tab of a sheet
  // (its tab's field number), the chosen item of a drop list (1-based), or the
  // chosen radio of an option (its position among the option's radios).
  // Setting it raises no event and leaves a list's variable alone.
  int selection(int field) const;
  void setSelection(int field, int row);

  // Position and size in the window's coordinate mode. A width of
  // kKeepDefaultWidth leaves a default-width control at its natural width.
  static constexpr int32_t kKeepDefaultWidth = INT32_MIN;
  void getPosition(int field, int& x, int& y, int& w, int& h) const;
  void setPosition(int field, int x, int y, int w, int h);

  // Handlers called for an event of this window before the loop sees it, in
  // the order registered, on the owning thread; a handler returning false
  // consumes the event (a consumed close does not close). Opening the window
  // again drops them.
  using Handler = std::function<bool(Window&, int event)>;
  int registerHandler(int event, Handler handler);
  void unregisterHandler(int id);

  int64_t handle() const;

  struct Impl;  // the library's own

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace wevo

#endif  // WEVO_WINDOW_H_
