// The registry of window procedures: handles for procedures, for the life of
// the process. The two default procedures are registered first.
#ifndef WEVO_PLATFORM_TOOLKIT_WINDOW_PROCS_H_
#define WEVO_PLATFORM_TOOLKIT_WINDOW_PROCS_H_

#include <cstdint>

namespace wevo::toolkit {

int64_t defaultFrameProcHandle();
int64_t defaultClientProcHandle();

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_WINDOW_PROCS_H_
