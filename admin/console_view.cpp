#include "admin/console_view.h"

#include <cstdio>
#include <memory>

#include "admin/failure.h"
#include "platform/view/headless/headless_view.h"
#include "wevo/codes.h"
#include "wevo/text.h"

namespace wevo::admin {
namespace {

// One line: the box's lines (split at "|") joined by blanks.
std::string oneLine(std::string_view title, std::string_view text) {
  std::string line = "wevoadmin: ";
  if (!title.empty()) line += std::string(title) + ": ";
  for (char c : text) line += c == '|' || c == '\n' ? ' ' : c;
  return line;
}

class ConsoleView : public toolkit::HeadlessView {
 public:
  ConsoleView(toolkit::ViewHost& host, MessageLog* log, MessagePolicy policy)
      : HeadlessView(host), log_(log), policy_(policy) {}

  bool hasPerson() const override { return true; }

  toolkit::DialogResult dialog(const toolkit::DialogRequest& r, const ScriptStep* step) override {
    if (step != nullptr) return HeadlessView::dialog(r, step);
    toolkit::DialogResult res;
    switch (r.kind) {
      case toolkit::DialogRequest::Message: {
        const std::string line = oneLine(r.title, r.text);
        std::fprintf(stderr, "%s\n", line.c_str());
        log_->add(messageNumber(r.title, r.text), line);
        res.button = r.defaultButton;
        if (text::sameClipped(r.title, "Invalid Key") && (r.buttons & BUTTON::No) != 0)
          res.button = policy_.rebuildKeys ? BUTTON::Yes : BUTTON::No;
        if (text::sameClipped(r.title, "Auto Increment Error") && (r.buttons & BUTTON::Cancel) != 0)
          res.button = BUTTON::Cancel;
        return res;
      }
      case toolkit::DialogRequest::Stop: {
        const std::string line = oneLine("", r.text);
        std::fprintf(stderr, "%s\n", line.c_str());
        log_->add(kExitStoreError, line);
        res.ok = true;  // ends the command
        return res;
      }
      case toolkit::DialogRequest::Popup:
      case toolkit::DialogRequest::Color:
      case toolkit::DialogRequest::File:
      case toolkit::DialogRequest::PageSetup:
        break;
    }
    return res;
  }

 private:
  MessageLog* log_;
  MessagePolicy policy_;
};

}  // namespace

void MessageLog::add(int number, const std::string& line) {
  base::MutexLock lock(mutex_);
  if (count_++ == 0) {
    first_ = number;
    firstLine_ = line;
  }
}

int MessageLog::firstNumber() const {
  base::MutexLock lock(mutex_);
  return first_;
}

std::string MessageLog::firstLine() const {
  base::MutexLock lock(mutex_);
  return firstLine_;
}

int MessageLog::count() const {
  base::MutexLock lock(mutex_);
  return count_;
}

ViewFactory consoleView(MessageLog* log, MessagePolicy policy) {
  return toolkit::viewFactory(
      [log, policy](toolkit::ViewHost& host) { return std::make_unique<ConsoleView>(host, log, policy); });
}

int messageNumber(std::string_view title, std::string_view text) {
  struct Known {
    const char* title;
    int number;
  };
  // The store's titles (store/store_messages.h); two titles serve two
  // messages each, told apart by their texts.
  static constexpr Known kKnown[] = {
      {"Invalid File", 1},
      {"Invalid Key", 2},
      {"Key Rebuild Error", 3},
      {"File Creation Error", 4},
      {"Record Insert Error", 14},
      {"Update Operation Error", 15},
      {"Record Update Error", 16},
      {"Delete Operation Error", 17},
      {"Update Cancelled", 23},
      {"Duplicate Key Error", 24},
      {"Auto Increment Error", 25},
      {"File Access Error", 30},
      {"Confirm Delete", 32},
      {"Transaction Framing Error", 34},
      {"Record Retrieval Error", 35},
      {"View Open Error", 36},
      {"Record Was Not Updated", 38},
  };
  for (const Known& k : kKnown) {
    if (title != k.title) continue;
    if (k.number == 4 && text.find(") opening created file:") != std::string_view::npos) return 5;
    if (k.number == 16 && text.find("deleting this record") != std::string_view::npos) return 18;
    return k.number;
  }
  return kExitStoreError;
}

}  // namespace wevo::admin
