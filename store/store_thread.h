// The calling host thread's own state of the store: a record buffer and a
// keyed-file instance for each of the three declarations (winDecl(),
// win2Decl(), win001Decl()), their use counts, the thread's
// GlobalRequest / GlobalResponse and the position text kept by the update
// of the current row.
//
// Everything here is thread_local: made, cleared, on the first use on a
// thread and destroyed (files closed) when the thread ends. A reference
// handed out stays valid for the life of the calling thread and must not be
// passed to another thread.
#ifndef WEVO_STORE_STORE_THREAD_H_
#define WEVO_STORE_STORE_THREAD_H_

#include <cstdint>
#include <string>

#include "platform/keyedfile/keyed_file.h"
#include "store/window_controls.h"

namespace wevo::store {

// Record buffers. A fresh buffer is cleared: numbers 0, text blank.
WindowControls& WIN();
WindowControls& WIN2();
WindowControls001& WIN_001();

// The instances bound to those buffers. Their name and owner come from the
// process-wide store variables (store_file_vars.h) unless set on the instance.
kf::File& winFile();
kf::File& win2File();
kf::File& win001File();

// An instance of winDecl() with a record buffer of its own and no use
// count, for the format check (prepare_store.h), which tries the store
// through its own instance before the counted ones open it: made once per
// thread, so that each check does not build a declaration's statements again.
kf::File& formatCheckFile();

// How many operations of this thread hold `file` open through the counting
// open (store_open.h). `file` must be one of the three instances above.
int& useCount(kf::File& file);

// A caller sets the request before it opens a form (0: none) and reads the
// response after it.
int32_t& GlobalRequest();
int32_t& GlobalResponse();
inline constexpr int32_t kRequestInsert = 1;
inline constexpr int32_t kRequestChange = 2;
inline constexpr int32_t kRequestDelete = 3;
inline constexpr int32_t kResponseCompleted = 1;
inline constexpr int32_t kResponseCancelled = 2;

// The KEYUID position of the row the update of the current row last
// rewrote (up to 512 characters).
std::string& updatePosition();

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_THREAD_H_
