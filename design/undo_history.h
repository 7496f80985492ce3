// Undo and redo within one run of design mode. A step is one user command
// (a drag, a run of arrow keys, a property-form save, a reset to original, an
// align command, a tab-order apply); it keeps, for each control it changed,
// how the control and its stored row were before and after, and undoing it
// puts both back, so that the store keeps showing what the screen shows.
//
//   history.begin(StepKind::kPlacement, fields);  // before the command
//   ... the command changes controls and rows ...
//   history.end();                                // recorded if anything changed
//
// The history lives as long as the run; a new step after an undo drops what
// could have been redone. The store must be open on the thread for the whole
// run (design mode holds it); every read and write uses WIN().
#ifndef WEVO_DESIGN_UNDO_HISTORY_H_
#define WEVO_DESIGN_UNDO_HISTORY_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "controllist/control_queue.h"
#include "design/pixel_rect.h"
#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::design {

enum class StepKind {
  kPlacement,   // positions and sizes: undo puts rows back and places the controls
  kProperties,  // whole rows applied to the controls (form save, reset): undo applies the old rows
  kRowsOnly,    // rows whose controls the command left alone (the control list's edit, tab order)
};

// One control (or the window, field 0) at one moment.
struct ControlMoment {
  int32_t field = 0;
  PixelRect place;   // pixels
  std::string text;  // PROP::Text
  bool hasRow = false;
  store::WindowControls row{};  // its override row, when it has one
};

struct UndoStep {
  StepKind kind = StepKind::kPlacement;
  std::vector<ControlMoment> before, after;  // the same fields, in the same order
};

class UndoHistory {
 public:
  // `controls` names each control's row (WNCTL:UID) and gets each row's tab
  // order and description back when a step puts rows back.
  UndoHistory(Window& host, controllist::ControlQueue& controls) : host_(host), controls_(controls) {}

  // Notes how `fields` are now (live places in pixels, texts, stored rows).
  // A step still open is ended first.
  void begin(StepKind kind, const std::vector<int32_t>& fields);
  bool open() const { return open_; }
  // Notes how the fields are now and keeps the step when any of them
  // changed (place, text or row); otherwise forgets it.
  void end();

  // Puts the controls and rows of the last step back as they were before it
  // (redo: after it). The host window is in pixels before and after. False
  // when there is nothing to undo (redo). An open step is ended first.
  bool undo();
  bool redo();

  size_t undoable() const { return done_; }
  size_t redoable() const { return steps_.size() - done_; }
  // Forgets every step (the rows they name are gone).
  void clear();

  // Steps kept at most; the oldest go first. A step of many controls costs
  // more: the whole history keeps at most kMaxBytes of rows.
  static constexpr size_t kMaxSteps = 200;
  static constexpr size_t kMaxBytes = 32u << 20;

 private:
  ControlMoment capture(int32_t field) const;
  void putBack(StepKind kind, const std::vector<ControlMoment>& to, const std::vector<ControlMoment>& from);
  void trim();

  Window& host_;
  controllist::ControlQueue& controls_;
  std::deque<UndoStep> steps_;
  size_t done_ = 0;  // steps_[0 .. done_) are done; the rest can be redone
  bool open_ = false;
  UndoStep pending_;
};

}  // namespace wevo::design

#endif  // WEVO_DESIGN_UNDO_HISTORY_H_
