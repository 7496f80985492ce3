// The forms of the reliability tests. Every test runs its short form by
// default (fit for every build); WEVO_RELIABILITY=long selects the long form,
// which the CTest tests labelled "long" run; WEVO_RELIABILITY=quick, which
// the sanitizer builds set, a third of the short form, because there every
// child process costs many times as much and the point is to see each path
// run under the sanitizer, not to run it often.
//
// Header only: included by *_test.cpp files alone.
#ifndef WEVO_TESTS_RELIABILITY_RELIABILITY_FORM_H_
#define WEVO_TESTS_RELIABILITY_RELIABILITY_FORM_H_

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace wevo::reliability {

inline bool longForm() {
  const char* form = std::getenv("WEVO_RELIABILITY");
  return form != nullptr && std::strcmp(form, "long") == 0;
}

inline bool quickForm() {
  const char* form = std::getenv("WEVO_RELIABILITY");
  return form != nullptr && std::strcmp(form, "quick") == 0;
}

// `shortCount` in the short form, `longCount` in the long one, a third of
// `shortCount` (at least 2) in the quick one.
inline int scaled(int shortCount, int longCount) {
  if (longForm()) return longCount;
  if (quickForm()) return shortCount / 3 > 2 ? shortCount / 3 : 2;
  return shortCount;
}

// A figure the run measured, printed for the log (and the README's tables).
inline void reportFigure(const std::string& what, const std::string& value) {
  std::cout << "[figure] " << what << ": " << value
            << (longForm() ? " (long form)" : quickForm() ? " (quick form)" : " (short form)")
            << std::endl;
}

}  // namespace wevo::reliability

#endif  // WEVO_TESTS_RELIABILITY_RELIABILITY_FORM_H_
