// One run of design mode on one host window, from its start to its end,
// entirely on the thread that owns the window.
//
//   start: the store is prepared, every control listed in WNCTL (each given a
//     stored row), the store opened for the whole run, the host window put in
//     pixels, the handles placed around `field` (0: the window), the hidden
//     overlay opened with the mouse capture and design mode's procedures;
//   loop: a left press selects (and snapshots the row of) the control under
//     the mouse, moves drag it, the release stores its placement; the right
//     button selects and stores, then runs the popup menu; the arrows nudge
//     the selection by a pixel; Esc, F8, F9, F10, a double click, losing the
//     focus or the popup's quit end the run;
//   end: with PROMPTONEXIT set the user is asked "Do you want to save your
//     changes?" and No puts every snapshotted row back (store and live
//     control); the handles go, the overlay closes, the host window returns
//     to dialog units with the focus and gets EVENT::Resumed, and the thread's
//     GlobalResponse is 2.
//
// Beyond those gestures, which behave exactly so, a run keeps an undo
// history of its commands (Ctrl+Z, Ctrl+Y), lets several controls be
// selected (Ctrl+click, Shift+drag on the background) and moved, nudged,
// reset and aligned together, snaps drags to other controls when the design
// options say so (Alt held: not), is driven by the keyboard alone
// (design_keys.h), and tells assistive tools what is selected.
#ifndef WEVO_DESIGN_DESIGN_SESSION_H_
#define WEVO_DESIGN_DESIGN_SESSION_H_

#include <cstdint>
#include <string>

#include <vector>

#include "controllist/control_queue.h"
#include "design/design_keys.h"
#include "design/design_windows.h"
#include "design/drag_tracker.h"
#include "design/mark_fields.h"
#include "design/morph_state.h"
#include "design/multi_selection.h"
#include "design/overlay.h"
#include "design/selection_report.h"
#include "design/snapshots.h"
#include "design/undo_history.h"
#include "wevo/design_options.h"
#include "wevo/wevo.h"
#include "wevo/window.h"

namespace wevo::design {

class DesignSession {
 public:
  // `host` must be open and owned by the calling thread.
  DesignSession(Window& host, int32_t field, std::string procedureName, std::string uniqueMarker,
                WEVOSETTINGS& settings);
  ~DesignSession();
  DesignSession(const DesignSession&) = delete;
  DesignSession& operator=(const DesignSession&) = delete;

  // Runs design mode to its end. Does nothing when another window of the
  // process is in design mode.
  void run();

  // What the popup menu works with while the run lasts.
  Window& host() { return host_; }
  Window& overlay() { return overlay_; }
  MorphState& state() { return state_; }
  controllist::ControlQueue& controls() { return controls_; }
  const std::string& procedureName() const { return procedureName_; }
  const std::string& uniqueMarker() const { return uniqueMarker_; }
  MultiSelection& selection() { return selection_; }
  UndoHistory& history() { return history_; }
  const MarkFields& marks() const { return marks_; }
  const DesignOptions& options() const { return options_; }
  DesignWindows& windows() { return windows_; }

  // Stores control `field`'s placement in its row, as a release does; a
  // control not listed, or without a label, has no row and is left alone.
  void storePlacement(int32_t field);
  // Makes the handles of every selected control again.
  void remark();

 private:
  void start();
  void loop();
  void finish();

  // Where the mouse was for the current event, in overlay pixels (an event
  // raised by input carries that input's mouse position).
  void mousePoint(int& x, int& y);
  void selectAtPress(int mouseX, int mouseY);
  // The rest of a press, once CONTROLNO is what it selects: the drag's
  // origin, handle and kind, the cursor, the handles made again.
  void pressOn(int mouseX, int mouseY);
  void release();
  // Mouse commands beyond the plain press: what a press with keys held or
  // with several controls selected does, and the matching release.
  void press(int mouseX, int mouseY);
  void controlClick(int mouseX, int mouseY);
  void startDrag();
  void mouseMove(int mouseX, int mouseY);
  void mouseUp();
  // The control under the mouse, as a press would choose it.
  int32_t candidateAt(int mouseX, int mouseY);
  // The keys of design_keys.h; true when the run is to end at once.
  bool key(int code);
  void nudge(const KeyAction& a);
  void walk(bool backwards);
  void selectOne(int32_t field);
  void closeRun();
  void tellSelection();
  // Selects and stores the control under the mouse, then runs the popup
  // menu; true when it asked to quit.
  bool rightButton();
  // The release that stores the selection (one undo step), then the popup
  // menu; true when it asked to quit (design mode is then ending).
  bool releaseIntoMenu();
  void endRun();
  void redisplayOverlay();

  Window& host_;
  Window overlay_;
  DesignWindows windows_;
  std::string procedureName_;
  std::string uniqueMarker_;
  WEVOSETTINGS& settings_;
  int32_t firstSelection_;
  DesignClaim claim_;
  MorphState state_;
  controllist::ControlQueue controls_;
  SnapshotQueue snapshots_;
  bool storeOpened_ = false;
  DesignOptions options_;
  MarkFields marks_;
  MultiSelection selection_;
  RubberBand band_;
  DragTracker drag_;
  UndoHistory history_;
  SelectionAnnouncer announcer_;
  bool runOpen_ = false;       // an undo step of arrow keys is open
  bool collapseOnUp_ = false;  // a press on one of several selected: a release without a move selects it alone
  bool groupDrag_ = false;     // the drag moves every selected control
  bool chosen_ = false;       // the user chose the selection in this run (the keyboard's Enter acts on it)
};

// The run of design mode in progress on the calling thread, or nullptr.
DesignSession* RunningSession();

}  // namespace wevo::design

#endif  // WEVO_DESIGN_DESIGN_SESSION_H_
