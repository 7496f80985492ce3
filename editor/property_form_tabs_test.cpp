// The property form's tabs at work: the history key, the size types, the
// font tab, the cursor list, the pickers, layouts on screen, and forms on two
// threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "editor/font_style.h"
#include "editor/history.h"
#include "editor/property_form.h"
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
using wevo::testing::shownControl;

const std::string kButtonForm = "BUTTON ?SaveBtn";

std::string shownText(const std::string& caption, const std::string& label) {
  std::optional<toolkit::ControlSnapshot> c = shownControl(caption, label);
  return c ? c->text : "(not shown)";
}

TEST(PropertyFormTabs, CtrlHInTheTipRestoresTheTipOfTheLastSave) {
  detail::RestartHistory();
  StoreFolder folder;
  std::string afterFirstKey, tipAfterFirstKey, afterSecondKey, afterCommand, messageAfterKey;
  Script first;
  first.selectTab("?TAB4", kButtonForm)
      .clickControl("?WIN:TIP", kButtonForm)
      .type("Typed tip")
      .key(KEY::Ctrl + 'H')
      .call(
          [&] {
            afterFirstKey = shownText(kButtonForm, "?WIN:TIP");
            tipAfterFirstKey = std::string(text::clipped(store::WIN().TIP));
          },
          kButtonForm)
      .type("Saved tip")
      .clickControl("?OK", kButtonForm);
  FormResult r1 = runForm(folder, kSaveBtn, "?SaveBtn", 0, first);
  ASSERT_TRUE(endedNormally(r1.program));
  // Before any save the history record is blank.
  EXPECT_EQ(afterFirstKey, "");
  EXPECT_EQ(tipAfterFirstKey, "");
  EXPECT_EQ(text::clipped(formRow(folder.rows(), "?SaveBtn")->TIP), "Saved tip");
  const auto saved = fileState(folder.path);

  Script second;
  second.selectTab("?TAB4", kButtonForm)
      .clickControl("?WIN:MESSAGE", kButtonForm)
      .type("A message")
      .clickControl("?WIN:TIP", kButtonForm)
      .type("Other tip")
      .key(KEY::Ctrl + 'H')
      .call([&] { afterSecondKey = shownText(kButtonForm, "?WIN:TIP"); }, kButtonForm)
      .type("Yet another tip")
      // The host toolbar's history command does what the key does.
      .call([&] { testing::shownForm(kButtonForm)->post(EVENT::Accepted, kHistoryCommand); }, kButtonForm)
      .call([&] { afterCommand = shownText(kButtonForm, "?WIN:TIP"); }, kButtonForm)
      .clickControl("?WIN:MESSAGE", kButtonForm)
      .key(KEY::Ctrl + 'H')
      .call([&] { messageAfterKey = shownText(kButtonForm, "?WIN:MESSAGE"); }, kButtonForm)
      .clickControl("?CANCEL", kButtonForm);
  FormResult r2 = runForm(folder, kSaveBtn, "?SaveBtn", 0, second);
  ASSERT_TRUE(endedNormally(r2.program));
  EXPECT_EQ(afterSecondKey, "Saved tip");
  EXPECT_EQ(afterCommand, "Saved tip");
  EXPECT_EQ(messageAfterKey, "");  // the last save had no message
  // Every field back as saved: cancelling asks nothing and writes nothing.
  EXPECT_TRUE(r2.program.transcript.empty()) << describe(r2.program);
  EXPECT_EQ(r2.response, 2);
  EXPECT_EQ(fileState(folder.path), saved);
}

