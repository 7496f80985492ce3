#include "controllist/control_queue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "store/control_type_names.h"
#include "store/store_file_vars.h"
#include "store/test_store.h"
#include "store/window_controls.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::controllist {
namespace {

using store::WindowControls;
using wevo::testing::endedNormally;
using wevo::testing::runScripted;
using wevo::testing::TestWindow;

template <size_t N>
std::string str(const char (&f)[N]) {
  return std::string(text::clipped(f));
}

class ControlQueue : public ::testing::Test {
 protected:
  void SetUp() override { store::setStoreFileName(name); }
  void TearDown() override { store::setStoreFileName(""); }

  std::vector<WindowControls> rows() {
    store::testing::Read<WindowControls> all = store::testing::readAll<WindowControls>(store::winDecl(), name, "");
    EXPECT_TRUE(all.ok) << all.error;
    return all.rows;
  }
  const WindowControls* rowOf(const std::vector<WindowControls>& all, const std::string& marker,
                              const std::string& label) {
    for (const WindowControls& r : all)
      if (str(r.UNIQUEMARKER) == marker && str(r.CONTROLLABEL) == label) return &r;
    return nullptr;
  }
  // Runs `fill` on the opened window inside a program.
  void fillFor(const WindowDecl& decl, controllist::ControlQueue& queue, std::function<void(Window&)> before = {}) {
    ProgramResult r = runScripted(Script(), [&] {
      Window w(decl);
      w.open();
      if (before) before(w);
      FillControlQueue(queue, w, "OrderForm", "Mark");
      EXPECT_EQ(w.get(0, PROP::Pixels).num(), 0);
    });
    ASSERT_TRUE(endedNormally(r));
  }

