// wevo: run-time customisation of a host program's windows.
//
// A host calls SETWINDOWCONTROLS right after it opens a window (before its
// first display) and PROCESSWINDOW when the user asks to design the window.
// Both take the window, the host procedure's name, a marker that tells apart
// several layouts of one procedure's window, and the host's settings.
#ifndef WEVO_WEVO_H_
#define WEVO_WEVO_H_

#include <stdint.h>

#ifdef __cplusplus
#include <string>
#endif

#include "wevo/export.h"

#pragma pack(push, 1)
// The settings a host passes on every call. WEVOPATH: the folder of the store
// (blank: beside the program); the library may append a path separator to it.
// PASSWORD: the store's password (blank: none). PROMPTONEXIT: non-zero asks on
// leaving design mode whether to keep the changes. Text fields are blank-padded.
typedef struct WEVOSETTINGS {
  char WEVOPATH[256];
  char PASSWORD[128];
  int32_t PROMPTONEXIT;
} WEVOSETTINGS;
#pragma pack(pop)
#ifdef __cplusplus
static_assert(sizeof(WEVOSETTINGS) == 388, "WEVOSETTINGS is 388 bytes");
#else
_Static_assert(sizeof(WEVOSETTINGS) == 388, "WEVOSETTINGS is 388 bytes");
#endif

#ifdef __cplusplus
namespace wevo {
class Window;
}

namespace WEVO {

// Records the window's designed properties as original rows, applies the
// overrides stored for (procedureName, uniqueMarker) and restores their tab
// order. A marker of "ORIGINAL" (any case) does nothing at all.
WEVO_API void SETWINDOWCONTROLS(wevo::Window& window, std::string procedureName, std::string uniqueMarker,
                                WEVOSETTINGS& settings);

// Puts the window into design mode with control `field` selected (0, or a
// number naming no control: the window) and returns when the user leaves it,
// with the window back in dialog units, given the focus and sent
// EVENT::Resumed. Does nothing for a window that is not open on the calling
// thread, or while another window of the process is in design mode.
WEVO_API void PROCESSWINDOW(wevo::Window& window, int32_t field, std::string procedureName,
                            std::string uniqueMarker, WEVOSETTINGS& settings);

}  // namespace WEVO

extern "C" {
#endif

// The same two for hosts in other languages. `window` is the window's handle
// (PROP::Handle); a handle of no open window does nothing. Null strings count
// as blank.
//
// Either call may end the program: when the store cannot be created, read or
// repaired and the message says the application ends ("File Creation
// Error!", "Invalid File!", "Invalid Key!", "Disk Error"), and, during design
// mode, when the program halts or its script fails. The C++ forms then
// unwind the calling thread as wevo::halt does. These two never unwind into
// their caller: they return, and the thread unwinds at its next toolkit call
// (Window::accept); anything else thrown inside ends the program as failed.
WEVO_API void WEVO_SETWINDOWCONTROLS(int64_t window, const char* procedureName, const char* uniqueMarker,
                                     WEVOSETTINGS* settings);
WEVO_API void WEVO_PROCESSWINDOW(int64_t window, int32_t field, const char* procedureName,
                                 const char* uniqueMarker, WEVOSETTINGS* settings);

// The same two for a form of a Qt Widgets program (see wevo/qt.h), for a
// program that reaches the library through C (a Python Qt program through
// ctypes, for example): `form` is the QWidget's address. Called on the
// QApplication's thread; an address where no widget lives, a call from
// another thread or null settings do nothing. Without a wevo::QtAttachment
// the first call makes one, which lasts until the application quits.
WEVO_API void WEVO_QT_SETWINDOWCONTROLS(void* form, const char* procedureName, const char* uniqueMarker,
                                        WEVOSETTINGS* settings);
WEVO_API void WEVO_QT_PROCESSWINDOW(void* form, const char* procedureName, const char* uniqueMarker,
                                    WEVOSETTINGS* settings);

#ifdef __cplusplus
}
#endif

#endif  // WEVO_WEVO_H_
