#include "apply/set_window_controls.h"

#include <string>

#include "apply/host_window.h"
#include "apply/original_rows.h"
#include "apply/override_rows.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/prepare_store.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

// Drawing of one window frozen for the life of the object (also when the
// program ends while it is frozen).
class FrozenDrawing {
 public:
  explicit FrozenDrawing(const Window& window) { lockWindowUpdate(window.get(0, PROP::Handle).num()); }
  ~FrozenDrawing() { lockWindowUpdate(0); }
  FrozenDrawing(const FrozenDrawing&) = delete;
  FrozenDrawing& operator=(const FrozenDrawing&) = delete;
};

}  // namespace

bool IsOriginalMarker(std::string_view uniqueMarker) {
  return text::upper(text::clip(uniqueMarker)) == "ORIGINAL";
}

void SetWindowControls(Window& window, std::string_view procedureName, std::string_view uniqueMarker,
                       WEVOSETTINGS& settings) {
  if (IsOriginalMarker(uniqueMarker)) return;
  if (!OwnedByThisThread(window)) return;
  // The store and its password as the caller gave them, for the whole call.
  const store::StoreContext context = store::PrepareStore(settings);
  const store::StoreBinding bound(context);
  int first = 0;
  {
    FrozenDrawing frozen(window);
    {
      store::StoreUse win(store::winFile());
      store::StoreUse win2(store::win2File());
      // The whole call's store work in one transaction (store_transaction.h);
      // a store held past the wait still customises the window.
      auto transaction = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
      window.set(0, PROP::Pixels, 0);
      RefreshOriginalRows(window, procedureName);
      ApplyOverrideRows(window, procedureName, uniqueMarker);
      first = ApplyTabOrder(window, procedureName, uniqueMarker);
      transaction.commit();
    }
  }
  if (first != 0) window.select(first);
  window.display(0);
}

}  // namespace wevo::apply

namespace WEVO {

void SETWINDOWCONTROLS(wevo::Window& window, std::string procedureName, std::string uniqueMarker,
                       WEVOSETTINGS& settings) {
  wevo::apply::SetWindowControls(window, procedureName, uniqueMarker, settings);
}

}  // namespace WEVO

extern "C" void WEVO_SETWINDOWCONTROLS(int64_t window, const char* procedureName, const char* uniqueMarker,
                                       WEVOSETTINGS* settings) {
  if (settings == nullptr) return;
  wevo::Window* w = wevo::apply::WindowOfThisThread(window);
  if (w == nullptr) return;
  wevo::apply::SetWindowControls(*w, wevo::apply::TextArgument(procedureName),
                                 wevo::apply::TextArgument(uniqueMarker), *settings);
}
