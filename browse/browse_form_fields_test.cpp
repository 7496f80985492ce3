// The processed-controls browse driven by the scripted user: what it lists
// and in which order, the markers, the keys and the popup, insert, change
// and delete through the property form, the step locator, and paging over
// a procedure of 10,000 rows.
#include "browse/browse_form_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apply/row_identity.h"
#include "browse/test_browse.h"
#include "platform/keyedfile/read_counter.h"

namespace wevo::browse {
namespace {

using testing::kCaption;
using testing::kMarker;
using testing::kProcedure;
using testing::listRow;
using testing::overrideRow;
using testing::runBrowse;
using testing::selectedLabel;
using testing::shown;
using testing::shownColumn;
using testing::StoreFolder;
using testing::WindowControls;
using wevo::testing::endedNormally;

WindowControls browseRow(uint32_t uid, const std::string& marker, const std::string& label, int type,
                         const std::string& procedure = kProcedure) {
  WindowControls r = overrideRow(uid, procedure, marker, label, 2, type);  // control 2 of the host: ?OK
  text::assign(r.CONTROLTEXT, "Text " + label);
  return r;
}

// Stored in no particular order; labels in mixed case.
std::vector<WindowControls> sixRows() {
  return {browseRow(1, kMarker, "?echo", 999),      browseRow(2, kMarker, "?charlie", TYPE::Button),
          browseRow(3, "Other", "?Zed", TYPE::Entry), browseRow(4, kMarker, "?Alpha", TYPE::Entry),
          browseRow(5, store::kOriginalMarker, "?charlie", TYPE::Button),
          browseRow(6, kMarker, "?bravo", TYPE::Sheet), browseRow(7, kMarker, "?Foxtrot", TYPE::Window),
          browseRow(8, store::kOriginalMarker, "?Alpha", TYPE::Entry),
          browseRow(9, kMarker, "?Delta", TYPE::Tab),     browseRow(10, kMarker, "?Zzz", TYPE::Entry, "Invoice")};
}

TEST(BrowseFormFields, ListsTheMarkersRowsInLabelOrderAndChoosingAMarkerListsItsRows) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(sixRows()));
  std::vector<std::string> labels, types, texts, markers, originals;
  std::optional<toolkit::WindowSnapshot> window;
  std::optional<toolkit::ControlSnapshot> markerList, insert, change, del;
  int requestInside = -1;
  Script script;
  script.call([&] {
    window = wevo::testing::shownWindow(kCaption);
    labels = shownColumn(0);
    types = shownColumn(2);
    texts = shownColumn(3);
    markerList = shown("?LOC:UNIQUEMARKER");
    insert = shown("?INSERT");
    change = shown("?CHANGE");
    del = shown("?DELETE");
    requestInside = store::GlobalRequest();
  });
  script.selectRow("?LOC:UNIQUEMARKER", 3, kCaption).call([&] { originals = shownColumn(0); });
  script.clickControl("?CLOSE", kCaption);
  int response = -1;
  ProgramResult r = runBrowse(folder, script, "MARK", &response);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty()) << describe(r);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->caption, kCaption);
  EXPECT_EQ(labels, (std::vector<std::string>{"?Alpha", "?bravo", "?charlie", "?Delta", "?echo", "?Foxtrot"}));
  // The window, sheets, tabs and unknown codes have no name.
  EXPECT_EQ(types, (std::vector<std::string>{"ENTRY", "", "BUTTON", "", "", ""}));
  EXPECT_EQ(texts.front(), "Text ?Alpha");
  ASSERT_TRUE(markerList);
  EXPECT_TRUE(markerList->focused);
  for (const auto& row : markerList->rows) markers.emplace_back(text::clip(row.at(0)));
  EXPECT_EQ(markers, (std::vector<std::string>{"Mark", "Other", "WEVO_ORIGINAL"}));
  ASSERT_TRUE(insert && change && del);
  EXPECT_TRUE(insert->hidden);
  EXPECT_FALSE(change->disabled);
  EXPECT_FALSE(del->disabled);
  EXPECT_EQ(requestInside, 0);
  EXPECT_EQ(originals, (std::vector<std::string>{"?Alpha", "?charlie"}));
  EXPECT_EQ(response, 1);
}

