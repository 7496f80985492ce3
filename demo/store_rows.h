// The rows of a wevo store as an administrator sees them, read with the
// `sqlcipher` shell (as README describes), and what changed between two
// readings. The demonstration's tour uses it to show what each step wrote.
#ifndef WEVO_DEMO_STORE_ROWS_H_
#define WEVO_DEMO_STORE_ROWS_H_

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wevo::demo {

// One row: every column in table order with its value as SQL writes it:
// 'text' (quotes doubled inside), 12, X'0A0B', NULL.
struct StoreRow {
  std::vector<std::pair<std::string, std::string>> fields;

  // The column's value as written; "" when the row has no such column.
  std::string value(std::string_view column) const;
  // A text column's value without its quotes (numbers as they stand).
  std::string text(std::string_view column) const;
};

using StoreRows = std::map<int64_t, StoreRow>;  // by UID

struct StoreReading {
  bool ok = false;
  std::string error;  // why not, when !ok
  StoreRows rows;
};

// Reads every row of the store's WindowControls table, opening the file with
// `password` (blank: none) in the `sqlcipher` shell found on the PATH. A
// store that does not exist yet reads as no rows; nothing is created. A
// store another thread or process is writing is waited for (up to 10 s).
StoreReading readStoreRows(const std::string& path, std::string_view password);

// One line for each row added, removed or changed, in UID order:
//   + 12 Main / WEVO_ORIGINAL / ?BUTTON3:2: X 124, Y 70, WIDTH 45, HEIGHT 14, CONTROLTEXT 'Test'
//   ~ 40 Main / COLORS / ?BUTTON3:2: X 124 -> 144, Y 70 -> 82
//   - 7 Main / COLORS / ?LIST1
// A row written again with every field as it was (only the file's own
// bookkeeping columns, named "kf_...", changed) is listed as such.
// Long values are cut to 60 characters and end in "...".
std::vector<std::string> describeChanges(const StoreRows& before, const StoreRows& after);

// The text of a value as SQL writes it: 'it''s' reads it's; anything else
// stands as it is.
std::string unquote(std::string_view value);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_STORE_ROWS_H_
