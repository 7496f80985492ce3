// The host windows and settings the reliability tests customise: windows of
// any number of controls of mixed types, and the program they run as.
//
// Header only: included by *_test.cpp files alone.
#ifndef WEVO_TESTS_RELIABILITY_HOST_WINDOWS_H_
#define WEVO_TESTS_RELIABILITY_HOST_WINDOWS_H_

#include <string>

#include "wevo/codes.h"
#include "wevo/program.h"
#include "wevo/text.h"
#include "wevo/wevo.h"
#include "wevo/window_decl.h"

namespace wevo::reliability {

// The program path the tests run under: its store is <WEVOPATH>/SALES.wevo.
inline const std::string kProgram = "/opt/apps/SALES.EXE";

inline std::string storePathIn(const std::string& folder) { return folder + "/SALES.wevo"; }

inline WEVOSETTINGS settingsFor(const std::string& folder, const std::string& password) {
  WEVOSETTINGS s;
  text::assign(s.WEVOPATH, folder);
  text::assign(s.PASSWORD, password);
  s.PROMPTONEXIT = 0;
  return s;
}

inline RunOptions programOptions(ViewFactory view) {
  RunOptions options;
  options.view = std::move(view);
  options.args = {kProgram};
  return options;
}

inline std::string controlLabel(int i) { return "?Control" + std::to_string(i); }

// A window of `n` controls cycling through ten types, ten to a row, each
// with its own text and tip.
inline WindowDecl windowOf(const std::string& caption, int n) {
  static const int kTypes[] = {TYPE::Prompt, TYPE::Entry, TYPE::Button, TYPE::Check, TYPE::String,
                               TYPE::List,   TYPE::Spin,  TYPE::Text,   TYPE::Group, TYPE::Region};
  WindowDecl d;
  d.caption = caption;
  d.at = {kDefault, kDefault, 640, 20 + ((n + 9) / 10) * 20};
  for (int i = 1; i <= n; ++i) {
    ControlDecl c;
    c.type = kTypes[(i - 1) % 10];
    c.use = controlLabel(i);
    c.text = c.type == TYPE::Entry || c.type == TYPE::Spin ? "@s20" : "Control " + std::to_string(i);
    c.at = {((i - 1) % 10) * 62, ((i - 1) / 10) * 20, 58, c.type == TYPE::Prompt ? kDefault : 16};
    if (c.type == TYPE::List) c.format = "80L(2)|M~Line~@s20@";
    c.tip = "Tip of control " + std::to_string(i);
    d.controls.push_back(c);
  }
  return d;
}

}  // namespace wevo::reliability

#endif  // WEVO_TESTS_RELIABILITY_HOST_WINDOWS_H_
