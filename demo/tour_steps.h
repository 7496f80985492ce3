// The steps of the scripted tour (`wevodemo --tour DIR`). Each step is a
// few moves of the scripted user, then a picture of one window and notes on
// where some of its controls are; the runner numbers the steps, reads the
// store after each, and writes the transcript.
//
// To add a window to the tour, write a section (a function returning its
// steps, each section starting and ending with only the frame open) and
// list it in tourSteps().
#ifndef WEVO_DEMO_TOUR_STEPS_H_
#define WEVO_DEMO_TOUR_STEPS_H_

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "wevo/script.h"

namespace wevo::demo {

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  int centerX() const { return x + w / 2; }
  int centerY() const { return y + h / 2; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where the sample windows' controls lie, in pixels of their client areas,
// as designed (before any customisation), measured on the view the tour
// runs on.
class TourPlaces {
 public:
  void set(const std::string& caption, const std::string& label, PixelRect rect);
  // The control's rectangle; throws std::out_of_range for one not measured.
  PixelRect rect(const std::string& caption, const std::string& label) const;

 private:
  std::map<std::pair<std::string, std::string>, PixelRect> rects_;
};

using TourMoves = std::function<void(Script&, const TourPlaces&)>;

struct TourStep {
  std::string name;    // the picture is "<number>-<name>.png"
  std::string says;    // what the picture shows, one sentence
  std::string window;  // caption of the window pictured (the newest of that caption)
  std::vector<std::string> watch;  // controls of `window` whose places the transcript notes
  TourMoves act;       // what the user does before the picture
  TourMoves then;      // what the user does after it (closing windows); may be empty
};

// The tour's sections, in order.
std::vector<TourStep> controlWindowTour();
std::vector<TourStep> demoWindowTour();
std::vector<TourStep> designMenuTour();
// Shown with --designer-extras, after the rest: undo, several controls
// selected and aligned, and snapping with its guide line (the host turns
// snapping on).
std::vector<TourStep> designerExtrasTour();
std::vector<TourStep> tourSteps(bool designerExtras = false);

// What the user does once every step is done: leaves the program.
void tourEnding(Script& script);

// The user opens a sample window from the frame's menu item `menuItem`
// ("?WEVO" or "?WEVO2") in the mode whose radio is `radio`
// ("?FORMMODE:RADIO1:3" is "Colors").
void openSample(Script& script, const std::string& menuItem, const std::string& radio);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_TOUR_STEPS_H_
