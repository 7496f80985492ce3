#include "design/design_session.h"

#include <utility>

#include "apply/capture.h"
#include "apply/host_window.h"
#include "apply/row_identity.h"
#include "design/design_popup.h"
#include "design/grab_handles.h"
#include "design/move_resize.h"
#include "design/selection.h"
#include "design/snapping.h"
#include "editor/form_window.h"
#include "store/prepare_store.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::design {
namespace {

thread_local DesignSession* tlsRunning = nullptr;

// Marks the run in progress on this thread for as long as it lasts.
class Running {
 public:
  explicit Running(DesignSession* s) : outer_(tlsRunning) { tlsRunning = s; }
  ~Running() { tlsRunning = outer_; }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;

 private:
  DesignSession* outer_;
};

constexpr const char* kSaveQuestion = "Do you want to save your changes?";
constexpr const char* kCaption = "Wevo";

}  // namespace

DesignSession::DesignSession(Window& host, int32_t field, std::string procedureName, std::string uniqueMarker,
                             WEVOSETTINGS& settings)
    : host_(host),
      overlay_(MorphWindowDecl()),
      windows_{host_, overlay_},
      procedureName_(std::move(procedureName)),
      uniqueMarker_(std::move(uniqueMarker)),
      settings_(settings),
      // A number naming no control selects the window, as a press on no control does.
      firstSelection_(field != 0 && host.exists(field) ? field : 0),
      options_(designOptions(host)),
      marks_(host.lastField()),
      selection_(marks_),
      band_(marks_),
      drag_(marks_),
      history_(host, controls_) {}

DesignSession::~DesignSession() {
  // Normally finish() has done all this; here the thread is unwinding.
  if (overlay_.isOpen() && capture() == overlay_.handle()) releaseCapture();
  overlay_.close();
  if (target() == &overlay_) setTarget(nullptr);
  if (storeOpened_) store::closeCounted(store::winFile());
}

DesignSession* RunningSession() { return tlsRunning; }

void DesignSession::run() {
  if (!claim_.held()) return;
  Running running(this);
  // The store and its password as the caller gave them, for the whole run.
  const store::StoreContext context = store::PrepareStore(settings_);
  const store::StoreBinding bound(context);
  // The store stays open for the whole run. One that cannot be opened and
  // did not end the program (a server out of reach) was reported by its
  // open: there is nothing to design with.
  store::openCounted(store::winFile());
  storeOpened_ = true;
  if (!store::winFile().isOpen()) return;
  start();
  loop();
  finish();
}

void DesignSession::start() {
  controllist::FillControlQueue(controls_, host_, procedureName_, uniqueMarker_);
  // The right button that may have raised the hot key is not a press in design mode.
  editor::takeCallersRequest();
  host_.set(0, PROP::Pixels, 1);
  state_ = StartingState(firstSelection_, host_.firstField(), host_.lastField());
  systemSet(PROP::DeferMove, 1);
  host_.set(0, PROP::Pixels, 1);
  if (Window* current = target(); current != nullptr && apply::OwnedByThisThread(*current))
    current->set(0, PROP::Pixels, 1);
  PlaceHandles(state_, windows_);
  overlay_.open();
  overlay_.set(0, PROP::Hide, 1);
  overlay_.set(0, PROP::Pixels, 1);
  setCapture(overlay_.handle());
  claim_.install(overlay_);
  tellSelection();
}

void DesignSession::loop() {
  while (overlay_.accept()) {
    const int ev = event();
    bool quit = false;
    switch (ev) {
      case EVENT::AlertKey:
        quit = key(keyCode());
        break;
      case EVENT::User: case EVENT::GainFocus:
        redisplayOverlay();
        break;
      case EVENT::LoseFocus:
        endRun();
        break;
      case EVENT::OpenWindow:
        redisplayOverlay();
        overlay_.select(kDownField);
        break;
      case EVENT::Sized:
        postToThread(EVENT::User);
        break;
      default:
        break;
    }
    if (quit) break;
    if (ev == EVENT::AlertKey) tellSelection();
    if (ev != EVENT::Accepted) continue;
    int x, y;
    switch (field()) {
      case kDownField:
        mousePoint(x, y);
        press(x, y);
        tellSelection();
        break;
      case kUpField:
        mousePoint(x, y);
        mouseUp();
        tellSelection();
        break;
      case kMouseMoveField:
        mousePoint(x, y);
        mouseMove(x, y);
        break;
      default:
        break;
    }
  }
}

