// The history record: the record as the property form last saved it, one for
// the whole library, from which the history key (Ctrl+H) restores the field
// of the control it is pressed in. Forms on several host threads share it;
// every access is guarded, so a form reads a field either as one save left
// it or as another did, never a mix.
#ifndef WEVO_EDITOR_HISTORY_H_
#define WEVO_EDITOR_HISTORY_H_

#include <string_view>
#include <utility>
#include <vector>

#include "store/window_controls.h"

namespace wevo::editor {

// The history key: Ctrl+H.
inline constexpr int kHistoryKey = 584;
// The host toolbar's history command.
inline constexpr int kHistoryCommand = 2011;

// Clears the history record the first time a form runs in the process; later
// calls do nothing. A thread that arrives while another clears waits for it.
void StartHistory();

// Keeps a copy of the whole record.
void SaveHistory(const store::WindowControls& record);

// Copies field `fieldName` (a WindowControls field, "TIP") of the history
// record into `record`. Unknown names change nothing.
void RestoreFromHistory(store::WindowControls& record, std::string_view fieldName);

// A copy of the whole history record.
store::WindowControls HistoryRecord();

// The form controls the history key works in, each with the record field it
// restores: every control that edits a record field directly.
const std::vector<std::pair<std::string_view, std::string_view>>& HistoryTable();
// The field the key restores in control `label`; "" where it does nothing.
std::string_view HistoryFieldOf(std::string_view label);

namespace detail {
// Makes the next StartHistory clear the record again, as in a new process.
// For tests; call it while no form runs.
void RestartHistory();
}  // namespace detail

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_HISTORY_H_
