// A popup menu's text, as the toolkit's popup() takes it and every view
// shows it.
#ifndef WEVO_PLATFORM_VIEW_POPUP_TEXT_H_
#define WEVO_PLATFORM_VIEW_POPUP_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace wevo::toolkit {

struct PopupItem {
  std::string text;  // without its "~"
  bool enabled = true;
};
// The items of a popup menu that can be chosen by number, in order
// (separators and submenu titles left out, the items of submenus in their
// place).
std::vector<PopupItem> popupItems(std::string_view items);

// A popup menu's text read as a menu: items split at "|"; "-" a separator;
// a leading "~" disables an item; "Title{A|B}" a submenu titled Title
// holding A and B (submenus may nest). Items are numbered 1, 2, ... across
// submenus, in the order they are written.
struct PopupEntry {
  enum Kind { Item, Separator, SubmenuStart, SubmenuEnd };
  Kind kind = Item;
  std::string text;  // Item: its text without "~"; SubmenuStart: the title
  bool enabled = true;
  int number = 0;  // Item: its number
};
std::vector<PopupEntry> popupEntries(std::string_view items);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_VIEW_POPUP_TEXT_H_