TEST(PropertyFormTabs, HistoryKeyIsAlertedOnExactlyTheHistoryControls) {
  StoreFolder folder;
  std::vector<std::string> alerted;
  Script script;
  script
      .call(
          [&] {
            Window* form = testing::shownForm(kButtonForm);
            ASSERT_NE(form, nullptr);
            for (int f = form->firstField(); f != 0 && f <= form->lastField(); ++f) {
              const int count = form->get(f, PROP::Alrt).i32();
              for (int i = 1; i <= count; ++i)
                if (form->get(f, PROP::Alrt, i).i32() == kHistoryKey) alerted.push_back(form->label(f));
            }
          },
          kButtonForm)
      .clickControl("?CANCEL", kButtonForm)
      .answer("Update Cancelled", BUTTON::Yes);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 0, script);
  ASSERT_TRUE(endedNormally(r.program));
  std::vector<std::string> expected;
  for (const auto& entry : HistoryTable()) expected.emplace_back(entry.first);
  std::sort(alerted.begin(), alerted.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(alerted, expected);
}

TEST(PropertyFormTabs, WidthTypeFullOrDefaultDisablesTheWidthSpin) {
  StoreFolder folder;
  std::vector<bool> widthDisabled, heightDisabled;
  auto look = [&] {
    widthDisabled.push_back(shownControl(kButtonForm, "?WIN:WIDTH")->disabled);
    heightDisabled.push_back(shownControl(kButtonForm, "?WIN:HEIGHT")->disabled);
  };
  Script script;
  script.selectTab("?TAB5", kButtonForm)
      .call(look, kButtonForm)
      .clickControl("?WIN:WIDTHTYPE:Radio1", kButtonForm)  // Full
      .call(look, kButtonForm)
      .clickControl("?WIN:WIDTHTYPE:Radio3", kButtonForm)  // Width
      .call(look, kButtonForm)
      .clickControl("?WIN:WIDTHTYPE:Radio2", kButtonForm)  // Default
      .clickControl("?WIN:HEIGHTTYPE:Radio1", kButtonForm)
      .call(look, kButtonForm)
      .clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 0, script);
  ASSERT_TRUE(endedNormally(r.program));
  // The button has a width of its own when the form opens.
  EXPECT_EQ(widthDisabled, (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(heightDisabled, (std::vector<bool>{false, false, false, true}));
  const std::optional<WindowControls> saved = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->WIDTHTYPE, 1);
  EXPECT_EQ(+saved->HEIGHTTYPE, 0);
}

TEST(PropertyFormTabs, NormalWeightShowsNoStyleAndSavesZero) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
  row.FONTSTYLE = 400;
  text::assign(row.TYPEFACE, "Tahoma");
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, row); });
  std::vector<bool> checked;
  std::optional<toolkit::ControlSnapshot> faces;
  Script script;
  script.selectTab("?TAB6", kButtonForm)
      .call(
          [&] {
            for (const char* check : {"?BSTRIKEOUT", "?BUNDERLINE", "?BBOLD", "?BITALIC"})
              checked.push_back(shownControl(kButtonForm, check)->checked);
            faces = shownControl(kButtonForm, "?LIST6");
          },
          kButtonForm)
      .clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 0, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(checked, (std::vector<bool>{false, false, false, false}));
  // Arial comes in three character sets, Times New Roman in two: each once.
  ASSERT_TRUE(faces);
  std::vector<std::string> names;
  for (const auto& cells : faces->rows) names.push_back(cells.at(0));
  EXPECT_EQ(names, (std::vector<std::string>{"Arial", "Courier New", "Symbol", "Tahoma", "Times New Roman"}));
  EXPECT_EQ(faces->selected, 4);
  EXPECT_EQ(+formRow(folder.rows(), "?SaveBtn")->FONTSTYLE, 0);
}

