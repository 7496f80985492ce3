// Where a window and its controls are, in pixels: the window's screen
// position and client size within their limits, the coordinate mode and the
// dialog units of the window's font, each control's effective rectangle
// (default and full sizes resolved), and hit tests.
//
// Positions are held in pixels as doubles, so that whole numbers written in
// either coordinate mode read back unchanged in that mode; reads round to
// the nearest whole number, halves upwards. Control positions are relative
// to the window's client area.
#ifndef WEVO_PLATFORM_TOOLKIT_WINDOW_GEOMETRY_H_
#define WEVO_PLATFORM_TOOLKIT_WINDOW_GEOMETRY_H_

#include <cstdint>

#include "platform/toolkit/change_log.h"
#include "platform/toolkit/control.h"
#include "platform/toolkit/control_set.h"
#include "platform/view/view.h"
#include "wevo/value.h"

namespace wevo::toolkit {

struct RectD {
  double x = 0, y = 0, w = 0, h = 0;
};

// Rounds a pixel or unit value to the whole number a property read gives.
int64_t roundUnits(double v);

class WindowGeometry {
 public:
  WindowGeometry(const ControlSet& controls, ChangeLog& changes) : controls_(controls), changes_(changes) {}

  // The view that measures fonts (nullptr: the headless view's measures).
  void setView(View* view) { view_ = view; }
  View* view() const { return view_; }

  // ---- The window's font and dialog units ----
  const FontDesc& font() const { return font_; }
  // A new window font: new dialog units, every natural size measured again.
  void setFont(const FontDesc& font);
  FontMetrics metricsOf(const FontDesc& f) const;
  double dluX() const { return dluX_; }
  double dluY() const { return dluY_; }
  // The coordinate mode: pixels, or dialog units of the window's font.
  bool pixelsMode() const { return pixels_; }
  void setPixelsMode(bool on) { pixels_ = on; }
  // A property value in the window's mode, as pixels, and back.
  double toPxX(const Value& v) const;
  double toPxY(const Value& v) const;
  int64_t fromPxX(double px) const;
  int64_t fromPxY(double px) const;

  // ---- The window ----
  double screenX() const { return screenX_; }
  double screenY() const { return screenY_; }
  void moveTo(double sx, double sy);
  RectD clientRect() const { return {0, 0, clientW_, clientH_}; }
  void setClientWidth(double w);
  void setClientHeight(double h);
  // Minimum and maximum client size, pixels; 0: none.
  struct Limits {
    double minW = 0, minH = 0, maxW = 0, maxH = 0;
  };
  const Limits& limits() const { return limits_; }
  void setLimits(const Limits& limits) { limits_ = limits; }
  // A size the user asks for, kept within the limits.
  void resizeByUser(double w, double h);

  // ---- Controls ----
  RectD rect(const Control& c) const;  // effective, client-relative
  // The control's natural size (default width and height), pixels.
  void naturalSize(const Control& c, double& w, double& h) const;
  // Natural sizes are measured again (the window's font changed).
  void invalidateNatural();
  FontDesc effectiveFont(const Control& c) const;
  // List geometry: the height of one row and of the header.
  double rowHeight(const Control& c) const;
  double headerHeight(const Control& c) const;
  int visibleRows(const Control& c) const;
  // The control under a client point: the smallest visible one, later ones
  // winning ties; 0 when none.
  int controlAt(double x, double y) const;
  // The row of a list under a client point (1-based), 0 when none.
  int rowAt(const Control& list, double y) const;

 private:
  RectD containerRect(const Control& c) const;

  const ControlSet& controls_;
  ChangeLog& changes_;
  View* view_ = nullptr;
  double screenX_ = 0, screenY_ = 0, clientW_ = 0, clientH_ = 0;
  Limits limits_;
  bool pixels_ = false;
  FontDesc font_;
  FontMetrics metrics_;
  double dluX_ = 1, dluY_ = 1;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_WINDOW_GEOMETRY_H_
