#include "editor/property_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
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
  const std::optional<WindowControls> primed = formRow(whileOpen, "?SaveBtn");
  ASSERT_TRUE(primed);
  EXPECT_EQ(whileOpen.size(), 4u);
  EXPECT_EQ(+primed->UID, 6u);
  EXPECT_EQ(text::clipped(primed->PROCEDURENAME), kProcedure);
  EXPECT_EQ(text::clipped(primed->DESCRIPTION), "SaveBtn");
  EXPECT_EQ(+primed->TYPE, 0);
  EXPECT_EQ(+primed->FEQ, kSaveBtn);
  EXPECT_EQ(+primed->ORDER, kSaveBtn);

  const std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 4u);
  const std::optional<WindowControls> saved = formRow(rows, "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->UID, 6u);
  EXPECT_EQ(text::clipped(saved->TIP), "Saves the customer");
  EXPECT_EQ(text::clipped(saved->DESCRIPTION), "SaveBtn");
  EXPECT_EQ(+saved->TYPE, 0);
  // The live control's placement, in dialog units.
  EXPECT_EQ(+saved->X, 20);
  EXPECT_EQ(+saved->Y, 30);
  EXPECT_EQ(+saved->WIDTH, 50);
  EXPECT_EQ(+saved->HEIGHT, 14);
  EXPECT_EQ(+saved->WIDTHTYPE, 2);
  EXPECT_EQ(+saved->HEIGHTTYPE, 2);
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
    EXPECT_FALSE(formRow(rows, "?SaveBtn"));
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
  const std::optional<WindowControls> kept = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(kept);
  EXPECT_EQ(+kept->UID, 4u);
  EXPECT_EQ(text::clipped(kept->TIP), "Stored tip");
}


TEST(PropertyForm, ControlMovedSinceItsRowWasStoredOpensChanged) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
  text::assign(row.TIP, "Stored tip");
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, row); });
  const auto before = fileState(folder.path);
  const WindowControls stored = *formRow(folder.rows(), "?SaveBtn");
  auto moveButton = [](Window& host) { host.set(kSaveBtn, PROP::XPos, Value(35)); };

  // Cancelling asks; No keeps the form open, Yes lets it go without writing.
  Script cancel;
  cancel.clickControl("?CANCEL", kButtonForm)
      .answer("Update Cancelled", BUTTON::No)
      .clickControl("?CANCEL", kButtonForm)
      .answer("Update Cancelled", BUTTON::Yes);
  FormResult c = runForm(folder, kSaveBtn, "?SaveBtn", 0, cancel, moveButton);
  ASSERT_TRUE(endedNormally(c.program));
  EXPECT_EQ(c.response, 2);
  EXPECT_EQ(c.program.transcript, (std::vector<std::string>{kCancelQuestion + "No", kCancelQuestion + "Yes"}));
  EXPECT_EQ(fileState(folder.path), before);

  // Saving without touching anything writes the new position, nothing else.
  FormResult s = runForm(folder, kSaveBtn, "?SaveBtn", 0, Script().clickControl("?OK", kButtonForm), moveButton);
  ASSERT_TRUE(endedNormally(s.program));
  EXPECT_TRUE(s.program.transcript.empty()) << describe(s.program);
  EXPECT_EQ(s.response, 1);
  const std::optional<WindowControls> saved = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->X, 35);
  EXPECT_EQ(apply::testing::changedFields(*saved, stored), std::vector<std::string>{"X"});
}

