// How design mode (WEVO::PROCESSWINDOW) helps the user place controls beyond
// what it always does: snapping with guide lines while a control is dragged
// or sized, and the step the Ctrl+arrow keys move the selection by.
//
// Options are process-wide or per window; a window's own options win. A host
// that sets none gets DesignOptions{} with `snapping` as the process default
// says (setSnappingByDefault: off unless turned on; the switch is there for
// integrations that snap by default, as Qt hosts are to).
//
//   wevo::DesignOptions options;
//   options.snapping = true;
//   wevo::setDesignOptions(options);          // every window of the process
//   wevo::setDesignOptions(window, options);  // this window only
#ifndef WEVO_DESIGN_OPTIONS_H_
#define WEVO_DESIGN_OPTIONS_H_

#include "wevo/export.h"

namespace wevo {

class Window;

struct DesignOptions {
  // While the mouse drags or sizes a control, the edges and the centre lines
  // that move snap to the edges and centre lines of the other visible
  // controls and to the window's edges and margins lying within
  // `snapDistance` pixels, and thin guide lines show what they snapped to
  // while it holds. Holding Alt turns snapping off for as long as it is held.
  bool snapping = false;
  int snapDistance = 5;  // pixels
  int margin = 8;        // pixels: the window's margin lines lie this far inside its edges
  int gridStep = 8;      // pixels: the move of Ctrl+Left/Right/Up/Down
};

// The options of every window that has none of its own. Values below 0
// count as 0, a grid step below 1 as 1.
WEVO_API void setDesignOptions(const DesignOptions& options);
// The process-wide options: those set, else the defaults.
WEVO_API DesignOptions designOptions();
// Forgets the process-wide options set: the defaults apply again.
WEVO_API void clearDesignOptions();

// Options for one window; on the thread that owns it, while it is open (a
// closed window ignores them). They last until the window closes or
// clearDesignOptions.
WEVO_API void setDesignOptions(Window& window, const DesignOptions& options);
WEVO_API void clearDesignOptions(Window& window);
// The options design mode uses for the window: its own, else the process's.
WEVO_API DesignOptions designOptions(const Window& window);

// Whether snapping is on where no host set options: the one switch for a
// default. Off unless turned on.
WEVO_API void setSnappingByDefault(bool on);

}  // namespace wevo

#endif  // WEVO_DESIGN_OPTIONS_H_