TEST(BrowseFormFields, AnEmptyMarkerDisablesChangeAndDeleteButInsertWorksFromTheKeyAndThePopup) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(sixRows()));
  std::optional<toolkit::ControlSnapshot> change, del, listAfterInsert, changeAfterInsert;
  std::vector<std::string> descriptions;
  std::optional<toolkit::ControlSnapshot> primedDescription;
  const auto [x, y] = listRow(1);
  Script script;
  script.call([&] {
    change = shown("?CHANGE");
    del = shown("?DELETE");
  });
  script.rightPress(x, y, kCaption).choosePopup(0);
  script.clickControl("?BROWSE:1", kCaption).key(KEY::Delete).key(KEY::Apps).choosePopup(0);
  // Insert, although its button is hidden: the form edits a new row with a
  // blank label, and so a blank description (it is not the window's row).
  script.key(KEY::Insert);
  script.call([&] { primedDescription = wevo::testing::shownControl("", "?WIN:DESCRIPTION"); });
  script.clickControl("?WIN:DESCRIPTION", "").type("Made here").clickControl("?OK", "");
  script.call([&] {
    listAfterInsert = shown("?BROWSE:1");
    changeAfterInsert = shown("?CHANGE");
    descriptions = shownColumn(1);
  });
  // Insert from the popup finds that row and edits it.
  script.rightPress(x, y, kCaption).choosePopup(1).clickControl("?CANCEL", "");
  script.closeWindow(kCaption);
  int response = -1;
  ProgramResult r = runBrowse(folder, script, "Nothing", &response);
  ASSERT_TRUE(endedNormally(r));
  ASSERT_TRUE(change && del);
  EXPECT_TRUE(change->disabled);
  EXPECT_TRUE(del->disabled);
  EXPECT_EQ(r.transcript, (std::vector<std::string>{"popup \"&Insert|~&Change|~&Delete\" -> 0",
                                                    "popup \"&Insert|~&Change|~&Delete\" -> 0",
                                                    "popup \"&Insert|&Change|&Delete\" -> 1 \"&Insert\""}));
  ASSERT_TRUE(primedDescription);
  EXPECT_EQ(text::clip(primedDescription->text), "");
  ASSERT_TRUE(listAfterInsert && changeAfterInsert);
  EXPECT_EQ(listAfterInsert->rows.size(), 1u);
  EXPECT_EQ(listAfterInsert->selected, 1);
  EXPECT_FALSE(changeAfterInsert->disabled);
  EXPECT_EQ(descriptions, std::vector<std::string>{"Made here"});
  EXPECT_EQ(response, 2);  // closed without Exit
  int blankRows = 0;
  for (const WindowControls& row : folder.rows())
    if (text::clipped(row.UNIQUEMARKER) == "Nothing") {
      ++blankRows;
      EXPECT_EQ(text::clipped(row.CONTROLLABEL), "");
      EXPECT_EQ(text::clipped(row.PROCEDURENAME), kProcedure);
      EXPECT_EQ(+row.FEQ, 0);
      EXPECT_EQ(text::clipped(row.DESCRIPTION), "Made here");
    }
  EXPECT_EQ(blankRows, 1);
  EXPECT_EQ(folder.rows().size(), sixRows().size() + 1);
}

const std::string kConfirmDelete =
    "message \"Confirm Delete\" \"You've selected to delete the highlighted record.  Press OK to confirm deletion "
    "of this record.\" icon=question buttons=OK|Cancel default=Cancel -> ";

