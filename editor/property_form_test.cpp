#include "editor/property_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/test_editor.h"
#include "store/store_thread.h"
#include "wevo/toolkit.h"

namespace wevo::editor {
namespace {

using apply::testing::fileState;
using apply::testing::StoreFolder;
using testing::addRow;
using testing::FormResult;
using testing::formRow;
using testing::kMarker;
using testing::kName;
using testing::kProcedure;
using testing::kSaveBtn;
using testing::runForm;
using testing::storedRow;
using testing::WindowControls;
using wevo::testing::endedNormally;
using wevo::testing::transcriptHas;

const std::string kButtonForm = "BUTTON ?SaveBtn";
const std::string kCancelQuestion =
    "message \"Update Cancelled\" \"Are you sure you want to cancel?\" icon=question buttons=Yes|No default=No -> ";

// Rows of other windows and controls, so that numbering has something to follow.
std::vector<WindowControls> otherRows() {
  std::vector<WindowControls> rows;
  rows.push_back(apply::testing::overrideRow(1, "OtherProc", kMarker, "?SaveBtn", 2, 9));
  rows.push_back(apply::testing::overrideRow(5, kProcedure, "OtherMarker", "?SaveBtn", 2, 9));
  rows.push_back(apply::testing::overrideRow(3, kProcedure, kMarker, "?Name", 1, 8));
  return rows;
}

TEST(PropertyForm, ControlWithoutRowOpensAsInsertAndSaveRewritesTheAddedRow) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(otherRows()));
  std::vector<WindowControls> whileOpen;
  int requestSeen = -1, responseSeen = -1;
  Script script;
  script
      .call(
          [&] {
            whileOpen = folder.rows();
            requestSeen = store::GlobalRequest();
            responseSeen = store::GlobalResponse();
          },
          kButtonForm)
      .selectTab("?TAB4", kButtonForm)
      .clickControl("?WIN:TIP", kButtonForm)
      .type("Saves the customer")
      .clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 1, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_TRUE(r.program.transcript.empty()) << describe(r.program);
  EXPECT_EQ(r.response, 1);
  EXPECT_EQ(r.requestAfter, 0);
  EXPECT_EQ(requestSeen, 0);
  EXPECT_EQ(responseSeen, 0);

  // The row was added when the form opened: the next UID, the label without
  // its "?", type 0.
  const WindowControls* primed = formRow(whileOpen, "?SaveBtn");
  ASSERT_NE(primed, nullptr);
  EXPECT_EQ(whileOpen.size(), 4u);
  EXPECT_EQ(primed->UID, 6u);
  EXPECT_EQ(text::clipped(primed->PROCEDURENAME), kProcedure);
  EXPECT_EQ(text::clipped(primed->DESCRIPTION), "SaveBtn");
  EXPECT_EQ(primed->TYPE, 0);
  EXPECT_EQ(primed->FEQ, kSaveBtn);
  EXPECT_EQ(primed->ORDER, kSaveBtn);

  const std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 4u);
  const WindowControls* saved = formRow(rows, "?SaveBtn");
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(saved->UID, 6u);
  EXPECT_EQ(text::clipped(saved->TIP), "Saves the customer");
  EXPECT_EQ(text::clipped(saved->DESCRIPTION), "SaveBtn");
  EXPECT_EQ(saved->TYPE, 0);
  // The live control's placement, in dialog units.
  EXPECT_EQ(saved->X, 20);
  EXPECT_EQ(saved->Y, 30);
  EXPECT_EQ(saved->WIDTH, 50);
  EXPECT_EQ(saved->HEIGHT, 14);
  EXPECT_EQ(saved->WIDTHTYPE, 2);
  EXPECT_EQ(saved->HEIGHTTYPE, 2);
  EXPECT_EQ(text::clipped(saved->CURSOR), "");
}

TEST(PropertyForm, CancellingAnAddedRowRemovesItWhateverTheRequest) {
  for (int request : {1, 0}) {
    SCOPED_TRACE("request " + std::to_string(request));
    StoreFolder folder;
    ASSERT_TRUE(folder.stage(otherRows()));
    Script script;
    // The live placement went into the new row, so it counts as changed.
    script.clickControl("?CANCEL", kButtonForm).answer("Update Cancelled", BUTTON::Yes);
    FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", request, script);
    ASSERT_TRUE(endedNormally(r.program));
    EXPECT_EQ(r.response, 2);
    ASSERT_EQ(r.program.transcript.size(), 1u);
    EXPECT_EQ(r.program.transcript[0], kCancelQuestion + "Yes");
    const std::vector<WindowControls> rows = folder.rows();
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(formRow(rows, "?SaveBtn"), nullptr);
  }
}

TEST(PropertyForm, ExistingRowOpensAsChangeAndAnUnchangedSaveWritesNothing) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(otherRows()));
  auto stageButton = [&](Window& host) {
    WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
    text::assign(row.TIP, "Stored tip");
    addRow(host, kSaveBtn, row);
  };
  testing::onHost(folder, stageButton);
  const auto before = fileState(folder.path);

  Script script;
  script.clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 1, script);  // asks for an insert
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_TRUE(r.program.transcript.empty()) << describe(r.program);
  EXPECT_EQ(r.response, 1);
  EXPECT_EQ(fileState(folder.path), before);

  // Cancelling it, unchanged, asks nothing and keeps the row: only a row the
  // form added itself goes again.
  FormResult c = runForm(folder, kSaveBtn, "?SaveBtn", 1, Script().clickControl("?CANCEL", kButtonForm));
  ASSERT_TRUE(endedNormally(c.program));
  EXPECT_TRUE(c.program.transcript.empty()) << describe(c.program);
  EXPECT_EQ(c.response, 2);
  EXPECT_EQ(fileState(folder.path), before);
  const WindowControls* kept = formRow(folder.rows(), "?SaveBtn");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->UID, 4u);
  EXPECT_EQ(text::clipped(kept->TIP), "Stored tip");
}

}  // namespace
}  // namespace wevo::editor
