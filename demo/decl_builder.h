// A few words for writing windows as data: each adder appends one control
// and returns it to set anything more.
//
//   DeclBuilder b(decl);
//   b.add(TYPE::Button, "?OKBUTTON", "&OK", {284, 212, 45, 14});
//   b.add(TYPE::Radio, "?OPTION1:RADIO1", "Radio 1", {20, 58}).parent = "?OPTION1";
#ifndef WEVO_DEMO_DECL_BUILDER_H_
#define WEVO_DEMO_DECL_BUILDER_H_

#include <string>
#include <utility>

#include "wevo/window_decl.h"

namespace wevo::demo {

class DeclBuilder {
 public:
  explicit DeclBuilder(WindowDecl& decl) : decl_(decl) {}

  // References stay valid until the next add.
  ControlDecl& add(int type, std::string use, std::string text = "", At at = {}, std::string parent = "") {
    ControlDecl c;
    c.type = type;
    c.use = std::move(use);
    c.text = std::move(text);
    c.at = at;
    c.parent = std::move(parent);
    decl_.controls.push_back(std::move(c));
    return decl_.controls.back();
  }

 private:
  WindowDecl& decl_;
};

}  // namespace wevo::demo

#endif  // WEVO_DEMO_DECL_BUILDER_H_