TEST(PropertyForm, ResetTakesTheOriginalRowButKeepsTheRowsIdentity) {
  StoreFolder folder;
  WindowControls original = storedRow(7, "?SaveBtn", 9, TYPE::Button);
  text::assign(original.UNIQUEMARKER, store::kOriginalMarker);
  original.ORDER = 99;
  text::assign(original.TIP, "Original tip");
  text::assign(original.CONTROLTEXT, "&Save it");
  original.TEXTCOLOR = 255;
  original.FONTSTYLE = 700;
  text::assign(original.TYPEFACE, "Tahoma");
  text::assign(original.CURSOR, CURSOR::IBeam);
  WindowControls override = storedRow(3, "?SaveBtn", kSaveBtn, TYPE::Button);
  override.ORDER = 5;
  text::assign(override.TIP, "Override tip");
  override.TEXTCOLOR = 0xFF0000;
  testing::onHost(folder, [&](Window& host) {
    addRow(host, kSaveBtn, original);
    addRow(host, kSaveBtn, override);
  });

  WindowControls afterReset{};
  std::optional<toolkit::ControlSnapshot> tip, swatch, bold, cursor;
  Script script;
  script.clickControl("?RESET", kButtonForm)
      .call(
          [&] {
            afterReset = store::WIN();
            tip = wevo::testing::shownControl(kButtonForm, "?WIN:TIP");
            swatch = wevo::testing::shownControl(kButtonForm, "?BOX1");
            bold = wevo::testing::shownControl(kButtonForm, "?BBOLD");
            cursor = wevo::testing::shownControl(kButtonForm, "?CURSORDESCR");
          },
          kButtonForm);
  // Nothing is written until Save.
  script.call([&] { EXPECT_EQ(text::clipped(formRow(folder.rows(), "?SaveBtn")->TIP), "Override tip"); },
              kButtonForm);
  script.clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 2, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.response, 1);

  EXPECT_EQ(text::clipped(afterReset.TIP), "Original tip");
  EXPECT_EQ(+afterReset.UID, 3u);
  EXPECT_EQ(text::clipped(afterReset.UNIQUEMARKER), kMarker);
  EXPECT_EQ(+afterReset.FEQ, kSaveBtn);
  EXPECT_EQ(+afterReset.ORDER, 5);
  EXPECT_EQ(+afterReset.TEXTCOLOR, 255);
  // The form shows what it holds.
  ASSERT_TRUE(tip && swatch && bold && cursor);
  EXPECT_EQ(tip->text, "Original tip");
  EXPECT_EQ(swatch->fill, 255);
  EXPECT_TRUE(bold->checked);
  EXPECT_EQ(cursor->selected, 4);  // IBeam

  const std::optional<WindowControls> saved = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->UID, 3u);
  EXPECT_EQ(+saved->FEQ, kSaveBtn);
  EXPECT_EQ(+saved->ORDER, 5);
  EXPECT_EQ(text::clipped(saved->TIP), "Original tip");
  EXPECT_EQ(text::clipped(saved->CONTROLTEXT), "&Save it");
  EXPECT_EQ(+saved->TEXTCOLOR, 255);
  EXPECT_EQ(+saved->FONTSTYLE, 700);
  EXPECT_EQ(text::clipped(saved->TYPEFACE), "Tahoma");
  EXPECT_EQ(text::clipped(saved->CURSOR), CURSOR::IBeam);
  // The original row is as it was.
  const std::optional<WindowControls> kept = formRow(folder.rows(), "?SaveBtn", store::kOriginalMarker);
  ASSERT_TRUE(kept);
  EXPECT_EQ(+kept->UID, 7u);
}

TEST(PropertyForm, ResetWithoutAnOriginalRowLeavesTheFormAsItWas) {
  StoreFolder folder;
  WindowControls row = storedRow(3, "?Name", kName, TYPE::Entry);
  text::assign(row.TIP, "Override tip");
  testing::onHost(folder, [&](Window& host) { addRow(host, kName, row); });
  const auto before = fileState(folder.path);
  WindowControls beforeReset{}, afterReset{};
  Script script;
  script.call([&] { beforeReset = store::WIN(); }, "ENTRY ?Name")
      .clickControl("?RESET", "ENTRY ?Name")
      .call([&] { afterReset = store::WIN(); }, "ENTRY ?Name")
      .clickControl("?OK", "ENTRY ?Name");
  FormResult r = runForm(folder, kName, "?Name", 2, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.response, 1);
  EXPECT_EQ(apply::testing::changedFields(afterReset, beforeReset), std::vector<std::string>{});
  EXPECT_EQ(text::clipped(afterReset.TIP), "Override tip");
  EXPECT_EQ(fileState(folder.path), before);
}