TEST(BrowseFormFields, DeleteAsksFirstAndChangeEditsTheSelectedRow) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(sixRows()));
  std::vector<std::string> afterCancel, afterDelete, descriptions;
  std::string selectedAfterCancel, selectedAfterDelete, selectedAfterChange;
  size_t storedAfterCancel = 0;
  const auto [x1, y1] = listRow(1);
  Script script;
  script.selectRow("?BROWSE:1", 2, kCaption).key(KEY::Delete).answer("Confirm Delete", BUTTON::Cancel);
  script.call([&] {
    afterCancel = shownColumn(0);
    selectedAfterCancel = selectedLabel();
    storedAfterCancel = folder.rows().size();
  });
  script.key(KEY::Delete).answer("Confirm Delete", BUTTON::Ok);
  script.call([&] {
    afterDelete = shownColumn(0);
    selectedAfterDelete = selectedLabel();
  });
  // A double click (its first press selects the row) changes it.
  script.click(x1, y1, kCaption).doubleClick(x1, y1, kCaption);
  script.clickControl("?WIN:DESCRIPTION", "BUTTON ?Alpha").type("First one").clickControl("?OK", "BUTTON ?Alpha");
  script.call([&] {
    descriptions = shownColumn(1);
    selectedAfterChange = selectedLabel();
  });
  // Ctrl+Enter changes too; Delete from the popup asks.
  script.key(KEY::Ctrl + KEY::Enter).clickControl("?CANCEL", "BUTTON ?Alpha");
  const auto [x3, y3] = listRow(3);
  script.rightPress(x3, y3, kCaption).choosePopup(3).answer("Confirm Delete", BUTTON::Cancel);
  script.clickControl("?CLOSE", kCaption);
  ProgramResult r = runBrowse(folder, script, kMarker);
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), 4u) << describe(r);
  EXPECT_EQ(r.transcript[0], kConfirmDelete + "Cancel");
  EXPECT_EQ(r.transcript[1], kConfirmDelete + "OK");
  EXPECT_EQ(r.transcript[2], "popup \"&Insert|&Change|&Delete\" -> 3 \"&Delete\"");
  EXPECT_EQ(r.transcript[3], kConfirmDelete + "Cancel");
  EXPECT_EQ(afterCancel, (std::vector<std::string>{"?Alpha", "?bravo", "?charlie", "?Delta", "?echo", "?Foxtrot"}));
  EXPECT_EQ(selectedAfterCancel, "?bravo");
  EXPECT_EQ(storedAfterCancel, sixRows().size());
  EXPECT_EQ(afterDelete, (std::vector<std::string>{"?Alpha", "?charlie", "?Delta", "?echo", "?Foxtrot"}));
  EXPECT_EQ(selectedAfterDelete, "?charlie");  // the row now at the selected place
  ASSERT_FALSE(descriptions.empty());
  EXPECT_EQ(descriptions.front(), "First one");
  EXPECT_EQ(selectedAfterChange, "?Alpha");
  const std::vector<WindowControls> rows = folder.rows();
  EXPECT_EQ(rows.size(), sixRows().size() - 1);
  EXPECT_EQ(apply::testing::findRow(rows, kMarker, "?bravo"), nullptr);
  ASSERT_NE(apply::testing::findRow(rows, kMarker, "?Alpha"), nullptr);
  EXPECT_EQ(text::clipped(apply::testing::findRow(rows, kMarker, "?Alpha")->DESCRIPTION), "First one");
  ASSERT_NE(apply::testing::findRow(rows, store::kOriginalMarker, "?charlie"), nullptr);
}