TEST(PropertyFormTabs, FontTabChoicesReachTheRecordAndTheSample) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
  text::assign(row.TYPEFACE, "Tahoma");
  row.FONTSIZE = 10;
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, row); });
  std::optional<toolkit::ControlSnapshot> sampleAfterList, listAfterTyping, sampleAfterTyping, sizeEntry, script2;
  Script script;
  script.selectTab("?TAB6", kButtonForm)
      .selectRow("?LIST6", 1, kButtonForm)  // Arial
      .call(
          [&] {
            sampleAfterList = shownControl(kButtonForm, "?TEXTSAMPLE");
            EXPECT_EQ(shownText(kButtonForm, "?WIN:TYPEFACE"), "Arial");
          },
          kButtonForm)
      .clickControl("?WIN:TYPEFACE", kButtonForm)
      .type("Nonexistent Face")
      .call(
          [&] {
            listAfterTyping = shownControl(kButtonForm, "?LIST6");
            sampleAfterTyping = shownControl(kButtonForm, "?TEXTSAMPLE");
          },
          kButtonForm)
      .selectRow("?WIN:FONTSIZE", 5, kButtonForm)  // 12
      .call([&] { sizeEntry = shownControl(kButtonForm, "?WIN:FONTSIZE:2"); }, kButtonForm)
      .clickControl("?BBOLD", kButtonForm)
      .clickControl("?BUNDERLINE", kButtonForm)
      .selectRow("?WIN:CHARSET", 15, kButtonForm)  // CYRILLIC, 204
      .call([&] { script2 = shownControl(kButtonForm, "?WIN:CONTROLTEXT"); }, kButtonForm)
      .clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 0, script);
  ASSERT_TRUE(endedNormally(r.program));
  ASSERT_TRUE(sampleAfterList && listAfterTyping && sampleAfterTyping && sizeEntry && script2);
  EXPECT_EQ(sampleAfterList->font.face, "Arial");
  EXPECT_EQ(sampleAfterList->text, SampleText());
  // A face the list does not have is kept as typed; the list stays where it was.
  EXPECT_EQ(listAfterTyping->selected, 1);
  EXPECT_EQ(sampleAfterTyping->font.face, "Nonexistent Face");
  EXPECT_EQ(sizeEntry->text, "12");
  EXPECT_EQ(script2->font.charset, 204);

  const std::optional<WindowControls> saved = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(text::clipped(saved->TYPEFACE), "Nonexistent Face");
  EXPECT_EQ(+saved->FONTSIZE, 12);
  EXPECT_EQ(+saved->FONTSTYLE, 700 + 0x2000);
  EXPECT_EQ(+saved->CHARSET, 204);
}

TEST(PropertyFormTabs, TypedSizeIsKeptWhenTheListHasItNot) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
  row.FONTSIZE = 10;
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, row); });
  Script script;
  script.selectTab("?TAB6", kButtonForm)
      .clickControl("?WIN:FONTSIZE:2", kButtonForm)
      .type("13")
      .clickControl("?BITALIC", kButtonForm)  // copies every screen value back
      .clickControl("?OK", kButtonForm);
  FormResult r = runForm(folder, kSaveBtn, "?SaveBtn", 0, script);
  ASSERT_TRUE(endedNormally(r.program));
  const std::optional<WindowControls> saved = formRow(folder.rows(), "?SaveBtn");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->FONTSIZE, 13);
  EXPECT_EQ(+saved->FONTSTYLE, 0x1000);
}

