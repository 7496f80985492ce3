// BrowseFormFields: the modal window "Processed controls for <procedure>"
// that lists the stored rows of the window being designed under one unique
// marker, and inserts, changes and deletes them through the property form.
//
//   browse::BrowseFormFields(host, procedure, marker);
//
// The drop list offers every marker stored for the procedure (WEVO_ORIGINAL
// among them: changing those rows changes what a reset goes back to);
// choosing one lists its rows. The list shows the rows in upper-case label
// order, a page at a time: only the rows it shows are read, and scrolling,
// paging, dragging the thumb and typing read the rows they reach. Typing the
// first character of the selected label steps to the next row; any other
// character jumps to the first label not before it.
//
// Keys on the list: a double click or Ctrl+Enter changes the selected row,
// Insert inserts (the Insert button itself is hidden), Delete deletes, the
// right button or the Apps key selects the row under the mouse and offers
// "&Insert|&Change|&Delete" (Change and Delete disabled, as are their
// buttons, while the list is empty). Every update re-reads the row it works
// on, watched, then runs the property form with GlobalRequest 1, 2 or 3:
// an insert edits the row with a blank label and field number 0 for the
// procedure and marker (adding it when there is none), a delete asks the
// form's confirmation. The list is then loaded again around the row written.
//
// A view that cannot be set up shows standard warning 36 and the browse
// stays open; a failed read other than the end of the rows shows warning 35
// ("WindowControls") and closes it.
#ifndef WEVO_BROWSE_BROWSE_FORM_FIELDS_H_
#define WEVO_BROWSE_BROWSE_FORM_FIELDS_H_

#include <string_view>

#include "wevo/window.h"

namespace wevo::browse {

// Runs the window to its end on the calling thread, which owns `host` (the
// window being designed, passed on to the property form). The store's name
// and password must be set. Clears GlobalRequest as it starts (and a pending
// right button); leaves GlobalResponse 1 when the user left through Exit,
// else 2.
void BrowseFormFields(Window& host, std::string_view procedureName, std::string_view uniqueMarker);

}  // namespace wevo::browse

#endif  // WEVO_BROWSE_BROWSE_FORM_FIELDS_H_
