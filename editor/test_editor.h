// Helpers for the property form's tests (header only; included by *_test.cpp
// files alone): a host window with one control of each kind the tests edit,
// programs that run the form over it, and access to the open form from
// script steps.
#ifndef WEVO_EDITOR_TEST_EDITOR_H_
#define WEVO_EDITOR_TEST_EDITOR_H_

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apply/capture.h"
#include "apply/row_identity.h"
#include "apply/test_apply.h"
#include "editor/property_form.h"
#include "platform/keyedfile/error.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::editor::testing {

using store::WindowControls;

inline const std::string kProcedure = "UpdateCustomer";
inline const std::string kMarker = "Form";

// The host window: "Customer", 300 x 200 dialog units.
//   1 ?Name      entry   at 60,10 120x12
//   2 ?SaveBtn   button  at 20,30 50x14
//   3 ?Active    check   at 60,50 (natural size)
//   4 ?Notes     text    at 60,70 120x30
//   5 ?Qty       spin    at 60,110 40x12
//   6 ?Kind      list    at 60,130 80x40
//   7 ?Caption   prompt  at 10,10 (natural size)
inline WindowDecl hostWindow() {
  wevo::testing::TestWindow t("Customer", 300, 200);
  t.entry("?Name", "@s30", Binding{}, {60, 10, 120, 12});
  t.button("?SaveBtn", "&Save it", {20, 30, 50, 14});
  t.check("?Active", "Active", Binding{}, {60, 50});
  t.text("?Notes", Binding{}, {60, 70, 120, 30});
  t.spin("?Qty", "@n3", Binding{}, 0, 100, {60, 110, 40, 12});
  t.list("?Kind", "80L@s20@", {60, 130, 80, 40});
  t.prompt("?Caption", "Caption:", {10, 10});
  return t.decl();
}

inline constexpr int kName = 1;
inline constexpr int kSaveBtn = 2;
inline constexpr int kActive = 3;
inline constexpr int kNotes = 4;

// The form's caption for a host control, as a script names the form.
inline std::string formCaption(const std::string& type, const std::string& label) { return type + " " + label; }

// How one run of the form ended.
struct FormResult {
  ProgramResult program;
  int response = -1;
  int requestAfter = -1;
};

// Runs a program that opens the host window, sets GlobalRequest to
// `request`, runs the form for (field, label) and keeps the response.
// `before` runs on the host thread after the window opened, before the form
// (store open or not as it likes); the store's name and password are set.
inline FormResult runForm(const apply::testing::StoreFolder& folder, int field, const std::string& label,
                          int request, const Script& script, const std::function<void(Window&)>& before = {},
                          const std::function<void(Window&)>& after = {}) {
  FormResult out;
  out.program = folder.run(
      [&] {
        Window host(hostWindow());
        host.open();
        if (before) before(host);
        store::GlobalRequest() = request;
        UpdateScreenControlProperties(host, field, label, kMarker, kProcedure);
        out.response = store::GlobalResponse();
        out.requestAfter = store::GlobalRequest();
        if (after) after(host);
      },
      script);
  return out;
}

// Makes the row of `label` (tests' procedure and marker) the store's current
// row, read into WIN(); the store must be open on this thread.
inline bool LookUp(const std::string& label) {
  apply::SetRowKey(store::WIN(), kProcedure, kMarker, label);
  return store::winFile().get(store::KEYPROCEDUREMARKERLABEL);
}

// The row of `label` under the tests' procedure and marker, if there is one.
inline std::optional<WindowControls> formRow(const std::vector<WindowControls>& rows, const std::string& label,
                                             const std::string& marker = kMarker) {
  for (const WindowControls& r : rows)
    if (text::clipped(r.PROCEDURENAME) == kProcedure && text::clipped(r.UNIQUEMARKER) == marker &&
        text::clipped(r.CONTROLLABEL) == label)
      return r;
  return std::nullopt;
}

// Runs `fn` on a program's host thread with the host window open and the
// store's name and password set.
inline void onHost(const apply::testing::StoreFolder& folder, const std::function<void(Window&)>& fn) {
  ProgramResult r = folder.run([&] {
    Window host(hostWindow());
    host.open();
    fn(host);
  });
  ASSERT_TRUE(wevo::testing::endedNormally(r));
}

// The open window with this caption, from a step that runs on its thread:
// the window whose event is current there (the form, while it waits in its
// loop), when its caption matches.
inline Window* shownForm(const std::string& caption) {
  Window* w = target();
  if (w == nullptr || w->get(0, PROP::Text).str() != caption) return nullptr;
  return w;
}

// An override row of control `label` with its key and identity set, every
// property cleared.
inline WindowControls storedRow(uint32_t uid, const std::string& label, int feq, int type) {
  WindowControls row = apply::testing::overrideRow(uid, kProcedure, kMarker, label, feq, type);
  if (feq == 0) text::assign(row.DESCRIPTION, store::kWindowLabel);
  return row;
}

// Adds `row` to the store (opened through the thread's count); with
// `livePlacement` its placement fields are first read from control `field`
// of `host`, so that the form finds the row as the control stands. The host
// keeps its coordinate mode.
inline void addRow(Window& host, int field, WindowControls row, bool livePlacement = true) {
  const bool pixels = host.get(0, PROP::Pixels).truthy();
  if (livePlacement) apply::CapturePlacement(host, field, row);
  if (pixels) host.set(0, PROP::Pixels, Value(1));
  store::StoreUse use;
  store::WIN() = row;
  ASSERT_TRUE(store::winFile().add()) << kf::errorText();
}

}  // namespace wevo::editor::testing

#endif  // WEVO_EDITOR_TEST_EDITOR_H_
