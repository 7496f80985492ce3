#include "design/design_session.h"

#include <utility>

#include "apply/capture.h"
#include "apply/host_window.h"
#include "apply/row_identity.h"
#include "design/design_popup.h"
#include "design/grab_handles.h"
#include "design/move_resize.h"
#include "design/selection.h"
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

// The one-pixel step of an arrow key; false for any other key.
bool arrowStep(int key, int& dx, int& dy) {
  dx = dy = 0;
  switch (key) {
    case KEY::Left: dx = -1; return true;
    case KEY::Up: dy = -1; return true;
    case KEY::Right: dx = 1; return true;
    case KEY::Down: dy = 1; return true;
    default: return false;
  }
}

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
      firstSelection_(field != 0 && host.exists(field) ? field : 0) {}

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
  start();
  loop();
  finish();
}

void DesignSession::start() {
  controllist::FillControlQueue(controls_, host_, procedureName_, uniqueMarker_);
  store::GlobalRequest() = 0;
  store::GlobalResponse() = 0;
  // The right button that may have raised the hot key is not a press in design mode.
  if (keyCode() == KEY::MouseRight) setKeyCode(0);
  store::openCounted(store::winFile());
  storeOpened_ = true;
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
}

void DesignSession::loop() {
  while (overlay_.accept()) {
    const int ev = event();
    bool quit = false;
    switch (ev) {
      case EVENT::AlertKey: {
        const int key = keyCode();
        int dx, dy;
        if (key == KEY::MouseRight)
          quit = rightButton();
        else if (arrowStep(key, dx, dy))
          MoveSelection(state_, windows_, 0, dx, dy);
        else
          endRun();
        break;
      }
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
    if (ev != EVENT::Accepted) continue;
    int x, y;
    switch (field()) {
      case kDownField:
        mousePoint(x, y);
        selectAtPress(x, y);
        break;
      case kUpField:
        mousePoint(x, y);
        release();
        break;
      case kMouseMoveField:
        mousePoint(x, y);
        TrackMove(state_, windows_, x, y);
        break;
      default:
        break;
    }
  }
}

void DesignSession::finish() {
  if (storeOpened_) {
    if (settings_.PROMPTONEXIT != 0) {
      const int answer = message(kSaveQuestion, kCaption, ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::Yes);
      if (answer == BUTTON::No) RestoreSnapshots(snapshots_, host_);
    }
    storeOpened_ = false;
    store::closeCounted(store::winFile());
  }
  RemoveHandles(state_, windows_);
  RepaintHost(host_);
  setCursor(CURSOR::Default);
  overlay_.close();
  host_.set(0, PROP::Pixels, 0);
  setFocus(host_.get(0, PROP::ClientHandle).num());
  host_.post(EVENT::Resumed);
  store::GlobalResponse() = 2;
  setTarget(nullptr);
}

void DesignSession::mousePoint(int& x, int& y) {
  setTarget(&overlay_);
  x = mouseX();
  y = mouseY();
}

void DesignSession::selectAtPress(int mouseX, int mouseY) {
  const int yOffset = host_.get(0, PROP::YOffset).i32();
  const int mx = mouseX + overlay_.get(0, PROP::XPos).i32();
  const int my = mouseY + overlay_.get(0, PROP::YPos).i32() + yOffset;
  int lastTop = 0;
  const std::vector<CLCNQ> candidates = CandidatesAt(state_, host_, mx, my, lastTop);
  state_.CONTROLNO = ChooseCandidate(candidates, my, lastTop);
  if (state_.CONTROLNO != 0) {
    TakeSnapshot(snapshots_, state_.CONTROLNO, host_.label(state_.CONTROLNO), procedureName_, uniqueMarker_);
    host_.set(0, PROP::Pixels, 1);
  }
  state_.OLDX = mouseX;
  state_.OLDY = mouseY + yOffset;
  state_.MOUSEISDOWN = 1;
  // The handles still mark the previous selection: a press on one of them
  // resizes from it whatever the press selects.
  state_.OVERGRABHANDLE = static_cast<uint8_t>(HandleUnderMouse(state_, windows_, mouseX, mouseY));
  state_.CLICKINGONCONTROL = InsideSelection(state_, windows_, mouseX, mouseY) ? 1 : 0;
  if (state_.OVERGRABHANDLE == 0 && state_.CLICKINGONCONTROL == 1) setCursor(CURSOR::Size);
  lockWindowUpdate(host_.handle());
  RepaintHost(host_);
  RemoveHandles(state_, windows_);
  PlaceHandles(state_, windows_);
  lockWindowUpdate(0);
}

void DesignSession::release() {
  if (state_.MOUSEISDOWN == 1) {
    // Stored under the whole label, as its row was found when the queue was
    // built; a control listed without a label has no row.
    const std::string label = apply::RowLabel(host_, state_.CONTROLNO);
    if (controllist::FindByFeq(controls_, state_.CONTROLNO) != nullptr && !label.empty())
      apply::StoreControlPlacement(state_.CONTROLNO, host_, procedureName_, uniqueMarker_, label);
  }
  state_.MOUSEISDOWN = 0;
  state_.CLICKINGONCONTROL = 0;
  setCursor(CURSOR::Arrow);
  RepaintHost(host_);
}

bool DesignSession::rightButton() {
  int x, y;
  mousePoint(x, y);
  selectAtPress(x, y);
  release();
  if (!runDesignPopup(*this)) return false;
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

}  // namespace wevo::design