// Runs the form with request 3 on the host thread after `prepare` (the
// store open) has put the row to delete into WIN(); by default the row of
// ?SaveBtn, made the store's current row, as the browse leaves it.
FormResult runDelete(const StoreFolder& folder, const Script& script, bool readOnly = false,
                     const std::function<void()>& prepare = {}) {
  FormResult out;
  out.program = folder.run(
      [&] {
        Window host(testing::hostWindow());
        host.open();
        store::StoreUse use;
        if (prepare)
          prepare();
        else
          ASSERT_TRUE(testing::LookUp("?SaveBtn"));
        if (readOnly) {
          // Every write is refused from here on.
          const std::string position = store::winFile().position();
          store::winFile().close();
          ASSERT_TRUE(store::winFile().open(kf::kReadOnly | kf::kDenyNone));
          ASSERT_TRUE(store::winFile().reget(position));
        }
        store::GlobalRequest() = 3;
        UpdateScreenControlProperties(host, kSaveBtn, "?SaveBtn", kMarker, kProcedure);
        out.response = store::GlobalResponse();
        out.requestAfter = store::GlobalRequest();
      },
      script);
  return out;
}

TEST(PropertyForm, DeleteRequestAsksFirstAndOpensNoWindow) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(otherRows()));
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, storedRow(4, "?SaveBtn", 2, 9)); });
  const std::string confirm =
      "message \"Confirm Delete\" \"You've selected to delete the highlighted record.  Press OK to confirm deletion "
      "of this record.\" icon=question buttons=OK|Cancel default=Cancel -> ";

  FormResult kept = runDelete(folder, Script().answer("Confirm Delete", BUTTON::Cancel));
  ASSERT_TRUE(endedNormally(kept.program));
  EXPECT_EQ(kept.response, 2);
  EXPECT_EQ(kept.program.transcript, std::vector<std::string>{confirm + "Cancel"});
  EXPECT_TRUE(formRow(folder.rows(), "?SaveBtn"));

  // A delete that fails asks whether to try again.
  Script failing;
  failing.answer("Confirm Delete", BUTTON::Ok)
      .answer("Transaction Framing Error", BUTTON::Ok)  // the store's report of the failure
      .answer("Record Update Error", BUTTON::Yes)
      .answer("Transaction Framing Error", BUTTON::Ok)
      .answer("Record Update Error", BUTTON::Cancel);
  FormResult refused = runDelete(folder, failing, true);
  ASSERT_TRUE(endedNormally(refused.program));
  EXPECT_EQ(refused.response, 2);
  ASSERT_EQ(refused.program.transcript.size(), 5u);
  EXPECT_TRUE(refused.program.transcript[2].starts_with(
      "message \"Record Update Error\" \"An error was experienced deleting this record."));
  EXPECT_TRUE(formRow(folder.rows(), "?SaveBtn"));

  FormResult gone = runDelete(folder, Script().answer("Confirm Delete", BUTTON::Ok));
  ASSERT_TRUE(endedNormally(gone.program));
  EXPECT_EQ(gone.response, 1);
  EXPECT_EQ(gone.requestAfter, 0);
  EXPECT_EQ(gone.program.transcript, std::vector<std::string>{confirm + "OK"});
  const std::vector<WindowControls> rows = folder.rows();
  EXPECT_FALSE(formRow(rows, "?SaveBtn"));
  EXPECT_EQ(rows.size(), 3u);
}