TEST(PropertyFormTabs, CursorListShowsTheStoredCursorAndDefaultStoresNothing) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?SaveBtn", kSaveBtn, TYPE::Button);
  text::assign(row.CURSOR, CURSOR::IBeam);
  testing::onHost(folder, [&](Window& host) { addRow(host, kSaveBtn, row); });
  const auto before = fileState(folder.path);
  std::optional<toolkit::ControlSnapshot> cursor;
  Script untouched;
  untouched.selectTab("?TAB4", kButtonForm)
      .call([&] { cursor = shownControl(kButtonForm, "?CURSORDESCR"); }, kButtonForm)
      .clickControl("?OK", kButtonForm);
  FormResult r1 = runForm(folder, kSaveBtn, "?SaveBtn", 0, untouched);
  ASSERT_TRUE(endedNormally(r1.program));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->selected, 4);
  ASSERT_EQ(cursor->rows.size(), 17u);
  EXPECT_EQ(cursor->rows[3].at(0), "IBeam");
  EXPECT_EQ(fileState(folder.path), before);  // the stored cursor is kept: nothing to write

  Script toDefault;
  toDefault.selectTab("?TAB4", kButtonForm).selectRow("?CURSORDESCR", 1, kButtonForm).clickControl("?OK", kButtonForm);
  FormResult r2 = runForm(folder, kSaveBtn, "?SaveBtn", 0, toDefault);
  ASSERT_TRUE(endedNormally(r2.program));
  EXPECT_EQ(text::clipped(formRow(folder.rows(), "?SaveBtn")->CURSOR), "");

  Script toNone;
  toNone.selectTab("?TAB4", kButtonForm).selectRow("?CURSORDESCR", 2, kButtonForm).clickControl("?OK", kButtonForm);
  FormResult r3 = runForm(folder, kSaveBtn, "?SaveBtn", 0, toNone);
  ASSERT_TRUE(endedNormally(r3.program));
  EXPECT_EQ(text::clipped(formRow(folder.rows(), "?SaveBtn")->CURSOR), std::string(CURSOR::None, 4));
}

TEST(PropertyFormTabs, ColourPickersSetTheFieldAndTheSwatch) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?Kind", 6, TYPE::List);
  row.TEXTCOLOR = 0x00FF00;
  testing::onHost(folder, [&](Window& host) { addRow(host, 6, row); });
  const std::string form = "LIST ?Kind";
  std::optional<toolkit::ControlSnapshot> swatch, entry, grid, fontSwatch, sample;
  Script script;
  script.selectTab("?TAB3", form)
      .clickControl("?BUTTON3", form)
      .pickColor(255)
      .clickControl("?BUTTON3:2", form)
      .cancelColor()
      .clickControl("?BUTTON3:5", form)
      .pickColor(0x123456)
      .call(
          [&] {
            swatch = shownControl(form, "?BOX1");
            entry = shownControl(form, "?WIN:TEXTCOLOR");
            grid = shownControl(form, "?BOX1:5");
          },
          form)
      .selectTab("?TAB6", form)
      .clickControl("?BUTTON8", form)
      .pickColor(0xFF0000)
      .call(
          [&] {
            fontSwatch = shownControl(form, "?BOX5");
            sample = shownControl(form, "?TEXTSAMPLE");
          },
          form)
      .clickControl("?OK", form);
  FormResult r = runForm(folder, 6, "?Kind", 0, script);
  ASSERT_TRUE(endedNormally(r.program));
  EXPECT_EQ(r.program.transcript, (std::vector<std::string>{
                                      "color \"Text Color\" 65280 -> 255",
                                      "color \"Background Color\" 0 -> cancel",
                                      "color \"Selected Grid Color\" 0 -> 1193046",
                                      "color \"Text Color\" 0 -> 16711680",
                                  }));
  ASSERT_TRUE(swatch && entry && grid && fontSwatch && sample);
  EXPECT_EQ(swatch->fill, 255);
  EXPECT_EQ(entry->text, "255");
  EXPECT_EQ(grid->fill, 0x123456);
  EXPECT_EQ(fontSwatch->fill, 0xFF0000);
  EXPECT_EQ(sample->font.color, 0xFF0000);
  const std::optional<WindowControls> saved = formRow(folder.rows(), "?Kind");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->TEXTCOLOR, 255);
  EXPECT_EQ(+saved->BACKGROUND, 0);
  EXPECT_EQ(+saved->ANGLE, 0x123456);
  EXPECT_EQ(+saved->FONTCOLOR, 0xFF0000);
}

