// Helpers for the control list's tests (header only; included by *_test.cpp
// files alone): the host window being designed, programs that list its
// controls and open the control list over them, and what the list window
// shows.
#ifndef WEVO_CONTROLLIST_TEST_CONTROLLIST_H_
#define WEVO_CONTROLLIST_TEST_CONTROLLIST_H_

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apply/test_apply.h"
#include "controllist/control_list_decl.h"
#include "controllist/control_list_window.h"
#include "controllist/control_queue.h"
#include "store/store_thread.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::controllist::testing {

using apply::testing::StoreFolder;
using store::WindowControls;

inline const std::string kProcedure = "OrderForm";
inline const std::string kMarker = "Mark";
inline const std::string kCaption = kControlListCaption;

// The host window "Order", 300 x 200 dialog units:
//   1 ?Name entry, 2 ?Qty spin, 3 ?Notes text, 4 ?Kind combo,
//   5 ?NamePrompt prompt, 6 ?OK button, 7 ?Cancel button (hidden).
inline WindowDecl hostWindow() {
  wevo::testing::TestWindow t("Order", 300, 200);
  t.entry("?Name", "@s20", Binding{}, {60, 10, 100, 12});
  t.spin("?Qty", "@n3", Binding{}, 0, 99, {60, 30, 40, 12});
  t.text("?Notes", Binding{}, {60, 50, 120, 30});
  t.add(TYPE::Combo, "?Kind", "@s10", {60, 90, 80, 12});
  t.prompt("?NamePrompt", "Name:", {10, 10});
  t.button("?OK", "OK", {20, 170, 40, 14});
  t.button("?Cancel", "Cancel", {70, 170, 40, 14}).hidden = true;
  return t.decl();
}
inline constexpr int kName = 1, kQty = 2, kNotes = 3, kKind = 4, kNamePrompt = 5, kOk = 6, kCancel = 7;

// Runs a program on `folder`'s store: the host window opens, `before` runs
// on it, its controls are listed (FillControlQueue) and `body` runs with the
// queue (by default: one opening of the control list).
inline ProgramResult runList(const StoreFolder& folder, const Script& script,
                             const std::function<void(Window&)>& before = {},
                             const std::function<void(Window&, ControlQueue&)>& body = {}) {
  return folder.run(
      [&] {
        Window host(hostWindow());
        host.open();
        if (before) before(host);
        ControlQueue queue;
        FillControlQueue(queue, host, kProcedure, kMarker);
        if (body)
          body(host, queue);
        else
          ControlListWindow(queue, host, kProcedure, kMarker);
      },
      script);
}

// Column `column` (0-based) of every row a list of the control list shows.
inline std::vector<std::string> listColumn(const std::string& list, size_t column = 0) {
  std::vector<std::string> out;
  std::optional<toolkit::ControlSnapshot> c = wevo::testing::shownControl(kCaption, list);
  if (!c) return {"<" + list + " not shown>"};
  for (const auto& row : c->rows) out.push_back(row.size() > column ? std::string(text::clip(row[column])) : "");
  return out;
}

inline int listSelection(const std::string& list) {
  std::optional<toolkit::ControlSnapshot> c = wevo::testing::shownControl(kCaption, list);
  return c ? c->selected : -1;
}

// The row of (marker, label) under the tests' procedure; nullptr when none.
inline const WindowControls* rowOf(const std::vector<WindowControls>& rows, const std::string& marker,
                                   const std::string& label) {
  for (const WindowControls& r : rows)
    if (text::clipped(r.PROCEDURENAME) == kProcedure && text::clipped(r.UNIQUEMARKER) == marker &&
        text::clipped(r.CONTROLLABEL) == label)
      return &r;
  return nullptr;
}

}  // namespace wevo::controllist::testing

#endif  // WEVO_CONTROLLIST_TEST_CONTROLLIST_H_