TEST(PropertyForm, FailedNumberingEndsTheFormWithoutItsWindow) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(otherRows()));
  Script script;
  script.answer("Auto Increment Error", BUTTON::Cancel);
  int response = -1;
  ProgramResult r = folder.run(
      [&] {
        Window host(testing::hostWindow());
        host.open();
        // The store is open for reading only: every add is refused.
        ASSERT_TRUE(store::winFile().open(kf::kReadOnly | kf::kDenyNone));
        store::useCount(store::winFile()) = 1;
        store::GlobalRequest() = 1;
        UpdateScreenControlProperties(host, kSaveBtn, "?SaveBtn", kMarker, kProcedure);
        response = store::GlobalResponse();
        store::closeCounted(store::winFile());
        // No close reached the host window.
        host.post(EVENT::User);
        while (host.accept())
          if (event() == EVENT::User || event() == EVENT::CloseWindow) break;
        EXPECT_EQ(event(), EVENT::User);
      },
      script);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(response, 2);
  // Cancelling the retry question ends the form; no further message follows.
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_TRUE(r.transcript[0].starts_with("message \"Auto Increment Error\""));
  EXPECT_EQ(folder.rows().size(), 3u);
}

TEST(PropertyForm, UnreadableStoreWhileNumberingLeavesTheHostWindowOpen) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(otherRows()));
  int response = -1;
  bool hostClosed = true;
  ProgramResult r = folder.run(
      [&] {
        Window host(testing::hostWindow());
        host.open();
        // Counted as open but not open: every read fails.
        store::useCount(store::winFile()) = 1;
        store::GlobalRequest() = 1;
        UpdateScreenControlProperties(host, kSaveBtn, "?SaveBtn", kMarker, kProcedure);
        response = store::GlobalResponse();
        store::useCount(store::winFile()) = 0;
        host.post(EVENT::User);
        while (host.accept())
          if (event() == EVENT::User || event() == EVENT::CloseWindow) break;
        hostClosed = event() != EVENT::User;
      },
      Script().answer("Record Retrieval Error", BUTTON::Ok));
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(response, 2);
  EXPECT_FALSE(hostClosed);
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_TRUE(r.transcript[0].starts_with("message \"Record Retrieval Error\" \"Error: (File not open (37)) "
                                          "attempting to access a record from the WindowControls file."))
      << r.transcript[0];
  EXPECT_EQ(folder.rows().size(), 3u);
}

// Makes the thread's store instance refuse every write from now on, keeping
// its current row.
void refuseWrites() {
  kf::File& file = store::winFile();
  const std::string position = file.position();
  const WindowControls buffer = store::WIN();
  file.close();
  ASSERT_TRUE(file.open(kf::kReadOnly | kf::kDenyNone));
  ASSERT_TRUE(file.reget(position));
  store::WIN() = buffer;
}

void allowWrites() {
  kf::File& file = store::winFile();
  const std::string position = file.position();
  const WindowControls buffer = store::WIN();
  file.close();
  ASSERT_TRUE(file.open());
  ASSERT_TRUE(file.reget(position));
  store::WIN() = buffer;
}

TEST(PropertyForm, FailedRewriteOfAnAddedRowWarnsAndStaysOpen) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(otherRows()));
  Script script;
  script.call(refuseWrites, kButtonForm)
      .clickControl("?OK", kButtonForm)
      .answer("Record Insert Error", BUTTON::Ok)
      .call(allowWrites, kButtonForm)
      // A UID another row has: the unique key refuses it.
      .call([] { store::WIN().UID = 5; }, kButtonForm)
      .clickControl("?OK", kButtonForm)
      .answer("Duplicate Key Error", BUTTON::Ok)
      .call([] { store::WIN().UID = 6; }, kButtonForm)
      .clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 1, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.response, 1);
  ASSERT_EQ(r.program.transcript.size(), 2u);
  EXPECT_TRUE(r.program.transcript[0].starts_with(
      "message \"Record Insert Error\" \"An error was experienced during the update of record.  Error: "))
      << r.program.transcript[0];
  EXPECT_EQ(r.program.transcript[1],
            "message \"Duplicate Key Error\" \"Adding this record creates a duplicate entry for the key:WIN:KeyUID\" "
            "icon=error buttons=OK default=OK -> OK");
  const std::optional<WindowControls> saved = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->UID, 6u);
  EXPECT_EQ(folder.rows().size(), 4u);
}