TEST(PropertyFormTabs, TheWindowsOwnRowWithItsFileDialogs) {
  StoreFolder folder;
  const std::string form = " WINDOW";  // no type name for the window
  std::optional<toolkit::ControlSnapshot> prompt, frame, justification;
  Script script;
  script
      .call(
          [&] {
            prompt = shownControl(form, "?WIN:JUSTIFICATION:Prompt");
            frame = shownControl(form, "?WIN:FRAMETYPE");
            justification = shownControl(form, "?WIN:JUSTIFICATION");
          },
          form)
      .clickControl("?LOOKUPFILE:2", form)
      .pickFile("/pictures/paper.bmp")
      .clickControl("?WIN:WALLPAPERMODE:Radio3", form)
      .selectTab("?TAB2", form)
      .clickControl("?LOOKUPFILE", form)
      .cancelFile()
      .clickControl("?LOOKUPFILE", form)
      .pickFile("/icons/app.ico")
      .clickControl("?OK", form);
  FormResult r = runForm(folder, 0, "WINDOW", 1, script);
  ASSERT_TRUE(endedNormally(r.program));
  ASSERT_TRUE(prompt && frame && justification);
  EXPECT_EQ(prompt->text, "Frame Type");
  EXPECT_TRUE(prompt->visible);
  EXPECT_TRUE(frame->visible);
  EXPECT_FALSE(justification->visible);
  EXPECT_EQ(r.program.transcript,
            (std::vector<std::string>{
                "file \"Choose a File\" \"\" filter=\"All Files|*.*\" flags=16 -> \"/pictures/paper.bmp\"",
                "file \"Select Icon\" \"\" filter=\"ICO Files|*.ico|BMP Files|*.bmp|GIF Files|*.gif|JPG "
                "Files|*.jpg|Windows Metafiles|*.wmf|All Files|*.*\" flags=16 -> cancel",
                "file \"Select Icon\" \"\" filter=\"ICO Files|*.ico|BMP Files|*.bmp|GIF Files|*.gif|JPG "
                "Files|*.jpg|Windows Metafiles|*.wmf|All Files|*.*\" flags=16 -> \"/icons/app.ico\"",
            }));
  const std::optional<WindowControls> saved = formRow(folder.rows(), "WINDOW");
  ASSERT_TRUE(saved);
  EXPECT_EQ(+saved->FEQ, 0);
  EXPECT_EQ(text::clipped(saved->DESCRIPTION), "WINDOW");
  EXPECT_EQ(text::clipped(saved->WALLPAPER), "/pictures/paper.bmp");
  EXPECT_EQ(+saved->WALLPAPERMODE, 2);
  EXPECT_EQ(text::clipped(saved->ICON), "/icons/app.ico");
}

TEST(PropertyFormTabs, AnEntryEditsItsPictureOnOneLine) {
  StoreFolder folder;
  WindowControls row = storedRow(4, "?Name", kName, TYPE::Entry);
  text::assign(row.CONTROLTEXT, "@s30");
  testing::onHost(folder, [&](Window& host) { addRow(host, kName, row); });
  const std::string form = "ENTRY ?Name";
  std::optional<toolkit::ControlSnapshot> prompt, picture;
  Script script;
  script
      .call(
          [&] {
            prompt = shownControl(form, "?WIN:CONTROLTEXT:Prompt");
            picture = shownControl(form, "?WIN:CONTROLTEXT");
          },
          form)
      .clickControl("?WIN:CONTROLTEXT", form)
      .type("@n-10.2")
      .clickControl("?OK", form);
  FormResult r = runForm(folder, kName, "?Name", 2, script);
  ASSERT_TRUE(endedNormally(r.program));
  ASSERT_TRUE(prompt && picture);
  EXPECT_EQ(prompt->text, "Picture:");
  EXPECT_EQ(picture->text, "@s30");
  EXPECT_TRUE(picture->single);
  EXPECT_EQ(text::clipped(formRow(folder.rows(), "?Name")->CONTROLTEXT), "@n-10.2");
}

