// The controls queue WNCTL of a window being designed: one row per control
// (and one for the window itself), with the label, type name, text, state
// and description it is listed under and the tab order and row id of its
// stored override row. Design mode builds it when it starts, finds labels in
// it by field number, and the control list window shows and reorders it.
#ifndef WEVO_CONTROLLIST_CONTROL_QUEUE_H_
#define WEVO_CONTROLLIST_CONTROL_QUEUE_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "wevo/window.h"

namespace wevo::controllist {

// Text fields are fixed width and blank-padded (wevo/text.h).
struct WNCTL {
  char LABEL[60];        // "?OkButton"; "WINDOW" for the window's row
  char TYPETXT[20];      // the type's name (store/control_type_names.h, control-list set)
  char SCRTEXT[80];      // the control's text for the types that show one, else blank
  char STATETXT[20];     // "Hidden" or "Visible"
  char DESCRIPTION[60];  // the first 60 characters of the row's DESCRIPTION
  int32_t FEQ;           // field number; 0 for the window
  int32_t TYPE;          // type code; 0 for the window
  int32_t TABORDER;      // the row's ORDER
  int32_t UID;           // the row's UID; 0 when the control has no row
};

using ControlQueue = std::vector<WNCTL>;

// Empties `queue` and lists the window's own row, then every control of
// `window` in field-number order, each with its override row under
// (procedureName, uniqueMarker), found by the control's whole label (the
// queue's LABEL may be cut). A control without a row gets
// one, captured from the live control, with DESCRIPTION its label without
// the "?", FEQ and ORDER its field number (the window's row: "WINDOW", 0)
// and a new UID; a row found is read and not written.
//
// Numbers with no control behind them are left out, and a control without a
// label is listed without a row (UID 0): a row is found again only by its
// label, so a blank one would be shared by every such control.
//
// Opens the store through the thread's use count (its name and password must
// have been set); a failed add is reported by the store and the control is
// listed all the same. Leaves the window in dialog units. Runs on the thread
// that owns the window; uses WIN().
void FillControlQueue(ControlQueue& queue, Window& window, std::string_view procedureName,
                      std::string_view uniqueMarker);

// The queue's row of control `feq` / with row id `uid`; nullptr when none.
WNCTL* FindByFeq(ControlQueue& queue, int32_t feq);
WNCTL* FindByUid(ControlQueue& queue, int32_t uid);
// Sorts by TABORDER, ascending; rows of equal TABORDER keep their order.
void SortByTabOrder(ControlQueue& queue);

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_CONTROL_QUEUE_H_