TEST(PropertyForm, FailedUpdateAsksToTryAgainAndNoGivesUp) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
  text::assign(row.TIP, "Stored tip");
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, row); });
  const auto before = fileState(folder.path);
  Script script;
  script.selectTab("?TAB4", kButtonForm)
      .clickControl("?WIN:TIP", kButtonForm)
      .type("Changed tip")
      .call(refuseWrites, kButtonForm)
      .clickControl("?OK", kButtonForm)
      .answer("Transaction Framing Error", BUTTON::Ok)  // the store's report of the failed write
      .answer("Record Update Error", BUTTON::Yes)
      .answer("Transaction Framing Error", BUTTON::Ok)
      .answer("Record Update Error", BUTTON::Cancel)  // back to the form
      .clickControl("?OK", kButtonForm)
      .answer("Transaction Framing Error", BUTTON::Ok)
      .answer("Record Update Error", BUTTON::No)  // gives up: the form closes, asking first
      .answer("Update Cancelled", BUTTON::Yes);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 2, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.response, 2);
  int retries = 0;
  for (const std::string& line : r.program.transcript)
    if (line.starts_with("message \"Record Update Error\" \"An error was experienced changing this record.")) ++retries;
  EXPECT_EQ(retries, 3);
  EXPECT_EQ(fileState(folder.path), before);
}

TEST(PropertyForm, HostInPixelsKeepsItsModeAndTheRowGetsDialogUnits) {
  StoreFolder folder;
  bool pixelsAfter = false;
  int xAfter = 0;
  FormResult r = runForm(
      folder, kSaveBtn, "?SaveBtn", 0, Script().clickControl("?OK", kButtonForm),
      [&](Window& host) { host.set(0, PROP::Pixels, Value(1)); },
      [&](Window& host) {
        pixelsAfter = host.get(0, PROP::Pixels).truthy();
        xAfter = host.get(kSaveBtn, PROP::XPos).i32();
      });
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_TRUE(pixelsAfter);
  EXPECT_EQ(xAfter, 30);  // 20 dialog units of 1.5 pixels
  const std::optional<WindowControls> saved = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->X, 20);
  EXPECT_EQ(+saved->WIDTH, 50);
}

TEST(PropertyForm, DeleteRequestRemovesOnlyTheRowTheBufferNames) {
  StoreFolder folder;
  ASSERT_TRUE(folder.stage(otherRows()));
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, storedRow(4, "?SaveBtn", 2, 9)); });
  const std::optional<WindowControls> button = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(button);

  // The row read elsewhere (a view): the store has no current row.
  FormResult r = runDelete(folder, Script().answer("Confirm Delete", BUTTON::Ok), false,
                           [&] { store::WIN() = *button; });
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.response, 1);
  EXPECT_FALSE(formRow(folder.rows(), "?SaveBtn"));
  EXPECT_EQ(folder.rows().size(), 3u);

  // A row that is gone meanwhile: reported, and the current row (another
  // control's) is left alone.
  Script script;
  script.answer("Confirm Delete", BUTTON::Ok)
      .answer("Delete Operation Error", BUTTON::Ok)
      .answer("Record Update Error", BUTTON::No);
  FormResult gone = runDelete(folder, script, false, [&] {
    ASSERT_TRUE(testing::LookUp("?Name"));
    store::WIN() = *button;
  });
  ASSERT_TRUE(endedNormally(gone.program));
  EXPECT_EQ(gone.response, 2);
  EXPECT_EQ(folder.rows().size(), 3u);
  EXPECT_TRUE(formRow(folder.rows(), "?Name"));
}

