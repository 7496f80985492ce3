// A headless view with somebody at it who answers every dialog at once, as a
// patient user would: a program run on it never waits for a script, and its
// transcript still lists every dialog with the answer given.
//
// Header only: included by *_test.cpp files (and the fuzz target) alone.
#ifndef WEVO_TESTS_RELIABILITY_ANSWERING_VIEW_H_
#define WEVO_TESTS_RELIABILITY_ANSWERING_VIEW_H_

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/view/headless/headless_view.h"
#include "wevo/codes.h"
#include "wevo/program.h"
#include "wevo/text.h"

namespace wevo::reliability {

// How the user answers.
struct Answers {
  // "Auto Increment Error" (the store could not number a row): Retry, so
  // that a busy store is given the time it needs; otherwise Cancel.
  bool retryNumbering = false;
  // "Invalid Key" (the store's keys are damaged): Yes rebuilds them, No ends
  // the program.
  bool rebuildKeys = true;
  // Told of every dialog, with the window of the asking thread on top (the
  // window a call was working on), on the thread that asked.
  std::function<void(int64_t owner)> onDialog;
};

class AnsweringView : public toolkit::HeadlessView {
 public:
  AnsweringView(toolkit::ViewHost& host, Answers answers) : HeadlessView(host), answers_(answers) {}

  // A person is there: no scripted user, every dialog comes to dialog().
  bool hasPerson() const override { return true; }

  toolkit::DialogResult dialog(const toolkit::DialogRequest& r, const ScriptStep* step) override {
    if (answers_.onDialog) answers_.onDialog(r.owner);
    if (step != nullptr) return HeadlessView::dialog(r, step);
    toolkit::DialogResult res;
    res.button = r.defaultButton;
    if (r.kind != toolkit::DialogRequest::Message) return res;  // no choice, cancelled, go on
    if (text::sameClipped(r.title, "Auto Increment Error") && (r.buttons & BUTTON::Retry) != 0)
      res.button = answers_.retryNumbering ? BUTTON::Retry : BUTTON::Cancel;
    if (text::sameClipped(r.title, "Invalid Key") && (r.buttons & BUTTON::No) != 0)
      res.button = answers_.rebuildKeys ? BUTTON::Yes : BUTTON::No;
    return res;
  }

 private:
  Answers answers_;
};

inline ViewFactory answeringView(Answers answers = {}) {
  return toolkit::viewFactory(
      [answers](toolkit::ViewHost& host) { return std::make_unique<AnsweringView>(host, answers); });
}

// The dialogs a transcript lists ("message ..." lines and the like), without
// the halt line.
inline std::vector<std::string> dialogsOf(const ProgramResult& r) {
  std::vector<std::string> out;
  for (const std::string& line : r.transcript)
    if (line.rfind("halt ", 0) != 0) out.push_back(line);
  return out;
}

}  // namespace wevo::reliability

#endif  // WEVO_TESTS_RELIABILITY_ANSWERING_VIEW_H_
