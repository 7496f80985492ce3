// A window of any number of controls of mixed types, as the reliability
// tests and the benchmarks customise it. Header only.
#ifndef WEVO_TESTS_TESTING_MIXED_WINDOW_H_
#define WEVO_TESTS_TESTING_MIXED_WINDOW_H_

#include <string>

#include "wevo/codes.h"
#include "wevo/window_decl.h"

namespace wevo::testing {

// Control i's label: "?Control<i>".
inline std::string mixedControlLabel(int i) { return "?Control" + std::to_string(i); }

// `n` controls cycling through ten types, ten to a row, each with its own
// text and tip; the window is as tall as its rows.
inline WindowDecl mixedWindow(const std::string& caption, int n) {
  static const int kTypes[] = {TYPE::Prompt, TYPE::Entry, TYPE::Button, TYPE::Check, TYPE::String,
                               TYPE::List,   TYPE::Spin,  TYPE::Text,   TYPE::Group, TYPE::Region};
  WindowDecl d;
  d.caption = caption;
  d.at = {kDefault, kDefault, 640, 20 + ((n + 9) / 10) * 20};
  for (int i = 1; i <= n; ++i) {
    ControlDecl c;
    c.type = kTypes[(i - 1) % 10];
    c.use = mixedControlLabel(i);
    c.text = c.type == TYPE::Entry || c.type == TYPE::Spin ? "@s20" : "Control " + std::to_string(i);
    c.at = {((i - 1) % 10) * 62, ((i - 1) / 10) * 20, 58, c.type == TYPE::Prompt ? kDefault : 16};
    if (c.type == TYPE::List) c.format = "80L(2)|M~Line~@s20@";
    c.tip = "Tip of control " + std::to_string(i);
    d.controls.push_back(c);
  }
  return d;
}

}  // namespace wevo::testing

#endif  // WEVO_TESTS_TESTING_MIXED_WINDOW_H_