  wevo::testing::TempDir dir;
  const std::string name = dir.file("SALES.wevo");
};

TEST_F(ControlQueue, AWindowWithoutControlsGivesTheWindowRowAlone) {
  TestWindow d("Empty window");
  controllist::ControlQueue queue;
  queue.push_back(WNCTL{});  // whatever the queue held goes
  fillFor(d.decl(), queue);
  ASSERT_EQ(queue.size(), 1u);
  const WNCTL& w = queue[0];
  EXPECT_EQ(str(w.LABEL), "WINDOW");
  EXPECT_EQ(str(w.TYPETXT), "WINDOW");
  EXPECT_EQ(str(w.SCRTEXT), "Empty window");
  EXPECT_EQ(str(w.STATETXT), "Visible");
  EXPECT_EQ(str(w.DESCRIPTION), "WINDOW");
  EXPECT_EQ(w.FEQ, 0);
  EXPECT_EQ(w.TYPE, 0);
  EXPECT_EQ(w.TABORDER, 0);

  std::vector<WindowControls> all = rows();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(str(all[0].PROCEDURENAME), "OrderForm");
  EXPECT_EQ(str(all[0].UNIQUEMARKER), "Mark");
  EXPECT_EQ(str(all[0].CONTROLLABEL), "WINDOW");
  EXPECT_EQ(str(all[0].DESCRIPTION), "WINDOW");
  EXPECT_EQ(+all[0].FEQ, 0);
  EXPECT_EQ(+all[0].ORDER, 0);
  EXPECT_EQ(+all[0].TYPE, 0);
  EXPECT_EQ(w.UID, static_cast<int32_t>(all[0].UID));
  EXPECT_NE(w.UID, 0);
}

TEST_F(ControlQueue, ControlsWithoutRowsAreListedAndGetRowsCapturedFromTheLiveControl) {
  char name20[20];
  std::memset(name20, ' ', sizeof name20);
  TestWindow d("Order", 300, 200);
  d.button("?OK", "&OK", {10, 20, 40, 14});
  d.entry("?NAME", "s20", Binding::text(name20), {60, 20, 80, 12});
  d.prompt("?HIDDENPROMPT", "Hidden text", {10, 40}).hidden = true;
  d.list("?LIST", "", {10, 60, 80, 40}).from = "one|two";
  d.sheet("?SHEET", {100, 60, 150, 100});
  d.tab("?TAB1", "First page", "?SHEET");
  d.region("?AREA", {5, 5, 10, 10});
  const std::string longLabel = "?" + std::string(70, 'L');
  d.string(longLabel, "Long one", {200, 10});
  controllist::ControlQueue queue;
  fillFor(d.decl(), queue);

  ASSERT_EQ(queue.size(), 9u);
  struct Want {
    const char *label, *type, *text, *state;
  };
  const Want want[] = {{"WINDOW", "WINDOW", "Order", "Visible"},   {"?OK", "BUTTON", "&OK", "Visible"},
                       {"?NAME", "ENTRY", "s20", "Visible"},       {"?HIDDENPROMPT", "PROMPT", "Hidden text", "Hidden"},
                       {"?LIST", "LIST", "", "Visible"},           {"?SHEET", "SHEET", "", "Visible"},
                       {"?TAB1", "TAB", "First page", "Visible"},  {"?AREA", "REGION", "", "Visible"}};
  std::vector<WindowControls> all = rows();
  ASSERT_EQ(all.size(), 9u);
  for (int n = 0; n < 8; ++n) {
    SCOPED_TRACE(want[n].label);
    const WNCTL& q = queue[static_cast<size_t>(n)];
    EXPECT_EQ(q.FEQ, n);
    EXPECT_EQ(str(q.LABEL), want[n].label);
    EXPECT_EQ(str(q.TYPETXT), want[n].type);
    EXPECT_EQ(str(q.SCRTEXT), want[n].text);
    EXPECT_EQ(str(q.STATETXT), want[n].state);
    EXPECT_EQ(q.TABORDER, n);  // a new row takes its field number as its tab order
    const WindowControls* row = rowOf(all, "Mark", want[n].label);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(q.UID, static_cast<int32_t>(row->UID));
    EXPECT_EQ(+row->FEQ, n);
    EXPECT_EQ(+row->ORDER, n);
    EXPECT_EQ(str(row->DESCRIPTION), n == 0 ? std::string("WINDOW") : std::string(want[n].label).substr(1));
    EXPECT_EQ(str(q.DESCRIPTION), str(row->DESCRIPTION));
  }
  // The rest of a new row is what capture read from the live control.
  const WindowControls* ok = rowOf(all, "Mark", "?OK");
  EXPECT_EQ(+ok->TYPE, TYPE::Button);
  EXPECT_EQ(str(ok->CONTROLTEXT), "&OK");
  EXPECT_EQ(+ok->X, 10);
  EXPECT_EQ(+ok->Y, 20);
  EXPECT_EQ(+ok->WIDTH, 40);
  EXPECT_EQ(+ok->HEIGHT, 14);
  EXPECT_EQ(+ok->WIDTHTYPE, 2);
  EXPECT_EQ(+rowOf(all, "Mark", "?HIDDENPROMPT")->HIDE, 1);
  // Labels and descriptions are cut to the queue's 60 characters.
  const WNCTL& longRow = queue[8];
  EXPECT_EQ(str(longRow.LABEL), longLabel.substr(0, 60));
  EXPECT_EQ(str(longRow.DESCRIPTION), std::string(60, 'L'));
  EXPECT_EQ(str(rowOf(all, "Mark", longLabel)->DESCRIPTION), std::string(70, 'L'));
  EXPECT_EQ(str(longRow.SCRTEXT), "Long one");
  // Every row has its own number.
  for (size_t i = 0; i < all.size(); ++i)
    for (size_t j = i + 1; j < all.size(); ++j) EXPECT_NE(+all[i].UID, +all[j].UID);
}

TEST_F(ControlQueue, RowsFoundByLabelAreListedAsStoredAndNotWritten) {
  TestWindow d("Order", 300, 200);
  d.button("?OK", "&OK", {10, 20, 40, 14});
  d.button("?CANCEL", "Cancel", {60, 20, 40, 14});
  // ?OK has a row under this procedure and marker (with another number and
  // order); ?CANCEL only under another marker and another procedure.
  WindowControls okRow = store::testing::row(40, "ORDERFORM", "mark", "?OK");
  text::assign(okRow.DESCRIPTION, "The confirming button of the order form, as the user named it, "
                                  "longer than sixty characters");
  okRow.ORDER = 7;
  okRow.FEQ = 5;
  WindowControls otherMarker = store::testing::row(41, "OrderForm", "Other", "?CANCEL");
  WindowControls otherProc = store::testing::row(42, "Invoice", "Mark", "?CANCEL");
  ASSERT_TRUE(store::testing::stage(store::winDecl(), name, "",
                                    std::vector<WindowControls>{okRow, otherMarker, otherProc}));
  controllist::ControlQueue queue;
  fillFor(d.decl(), queue);

  ASSERT_EQ(queue.size(), 3u);
  const WNCTL& ok = queue[1];
  EXPECT_EQ(str(ok.LABEL), "?OK");
  EXPECT_EQ(ok.UID, 40);
  EXPECT_EQ(ok.TABORDER, 7);
  EXPECT_EQ(str(ok.DESCRIPTION), "The confirming button of the order form, as the user named i");
  const WNCTL& cancel = queue[2];
  EXPECT_GT(cancel.UID, 42);  // a new row, numbered after the highest
  EXPECT_EQ(cancel.TABORDER, 2);

  std::vector<WindowControls> all = rows();
  ASSERT_EQ(all.size(), 5u);  // the window's and ?CANCEL's rows were added, nothing else
  EXPECT_TRUE(store::testing::sameBytes(&all[0], &okRow, sizeof okRow));
  EXPECT_TRUE(store::testing::sameBytes(&all[1], &otherMarker, sizeof okRow));
  EXPECT_TRUE(store::testing::sameBytes(&all[2], &otherProc, sizeof okRow));
  EXPECT_NE(rowOf(all, "Mark", "WINDOW"), nullptr);
  EXPECT_NE(rowOf(all, "Mark", "?CANCEL"), nullptr);

  // A second fill finds every row and writes nothing.
  std::vector<WindowControls> before = rows();
  controllist::ControlQueue again;
  fillFor(d.decl(), again);
  std::vector<WindowControls> after = rows();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) EXPECT_TRUE(store::testing::sameBytes(&after[i], &before[i], sizeof after[i]));
  ASSERT_EQ(again.size(), queue.size());
  for (size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].UID, queue[i].UID);
}

