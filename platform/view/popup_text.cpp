#include "platform/view/popup_text.h"

#include <utility>

namespace wevo::toolkit {

std::vector<PopupEntry> popupEntries(std::string_view items) {
  std::vector<PopupEntry> out;
  int number = 0;
  // An item ends at "|", at a "{" (its text is then a submenu's title), at a
  // "}" or at the end; after a "}" the next "|" only separates.
  std::string part;
  bool afterClose = false;
  auto endItem = [&] {
    if (part == "-") {
      out.push_back({PopupEntry::Separator, {}, true, 0});
    } else {
      PopupEntry e{PopupEntry::Item, std::move(part), true, ++number};
      if (!e.text.empty() && e.text[0] == '~') {
        e.enabled = false;
        e.text.erase(0, 1);
      }
      out.push_back(std::move(e));
    }
    part.clear();
  };
  for (char c : items) {
    switch (c) {
      case '|':
        if (!afterClose) endItem();
        afterClose = false;
        break;
      case '{':
        out.push_back({PopupEntry::SubmenuStart, std::move(part), true, 0});
        part.clear();
        afterClose = false;
        break;
      case '}':
        if (!afterClose) endItem();
        out.push_back({PopupEntry::SubmenuEnd, {}, true, 0});
        afterClose = true;
        break;
      default:
        part += c;
        afterClose = false;
        break;
    }
  }
  if (!afterClose) endItem();
  return out;
}

std::vector<PopupItem> popupItems(std::string_view items) {
  std::vector<PopupItem> out;
  for (PopupEntry& e : popupEntries(items))
    if (e.kind == PopupEntry::Item) out.push_back({std::move(e.text), e.enabled});
  return out;
}

}  // namespace wevo::toolkit