void DesignSession::finish() {
  closeRun();
  history_.clear();
  announcer_.withdraw(host_);
  if (storeOpened_) {
    if (settings_.PROMPTONEXIT != 0) {
      const int answer = message(kSaveQuestion, kCaption, ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::Yes);
      if (answer == BUTTON::No) RestoreSnapshots(snapshots_, host_);
    }
    storeOpened_ = false;
    store::closeCounted(store::winFile());
  }
  RemoveHandles(state_, windows_);
  selection_.clear();
  selection_.showMarks(state_, windows_);
  if (band_.active()) band_.finish(windows_);
  drag_.stop(windows_);
  RepaintHost(host_);
  setCursor(CURSOR::Default);
  overlay_.close();
  host_.set(0, PROP::Pixels, 0);
  setFocus(host_.get(0, PROP::ClientHandle).num());
  host_.post(EVENT::Resumed);
  store::GlobalResponse() = store::kResponseCancelled;
  setTarget(nullptr);
}

void DesignSession::mousePoint(int& x, int& y) {
  setTarget(&overlay_);
  x = mouseX();
  y = mouseY();
}

int32_t DesignSession::candidateAt(int mouseX, int mouseY) {
  const int yOffset = host_.get(0, PROP::YOffset).i32();
  const int mx = mouseX + overlay_.get(0, PROP::XPos).i32();
  const int my = mouseY + overlay_.get(0, PROP::YPos).i32() + yOffset;
  int lastTop = 0;
  const std::vector<CLCNQ> candidates = CandidatesAt(state_, host_, mx, my, lastTop);
  return ChooseCandidate(candidates, my, lastTop);
}

void DesignSession::selectAtPress(int mouseX, int mouseY) {
  state_.CONTROLNO = candidateAt(mouseX, mouseY);
  if (state_.CONTROLNO != 0) {
    TakeSnapshot(snapshots_, state_.CONTROLNO, host_.label(state_.CONTROLNO), procedureName_, uniqueMarker_);
    host_.set(0, PROP::Pixels, 1);
  }
  pressOn(mouseX, mouseY);
}

void DesignSession::pressOn(int mouseX, int mouseY) {
  const int yOffset = host_.get(0, PROP::YOffset).i32();
  state_.OLDX = mouseX;
  state_.OLDY = mouseY + yOffset;
  state_.MOUSEISDOWN = 1;
  // The handles still mark the previous selection: a press on one of them
  // resizes from it whatever the press selects.
  state_.OVERGRABHANDLE = static_cast<uint8_t>(HandleUnderMouse(state_, windows_, mouseX, mouseY));
  state_.CLICKINGONCONTROL = InsideSelection(state_, windows_, mouseX, mouseY) ? 1 : 0;
  if (state_.OVERGRABHANDLE == 0 && state_.CLICKINGONCONTROL == 1) setCursor(CURSOR::Size);
  remark();
}

void DesignSession::release() {
  if (state_.MOUSEISDOWN == 1) storePlacement(state_.CONTROLNO);
  state_.MOUSEISDOWN = 0;
  state_.CLICKINGONCONTROL = 0;
  setCursor(CURSOR::Arrow);
  RepaintHost(host_);
}

void DesignSession::storePlacement(int32_t field) {
  // Stored under the whole label, as its row was found when the queue was
  // built; a control listed without a label has no row.
  const std::string label = apply::RowLabel(host_, field);
  if (controllist::FindByFeq(controls_, field) != nullptr && !label.empty())
    apply::StoreControlPlacement(field, host_, procedureName_, uniqueMarker_, label);
}

bool DesignSession::rightButton() {
  int x, y;
  mousePoint(x, y);
  closeRun();
  // A right press on one of several selected keeps them for the menu's
  // commands; it becomes the one they align to.
  const int32_t candidate = selection_.several() ? candidateAt(x, y) : 0;
  if (candidate != 0 && selection_.contains(state_, candidate)) {
    selection_.makePrimary(state_, candidate);
    pressOn(x, y);
  } else {
    selection_.clear();
    selectAtPress(x, y);
  }
  chosen_ = true;
  return releaseIntoMenu();
}

bool DesignSession::releaseIntoMenu() {
  history_.begin(StepKind::kPlacement, {state_.CONTROLNO});
  release();
  history_.end();
  if (!runDesignPopup(*this)) {
    selection_.showMarks(state_, windows_);
    return false;
  }
  endRun();
  return true;
}

