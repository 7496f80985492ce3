// The markers the drop list of the processed-controls browse offers: every
// distinct unique marker stored for one procedure.
#ifndef WEVO_BROWSE_MARKER_QUEUE_H_
#define WEVO_BROWSE_MARKER_QUEUE_H_

#include <string_view>

#include "browse/browse_rows.h"

namespace wevo::browse {

// Empties `markers` and fills it with the distinct UNIQUEMARKERs of the rows
// of `procedureName` (matched ignoring case and trailing blanks), in the
// order of the key over procedure, marker and label; WEVO_ORIGINAL is one of
// them when the procedure has original rows. Markers that differ only in
// case count as one, listed as the first row spells it.
//
// Reads one row per marker, not every row: after a marker's first row it
// goes on from past that marker's last label. Reads through win2File(),
// which must be open, and WIN2(); stops quietly at a read error.
void FillMarkerQueue(MarkerQueue& markers, std::string_view procedureName);

}  // namespace wevo::browse

#endif  // WEVO_BROWSE_MARKER_QUEUE_H_
