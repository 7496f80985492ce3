// The label a controls-queue row's control is stored under. The queue lists
// labels cut to 60 characters; stored rows carry the whole label (up to 80),
// so lookups take it from the live window when the control is there.
#ifndef WEVO_CONTROLLIST_QUEUE_ROW_LABEL_H_
#define WEVO_CONTROLLIST_QUEUE_ROW_LABEL_H_

#include <string>

#include "controllist/control_queue.h"
#include "wevo/window.h"

namespace wevo::controllist {

// "WINDOW" for the window's row; the live control's whole label when `host`
// has control FEQ under the row's LABEL (or, for a LABEL cut at 60
// characters, under a label it begins); otherwise the row's LABEL without
// trailing blanks.
std::string StoredLabel(const Window& host, const WNCTL& row);

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_QUEUE_ROW_LABEL_H_