TEST(PropertyForm, ChangeMadeByAnotherStationIsShownAndNotOverwritten) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
  text::assign(row.TIP, "Stored tip");
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, row); });
  std::string shownAfter;
  Script script;
  script
      .call(
          [&] {
            // The form's row, watched from here on.
            kf::File& file = store::winFile();
            const WindowControls buffer = store::WIN();
            const std::string position = file.position();
            ASSERT_TRUE(file.watch());
            ASSERT_TRUE(file.reget(position));
            store::WIN() = buffer;
            // Another station changes it.
            WindowControls other{};
            kf::File elsewhere(store::winDecl(), &other);
            elsewhere.setName(folder.path);
            elsewhere.setOwner(folder.password);
            ASSERT_TRUE(elsewhere.open());
            other.UID = 4;
            ASSERT_TRUE(elsewhere.get(store::KEYUID));
            text::assign(other.TIP, "Changed elsewhere");
            ASSERT_TRUE(elsewhere.put());
            elsewhere.close();
          },
          kButtonForm)
      .selectTab("?TAB4", kButtonForm)
      .clickControl("?WIN:MESSAGE", kButtonForm)
      .type("My message")
      .clickControl("?OK", kButtonForm)
      .answer("Record Was Not Updated", BUTTON::Ok)
      .call([&] { shownAfter = wevo::testing::shownControl(kButtonForm, "?WIN:TIP")->text; }, kButtonForm)
      .clickControl("?CANCEL", kButtonForm)
      .answer("Update Cancelled", BUTTON::Yes);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 2, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.response, 2);
  EXPECT_EQ(shownAfter, "Changed elsewhere");
  const std::optional<WindowControls> stored = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(stored);
  EXPECT_EQ(text::clipped(stored->TIP), "Changed elsewhere");
  EXPECT_EQ(text::clipped(stored->MESSAGE), "");
}

TEST(PropertyForm, OpeningTakesTheLiveControlsScriptAndDropsTheRightButton) {
  StoreFolder folder;
  int keyDuring = -1;
  int charsetShown = -1;
  Script script;
  script
      .call(
          [&] {
            keyDuring = keyCode();
            charsetShown = wevo::testing::shownControl("ENTRY ?Name", "?WIN:CONTROLTEXT")->font.charset;
          },
          "ENTRY ?Name")
      .clickControl("?CANCEL", "ENTRY ?Name")
      .answer("Update Cancelled", BUTTON::Yes);
  FormResult r = runForm(folder, kName, "?Name", 0, script, [](Window& host) {
    host.set(kName, PROP::FontCharset, Value(161));
    setKeyCode(KEY::MouseRight);  // the press that opened design mode's popup
  });
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(keyDuring, 0);
  EXPECT_EQ(charsetShown, 161);

  // Any other key stays.
  FormResult other = runForm(folder, kName, "?Name", 0, script, [](Window& host) {
    host.set(kName, PROP::FontCharset, Value(161));
    setKeyCode(KEY::Enter);
  });
  ASSERT_TRUE(endedNormally(other.program));
  EXPECT_EQ(keyDuring, KEY::Enter);
}

TEST(PropertyForm, RowOfAControlTheWindowLacksKeepsItsPlacement) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?Gone", 42, TYPE::Button);
  row.X = 7;
  row.Y = 8;
  row.WIDTH = 9;
  row.HEIGHT = 10;
  row.WIDTHTYPE = 2;
  row.HEIGHTTYPE = 2;
  ASSERT_TRUE(folder.stage({row}));
  const auto before = fileState(folder.path);
  FormResult r = runForm(folder, 42, "?Gone", 2, Script().clickControl("?OK", " ?Gone"));
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.response, 1);
  EXPECT_EQ(fileState(folder.path), before);
}
}  // namespace
}  // namespace wevo::editor
