// The scripted tour: `wevodemo --tour DIR` runs the demonstration with a
// scripted user on the Qt view (offscreen works) and writes one picture per
// step and a transcript of what happened.
#ifndef WEVO_DEMO_TOUR_H_
#define WEVO_DEMO_TOUR_H_

#include <ostream>
#include <string>

#include "demo/tour_steps.h"
#include "wevo/program.h"

namespace wevo::demo {

// The file names the tour writes into its folder.
inline constexpr const char* kTranscriptName = "transcript.txt";
inline constexpr const char* kTourProgramName = "wevodemo";  // the store is <folder>/wevodemo.wevo

// Measures where every labelled control of the sample windows lies as
// designed, opening them hidden in a program of its own on `view`. False
// (saying why on `log`) when that program fails.
bool MeasurePlaces(const ViewFactory& view, TourPlaces& places, std::ostream& log);

// Plays every step of tourSteps() and writes DIR/<number>-<name>.png for
// each and DIR/transcript.txt: per step what it shows, the dialogs shown and
// their answers, where the watched controls are, and every store row added,
// changed or removed (read with the sqlcipher shell). The store starts
// afresh in DIR. Must be called on the process's main thread. Returns 0 when
// every step went through and every picture was written; otherwise says why
// on `log` and returns 1. With `designerExtras` the steps of
// designerExtrasTour() follow the others (design mode must snap: the host
// turns it on).
int RunTour(const std::string& dir, std::ostream& log, bool designerExtras = false);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_TOUR_H_
