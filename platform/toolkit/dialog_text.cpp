#include "platform/toolkit/dialog_text.h"

#include "wevo/codes.h"
#include "wevo/text.h"

namespace wevo::toolkit {

namespace {

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

}  // namespace

const std::vector<int>& buttonOrder() {
  static const std::vector<int> order = {BUTTON::Ok,    BUTTON::Yes,    BUTTON::No,    BUTTON::Abort,
                                         BUTTON::Retry, BUTTON::Ignore, BUTTON::Cancel};
  return order;
}

std::string buttonName(int button) {
  switch (button) {
    case BUTTON::Ok: return "OK";
    case BUTTON::Yes: return "Yes";
    case BUTTON::No: return "No";
    case BUTTON::Abort: return "Abort";
    case BUTTON::Retry: return "Retry";
    case BUTTON::Ignore: return "Ignore";
    case BUTTON::Cancel: return "Cancel";
    default: return std::to_string(button);
  }
}

std::string buttonNames(int buttons) {
  std::string out;
  for (int b : buttonOrder())
    if ((buttons & b) != 0) {
      if (!out.empty()) out += "|";
      out += buttonName(b);
    }
  return out;
}

int normalDefaultButton(int buttons, int defaultButton) {
  if (defaultButton != 0 && (buttons & defaultButton) == defaultButton) {
    for (int b : buttonOrder())
      if (b == defaultButton) return b;
  }
  for (int b : buttonOrder())
    if ((buttons & b) != 0) return b;
  return BUTTON::Ok;
}

std::string iconName(std::string_view icon) {
  if (icon.empty()) return "none";
  if (icon == ICON::Application) return "application";
  if (icon == ICON::Hand) return "hand";
  if (icon == ICON::Asterisk) return "information";
  if (icon == ICON::Question) return "question";
  if (icon == ICON::Error) return "error";
  if (icon == ICON::Exclamation) return "exclamation";
  return std::string(icon);
}

std::vector<PopupItem> popupItems(std::string_view items) {
  std::vector<PopupItem> out;
  for (std::string& part : splitBars(items)) {
    if (part == "-") continue;
    PopupItem item;
    if (!part.empty() && part[0] == '~') {
      item.enabled = false;
      part.erase(0, 1);
    }
    item.text = std::move(part);
    out.push_back(std::move(item));
  }
  return out;
}

std::string transcriptLine(const DialogRequest& r, const DialogResult& res) {
  switch (r.kind) {
    case DialogRequest::Message:
      return "message " + quoted(r.title) + " " + quoted(r.text) + " icon=" + iconName(r.icon) +
             " buttons=" + buttonNames(r.buttons) + " default=" + buttonName(r.defaultButton) + " -> " +
             buttonName(res.button);
    case DialogRequest::Popup: {
      std::string line = "popup " + quoted(r.text) + " -> " + std::to_string(res.item);
      std::vector<PopupItem> items = popupItems(r.text);
      if (res.item >= 1 && static_cast<size_t>(res.item) <= items.size())
        line += " " + quoted(items[static_cast<size_t>(res.item) - 1].text);
      return line;
    }
    case DialogRequest::Color:
      return "color " + quoted(r.title) + " " + std::to_string(r.color) + " -> " +
             (res.ok ? std::to_string(res.color) : std::string("cancel"));
    case DialogRequest::File:
      return "file " + quoted(r.title) + " " + quoted(r.value) + " filter=" + quoted(r.filter) +
             " flags=" + std::to_string(r.flags) + " -> " + (res.ok ? quoted(res.path) : std::string("cancel"));
    case DialogRequest::Stop:
      return "stop " + quoted(r.text) + " -> " + (res.ok ? "end" : "go on");
  }
  return {};
}

}  // namespace wevo::toolkit
