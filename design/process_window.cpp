// The exported entry into design mode, in its C++ and C forms.
#include <string>
#include <utility>

#include "apply/host_window.h"
#include "design/design_session.h"
#include "platform/toolkit/no_unwind.h"
#include "wevo/wevo.h"

namespace WEVO {

void PROCESSWINDOW(wevo::Window& window, int32_t field, std::string procedureName, std::string uniqueMarker,
                   WEVOSETTINGS& settings) {
  // Only the thread that owns a window may touch it.
  if (!wevo::apply::OwnedByThisThread(window)) return;
  wevo::design::DesignSession session(window, field, std::move(procedureName), std::move(uniqueMarker), settings);
  session.run();
}

}  // namespace WEVO

extern "C" void WEVO_PROCESSWINDOW(int64_t window, int32_t field, const char* procedureName,
                                   const char* uniqueMarker, WEVOSETTINGS* settings) {
  wevo::toolkit::runWithoutUnwinding("WEVO_PROCESSWINDOW", [&] {
    wevo::Window* host = wevo::apply::WindowOfThisThread(window);
    if (host == nullptr || settings == nullptr) return;
    WEVO::PROCESSWINDOW(*host, field, wevo::apply::TextArgument(procedureName),
                        wevo::apply::TextArgument(uniqueMarker), *settings);
  });
}
