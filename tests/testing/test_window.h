// A small builder for the windows tests open.
//
//   wevo::testing::TestWindow w("Main", 200, 100);   // caption, client size in dialog units
//   w.entry("?NAME", "s20", wevo::Binding::text(name), {10, 10});
//   w.button("?OK", "&OK", {10, 80, 40, 14});
//   w.check("?FLAG", "Flag", wevo::Binding::long32(&flag)).value = "1";
//   wevo::Window window(w.decl());
//
// Each adder returns the ControlDecl it added, to set anything else on it.
// References stay valid only until the next adder call.
#ifndef WEVO_TESTS_TESTING_TEST_WINDOW_H_
#define WEVO_TESTS_TESTING_TEST_WINDOW_H_

#include <string>

#include "wevo/window_decl.h"

namespace wevo::testing {

class TestWindow {
 public:
  explicit TestWindow(std::string caption, int width = 200, int height = 120);

  WindowDecl& decl() { return decl_; }
  const WindowDecl& decl() const { return decl_; }

  ControlDecl& add(int type, std::string use, std::string text = "", At at = {});
  ControlDecl& button(std::string use, std::string text, At at = {});
  ControlDecl& prompt(std::string use, std::string text, At at = {});
  ControlDecl& string(std::string use, std::string text, At at = {});
  ControlDecl& entry(std::string use, std::string picture, Binding bind, At at = {});
  ControlDecl& spin(std::string use, std::string picture, Binding bind, int low, int high, At at = {});
  ControlDecl& text(std::string use, Binding bind, At at = {});
  ControlDecl& check(std::string use, std::string text, Binding bind, At at = {});
  ControlDecl& option(std::string use, std::string text, Binding bind, At at = {});
  ControlDecl& radio(std::string use, std::string text, std::string value, std::string option, At at = {});
  ControlDecl& group(std::string use, std::string text, At at = {});
  ControlDecl& list(std::string use, std::string format, At at = {});
  ControlDecl& dropList(std::string use, std::string from, Binding bind, At at = {});
  ControlDecl& sheet(std::string use, At at = {});
  ControlDecl& tab(std::string use, std::string text, std::string sheet);
  ControlDecl& region(std::string use, At at = {});

 private:
  WindowDecl decl_;
};

}  // namespace wevo::testing

#endif  // WEVO_TESTS_TESTING_TEST_WINDOW_H_