// Another station changes or removes rows after the page was loaded: an
// update reads its row again first.
TEST(BrowseFormFields, AnUpdateReadsItsRowAgainFirst) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(sixRows()));
  auto otherStation = [&](const std::string& label, const std::function<void(kf::File&, WindowControls&)>& fn) {
    WindowControls buffer{};
    kf::File other(store::winDecl(), &buffer);
    other.setName(folder.path);
    other.setOwner(folder.password);
    ASSERT_TRUE(other.open());
    apply::SetRowKey(buffer, kProcedure, kMarker, label);
    ASSERT_TRUE(other.get(store::KEYPROCEDUREMARKERLABEL));
    fn(other, buffer);
    ASSERT_TRUE(other.close());
  };
  std::vector<std::string> afterGone;
  Script script;
  script.call([&] {
    otherStation("?charlie", [](kf::File& f, WindowControls& row) {
      text::assign(row.CONTROLLABEL, "?Charles");
      ASSERT_TRUE(f.put());
    });
  });
  // The form opens for the row as it is now.
  script.selectRow("?BROWSE:1", 3, kCaption).key(KEY::Ctrl + KEY::Enter).clickControl("?CANCEL", "BUTTON ?Charles");
  script.answer("Update Cancelled", BUTTON::Yes);  // the form read the live control's place into the row
  // A row that is gone opens no form; the page shows what is there.
  script.call([&] { otherStation("?Delta", [](kf::File& f, WindowControls&) { ASSERT_TRUE(f.del()); }); });
  script.selectRow("?BROWSE:1", 4, kCaption).key(KEY::Ctrl + KEY::Enter);
  script.call([&] { afterGone = shownColumn(0); }, kCaption);
  script.clickControl("?CLOSE", kCaption);
  ProgramResult r = runBrowse(folder, script, kMarker);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript.size(), 1u) << describe(r);
  EXPECT_EQ(afterGone, (std::vector<std::string>{"?Alpha", "?bravo", "?Charles", "?echo", "?Foxtrot"}));
}

TEST(BrowseFormFields, TypingStepsThroughLabelsWithTheFirstCharacterAndJumpsWithAnother) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage({browseRow(1, kMarker, "Xray", 9), browseRow(2, kMarker, "?Beta", 9),
                            browseRow(3, kMarker, "WINDOW", 0), browseRow(4, kMarker, "?Alpha", 9),
                            browseRow(5, kMarker, "?bravo", 9)}));
  std::vector<std::string> seen;
  auto see = [&] { seen.push_back(selectedLabel()); };
  Script script;
  script.selectRow("?BROWSE:1", 1, kCaption).call(see);
  for (const char* typed : {"?", "?", "?", "w", "W", "x", "b", "?"}) script.type(typed).call(see);
  script.clickControl("?CLOSE", kCaption);
  ProgramResult r = runBrowse(folder, script, kMarker);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(seen, (std::vector<std::string>{"?Alpha", "?Beta", "?bravo",
                                            "?Alpha",   // "?" on "?bravo": the next row is WINDOW, so back to "?"
                                            "WINDOW",   // another character: the first label not before it
                                            "WINDOW",   // "W" steps to Xray, which starts otherwise: back to "W"
                                            "Xray", "WINDOW", "?Alpha"}));
}

constexpr int kBig = 10000;

// "?AAA", "?AAB", ... "?OUP": labels spread evenly over the letters.
std::string bigLabel(int n) {
  std::string s = "?AAA";
  for (int i = 3, v = n - 1; i >= 1; --i, v /= 26) s[static_cast<size_t>(i)] = static_cast<char>('A' + v % 26);
  return s;
}

