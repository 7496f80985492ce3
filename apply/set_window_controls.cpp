#include "apply/set_window_controls.h"

#include <string>
#include <vector>

#include "apply/host_window.h"
#include "apply/original_rows.h"
#include "apply/override_rows.h"
#include "apply/row_identity.h"
#include "apply/row_writes.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/toolkit/no_unwind.h"
#include "store/prepare_store.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

// How long reading the window's rows waits for a station in the middle of
// writing the store, as the store's transactions wait.
constexpr int kReadWaitSeconds = store::StoreTransaction::kWaitSeconds;

// Drawing of one window frozen for the life of the object (also when the
// program ends while it is frozen).
class FrozenDrawing {
 public:
  explicit FrozenDrawing(const Window& window) { lockWindowUpdate(window.get(0, PROP::Handle).num()); }
  ~FrozenDrawing() { lockWindowUpdate(0); }
  FrozenDrawing(const FrozenDrawing&) = delete;
  FrozenDrawing& operator=(const FrozenDrawing&) = delete;
};

// The window's rows and what they do to it.
struct WindowRows {
  kf::RowSet originals;
  kf::RowSet overrides;
  std::vector<RowOfControl> matched;
};

// The window's original rows and its marker's override rows, read as one
// state of the store (on a server, in one round trip). False when they
// could not be read.
bool readWindowRows(kf::File& file, std::string_view procedureName, std::string_view uniqueMarker, WindowRows& rows) {
  store::WindowControls originals, overrides;
  SetRowKey(originals, procedureName, store::kOriginalMarker, "");
  SetRowKey(overrides, procedureName, uniqueMarker, "");
  const kf::File::RangeRead ranges[] = {{store::KEYPROCEDUREMARKERLABEL, 2, &originals, &rows.originals},
                                        {store::KEYPROCEDUREMARKERLABEL, 2, &overrides, &rows.overrides}};
  return file.readRanges(ranges, kReadWaitSeconds);
}

// The store work of one window open, with its writes going to `writes`:
// the original rows refreshed, then the override rows (read after those
// writes: a marker may name the original rows themselves) matched to their
// controls. False when the rows could not be read.
bool refreshAndMatch(Window& window, std::string_view procedureName, std::string_view uniqueMarker, kf::File& file,
                     WindowRows& rows, RowWrites& writes) {
  if (!ReadOriginalRows(file, procedureName, rows.originals)) return false;
  RefreshOriginalRows(window, procedureName, rows.originals, writes);
  if (!ReadOverrideRows(file, procedureName, uniqueMarker, rows.overrides)) return false;
  rows.matched = MatchOverrideRows(window, rows.overrides, writes);
  return true;
}

// Reads the window's rows and works out the store work, writing nothing and
// without holding the store for writing; when that finds something to
// write, takes the store for writing, reads again and writes. A window whose
// design and rows did not change is opened on one read of its rows.
// False when the rows could not be read.
bool storeWork(Window& window, std::string_view procedureName, std::string_view uniqueMarker, WindowRows& rows) {
  kf::File& file = store::winFile();
  PlannedWrites planned;
  if (!readWindowRows(file, procedureName, uniqueMarker, rows)) return false;
  RefreshOriginalRows(window, procedureName, rows.originals, planned);
  rows.matched = MatchOverrideRows(window, rows.overrides, planned);
  if (planned.count() == 0) return true;

  // The write depends on what the rows hold now: read again inside it. A
  // store held past the wait is still written, one write at a time.
  auto transaction = store::StoreTransaction::beginOrGoOnWithout(file);
  StoreWrites writes(file);
  const bool done = refreshAndMatch(window, procedureName, uniqueMarker, file, rows, writes);
  transaction.commit();
  return done;
}

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
      window.set(0, PROP::Pixels, 0);
      WindowRows rows;
      if (storeWork(window, procedureName, uniqueMarker, rows)) {
        ApplyOverrideRows(window, rows.overrides, rows.matched);
        first = ApplyTabOrder(window, rows.overrides, store::winFile().keyOrder(rows.overrides, store::ORDERKEY));
      } else if (store::winFile().isOpen()) {
        // Rows that could not be read (a store held past the wait, damaged,
        // or a server gone in the middle) are reported: a window left as
        // designed without a word looks like customisations lost. A store
        // that did not open was reported by the open.
        store::standardMessage(store::kMsgRetrievalError, store::winDecl().label);
      }
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
  wevo::toolkit::runWithoutUnwinding("WEVO_SETWINDOWCONTROLS", [&] {
    if (settings == nullptr) return;
    wevo::Window* w = wevo::apply::WindowOfThisThread(window);
    if (w == nullptr) return;
    wevo::apply::SetWindowControls(*w, wevo::apply::TextArgument(procedureName),
                                   wevo::apply::TextArgument(uniqueMarker), *settings);
  });
}