TEST(PropertyFormTabs, FormsOnTwoThreadsEachSaveTheirOwnRow) {
  detail::RestartHistory();
  StoreFolder folder;
  const std::string formA = "BUTTON ?SaveBtn";
  const std::string formB = "ENTRY ?Name";
  Script script;
  // Both forms are open (whichever thread opens its form first); the user
  // goes from one to the other, and types into the one in front.
  script.call([] {}, formA)
      .call([] {}, formB)
      .activate(formA)
      .selectTab("?TAB4", formA)
      .clickControl("?WIN:TIP", formA)
      .type("Tip of A")
      .activate(formB)
      .selectTab("?TAB4", formB)
      .clickControl("?WIN:TIP", formB)
      .type("Tip of B")
      .selectTab("?TAB6", formA)
      .selectRow("?LIST6", 4, formA)
      .selectTab("?TAB6", formB)
      .selectRow("?LIST6", 2, formB)
      .clickControl("?OK", formA)
      .clickControl("?OK", formB);
  std::atomic<int> responses{0};
  auto formOn = [&](int field, std::string label) {
    Window host(testing::hostWindow());
    host.open();
    store::GlobalRequest() = 0;
    UpdateScreenControlProperties(host, field, label, kMarker, kProcedure);
    responses += store::GlobalResponse();
  };
  ProgramResult r = folder.run(
      [&] {
        start([&] { formOn(kSaveBtn, "?SaveBtn"); });
        formOn(kName, "?Name");
      },
      script);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(responses.load(), 2);
  const std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 2u);
  const std::optional<WindowControls> a = formRow(rows, "?SaveBtn");
  const std::optional<WindowControls> b = formRow(rows, "?Name");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(text::clipped(a->TIP), "Tip of A");
  EXPECT_EQ(text::clipped(a->TYPEFACE), "Tahoma");
  EXPECT_EQ(text::clipped(b->TIP), "Tip of B");
  EXPECT_EQ(text::clipped(b->TYPEFACE), "Courier New");
  EXPECT_NE(+a->UID, +b->UID);
  // The history holds the last save, whole.
  const WindowControls history = HistoryRecord();
  EXPECT_EQ(text::clipped(history.TIP), "Tip of B");
  EXPECT_EQ(text::clipped(history.CONTROLLABEL), "?Name");
}


TEST(PropertyFormTabs, ResizingKeepsTheLayoutOfTheControlsType) {
  StoreFolder folder;
  testing::onHost(folder, [&](Window& host) { addRow(host, kName, storedRow(4, "?Name", kName, TYPE::Entry)); });
  const std::string form = "ENTRY ?Name";
  int startW = 0, startH = 0;
  std::vector<int> justificationY, layoutY;
  auto look = [&] {
    Window* w = testing::shownForm(form);
    ASSERT_NE(w, nullptr);
    justificationY.push_back(w->get(w->fieldOf("?WIN:JUSTIFICATION"), PROP::YPos).i32());
    layoutY.push_back(w->get(w->fieldOf("?WIN:LAYOUT"), PROP::YPos).i32());
  };
  // The form's starting size on screen, from a first run.
  Script probe;
  probe
      .call(
          [&] {
            std::optional<toolkit::WindowSnapshot> w = wevo::testing::shownWindow(form);
            startW = w->width;
            startH = w->height;
          },
          form)
      .clickControl("?CANCEL", form);
  ASSERT_TRUE(endedNormally(runForm(folder, kName, "?Name", 0, probe).program));
  ASSERT_GT(startW, 0);
  Script script;
  script.call(look, form)
      .resizeWindow(900, 700, form)
      .call(look, form)
      .resizeWindow(startW, startH, form)
      .call(look, form)
      .clickControl("?CANCEL", form);
  FormResult r = runForm(folder, kName, "?Name", 0, script);
  ASSERT_TRUE(endedNormally(r.program));
  ASSERT_EQ(justificationY.size(), 3u);
  EXPECT_EQ(justificationY[0], 62);
  EXPECT_GT(justificationY[1], 62);  // scaled with the window
  EXPECT_EQ(justificationY[2], 62);  // where the layout put it, not where it was declared
  EXPECT_EQ(layoutY[0], 81);
  EXPECT_EQ(layoutY[2], 81);
}
}  // namespace
}  // namespace wevo::editor
