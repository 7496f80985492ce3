// The control list window driven by the scripted user: what each tab lists,
// the "Show" filter, moving rows in the tab order and storing it, editing a
// row, and resetting the whole window or one control.
#include "controllist/control_list_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "apply/row_identity.h"
#include "apply/set_window_controls.h"
#include "controllist/test_controllist.h"
#include "store/store_file_vars.h"
#include "store/store_open.h"

namespace wevo::controllist {
namespace {

using testing::kCaption;
using testing::kMarker;
using testing::kProcedure;
using testing::listColumn;
using testing::listSelection;
using testing::rowOf;
using testing::runList;
using testing::StoreFolder;
using testing::WindowControls;
using wevo::testing::endedNormally;
using wevo::testing::transcriptHas;

const std::vector<std::string> kAllLabels = {"WINDOW", "?Name", "?Qty", "?Notes", "?Kind", "?NamePrompt", "?OK",
                                             "?Cancel"};

TEST(ControlListWindow, ShowFilterListsOnlyTheChosenTypesAndTheColumnsShowEachControl) {
  StoreFolder folder;
  std::vector<std::string> all, entries, prompts, buttons, allAgain, okRow, cancelState, tabOrder;
  std::optional<toolkit::WindowSnapshot> window;
  bool allChosen = false, focusOnAll = false;
  Script script;
  script.call([&] {
    window = wevo::testing::shownWindow(kCaption);
    all = listColumn("?FIELDS");
    tabOrder = listColumn("?TABORDER");
    std::optional<toolkit::ControlSnapshot> radio = wevo::testing::shownControl(kCaption, "?LOC:SHOW:RADIO1");
    allChosen = radio && radio->checked;
    focusOnAll = radio && radio->focused;
    for (size_t column = 0; column < 5; ++column) okRow.push_back(listColumn("?FIELDS", column).at(6));
    cancelState.push_back(listColumn("?FIELDS", 3).at(7));
  });
  script.clickControl("?LOC:SHOW:RADIO1:3", kCaption).call([&] { entries = listColumn("?FIELDS"); });
  script.clickControl("?LOC:SHOW:RADIO1:2", kCaption).call([&] { prompts = listColumn("?FIELDS"); });
  script.clickControl("?LOC:SHOW:RADIO1:4", kCaption).call([&] { buttons = listColumn("?FIELDS"); });
  script.clickControl("?LOC:SHOW:RADIO1", kCaption).call([&] { allAgain = listColumn("?FIELDS"); });
  script.clickControl("?CANCEL", kCaption);
  int response = -1, request = -1;
  ProgramResult r = runList(folder, script, {}, [&](Window& host, ControlQueue& queue) {
    store::GlobalRequest() = 3;
    ControlListWindow(queue, host, kProcedure, kMarker);
    response = store::GlobalResponse();
    request = store::GlobalRequest();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty()) << describe(r);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->caption, "  All Screen Fields");
  EXPECT_EQ(window->font.face, "Arial");
  EXPECT_EQ(all, kAllLabels);
  EXPECT_EQ(tabOrder, kAllLabels);  // a queue never reordered: field order, the window first
  EXPECT_TRUE(allChosen);
  EXPECT_TRUE(focusOnAll);
  // Only ENTRY controls: not the spin, the text or the combo.
  EXPECT_EQ(entries, std::vector<std::string>{"?Name"});
  EXPECT_EQ(prompts, std::vector<std::string>{"?NamePrompt"});
  EXPECT_EQ(buttons, (std::vector<std::string>{"?OK", "?Cancel"}));
  EXPECT_EQ(allAgain, kAllLabels);
  EXPECT_EQ(okRow, (std::vector<std::string>{"?OK", "BUTTON", "OK", "Visible", "OK"}));
  EXPECT_EQ(cancelState, std::vector<std::string>{"Hidden"});
  EXPECT_EQ(response, 2);
  EXPECT_EQ(request, 0);
}

TEST(ControlListWindow, UpAndDownMoveOneRowExceptPastTheEndsAndApplyStoresTheOrderTheWindowThenFollows) {
  StoreFolder folder;
  std::vector<std::string> afterUpOnFirst, afterDownOnLast, afterMoves, secondOpening;
  int selectedAfterUpOnFirst = -1, selectedAfterDownOnLast = -1, selectedAfterWindowDown = -1,
      selectedAfterUp = -1;
  std::vector<WindowControls> beforeApply;
  Script script;
  script.selectTab("?TAB2", kCaption).selectRow("?TABORDER", 1, kCaption).clickControl("?UP", kCaption);
  script.call([&] {
    afterUpOnFirst = listColumn("?TABORDER");
    selectedAfterUpOnFirst = listSelection("?TABORDER");
  });
  script.selectRow("?TABORDER", 8, kCaption).clickControl("?DOWN", kCaption);
  script.call([&] {
    afterDownOnLast = listColumn("?TABORDER");
    selectedAfterDownOnLast = listSelection("?TABORDER");
  });
  // The window's own row moves like any control.
  script.selectRow("?TABORDER", 1, kCaption).clickControl("?DOWN", kCaption);
  script.call([&] { selectedAfterWindowDown = listSelection("?TABORDER"); });
  script.selectRow("?TABORDER", 7, kCaption).clickControl("?UP", kCaption).clickControl("?UP", kCaption);
  script.call([&] {
    afterMoves = listColumn("?TABORDER");
    selectedAfterUp = listSelection("?TABORDER");
    beforeApply = folder.rows();
  });
  script.clickControl("?APPLY", kCaption).clickControl("?CANCEL", kCaption);
  // The next opening shows the order the first left in the queue.
  script.selectTab("?TAB2", kCaption).call([&] { secondOpening = listColumn("?TABORDER"); });
  script.clickControl("?CANCEL", kCaption);
  ControlQueue kept;
  ProgramResult r = runList(folder, script, {}, [&](Window& host, ControlQueue& queue) {
    ControlListWindow(queue, host, kProcedure, kMarker);
    ControlListWindow(queue, host, kProcedure, kMarker);
    kept = queue;
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(afterUpOnFirst, kAllLabels);
  EXPECT_EQ(selectedAfterUpOnFirst, 1);
  EXPECT_EQ(afterDownOnLast, kAllLabels);
  EXPECT_EQ(selectedAfterDownOnLast, 8);
  EXPECT_EQ(selectedAfterWindowDown, 2);
  const std::vector<std::string> moved = {"?Name", "WINDOW", "?Qty", "?Notes", "?OK", "?Kind", "?NamePrompt",
                                          "?Cancel"};
  EXPECT_EQ(afterMoves, moved);
  EXPECT_EQ(selectedAfterUp, 5);  // the moved row stays selected
  EXPECT_EQ(secondOpening, moved);
  ASSERT_EQ(kept.size(), 8u);
  for (size_t i = 0; i < kept.size(); ++i) {
    EXPECT_EQ(text::clipped(kept[i].LABEL), moved[i]);
    EXPECT_EQ(kept[i].TABORDER, static_cast<int32_t>(i + 1));
  }

  // Nothing reached the store before Apply; Apply wrote every ORDER.
  for (const std::string& label : kAllLabels) {
    const WindowControls* row = rowOf(beforeApply, kMarker, label);
    ASSERT_NE(row, nullptr) << label;
    EXPECT_EQ(+row->ORDER, label == "WINDOW" ? 0 : +row->FEQ) << label;
  }
  const std::vector<WindowControls> rows = folder.rows();
  for (size_t i = 0; i < moved.size(); ++i) {
    const WindowControls* row = rowOf(rows, kMarker, moved[i]);
    ASSERT_NE(row, nullptr) << moved[i];
    EXPECT_EQ(+row->ORDER, static_cast<int32_t>(i + 1)) << moved[i];
  }

  // The host's next opening follows the stored order.
  std::vector<int> follows;
  int focused = -1;
  WEVOSETTINGS settings = folder.settings();
  ProgramResult again = folder.run([&] {
    Window host(testing::hostWindow());
    host.open();
    WEVO::SETWINDOWCONTROLS(host, kProcedure, kMarker, settings);
    focused = host.focused();
    for (int f = 1; f <= 7; ++f) follows.push_back(host.get(f, PROP::Follows).i32());
  });
  ASSERT_TRUE(endedNormally(again));
  using namespace testing;  // field numbers
  EXPECT_EQ(focused, kName);
  // ?Name, ?Qty, ?Notes, ?OK, ?Kind, ?NamePrompt, ?Cancel
  EXPECT_EQ(follows, (std::vector<int>{0, kName, kQty, kOk, kKind, kNotes, kNamePrompt}));
}

TEST(ControlListWindow, ApplySkipsRowsThatAreGone) {
  StoreFolder folder;
  Script script;
  script.selectTab("?TAB2", kCaption)
      .selectRow("?TABORDER", 3, kCaption)
      .clickControl("?UP", kCaption)
      .clickControl("?APPLY", kCaption)
      .clickControl("?CANCEL", kCaption);
  ProgramResult r = runList(folder, script, {}, [&](Window& host, ControlQueue& queue) {
    // ?Name's row goes after the queue was built.
    {
      store::StoreUse use;
      apply::SetRowKey(store::WIN(), kProcedure, kMarker, "?Name");
      ASSERT_TRUE(store::winFile().get(store::KEYPROCEDUREMARKERLABEL));
      ASSERT_TRUE(store::winFile().del());
    }
    ControlListWindow(queue, host, kProcedure, kMarker);
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty()) << describe(r);
  const std::vector<WindowControls> rows = folder.rows();
  EXPECT_EQ(rowOf(rows, kMarker, "?Name"), nullptr);
  ASSERT_NE(rowOf(rows, kMarker, "?Qty"), nullptr);
  EXPECT_EQ(+rowOf(rows, kMarker, "?Qty")->ORDER, 2);
  EXPECT_EQ(+rowOf(rows, kMarker, "WINDOW")->ORDER, 1);
  EXPECT_EQ(rows.size(), 7u);
}

// Rows of the window under the marker, spelt in other cases, go; the
// originals, other markers and other procedures stay.
std::vector<WindowControls> resetRows() {
  using apply::testing::overrideRow;
  return {overrideRow(1, kProcedure, kMarker, "?OK", 6, TYPE::Button),
          overrideRow(2, "ORDERFORM", "mark", "?Name", 1, TYPE::Entry),
          overrideRow(3, kProcedure, "MARK", "?Gone", 12, TYPE::Button),
          overrideRow(4, kProcedure, store::kOriginalMarker, "?OK", 6, TYPE::Button),
          overrideRow(5, kProcedure, "Other", "?OK", 6, TYPE::Button),
          overrideRow(6, "Invoice", kMarker, "?OK", 6, TYPE::Button),
          overrideRow(7, kProcedure, "Marker", "?OK", 6, TYPE::Button)};
}

const std::string kResetQuestion =
    "message \"Wevo\" \"This will remove all the settings for the Mark group.|Do you want to continue?\" "
    "icon=question buttons=Yes|No default=Yes -> ";
const std::string kCompleted =
    "message \"Wevo\" \"Completed.|Please exit Wevo mode and reopen window.\" icon=exclamation buttons=OK "
    "default=OK -> OK";

TEST(ControlListWindow, ResetListRemovesTheMarkersRowsWhateverTheirCaseAndClosesTheWindow) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(resetRows()));
  size_t rowsWhileOpen = 0;
  bool closedAfterNo = true;
  Script script;
  script.clickControl("?RESET", kCaption).answer("Wevo", BUTTON::No).call([&] {
    rowsWhileOpen = folder.rows().size();
    closedAfterNo = !wevo::testing::shownWindow(kCaption).has_value();
  });
  script.clickControl("?RESET", kCaption).answer("Wevo", BUTTON::Yes).answer("Wevo", BUTTON::Ok);
  int response = -1;
  ProgramResult r = runList(folder, script, {}, [&](Window& host, ControlQueue& queue) {
    ControlListWindow(queue, host, kProcedure, kMarker);
    response = store::GlobalResponse();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript, (std::vector<std::string>{kResetQuestion + "No", kResetQuestion + "Yes", kCompleted}));
  // Listing the window added rows for six controls that had none.
  EXPECT_EQ(rowsWhileOpen, 7u + 6u);
  EXPECT_FALSE(closedAfterNo);
  EXPECT_EQ(response, 2);
  std::vector<uint32_t> left;
  for (const WindowControls& row : folder.rows()) left.push_back(+row.UID);
  EXPECT_EQ(left, (std::vector<uint32_t>{4, 5, 6, 7}));
}

TEST(ControlListWindow, ResetListWithNothingToDeleteStillReportsAndCloses) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(resetRows()));
  Script script;
  script.clickControl("?RESET", kCaption).answer("Wevo", BUTTON::Yes).answer("Wevo", BUTTON::Ok);
  script.clickControl("?RESET", kCaption).answer("Wevo", BUTTON::Yes).answer("Wevo", BUTTON::Ok);
  ProgramResult r = runList(folder, script, {}, [&](Window& host, ControlQueue& queue) {
    ControlListWindow(queue, host, kProcedure, kMarker);
    ControlListWindow(queue, host, kProcedure, kMarker);  // the queue is not rebuilt
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript, (std::vector<std::string>{kResetQuestion + "Yes", kCompleted, kResetQuestion + "Yes",
                                                    kCompleted}));
  EXPECT_EQ(folder.rows().size(), 4u);
}

const std::string kResetOkQuestion =
    "message \"Wevo\" \"Control ?OK will be reset to its original values.|Do you want to continue?\" "
    "icon=question buttons=Yes|No default=Yes -> ";

TEST(ControlListWindow, ResetSelectedTakesTheOriginalButKeepsUidMarkerFeqAndOrder) {
  StoreFolder folder;
  WindowControls original = store::testing::row(50, kProcedure, store::kOriginalMarker, "?OK");
  original.FEQ = 9;
  original.ORDER = 99;
  original.TYPE = TYPE::Button;
  text::assign(original.CONTROLTEXT, "Original OK");
  text::assign(original.DESCRIPTION, "The original");
  WindowControls override = apply::testing::overrideRow(7, kProcedure, kMarker, "?OK", testing::kOk, TYPE::Button);
  override.ORDER = 9;  // listed last, after ?Cancel (7)
  text::assign(override.CONTROLTEXT, "Changed");
  text::assign(override.DESCRIPTION, "Changed here");
  // ?Name has an override but no original: resetting it changes nothing.
  WindowControls name = apply::testing::overrideRow(8, kProcedure, kMarker, "?Name", testing::kName, TYPE::Entry);
  ASSERT_TRUE(folder.stage({original, override, name}));

  std::string liveAfterYes = "?";
  std::vector<WindowControls> afterNo;
  int nameX = -1;
  Script script;
  // Both lists follow the tab order: ?OK is the eighth row.
  script.selectRow("?FIELDS", 8, kCaption).clickControl("?RESETSELECTED", kCaption).answer("Wevo", BUTTON::No);
  script.call([&] { afterNo = folder.rows(); });
  script.selectTab("?TAB2", kCaption).selectRow("?TABORDER", 8, kCaption);
  script.clickControl("?RESETSELECTED", kCaption).answer("Wevo", BUTTON::Yes);
  script.selectTab("?TAB1", kCaption).selectRow("?FIELDS", 2, kCaption).clickControl("?RESETSELECTED", kCaption);
  script.answer("Wevo", BUTTON::Yes).clickControl("?CANCEL", kCaption);
  ProgramResult r = runList(folder, script, {}, [&](Window& w, ControlQueue& queue) {
    ControlListWindow(queue, w, kProcedure, kMarker);
    liveAfterYes = w.get(testing::kOk, PROP::Text).str();
    nameX = w.get(testing::kName, PROP::XPos).i32();
  });
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), 3u);
  EXPECT_EQ(r.transcript[0], kResetOkQuestion + "No");
  EXPECT_EQ(r.transcript[1], kResetOkQuestion + "Yes");
  EXPECT_EQ(r.transcript[2],
            "message \"Wevo\" \"Control ?Name will be reset to its original values.|Do you want to continue?\" "
            "icon=question buttons=Yes|No default=Yes -> Yes");
  ASSERT_NE(rowOf(afterNo, kMarker, "?OK"), nullptr);
  EXPECT_EQ(text::clipped(rowOf(afterNo, kMarker, "?OK")->CONTROLTEXT), "Changed");

