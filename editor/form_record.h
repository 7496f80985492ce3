// What the property form does with its record in the store: the lookup that
// decides between insert and change, priming and adding a new record,
// deleting on request, reading the live control's placement, the change test,
// and the reset from the control's original row.
//
// All of these work on the calling thread's store buffers (WIN(), WIN2()) and
// instances, which the form holds open.
#ifndef WEVO_EDITOR_FORM_RECORD_H_
#define WEVO_EDITOR_FORM_RECORD_H_

#include <cstdint>
#include <string_view>

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::editor {

// The text shown at the top of the General tab: the procedure name and the
// marker, without trailing blanks, joined by " - ", cut at `width`.
void SetInfoMessage(char* out, size_t width, std::string_view procedureName, std::string_view uniqueMarker);

// Fills WIN() with the key (procedure, marker, label; the rest cleared) and
// reads the row it names. True when the store has it (WIN() then holds it and
// it is the current row).
bool LookUpRecord(std::string_view procedureName, std::string_view uniqueMarker, std::string_view label);

// Turns WIN(), the cleared record with its key that LookUpRecord did not
// find, into a new record for control `field`: its blob emptied, its
// description the label without its "?" ("WINDOW" for the window's row,
// blank for a blank label), FEQ and ORDER `field`, TYPE 0. Then adds it under
// the next UID. True when added (WIN() holds it; it is the current row).
// False when numbering failed or the user gave up: the store reported it (and
// nothing follows the user's Cancel of the retry question), and no close is
// posted to any window, since the form has none yet.
bool PrimeRecord(int field, std::string_view label);

// The delete request: asks for confirmation (message 32), then deletes the
// row WIN() holds (found again by its UID, so that a caller that read it
// through a view need not leave it current) in a transaction, with the wait
// cursor, asking again (message 18, Yes retries) when that fails. Returns
// the form's response: 1 deleted, 2 not.
int DeleteRequest();

// Puts the live control's position and size into the record (in dialog
// units, as the store keeps them), with its default-size flags and size
// types. The host window keeps its coordinate mode. A field the window has
// no control for leaves the record as it is.
void CopyLiveGeometry(Window& host, int field, store::WindowControls& record);

// Whether the record differs from `saved` byte for byte, or its blob was
// changed since it was read.
bool RecordChanged(const store::WindowControls& record, const store::WindowControls& saved);

// Copies the control's original row (same procedure and label, marker
// WEVO_ORIGINAL, read through WIN2) into `record` field by field, keeping
// UID, UNIQUEMARKER, FEQ and ORDER. False (the record unchanged) when there
// is no original row.
bool ResetFromOriginal(store::WindowControls& record);

// The caption: the live control's type name ("BUTTON"; blank for the window,
// sheets, tabs and unknown types), a space, and the label.
std::string FormCaption(const Window& host, int field, const store::WindowControls& record);

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_FORM_RECORD_H_