TEST(BrowseFormFields, ABrowseOverTenThousandRowsReadsAboutAPagePerLoad) {
  StoreFolder folder;
  std::vector<WindowControls> rows = testing::numberedRows(kProcedure, "Alpha", "?A", 300, 1);
  for (int n = kBig; n >= 1; --n)
    rows.push_back(overrideRow(1000 + static_cast<uint32_t>(n), kProcedure, kMarker, bigLabel(n), n, TYPE::Entry));
  for (WindowControls& r : testing::numberedRows(kProcedure, "Zulu", "?Z", 300, 20000)) rows.push_back(r);
  ASSERT_TRUE(testing::stageMany(folder, rows));

  struct Load {
    uint64_t reads = 0;
    std::vector<std::string> labels;
    std::string selected;
    int thumb = -1;
    bool vScroll = false;
  };
  std::vector<Load> loads;
  int page = 0;
  auto take = [&] {
    Load l;
    l.reads = kf::rowsRead();
    l.labels = shownColumn(0);
    l.selected = selectedLabel();
    std::optional<toolkit::ControlSnapshot> list = shown("?BROWSE:1");
    if (list) {
      l.thumb = list->vScrollPos;
      l.vScroll = list->vScroll;
    }
    loads.push_back(l);
    kf::resetRowsRead();
  };
  Script script;
  script.call([&] {
    page = target()->get(target()->fieldOf("?BROWSE:1"), PROP::Items).i32();
    take();  // 0: the opening
  });
  script.scroll("?BROWSE:1", EVENT::PageDown, 0, kCaption).call(take);     // 1
  script.scroll("?BROWSE:1", EVENT::ScrollBottom, 0, kCaption).call(take);  // 2
  script.scroll("?BROWSE:1", EVENT::ScrollDrag, 50, kCaption).call(take);   // 3
  script.scroll("?BROWSE:1", EVENT::ScrollTop, 0, kCaption).call(take);     // 4
  script.selectRow("?BROWSE:1", 1, kCaption).key(KEY::PgDn).key(KEY::PgDn).call(take);  // 5
  script.resizeWindow(540, 520, kCaption).call(take);                                   // 6
  script.clickControl("?CLOSE", kCaption);
  ProgramResult r = folder.run(
      [&] {
        Window host(testing::hostWindow());
        host.open();
        kf::resetRowsRead();
        BrowseFormFields(host, kProcedure, kMarker);
      },
      script);
  ASSERT_TRUE(endedNormally(r));
  ASSERT_GE(page, 10);
  ASSERT_EQ(loads.size(), 7u);
  const auto pageOf = [&](int first) {
    std::vector<std::string> out;
    for (int i = 0; i < page; ++i) out.push_back(bigLabel(first + i));
    return out;
  };
  const uint64_t budget = static_cast<uint64_t>(page) + 8;  // a page, the ends for the step table, a few more

  EXPECT_EQ(loads[0].labels, pageOf(1));
  EXPECT_LE(loads[0].reads, budget);
  EXPECT_EQ(loads[0].selected, bigLabel(1));
  EXPECT_EQ(loads[0].thumb, 1);
  EXPECT_TRUE(loads[0].vScroll);

  // A page down from the first row: the selection moves a page.
  EXPECT_EQ(loads[1].selected, bigLabel(1 + page));
  EXPECT_LE(loads[1].reads, budget);

  EXPECT_EQ(loads[2].labels, pageOf(kBig - page + 1));
  EXPECT_EQ(loads[2].selected, bigLabel(kBig));
  EXPECT_EQ(loads[2].thumb, 100);
  EXPECT_LE(loads[2].reads, budget);

  ASSERT_FALSE(loads[3].labels.empty());
  EXPECT_GE(loads[3].selected, bigLabel(4500));
  EXPECT_LE(loads[3].selected, bigLabel(5500));
  EXPECT_EQ(loads[3].labels.front(), loads[3].selected);
  EXPECT_GE(loads[3].thumb, 45);
  EXPECT_LE(loads[3].thumb, 55);
  EXPECT_LE(loads[3].reads, budget);

  EXPECT_EQ(loads[4].labels, pageOf(1));
  EXPECT_LE(loads[4].reads, budget);

  // PgDn within the page goes to its last row, then past it by a page.
  EXPECT_EQ(loads[5].selected, bigLabel(2 * page));
  EXPECT_LE(loads[5].reads, budget);

  // A bigger window shows more rows, still only as many as it shows.
  EXPECT_GT(loads[6].labels.size(), static_cast<size_t>(page));
  EXPECT_LE(loads[6].reads, 2 * budget);
}

}  // namespace
}  // namespace wevo::browse
