// A host written in C, as a program in another language calls the library:
// it fills a WEVOSETTINGS itself (texts ending at a NUL) and calls the two C
// entries. c_host.c is compiled as C11; the tests call it from C++.
#ifndef WEVO_TESTS_C_ENTRIES_C_HOST_H_
#define WEVO_TESTS_C_ENTRIES_C_HOST_H_

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// What a C host passes on every call.
typedef struct CHostSettings {
  const char* folder;    // the store's folder, without a trailing separator
  const char* password;  // the store's password
  int32_t promptOnExit;
} CHostSettings;

// WEVO_SETWINDOWCONTROLS for the window with this handle.
void cHostCustomise(int64_t window, const char* procedure, const char* marker, const CHostSettings* settings);
// WEVO_PROCESSWINDOW for the window with this handle, starting with `field`.
void cHostDesign(int64_t window, int32_t field, const char* procedure, const char* marker,
                 const CHostSettings* settings);

// The settings record as the C compiler lays it out.
typedef struct CHostLayout {
  size_t size;
  size_t passwordOffset;
  size_t promptOffset;
} CHostLayout;
CHostLayout cHostLayout(void);

#ifdef __cplusplus
}
#endif

#endif  // WEVO_TESTS_C_ENTRIES_C_HOST_H_
