#include "apply/original_rows.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "apply/capture.h"
#include "apply/row_identity.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

// The original rows by label, as the key finds them: letter case ignored,
// and of several rows with one label the first in the key's order.
class OriginalsByLabel {
 public:
  explicit OriginalsByLabel(kf::RowSet& rows) : rows_(rows) {
    for (size_t i = 0; i < rows.size(); ++i) byLabel_.emplace(KeyLabel(row(i).CONTROLLABEL), i);
  }

  // The row of `label` and its position; null when there is none.
  store::WindowControls* find(const std::string& label, std::string* position) {
    auto it = byLabel_.find(label);
    if (it == byLabel_.end()) return nullptr;
    if (it->second < rows_.size()) {
      *position = rows_.position(it->second);
      return &row(it->second);
    }
    Added& a = added_[it->second - rows_.size()];
    *position = a.position;
    return &a.row;
  }

  void remember(const std::string& label, const store::WindowControls& row, const std::string& position) {
    byLabel_.emplace(label, rows_.size() + added_.size());
    added_.push_back({row, position});
  }

 private:
  struct Added {
    store::WindowControls row;
    std::string position;
  };

  store::WindowControls& row(size_t i) { return *static_cast<store::WindowControls*>(rows_.record(i)); }

  kf::RowSet& rows_;
  std::unordered_map<std::string, size_t> byLabel_;
  std::vector<Added> added_;
};

void refreshOne(Window& window, std::string_view procedureName, int field, const std::string& label,
                OriginalsByLabel& originals, RowWrites& writes) {
  const std::string key = KeyLabel(label);
  std::string position;
  store::WindowControls* stored = originals.find(key, &position);
  store::WindowControls row;
  if (stored == nullptr) {
    SetRowKey(row, procedureName, store::kOriginalMarker, label);
    SetNewRowIdentity(row, field, label);
    CaptureControl(window, field, row);
    if (writes.add(row, position)) originals.remember(key, row, position);
    return;
  }
  std::memcpy(&row, stored, sizeof row);
  row.FEQ = field;
  CaptureControl(window, field, row);
  if (std::memcmp(stored, &row, sizeof row) != 0 && writes.rewrite(position, row))
    std::memcpy(stored, &row, sizeof row);
}

}  // namespace

bool ReadOriginalRows(kf::File& file, std::string_view procedureName, kf::RowSet& rows) {
  SetRowKey(*static_cast<store::WindowControls*>(file.record()), procedureName, store::kOriginalMarker, "");
  return file.readRange(store::KEYPROCEDUREMARKERLABEL, 2, rows);
}

void RefreshOriginalRows(Window& window, std::string_view procedureName, kf::RowSet& rows, RowWrites& writes) {
  OriginalsByLabel originals(rows);
  refreshOne(window, procedureName, 0, RowLabel(window, 0), originals, writes);
  const int last = window.lastField();
  for (int field = 1; field <= last; ++field) {
    if (!window.exists(field)) continue;
    const std::string label = window.label(field);
    if (text::clip(label).empty()) continue;
    refreshOne(window, procedureName, field, label, originals, writes);
  }
}

}  // namespace wevo::apply
