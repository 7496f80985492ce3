#include "platform/toolkit/scripted_user.h"

#include "platform/toolkit/dialog_text.h"
#include "platform/toolkit/key_names.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/codes.h"
#include "wevo/text.h"

namespace wevo::toolkit {

namespace {

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string inWindow(const std::string& window) {
  return window.empty() ? " in the active window" : " in " + quoted(window);
}

std::string point(const ScriptStep& s) { return std::to_string(s.x) + "," + std::to_string(s.y); }

}  // namespace

ScriptedUser::ScriptedUser(Program& program, std::vector<ScriptStep> steps)
    : program_(program), steps_(std::move(steps)) {}

bool ScriptedUser::isDialogStep(const ScriptStep& s) const {
  return s.kind == ScriptStep::Answer || s.kind == ScriptStep::ChoosePopup || s.kind == ScriptStep::PickColor ||
         s.kind == ScriptStep::PickFile || s.kind == ScriptStep::StopChoice;
}

std::string ScriptedUser::describe(const ScriptStep& s) {
  switch (s.kind) {
    case ScriptStep::Press: return "press at " + point(s) + inWindow(s.window);
    case ScriptStep::Move: return "move to " + point(s) + inWindow(s.window);
    case ScriptStep::Release: return "release at " + point(s) + inWindow(s.window);
    case ScriptStep::RightPress: return "right press at " + point(s) + inWindow(s.window);
    case ScriptStep::RightRelease: return "right release at " + point(s) + inWindow(s.window);
    case ScriptStep::DoubleClick: return "double click at " + point(s) + inWindow(s.window);
    case ScriptStep::Key: return "key " + keyName(s.code);
    case ScriptStep::Type: return "type " + quoted(s.text);
    case ScriptStep::ClickControl: return "click " + s.label + inWindow(s.window);
    case ScriptStep::SelectTab: return "select tab " + s.label + inWindow(s.window);
    case ScriptStep::SelectRow: return "select row " + std::to_string(s.code) + " of " + s.label + inWindow(s.window);
    case ScriptStep::CloseWindow: return "close" + inWindow(s.window).substr(3);
    case ScriptStep::ResizeWindow:
      return std::string(s.code == EVENT::Maximized ? "maximize" : s.code == EVENT::Restored ? "restore" : "resize") +
             inWindow(s.window).substr(3) + " to " + std::to_string(s.x) + "x" + std::to_string(s.y);
    case ScriptStep::Answer:
      return "answer the message box " + quoted(s.text) + " with " +
             (s.code == 0 ? std::string("its default button") : buttonName(s.code));
    case ScriptStep::ChoosePopup: return "choose popup item " + std::to_string(s.code);
    case ScriptStep::PickColor: return s.cancel ? "cancel the colour dialog" : "pick colour " + std::to_string(s.code);
    case ScriptStep::PickFile: return s.cancel ? "cancel the file dialog" : "pick file " + quoted(s.text);
    case ScriptStep::StopChoice: return s.code != 0 ? "end the program at the stop message" : "go on at the stop message";
    case ScriptStep::Call: return "call" + inWindow(s.window);
    case ScriptStep::Screenshot: return "screenshot " + quoted(s.text) + " of" + inWindow(s.window).substr(3);
    case ScriptStep::Scroll:
      return "scroll " + s.label + " (event " + std::to_string(s.code) + ", thumb " + std::to_string(s.x) + ")" +
             inWindow(s.window);
    case ScriptStep::Activate: return "activate" + inWindow(s.window).substr(3);
    case ScriptStep::SwitchAway: return "switch to another application";
  }
  return "step";
}

std::string ScriptedUser::describe(const DialogRequest& r) {
  switch (r.kind) {
    case DialogRequest::Message:
      return "message box " + quoted(r.title) + " " + quoted(r.text) + " (" + buttonNames(r.buttons) + ")";
    case DialogRequest::Popup: return "popup menu " + quoted(r.text);
    case DialogRequest::Color: return "colour dialog " + quoted(r.title);
    case DialogRequest::File: return "file dialog " + quoted(r.title);
    case DialogRequest::Stop: return "stop message " + quoted(r.text);
  }
  return "dialog";
}

std::string ScriptedUser::stepName(size_t i) const {
  return "step " + std::to_string(i + 1) + " of " + std::to_string(steps_.size()) + " (" + describe(steps_[i]) + ")";
}

std::string ScriptedUser::position() const {
  std::lock_guard<std::mutex> lock(mu_);
  if (next_ < steps_.size()) return "next: " + stepName(next_);
  return "no step left (" + std::to_string(steps_.size()) + " done)";
}

// ---- Input steps ----------------------------------------------------------------

bool ScriptedUser::resolve(const ScriptStep& s, ResolvedStep& out, int& thread, std::string& why) {
  Screen& screen = program_.published();
  int64_t capture, focus;
  {
    std::lock_guard<std::mutex> lock(program_.mu);
    capture = program_.capture;
    focus = program_.focusWindow != nullptr ? program_.focusWindow->handle() : 0;
  }
  out = ResolvedStep{};
  out.step = &s;
  auto named = [&]() -> std::optional<WindowSnapshot> {
    std::optional<WindowSnapshot> w = screen.find(s.window);
    if (!w) why = s.window.empty() ? "no window is shown" : "no open window is called " + quoted(s.window);
    return w;
  };
  auto threadOf = [&](int64_t handle) {
    std::optional<ScreenWindow> w = screen.window(handle);
    return w ? w->window.thread : 0;
  };
  auto takesInput = [&](const WindowSnapshot& w) {
    if (w.blocked) {
      why = "window " + quoted(w.caption) + " is blocked by a later window of its thread";
      return false;
    }
    return true;
  };
  // Mouse input goes where a real mouse's would: to the capture, else the window.
  auto mouseTo = [&](const WindowSnapshot& w) {
    if (capture != 0) {
      thread = threadOf(capture);
      if (thread == 0) why = "the window holding the mouse capture is not on screen";
      return thread != 0;
    }
    if (w.hidden) {
      why = "window " + quoted(w.caption) + " is hidden";
      return false;
    }
    thread = w.thread;
    return takesInput(w);
  };
  auto usableControl = [&](const WindowSnapshot& w, const std::string& label,
                           std::optional<ControlSnapshot>& c) -> bool {
    c = screen.control(w.handle, label);
    if (!c) {
      why = "window " + quoted(w.caption) + " has no control " + label;
      return false;
    }
    out.field = c->field;
    out.controlType = c->type;
    if (c->disabled) {
      why = label + " in " + quoted(w.caption) + " is disabled";
      return false;
    }
    return true;
  };

  switch (s.kind) {
    case ScriptStep::Press: case ScriptStep::Move: case ScriptStep::Release: case ScriptStep::RightPress:
    case ScriptStep::RightRelease: case ScriptStep::DoubleClick: {
      std::optional<WindowSnapshot> w = named();
      if (!w) return false;
      out.window = w->handle;
      out.caption = w->caption;
      out.screenX = w->x + s.x;
      out.screenY = w->y + s.y;
      return mouseTo(*w);
    }
    case ScriptStep::ClickControl: {
      std::optional<WindowSnapshot> w = named();
      if (!w) return false;
      std::optional<ControlSnapshot> c;
      if (!usableControl(*w, s.label, c)) return false;
      out.window = w->handle;
      out.caption = w->caption;
      if (c->type == TYPE::Item) {  // chosen from its menu, not pressed at a point
        thread = w->thread;
        return takesInput(*w);
      }
      if (!c->visible) {
        why = s.label + " in " + quoted(w->caption) + " is not visible";
        return false;
      }
      out.screenX = w->x + c->x + c->width / 2;
      out.screenY = w->y + c->y + c->height / 2;
      return mouseTo(*w);
    }
    case ScriptStep::Key: case ScriptStep::Type: case ScriptStep::SwitchAway: {
      std::optional<ScreenWindow> w = focus != 0 ? screen.window(focus) : std::nullopt;
      if (!w) {
        why = "no window has the focus";
        return false;
      }
      out.window = w->window.handle;
      out.caption = w->window.caption;
      thread = w->window.thread;
      if (s.kind == ScriptStep::Type) {
        auto c = w->controls.find(w->window.focusedField);
        if (w->window.focusedField == 0 || c == w->controls.end()) {
          why = "no control has the focus in " + quoted(w->window.caption);
          return false;
        }
        out.field = c->first;
        if (c->second.disabled || c->second.readOnly) {
          why = c->second.label + " in " + quoted(w->window.caption) + " takes no typing";
          return false;
        }
      }
      return true;
    }
    case ScriptStep::SelectTab: case ScriptStep::SelectRow: case ScriptStep::Scroll: {
      std::optional<WindowSnapshot> w = named();
      if (!w) return false;
      std::optional<ControlSnapshot> c;
      if (!usableControl(*w, s.label, c)) return false;
      out.window = w->handle;
      out.caption = w->caption;
      thread = w->thread;
      if (!takesInput(*w)) return false;
      if (s.kind == ScriptStep::SelectTab) {
        std::optional<ControlSnapshot> sheet = screen.control(w->handle, c->parent);
        if (c->type != TYPE::Tab || !sheet || !sheet->visible || c->hidden) {
          why = s.label + " in " + quoted(w->caption) + " is not a tab that shows";
          return false;
        }
        return true;
      }
      if (!c->visible) {
        why = s.label + " in " + quoted(w->caption) + " is not visible";
        return false;
      }
      if (s.kind == ScriptStep::SelectRow) {
        auto rows = static_cast<int>(c->rows.size());
        if (s.code < 0 || s.code > rows) {
          why = s.label + " in " + quoted(w->caption) + " has " + std::to_string(rows) + " rows, not " +
                std::to_string(s.code);
          return false;
        }
      }
      return true;
    }
    case ScriptStep::CloseWindow: case ScriptStep::ResizeWindow: case ScriptStep::Activate: {
      std::optional<WindowSnapshot> w = named();
      if (!w) return false;
      out.window = w->handle;
      out.caption = w->caption;
      thread = w->thread;
      return takesInput(*w);
    }
    case ScriptStep::Call: case ScriptStep::Screenshot: {
      std::optional<WindowSnapshot> w = named();
      if (!w) return false;
      out.window = w->handle;
      out.caption = w->caption;
      thread = w->thread;
      return true;
    }
    default:
      why = "it answers a dialog";
      return false;
  }
}

void ScriptedUser::onThreadWaiting(int thread) {
  (void)thread;  // any waiting thread may deliver any step
  for (;;) {
    std::unique_lock<std::mutex> lock(mu_);
    if (program_.ending() || inFlight_) return;
    bool allIdle, lastDone, targetIdle = false;
    std::string threads;
    {
      std::lock_guard<std::mutex> plock(program_.mu);
      allIdle = program_.othersIdleLocked(-1);
      HostThread* last = lastThread_ != 0 ? program_.threadLocked(lastThread_) : nullptr;
      lastDone = last == nullptr || program_.idleLocked(*last);
      if (allIdle) threads = program_.describeThreadsLocked();
    }
    if (next_ >= steps_.size()) {
      if (allIdle)
        program_.endFailed("the script has no step left (" + std::to_string(steps_.size()) +
                           " done) while every host thread waits for input: " + threads);
      return;
    }
    const ScriptStep& step = steps_[next_];
    if (isDialogStep(step)) {
      if (allIdle)
        program_.endFailed(stepName(next_) + " waits for a dialog, but none was shown and every host thread waits "
                           "for input: " + threads);
      return;
    }
    if (!lastDone) return;  // the previous step is still being taken
    ResolvedStep resolved;
    int target = 0;
    std::string why;
    if (!resolve(step, resolved, target, why)) {
      if (allIdle) program_.endFailed(stepName(next_) + " cannot be delivered: " + why);
      return;
    }
    {
      std::lock_guard<std::mutex> plock(program_.mu);
      HostThread* t = program_.threadLocked(target);
      targetIdle = t != nullptr && program_.idleLocked(*t);
    }
    if (!targetIdle && step.kind != ScriptStep::Screenshot) {
      if (allIdle) program_.endFailed(stepName(next_) + " cannot be delivered: its window's thread has ended");
      return;  // its thread is busy and comes back here when it waits
    }
    size_t index = next_++;
    inFlight_ = true;
    lock.unlock();
    std::string failure;
    bool ok = program_.view().deliver(resolved, failure);
    lock.lock();
    inFlight_ = false;
    if (!ok) {
      program_.endFailed(stepName(index) + " could not be delivered: " + failure);
      return;
    }
    program_.progress();
    if (step.kind == ScriptStep::Screenshot)
      program_.record("screenshot \"" + step.text + "\" \"" + resolved.caption + "\"");
    else
      lastThread_ = target;
    // Look again: a thread that came here while this step was in flight went
    // back to waiting without delivering anything.
  }
}

// ---- Dialog steps ----------------------------------------------------------------

const ScriptStep* ScriptedUser::dialogStep(const DialogRequest& r) {
  std::unique_lock<std::mutex> lock(mu_);
  auto fail = [&](const std::string& why) {
    lock.unlock();
    program_.endFailed(why);
    throw ProgramEnd{};
  };
  if (next_ >= steps_.size())
    fail("unexpected dialog: " + describe(r) + " (the script has no step left, " + std::to_string(steps_.size()) +
         " done)");
  const ScriptStep& s = steps_[next_];
  bool matches = (r.kind == DialogRequest::Message && s.kind == ScriptStep::Answer) ||
                 (r.kind == DialogRequest::Popup && s.kind == ScriptStep::ChoosePopup) ||
                 (r.kind == DialogRequest::Color && s.kind == ScriptStep::PickColor) ||
                 (r.kind == DialogRequest::File && s.kind == ScriptStep::PickFile) ||
                 (r.kind == DialogRequest::Stop && s.kind == ScriptStep::StopChoice);
  if (!matches) fail("unexpected dialog: " + describe(r) + "; the script's next is " + stepName(next_));
  if (s.kind == ScriptStep::Answer) {
    if (!text::sameClipped(s.text, r.title))
      fail("unexpected dialog: " + describe(r) + "; " + stepName(next_) + " expects the message box " +
           quoted(s.text));
    if (s.code != 0 && (r.buttons & s.code) != s.code)
      fail(stepName(next_) + ": the " + describe(r) + " has no " + buttonName(s.code) + " button");
  }
  if (s.kind == ScriptStep::ChoosePopup && s.code != 0) {
    std::vector<PopupItem> items = popupItems(r.text);
    if (s.code < 0 || static_cast<size_t>(s.code) > items.size())
      fail(stepName(next_) + ": the " + describe(r) + " has " + std::to_string(items.size()) + " items");
    if (!items[static_cast<size_t>(s.code) - 1].enabled)
      fail(stepName(next_) + ": item " + std::to_string(s.code) + " of the " + describe(r) + " is disabled");
  }
  ++next_;
  return &s;
}

}  // namespace wevo::toolkit
