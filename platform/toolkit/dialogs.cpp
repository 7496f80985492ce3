// Dialogs: asked of the view (answered by the scripted user when there is
// one), each written to the program's transcript with its answer.
#include <string>

#include "platform/toolkit/choices.h"
#include "platform/toolkit/dialog_text.h"
#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/host_thread.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "platform/toolkit/scripted_user.h"
#include "wevo/codes.h"
#include "wevo/runtime.h"

namespace wevo {

using toolkit::DialogRequest;
using toolkit::DialogResult;
using toolkit::Program;

namespace {

// Shows a dialog for the calling thread: its windows are flushed first, so
// the screen is current while the dialog is up.
DialogResult ask(Program& p, DialogRequest& r) {
  p.checkEnding();
  if (toolkit::HostThread* t = toolkit::thisThread()) {
    toolkit::flushThread(*t);
    std::lock_guard<std::mutex> lock(p.mu);
    if (toolkit::WindowModel* top = p.topmostLocked(*t)) r.owner = top->handle();
  }
  const ScriptStep* step = nullptr;
  if (toolkit::ScriptedUser* user = p.scriptedUser()) step = user->dialogStep(r);
  DialogResult result = p.view().dialog(r, step);
  p.progress();
  p.checkEnding();
  return result;
}

}  // namespace

int message(std::string_view text, std::string_view title, std::string_view icon, int buttons, int defaultButton) {
  Program& p = Program::require();
  DialogRequest r;
  r.kind = DialogRequest::Message;
  r.text = std::string(text);
  r.title = std::string(title);
  r.icon = std::string(icon);
  r.buttons = buttons == 0 ? BUTTON::Ok : buttons;
  r.defaultButton = toolkit::normalDefaultButton(r.buttons, defaultButton);
  DialogResult res = ask(p, r);
  p.record(toolkit::transcriptLine(r, res));
  return res.button;
}

int popup(std::string_view items) {
  Program& p = Program::require();
  DialogRequest r;
  r.kind = DialogRequest::Popup;
  r.text = std::string(items);
  if (toolkit::HostThread* t = toolkit::thisThread()) {
    r.x = t->mouseScreenX;
    r.y = t->mouseScreenY;
  }
  DialogResult res = ask(p, r);
  p.record(toolkit::transcriptLine(r, res));
  return res.item;
}

bool colorDialog(std::string_view title, int32_t& color) {
  Program& p = Program::require();
  DialogRequest r;
  r.kind = DialogRequest::Color;
  r.title = std::string(title);
  r.color = color;
  DialogResult res = ask(p, r);
  p.record(toolkit::transcriptLine(r, res));
  if (res.ok) color = res.color;
  return res.ok;
}

bool fileDialog(std::string_view title, std::string& value, std::string_view filter, int flags) {
  Program& p = Program::require();
  DialogRequest r;
  r.kind = DialogRequest::File;
  r.title = std::string(title);
  r.value = value;
  r.filter = std::string(filter);
  r.flags = flags;
  DialogResult res = ask(p, r);
  p.record(toolkit::transcriptLine(r, res));
  if (res.ok) value = res.path;
  return res.ok;
}

void stop(std::string_view text) {
  Program& p = Program::require();
  DialogRequest r;
  r.kind = DialogRequest::Stop;
  r.text = std::string(text);
  DialogResult res = ask(p, r);
  p.record(toolkit::transcriptLine(r, res));
  if (res.ok) halt(text);
}

void beep() {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  p->record("beep");
  p->view().beep();
}

}  // namespace wevo
