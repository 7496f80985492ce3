#include "tests/c_entries/c_host.h"

#include <stdio.h>
#include <string.h>
#include <wevo/wevo.h>

_Static_assert(offsetof(WEVOSETTINGS, WEVOPATH) == 0, "WEVOPATH starts the record");
_Static_assert(offsetof(WEVOSETTINGS, PASSWORD) == 256, "PASSWORD follows 256 bytes of WEVOPATH");
_Static_assert(offsetof(WEVOSETTINGS, PROMPTONEXIT) == 384, "PROMPTONEXIT follows 128 bytes of PASSWORD");

// A C host's record: zeroed, texts copied with their NUL.
static WEVOSETTINGS fill(const CHostSettings* from) {
  WEVOSETTINGS s;
  memset(&s, 0, sizeof s);
  snprintf(s.WEVOPATH, sizeof s.WEVOPATH, "%s", from->folder);
  snprintf(s.PASSWORD, sizeof s.PASSWORD, "%s", from->password);
  s.PROMPTONEXIT = from->promptOnExit;
  return s;
}

void cHostCustomise(int64_t window, const char* procedure, const char* marker, const CHostSettings* settings) {
  WEVOSETTINGS s = fill(settings);
  WEVO_SETWINDOWCONTROLS(window, procedure, marker, &s);
}

void cHostDesign(int64_t window, int32_t field, const char* procedure, const char* marker,
                 const CHostSettings* settings) {
  WEVOSETTINGS s = fill(settings);
  WEVO_PROCESSWINDOW(window, field, procedure, marker, &s);
}

CHostLayout cHostLayout(void) {
  CHostLayout layout = {sizeof(WEVOSETTINGS), offsetof(WEVOSETTINGS, PASSWORD),
                        offsetof(WEVOSETTINGS, PROMPTONEXIT)};
  return layout;
}
