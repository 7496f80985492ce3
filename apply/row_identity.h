// How a stored row names its window and its control, in one place: the key
// values (procedure, marker, label), the identity a new row starts with, and
// the comparisons the walks over one window's rows make.
//
// Names longer than their field are cut to it, as the store keeps them, so a
// name and its stored form always compare equal. Procedure names and markers
// compare ignoring letter case and trailing blanks; labels compare letter for
// letter, trailing blanks ignored.
#ifndef WEVO_APPLY_ROW_IDENTITY_H_
#define WEVO_APPLY_ROW_IDENTITY_H_

#include <string>
#include <string_view>

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::apply {

// Clears `row` (numbers 0, text blank) and sets PROCEDURENAME, UNIQUEMARKER
// and CONTROLLABEL, ready for a lookup by KEYPROCEDUREMARKERLABEL or, with a
// blank label, for positioning at the window's first row.
void SetRowKey(store::WindowControls& row, std::string_view procedureName, std::string_view uniqueMarker,
               std::string_view label);

// The identity a new row of control `field` starts with: DESCRIPTION (the
// label without its leading "?"; a blank label gives a blank description; the
// window's own row, field 0 labelled "WINDOW", is described "WINDOW"), FEQ and
// ORDER (both `field`). The key fields are SetRowKey's.
void SetNewRowIdentity(store::WindowControls& row, int field, std::string_view label);

// The label a row of control `field` is stored under: "WINDOW" for field 0,
// otherwise the control's label ("" when the field has no control).
std::string RowLabel(const Window& window, int field);

// Whether `row` belongs to (procedureName, uniqueMarker): the stop rule of
// every walk over one window's rows.
bool RowBelongsTo(const store::WindowControls& row, std::string_view procedureName,
                  std::string_view uniqueMarker);

// Whether a live control's label is the one a row stores (the live label cut
// to the field's width).
bool LabelMatches(std::string_view liveLabel, const store::WindowControls& row);

// A label as the store's keys compare it: cut to the field, trailing blanks
// dropped, ASCII letters in lower case. A lookup by label finds the rows
// whose labels give the same text.
std::string KeyLabel(std::string_view label);

// Whether a row is the window's own: CONTROLLABEL "WINDOW" in any case and
// FEQ 0.
bool IsWindowRow(const store::WindowControls& row);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_ROW_IDENTITY_H_