TEST_F(ControlQueue, UnknownTypesUnlabelledControlsAndGapsInTheNumbering) {
  TestWindow d("Odd", 300, 200);
  d.button("?FIRST", "First", {10, 10, 40, 14});
  ControlDecl& panel = d.add(TYPE::Panel, "?PANEL", "Panel text", {10, 40, 50, 20});
  panel.feq = 5;  // 2 to 4 name no control
  controllist::ControlQueue queue;
  int runtimeField = 0;
  fillFor(d.decl(), queue, [&](Window& w) {
    runtimeField = w.create(0, TYPE::Button);  // made at run time: no label
    w.set(runtimeField, PROP::Text, "Made later");
  });
  ASSERT_EQ(runtimeField, 6);
  ASSERT_EQ(queue.size(), 4u);
  EXPECT_EQ(queue[1].FEQ, 1);
  const WNCTL& p = queue[2];
  EXPECT_EQ(p.FEQ, 5);
  EXPECT_EQ(p.TYPE, TYPE::Panel);
  EXPECT_EQ(str(p.TYPETXT), "");
  EXPECT_EQ(str(p.SCRTEXT), "");
  EXPECT_EQ(str(p.DESCRIPTION), "PANEL");
  EXPECT_EQ(p.TABORDER, 5);
  const WNCTL& unlabelled = queue[3];
  EXPECT_EQ(unlabelled.FEQ, 6);
  EXPECT_EQ(str(unlabelled.LABEL), "");
  EXPECT_EQ(str(unlabelled.TYPETXT), "BUTTON");
  EXPECT_EQ(str(unlabelled.SCRTEXT), "Made later");
  EXPECT_EQ(unlabelled.UID, 0);
  EXPECT_EQ(str(unlabelled.DESCRIPTION), "");
  std::vector<WindowControls> all = rows();
  ASSERT_EQ(all.size(), 3u);  // the window, ?FIRST, ?PANEL: no row with a blank label
  for (const WindowControls& r : all) EXPECT_NE(str(r.CONTROLLABEL), "");
}