void DesignSession::endRun() {
  releaseCapture();
  overlay_.post(EVENT::CloseWindow);
}

void DesignSession::redisplayOverlay() {
  if (!overlay_.get(0, PROP::AcceptAll).truthy()) overlay_.display();
}

void DesignSession::press(int mouseX, int mouseY) {
  closeRun();
  const int held = keyState();
  if ((held & KEY::Ctrl) != 0) {
    controlClick(mouseX, mouseY);
    return;
  }
  if ((held & KEY::Shift) != 0 && candidateAt(mouseX, mouseY) == 0) {
    band_.start(windows_, mouseX + OverlayToHostX(windows_), mouseY + OverlayToHostY(windows_));
    return;
  }
  collapseOnUp_ = false;
  if (selection_.several()) {
    // On the primary's handles, or on any selected control, the selection
    // stays for the drag; anywhere else the press selects as ever.
    const int32_t candidate = candidateAt(mouseX, mouseY);
    const bool onHandle = HandleUnderMouse(state_, windows_, mouseX, mouseY) != 0;
    if (onHandle || (candidate != 0 && selection_.contains(state_, candidate))) {
      if (!onHandle) selection_.makePrimary(state_, candidate);
      collapseOnUp_ = !onHandle;
      pressOn(mouseX, mouseY);
    } else {
      selection_.clear();
      selectAtPress(mouseX, mouseY);
    }
  } else {
    selectAtPress(mouseX, mouseY);
  }
  chosen_ = true;
  history_.begin(StepKind::kPlacement, selection_.all(state_));
  startDrag();
}

void DesignSession::controlClick(int mouseX, int mouseY) {
  const int32_t candidate = candidateAt(mouseX, mouseY);
  if (candidate == 0) return;
  if (selection_.toggle(state_, candidate)) {
    TakeSnapshot(snapshots_, candidate, host_.label(candidate), procedureName_, uniqueMarker_);
    host_.set(0, PROP::Pixels, 1);
  }
  chosen_ = true;
  remark();
}

void DesignSession::startDrag() {
  groupDrag_ = false;
  if (state_.MOUSEISDOWN != 1) return;
  const bool sizing = state_.OVERGRABHANDLE != 0;
  const bool moving = !sizing && state_.CLICKINGONCONTROL == 1;
  if (!sizing && !moving) return;
  std::vector<int32_t> dragged = moving ? selection_.all(state_) : std::vector<int32_t>{state_.CONTROLNO};
  const bool snap = options_.snapping && state_.CONTROLNO != 0;
  // One control without snapping is dragged step by step, as ever.
  if (dragged.size() < 2 && !snap) return;
  groupDrag_ = dragged.size() > 1;
  std::optional<SnapLines> lines;
  if (snap) lines = CollectSnapLines(host_, state_.FIRSTCONTROL, state_.LASTCONTROL, dragged, options_);
  drag_.start(state_, windows_, std::move(dragged), std::move(lines), options_.snapDistance);
}

void DesignSession::mouseMove(int mouseX, int mouseY) {
  if (band_.active()) {
    band_.drawTo(windows_, mouseX + OverlayToHostX(windows_), mouseY + OverlayToHostY(windows_));
    return;
  }
  if (drag_.active() && state_.MOUSEISDOWN == 1) {
    drag_.step(state_, windows_, selection_, mouseX, mouseY, (keyState() & KEY::Alt) != 0);
    if (drag_.moved()) collapseOnUp_ = false;
    return;
  }
  TrackMove(state_, windows_, mouseX, mouseY);
}

void DesignSession::mouseUp() {
  if (band_.active()) {
    const std::vector<int32_t> inside =
        ControlsInside(host_, state_.FIRSTCONTROL, state_.LASTCONTROL, band_.finish(windows_));
    if (!inside.empty()) {
      selection_.selectOnly(state_, inside);
      for (int32_t f : inside) TakeSnapshot(snapshots_, f, host_.label(f), procedureName_, uniqueMarker_);
      host_.set(0, PROP::Pixels, 1);
      chosen_ = true;
      remark();
    }
    release();
    return;
  }
  const bool storeOthers = groupDrag_ && drag_.moved() && state_.MOUSEISDOWN == 1;
  drag_.stop(windows_);
  groupDrag_ = false;
  if (collapseOnUp_) {
    collapseOnUp_ = false;
    selection_.clear();
    selection_.showMarks(state_, windows_);
  }
  if (storeOthers)
    for (int32_t f : selection_.others()) storePlacement(f);
  release();
  history_.end();
}

