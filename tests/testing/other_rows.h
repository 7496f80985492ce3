// The rows of other procedures that the benchmarks' stores hold beside the
// windows they measure: 100,000 rows of 500 procedures, each with four
// markers (WEVO_ORIGINAL among them) of 50 controls. Header only.
#ifndef WEVO_TESTS_TESTING_OTHER_ROWS_H_
#define WEVO_TESTS_TESTING_OTHER_ROWS_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/window_controls.h"
#include "tests/testing/mixed_window.h"
#include "wevo/text.h"

namespace wevo::testing {

inline constexpr int kOtherProcedures = 500;
inline constexpr int kOtherMarkers = 4;
inline constexpr int kOtherLabels = 50;

// Ends a benchmark whose store could not be set up, with the file's error.
[[noreturn]] inline void failKeyedFile(const char* what) {
  std::fprintf(stderr, "%s failed: %d %s %s\n", what, kf::errorCode(), kf::errorText().c_str(),
               kf::driverErrorText().c_str());
  std::abort();
}

// Appends the rows to `f` (open, `r` its record buffer), numbered after `uid`,
// which ends as the last number given.
inline void appendOtherRows(kf::File& f, store::WindowControls& r, uint32_t& uid) {
  for (int p = 0; p < kOtherProcedures; ++p)
    for (int m = 0; m < kOtherMarkers; ++m)
      for (int l = 0; l < kOtherLabels; ++l) {
        kf::clearRecord(store::winDecl(), &r);
        r.UID = ++uid;
        text::assign(r.PROCEDURENAME, "Procedure" + std::to_string(p));
        text::assign(r.UNIQUEMARKER, m == 0 ? store::kOriginalMarker : "Marker" + std::to_string(m));
        text::assign(r.CONTROLLABEL, mixedControlLabel(l));
        text::assign(r.DESCRIPTION, mixedControlLabel(l).substr(1));
        text::assign(r.CONTROLTEXT, "Text of control " + std::to_string(l));
        r.FEQ = r.ORDER = l + 1;
        r.TYPE = 1 + l % 21;
        r.WIDTH = 60;
        r.HEIGHT = 12;
        if (!f.append()) failKeyedFile("append");
      }
}

}  // namespace wevo::testing

#endif  // WEVO_TESTS_TESTING_OTHER_ROWS_H_