TEST(ControlTypeNames, TheControlListNamesSheetsTabsAndTheWindowAndStoredRowsDoNot) {
  using store::ControlTypeName;
  using store::TypeNames;
  const std::pair<int, const char*> named[] = {
      {1, "STRING"},  {2, "STRING"},  {3, "IMAGE"}, {4, "REGION"},  {5, "LINE"},   {6, "BOX"},
      {7, "ELLIPSE"}, {8, "ENTRY"},   {9, "BUTTON"}, {10, "PROMPT"}, {11, "OPTION"}, {12, "CHECK"},
      {13, "GROUP"},  {14, "LIST"},   {15, "COMBO"}, {16, "SPIN"},   {17, "TEXT"},  {18, "CUSTOM"},
      {19, "MENU"},   {20, "ITEM"},   {21, "RADIO"}, {33, "LIST"},   {34, "COMBO"}, {40, "RTF TEXT control"},
      {128, "TOOLBAR"}};
  for (auto [code, name] : named) {
    EXPECT_EQ(ControlTypeName(code, TypeNames::kControlList), name) << code;
    EXPECT_EQ(ControlTypeName(code, TypeNames::kStoredRows), name) << code;
  }
  EXPECT_EQ(ControlTypeName(0, TypeNames::kControlList), "WINDOW");
  EXPECT_EQ(ControlTypeName(37, TypeNames::kControlList), "SHEET");
  EXPECT_EQ(ControlTypeName(38, TypeNames::kControlList), "TAB");
  for (int code : {0, 37, 38}) EXPECT_EQ(ControlTypeName(code, TypeNames::kStoredRows), "") << code;
  for (int code : {-1, 22, 23, 32, 35, 36, 39, 41, 127, 129})
    for (TypeNames set : {TypeNames::kControlList, TypeNames::kStoredRows})
      EXPECT_EQ(ControlTypeName(code, set), "") << code;
}

TEST(ControlQueueOperations, FindByNumberOrRowIdAndSortByTabOrderKeepingTies) {
  auto row = [](int32_t feq, int32_t order, int32_t uid) {
    WNCTL r{};
    r.FEQ = feq;
    r.TABORDER = order;
    r.UID = uid;
    return r;
  };
  controllist::ControlQueue q = {row(0, 0, 10), row(1, 3, 11), row(2, 1, 12), row(3, 3, 13), row(4, 2, 14)};
  ASSERT_NE(FindByFeq(q, 3), nullptr);
  EXPECT_EQ(FindByFeq(q, 3)->UID, 13);
  EXPECT_EQ(FindByFeq(q, 9), nullptr);
  ASSERT_NE(FindByUid(q, 12), nullptr);
  EXPECT_EQ(FindByUid(q, 12)->FEQ, 2);
  EXPECT_EQ(FindByUid(q, 99), nullptr);
  SortByTabOrder(q);
  std::vector<int32_t> feqs;
  for (const WNCTL& r : q) feqs.push_back(r.FEQ);
  EXPECT_EQ(feqs, (std::vector<int32_t>{0, 2, 4, 1, 3}));
}

}  // namespace
}  // namespace wevo::controllist
