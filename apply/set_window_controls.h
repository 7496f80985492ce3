// The entry a host calls right after it opens a window (and before its first
// display): the window's designed properties are kept as its original rows,
// the overrides stored for the procedure and marker are applied, and their
// tab order restored. The public forms are WEVO::SETWINDOWCONTROLS and
// WEVO_SETWINDOWCONTROLS (wevo/wevo.h).
#ifndef WEVO_APPLY_SET_WINDOW_CONTROLS_H_
#define WEVO_APPLY_SET_WINDOW_CONTROLS_H_

#include <string_view>

#include "wevo/wevo.h"
#include "wevo/window.h"

namespace wevo::apply {

// Whether a marker turns the entry into a no-op: "ORIGINAL" in any case,
// trailing blanks ignored.
bool IsOriginalMarker(std::string_view uniqueMarker);

// Customises `window` for (procedureName, uniqueMarker), in this order:
//   1. a marker of "ORIGINAL" (IsOriginalMarker) does nothing at all, and so
//      does a window that is not open on the calling thread;
//   2. the store is prepared from `settings` (named, its password set, an
//      older store upgraded; WEVOPATH may gain a trailing "/");
//   3. the window's drawing is frozen;
//   4. both declarations of the store are opened (use counts; a missing store
//      is created, an unusable one ends the program);
//   5. the window is switched to dialog units, where it stays;
//   6. the original rows are refreshed (original_rows.h);
//   7. the override rows are applied (override_rows.h);
//   8. their tab order is restored;
//   9. the store is closed (use counts), drawing released;
//  10. the first control of that tab order, if any, is selected;
//  11. the whole window is redisplayed.
// Names and markers are cut to 80 characters and compare ignoring case and
// trailing blanks; blank ones are names like any other.
void SetWindowControls(Window& window, std::string_view procedureName, std::string_view uniqueMarker,
                       WEVOSETTINGS& settings);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_SET_WINDOW_CONTROLS_H_
