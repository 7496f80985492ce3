#include "browse/browse_decl.h"

#include <string>
#include <utility>

#include "wevo/codes.h"

namespace wevo::browse {
namespace {

ControlDecl button(const char* use, std::string text, const char* icon, At at) {
  ControlDecl c;
  c.type = TYPE::Button;
  c.use = use;
  c.text = std::move(text);
  c.icon = icon;
  c.at = at;
  return c;
}

}  // namespace

WindowDecl BrowseFormDecl(char (&marker)[80]) {
  WindowDecl d;
  d.caption = kBrowseDeclaredCaption;
  d.help = "BrowseFormFields";
  d.at = {kDefault, kDefault, 358, 198};
  d.font = {"MS Sans Serif", 8};
  d.icon = "app.ico";
  d.frameType = 2;  // resizable
  d.modal = true;

  ControlDecl markers;
  markers.type = TYPE::List;
  markers.use = BROWSE::Marker;
  markers.at = {4, 4, 96, 12};
  markers.drop = 10;
  markers.format = kMarkerFormat;
  markers.bind = Binding::text(marker);
  d.controls.push_back(markers);

  ControlDecl list;
  list.type = TYPE::List;
  list.use = BROWSE::List;
  list.at = {3, 26, 352, 150};
  list.format = kBrowseFormat;
  list.msg = "Browsing the WindowControls file";
  d.controls.push_back(list);

  ControlDecl insert = button(BROWSE::Insert, "&Insert", "", {191, 179, 49, 14});
  insert.hidden = true;
  d.controls.push_back(insert);
  d.controls.push_back(button(BROWSE::Change, "&Change", "edit.ico", {3, 181, 49, 14}));
  d.controls.push_back(button(BROWSE::Delete, "&Delete", "delete1.ico", {57, 181, 49, 14}));
  ControlDecl close = button(BROWSE::Close, "&Exit", "exit.ICO", {305, 181, 49, 14});
  close.msg = "Close Window";
  close.tip = "Close Window";
  d.controls.push_back(close);
  return d;
}

}  // namespace wevo::browse
