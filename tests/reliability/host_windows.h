// The host windows and settings the reliability tests customise: windows of
// any number of controls of mixed types, and the program they run as.
//
// Header only: included by *_test.cpp files alone.
#ifndef WEVO_TESTS_RELIABILITY_HOST_WINDOWS_H_
#define WEVO_TESTS_RELIABILITY_HOST_WINDOWS_H_

#include <string>

#include "tests/testing/mixed_window.h"
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

inline RunOptions programOptions(ViewFactory view, const std::string& program = kProgram) {
  RunOptions options;
  options.view = std::move(view);
  options.args = {program};
  return options;
}

inline std::string controlLabel(int i) { return testing::mixedControlLabel(i); }

// A window of `n` controls of mixed types (tests/testing/mixed_window.h).
inline WindowDecl windowOf(const std::string& caption, int n) { return testing::mixedWindow(caption, n); }

}  // namespace wevo::reliability

#endif  // WEVO_TESTS_RELIABILITY_HOST_WINDOWS_H_
