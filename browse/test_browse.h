// Helpers for the browse's tests (header only; included by *_test.cpp files
// alone): stores with many rows, the host window, programs that run the
// browse over it, and what the browse shows.
#ifndef WEVO_BROWSE_TEST_BROWSE_H_
#define WEVO_BROWSE_TEST_BROWSE_H_

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apply/test_apply.h"
#include "browse/browse_form_fields.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_thread.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::browse::testing {

using apply::testing::overrideRow;
using apply::testing::StoreFolder;
using store::WindowControls;

inline const std::string kProcedure = "OrderForm";
inline const std::string kMarker = "Mark";
inline const std::string kCaption = "Processed controls for OrderForm";

// `count` rows of (procedure, marker) labelled "<prefix>00001" ... with
// UIDs from `firstUid`.
inline std::vector<WindowControls> numberedRows(const std::string& procedure, const std::string& marker,
                                                const std::string& prefix, int count, uint32_t firstUid) {
  std::vector<WindowControls> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 1; i <= count; ++i) {
    char label[32];
    std::snprintf(label, sizeof label, "%s%05d", prefix.c_str(), i);
    rows.push_back(overrideRow(firstUid + static_cast<uint32_t>(i) - 1, procedure, marker, label, i, TYPE::Entry));
  }
  return rows;
}

// Writes `rows` into a new store at the folder in one transaction.
inline bool stageMany(const StoreFolder& folder, const std::vector<WindowControls>& rows) {
  WindowControls buffer{};
  kf::File f(store::winDecl(), &buffer);
  f.setName(folder.path);
  f.setOwner(folder.password);
  if (!f.create() || !f.open() || !f.stream()) return false;
  for (const WindowControls& r : rows) {
    buffer = r;
    if (!f.add()) return false;
  }
  return f.flush() && f.close();
}

// The host window "Order": 1 ?Name entry, 2 ?OK button.
inline WindowDecl hostWindow() {
  wevo::testing::TestWindow t("Order", 300, 200);
  t.entry("?Name", "@s20", Binding{}, {60, 10, 100, 12});
  t.button("?OK", "OK", {20, 170, 40, 14});
  return t.decl();
}

// Runs a program on the folder's store whose host window opens and runs the
// browse for (procedure, marker); `before` runs first on the host window.
inline ProgramResult runBrowse(const StoreFolder& folder, const Script& script, const std::string& marker,
                               int* response = nullptr, const std::function<void(Window&)>& before = {},
                               const std::string& procedure = kProcedure) {
  return folder.run(
      [&] {
        Window host(hostWindow());
        host.open();
        if (before) before(host);
        store::GlobalRequest() = 2;
        BrowseFormFields(host, procedure, marker);
        if (response != nullptr) *response = store::GlobalResponse();
      },
      script);
}

// Column `column` (0-based) of the rows the browse list shows.
inline std::vector<std::string> shownColumn(size_t column = 0, const std::string& caption = kCaption) {
  std::vector<std::string> out;
  std::optional<toolkit::ControlSnapshot> c = wevo::testing::shownControl(caption, "?BROWSE:1");
  if (!c) return {"<list not shown>"};
  for (const auto& row : c->rows) out.push_back(row.size() > column ? std::string(text::clip(row[column])) : "");
  return out;
}

// The label of the selected row ("" when none).
inline std::string selectedLabel(const std::string& caption = kCaption) {
  std::optional<toolkit::ControlSnapshot> c = wevo::testing::shownControl(caption, "?BROWSE:1");
  if (!c || c->selected < 1 || static_cast<size_t>(c->selected) > c->rows.size()) return "";
  return std::string(text::clip(c->rows[static_cast<size_t>(c->selected) - 1][0]));
}

inline std::optional<toolkit::ControlSnapshot> shown(const std::string& label, const std::string& caption = kCaption) {
  return wevo::testing::shownControl(caption, label);
}

// A point in row `row` of the list, which lies at 3,26 dialog units of MS
// Sans Serif 8 (headless: 1.5 x 1.625 pixels each), its rows 16 pixels high
// under a header as high.
inline std::pair<int, int> listRow(int row) { return {5 + 60, 42 + 16 + (row - 1) * 16 + 8}; }

}  // namespace wevo::browse::testing

#endif  // WEVO_BROWSE_TEST_BROWSE_H_