bool DesignSession::key(int code) {
  const KeyAction a = DesignKeyAction(code);
  const bool idle = state_.MOUSEISDOWN == 0 && !band_.active();
  switch (a.command) {
    case KeyCommand::kRightButton:
      return rightButton();
    case KeyCommand::kNudge: case KeyCommand::kGridMove: case KeyCommand::kResize:
      nudge(a);
      return false;
    case KeyCommand::kNext: case KeyCommand::kPrevious:
      if (idle) walk(a.command == KeyCommand::kPrevious);
      return false;
    case KeyCommand::kEdit:
      // Only a selection the user chose: right after the hot key, Enter
      // opens nothing, as it never did.
      if (!idle || !chosen_) return false;
      closeRun();
      history_.begin(StepKind::kProperties, {state_.CONTROLNO});
      EditSelection(*this);
      history_.end();
      return false;
    case KeyCommand::kMenu:
      if (!idle) return false;
      closeRun();
      state_.MOUSEISDOWN = 1;  // stored as the right button stores it
      return releaseIntoMenu();
    case KeyCommand::kUndo: case KeyCommand::kRedo:
      if (!idle) return false;
      closeRun();
      if (a.command == KeyCommand::kUndo ? history_.undo() : history_.redo()) remark();
      return false;
    case KeyCommand::kEscape:
      if (selection_.several()) {
        closeRun();
        selection_.clear();
        selection_.showMarks(state_, windows_);
        return false;
      }
      endRun();
      return false;
    case KeyCommand::kEnd:
      endRun();
      return false;
  }
  return false;
}

void DesignSession::nudge(const KeyAction& a) {
  if (!runOpen_ && state_.MOUSEISDOWN == 0) {
    history_.begin(StepKind::kPlacement, selection_.all(state_));
    runOpen_ = true;
  }
  switch (a.command) {
    case KeyCommand::kNudge:
      MoveSelection(state_, windows_, 0, a.dx, a.dy);
      for (int32_t f : selection_.others()) {
        const PixelRect r = RectOf(host_, f);
        PlaceAt(host_, f, {r.x + a.dx, r.y + a.dy, r.w, r.h});
      }
      selection_.showMarks(state_, windows_);
      return;
    case KeyCommand::kGridMove: case KeyCommand::kResize: {
      const bool move = a.command == KeyCommand::kGridMove;
      for (int32_t f : selection_.all(state_)) {
        PixelRect r = RectOf(host_, f);
        if (move) {
          r.x += a.dx * options_.gridStep;
          r.y += a.dy * options_.gridStep;
        } else {
          r.w += a.dx;
          r.h += a.dy;
        }
        PlaceAt(host_, f, r);
        storePlacement(f);
      }
      remark();
      return;
    }
    default:
      return;
  }
}

void DesignSession::walk(bool backwards) {
  // What the arrows moved of the selection it leaves reaches the store.
  if (runOpen_)
    for (int32_t f : selection_.all(state_)) storePlacement(f);
  closeRun();
  selectOne(NextInTabOrder(controls_, host_, state_.CONTROLNO, backwards));
}

void DesignSession::selectOne(int32_t field) {
  selection_.clear();
  state_.CONTROLNO = field;
  if (field != 0) {
    TakeSnapshot(snapshots_, field, host_.label(field), procedureName_, uniqueMarker_);
    host_.set(0, PROP::Pixels, 1);
  }
  chosen_ = true;
  remark();
}

void DesignSession::closeRun() {
  if (!runOpen_) return;
  runOpen_ = false;
  history_.end();
}

void DesignSession::remark() {
  lockWindowUpdate(host_.handle());
  RepaintHost(host_);
  RemoveHandles(state_, windows_);
  PlaceHandles(state_, windows_);
  selection_.showMarks(state_, windows_);
  lockWindowUpdate(0);
}

void DesignSession::tellSelection() {
  if (state_.MOUSEISDOWN == 1 || band_.active() || !overlay_.isOpen()) return;
  announcer_.tell(host_, state_.CONTROLNO,
                  SelectionReport(host_, controls_, state_.CONTROLNO, selection_.others().size() + 1));
}

}  // namespace wevo::design