  const std::vector<WindowControls> rows = folder.rows();
  const WindowControls* reset = rowOf(rows, kMarker, "?OK");
  ASSERT_NE(reset, nullptr);
  EXPECT_EQ(+reset->UID, 7u);
  EXPECT_EQ(text::clipped(reset->UNIQUEMARKER), kMarker);
  EXPECT_EQ(+reset->FEQ, testing::kOk);
  EXPECT_EQ(+reset->ORDER, 9);
  EXPECT_EQ(text::clipped(reset->CONTROLTEXT), "Original OK");
  EXPECT_EQ(text::clipped(reset->DESCRIPTION), "The original");
  // Every other field is the original's.
  EXPECT_EQ(apply::testing::changedFields(*reset, original),
            (std::vector<std::string>{"UID", "UNIQUEMARKER", "FEQ", "ORDER"}));
  // The live control shows it at once.
  EXPECT_EQ(liveAfterYes, "Original OK");
  // ?Name without an original keeps its row and its place.
  const WindowControls* nameRow = rowOf(rows, kMarker, "?Name");
  ASSERT_NE(nameRow, nullptr);
  EXPECT_EQ(apply::testing::changedFields(*nameRow, name), std::vector<std::string>{});
  EXPECT_EQ(nameX, 60);
}

// A point in row `row` of the field list, which lies at 7,49 dialog units
// of Arial 8 (headless: 1.5 x 1.625 pixels each), its rows 16 pixels high
// under a header as high.
std::pair<int, int> fieldListRow(int row) { return {10 + 100, 80 + 16 + (row - 1) * 16 + 8}; }

TEST(ControlListWindow, EditingARowUpdatesItsDescriptionInBothListsButNotTheLiveControl) {
  StoreFolder folder;
  const std::string form = "BUTTON ?OK";
  std::vector<std::string> fieldsDescriptions, orderDescriptions;
  std::string liveText = "?";
  std::vector<WindowControls> afterNoSelection;
  Script script;
  // Edit with no row selected does nothing: no form opens.
  script.clickControl("?EDIT", kCaption).call([&] { afterNoSelection = folder.rows(); }, kCaption);
  // A double click on a row of the field list edits its control (its
  // first press selects the row).
  const auto [x, y] = fieldListRow(7);
  script.click(x, y, kCaption).doubleClick(x, y, kCaption);
  script.clickControl("?WIN:DESCRIPTION", form).type("Sends the order").clickControl("?OK", form);
  script.call([&] {
    fieldsDescriptions = listColumn("?FIELDS", 4);
    orderDescriptions = listColumn("?TABORDER", 4);
  });
  // A double click on the tab order list does nothing.
  script.selectTab("?TAB2", kCaption).click(x, y, kCaption).doubleClick(x, y, kCaption);
  script.clickControl("?CANCEL", kCaption);
  ProgramResult r = runList(folder, script, {}, [&](Window& host, ControlQueue& queue) {
    ControlListWindow(queue, host, kProcedure, kMarker);
    liveText = host.get(testing::kOk, PROP::Text).str();
    const WNCTL* ok = FindByFeq(queue, testing::kOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(text::clipped(ok->DESCRIPTION), "Sends the order");
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty()) << describe(r);
  EXPECT_EQ(afterNoSelection.size(), 8u);
  ASSERT_EQ(fieldsDescriptions.size(), 8u);
  EXPECT_EQ(fieldsDescriptions[6], "Sends the order");
  EXPECT_EQ(fieldsDescriptions[5], "NamePrompt");
  ASSERT_EQ(orderDescriptions.size(), 8u);
  EXPECT_EQ(orderDescriptions[6], "Sends the order");
  EXPECT_EQ(liveText, "OK");
  const std::vector<WindowControls> rows = folder.rows();
  const WindowControls* row = rowOf(rows, kMarker, "?OK");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(text::clipped(row->DESCRIPTION), "Sends the order");
}

}  // namespace
}  // namespace wevo::controllist
