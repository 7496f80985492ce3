// UpdateScreenControlProperties: the property form, a modal window that edits
// every stored override of one control of a host window (one WindowControls
// row, named by procedure, marker and label). It reads and writes the store
// and never touches the live control; a caller that wants the saved row on
// screen applies it itself (apply_row.h).
//
// Contract with callers:
//   store::GlobalRequest() = 0;   // 1 insert, 2 change, 3 delete, 0 none
//   editor::UpdateScreenControlProperties(window, field, "?Name", marker, procedure);
//   if (store::GlobalResponse() == 1) { ...store::WIN() holds the row as saved... }
// The form clears both as it starts and sets the response as it ends: 1 when
// it wrote (or deleted) the row, 2 when the user cancelled or it failed.
//   - Whatever the request, a row that exists for (procedure, marker, label)
//     is edited as a change and one that does not is added at once under the
//     next UID (description the label without its "?", type 0) and edited as
//     an insert. Only request 3 differs: it deletes the store's current row
//     (the caller positions it) after the user confirms, without a window.
//   - The live control's position and size are read into the row when the
//     form opens, so a control moved since its row was stored opens changed.
//   - Save writes the row (a change only when it differs from the row as
//     read) and returns 1. Cancel writes nothing, asking first when the row
//     changed; a row the form added when it opened is removed again.
//   - Reset takes every field but UID, marker, FEQ and ORDER from the
//     control's WEVO_ORIGINAL row, if there is one; nothing is written
//     until Save.
//
// Preconditions: a host thread of a running program that owns `window`; the
// store's name and password set (as the entry points set them). `field` is
// the control's number in `window` (0: the window itself, whose label is
// "WINDOW"). The host window keeps its coordinate mode.
#ifndef WEVO_EDITOR_PROPERTY_FORM_H_
#define WEVO_EDITOR_PROPERTY_FORM_H_

#include <cstdint>
#include <string_view>

#include "wevo/window.h"

namespace wevo::editor {

void UpdateScreenControlProperties(Window& window, int32_t field, std::string_view label,
                                   std::string_view uniqueMarker, std::string_view procedureName);

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_PROPERTY_FORM_H_
