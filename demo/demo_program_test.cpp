// The whole demonstration on the headless view, driven by the scripted
// user from the frame's menu: the mode window's answers, form modes as
// markers, how design mode starts, the settings it passes, the desktop's
// drag setting, and leaving the program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "demo/control_window.h"
#include "demo/demo_settings.h"
#include "demo/demo_test_support.h"
#include "demo/demo_window.h"
#include "demo/select_mode.h"
#include "demo/tour.h"
#include "design/design_session.h"
#include "platform/keyedfile/test_stores.h"
#include "platform/toolkit/program_state.h"
#include "platform/view/headless/headless_view.h"

namespace wevo::demo {
namespace {

using testing::countRows;
using testing::DemoFolder;
using testing::findRow;
using testing::placeOf;
using wevo::testing::endedNormally;
using wevo::testing::shownWindow;

constexpr const char* kOriginal = "?FORMMODE:RADIO1";
constexpr const char* kFlat = "?FORMMODE:RADIO1:2";
constexpr const char* kColors = "?FORMMODE:RADIO1:3";
constexpr const char* kQuit = "?FORMMODE:RADIO1:5";
const std::string kControl = kControlWindowCaption;
const std::string kDemo = kDemoWindowCaption;

TourPlaces headlessPlaces() {
  TourPlaces places;
  std::ostringstream log;
  EXPECT_TRUE(MeasurePlaces(headlessView(), places, log)) << log.str();
  return places;
}

void leaveSaving(Script& s) { s.key(KEY::Esc).answer("Wevo", BUTTON::Yes); }

// The selected control of the design run on the calling thread; -1 when none runs.
// What the running program's headless view holds on its clipboard.
std::string headlessClipboard() {
  auto* view = dynamic_cast<toolkit::HeadlessView*>(&toolkit::Program::require().view());
  return view != nullptr ? view->clipboard() : std::string();
}

int designSelection() {
  design::DesignSession* s = design::RunningSession();
  return s != nullptr ? s->state().CONTROLNO : -1;
}

TEST(DemoSettings, ClearedThenSetAsTheSampleWindowsPassThem) {
  WEVOSETTINGS s;
  std::memset(&s, 'x', sizeof s);
  clearSettings(s);
  EXPECT_EQ(text::clipped(s.WEVOPATH), "");
  EXPECT_EQ(text::field(s.WEVOPATH).size(), 256u);
  EXPECT_EQ(text::field(s.PASSWORD), std::string(128, ' '));
  EXPECT_EQ(s.PROMPTONEXIT, 0);
  setSampleSettings(s);
  EXPECT_EQ(text::field(s.WEVOPATH), std::string(256, ' ')) << "the store lies beside the program";
  EXPECT_EQ(text::field(s.PASSWORD), "#~~#!*7q904" + std::string(117, ' '));
  EXPECT_EQ(s.PROMPTONEXIT, 1);
}

TEST(DemoProgram, QuitOrClosingTheModeWindowOnQuitOpensNoSampleWindow) {
  DemoFolder folder;
  bool controlShown = true, demoShown = true, modeLeft = true;
  Script s;
  s.clickControl("?WEVO", kFrameCaption).clickControl(kQuit, kSelectModeCaption);
  s.clickControl("?OKBUTTON", kSelectModeCaption);
  s.call([&] { controlShown = shownWindow(kControl).has_value(); }, kFrameCaption);
  s.clickControl("?WEVO2", kFrameCaption).clickControl(kQuit, kSelectModeCaption).closeWindow(kSelectModeCaption);
  s.call(
      [&] {
        demoShown = shownWindow(kDemo).has_value();
        modeLeft = shownWindow(kSelectModeCaption).has_value();
      },
      kFrameCaption);
  s.clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_FALSE(controlShown);
  EXPECT_FALSE(demoShown);
  EXPECT_FALSE(modeLeft);
  EXPECT_FALSE(std::filesystem::exists(folder.store)) << "no sample window, no store";
}

// wevodemo --store: the store where the user named it, here on a server,
// with the role's password in the address.
TEST(DemoProgram, TheStoreGoesWhereTheCommandLineNamesIt) {
  kf::testing::TestStores stores(kf::testing::StoreKind::kServer);
  WEVO_SKIP_WITHOUT_STORES(stores);
  DemoFolder folder;
  const kf::testing::TestStores::Program program = stores.program();
  folder.program = program.path;
  std::string address = stores.location();
  address.insert(address.find('@'), ":" + stores.password());
  folder.state->setStore(address);
  Script s;
  openSample(s, "?WEVO", kColors);
  s.clickControl("?OKBUTTON", kControl).clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_FALSE(std::filesystem::exists(folder.store)) << "nothing beside the program";
  store::testing::Read<store::WindowControls> all =
      store::testing::readAll<store::WindowControls>(store::winDecl(), program.store, stores.password());
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(countRows(all.rows, "Main", "WEVO_ORIGINAL"), 22u) << "the window and its 21 controls";
}

TEST(DemoProgram, OriginalShowsTheDesignedWindowAndStillEntersDesignMode) {
  DemoFolder folder;
  TourPlaces places = headlessPlaces();
  const PixelRect test = places.rect(kControl, "?BUTTON3:2");
  bool storeBeforeDesign = true, inDesign = false;
  PixelRect reopened;
  Script s;
  s.clickControl("?WEVO", kFrameCaption).clickControl(kOriginal, kSelectModeCaption);
  s.clickControl("?OKBUTTON", kSelectModeCaption);
  s.call([&] { storeBeforeDesign = std::filesystem::exists(folder.store); }, kControl);
  s.key(1604).call([&] { inDesign = designSelection() >= 0; }, kControl);
  s.drag(test.centerX(), test.centerY(), test.centerX() + 30, test.centerY() + 20, kControl);
  leaveSaving(s);
  s.clickControl("?OKBUTTON", kControl);
  s.clickControl("?WEVO", kFrameCaption).clickControl("?OKBUTTON", kSelectModeCaption);
  s.call([&] { reopened = placeOf(*folder.state->find(kControl), "?BUTTON3:2"); }, kControl);
  s.clickControl("?OKBUTTON", kControl).clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_FALSE(storeBeforeDesign) << "ORIGINAL customises nothing and records nothing";
  EXPECT_TRUE(inDesign);
  // Design mode kept the move under the marker ORIGINAL, which no window
  // opened in that mode applies.
  std::vector<store::WindowControls> rows = folder.rows();
  const store::WindowControls* moved = findRow(rows, "Main", "ORIGINAL", "?BUTTON3:2");
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(+moved->X, 124 + 20);
  EXPECT_EQ(reopened, test);
}

TEST(DemoProgram, EachFormModeKeepsItsOwnLayoutUnderItsOwnProcedureName) {
  DemoFolder folder;
  TourPlaces places = headlessPlaces();
  const PixelRect test = places.rect(kControl, "?BUTTON3:2");
  const PixelRect title = places.rect(kDemo, "?STRING:TITLE2");
  PixelRect colors, flat, demoTitle;
  Script s;
  openSample(s, "?WEVO", kColors);
  // 30 by 26 pixels are 20 by 16 dialog units on the headless view's font.
  s.key(1604).drag(test.centerX(), test.centerY(), test.centerX() + 30, test.centerY() + 26, kControl);
  leaveSaving(s);
  s.clickControl("?OKBUTTON", kControl);
  openSample(s, "?WEVO2", kColors);
  s.selectTab("?TAB2", kDemo).clickControl("?BUTTON:ENTEREDITMODE", kDemo);
  s.drag(title.centerX(), title.centerY(), title.centerX() - 6, title.centerY() + 13, kDemo);
  leaveSaving(s);
  s.clickControl("?CANCELBUTTON", kDemo);
  openSample(s, "?WEVO", kColors);
  s.call([&] { colors = placeOf(*folder.state->find(kControl), "?BUTTON3:2"); }, kControl);
  s.clickControl("?OKBUTTON", kControl);
  openSample(s, "?WEVO", kFlat);
  s.call([&] { flat = placeOf(*folder.state->find(kControl), "?BUTTON3:2"); }, kControl);
  s.closeWindow(kControl);
  openSample(s, "?WEVO2", kColors);
  s.call([&] { demoTitle = placeOf(*folder.state->find(kDemo), "?STRING:TITLE2"); }, kDemo);
  s.closeWindow(kDemo).clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s);
  ASSERT_TRUE(endedNormally(r));

  EXPECT_EQ(colors, (PixelRect{test.x + 30, test.y + 26, test.w, test.h}));
  EXPECT_EQ(flat, test) << "FLAT has no customisations";
  EXPECT_EQ(demoTitle, (PixelRect{title.x - 6, title.y + 13, title.w, title.h}));

  // The store is protected with the demonstration's password.
  EXPECT_FALSE(folder.read("").ok);
  std::vector<store::WindowControls> rows = folder.rows();
  const store::WindowControls* button = findRow(rows, "Main", "COLORS", "?BUTTON3:2");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(+button->X, 124 + 20);
  EXPECT_EQ(+button->Y, 70 + 16);
  const store::WindowControls* moved = findRow(rows, "Main20", "COLORS", "?STRING:TITLE2");
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(+moved->X, 24 - 4);
  EXPECT_EQ(+moved->Y, 42 + 8);
  EXPECT_EQ(countRows(rows, "Main", "FLAT"), 0u);
  EXPECT_EQ(countRows(rows, "Main", "WEVO_ORIGINAL"), 22u) << "the window and its 21 controls";
  EXPECT_EQ(countRows(rows, "Main20", "WEVO_ORIGINAL"), 28u) << "the window and its 27 controls";
  EXPECT_EQ(text::clipped(findRow(rows, "Main", "WEVO_ORIGINAL", "?BUTTON3:2")->CONTROLTEXT), "Test");
}

TEST(DemoProgram, TheHotKeySelectsTheFocusedControlAndADesignButtonItself) {
  DemoFolder folder;
  int byKey = -1, byButton = -1, byDemoButton = -1, afterwards = 0;
  int entry = 0, button = 0, demoButton = 0;
  Script s;
  openSample(s, "?WEVO", kColors);
  s.clickControl("?TESTENTRY", kControl).key(1604);
  s.call(
      [&] {
        byKey = designSelection();
        entry = folder.state->find(kControl)->fieldOf("?TESTENTRY");
      },
      kControl);
  leaveSaving(s);
  s.clickControl("?BUTTON3", kControl);
  s.call(
      [&] {
        byButton = designSelection();
        button = folder.state->find(kControl)->fieldOf("?BUTTON3");
      },
      kControl);
  leaveSaving(s);
  s.call([&] { afterwards = designSelection(); }, kControl);
  s.clickControl("?OKBUTTON", kControl);
  openSample(s, "?WEVO2", kColors);
  s.clickControl("?BUTTON:ENTEREDITMODE", kDemo);
  s.call(
      [&] {
        byDemoButton = designSelection();
        demoButton = folder.state->find(kDemo)->fieldOf("?BUTTON:ENTEREDITMODE");
      },
      kDemo);
  leaveSaving(s);
  s.clickControl("?OKBUTTON", kDemo).clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_NE(entry, 0);
  EXPECT_EQ(byKey, entry);
  EXPECT_EQ(byButton, button);
  EXPECT_EQ(byDemoButton, demoButton);
  EXPECT_EQ(afterwards, -1) << "the window goes on as before once design mode returns";
  EXPECT_TRUE(wevo::testing::transcriptHas(
      r, "message \"Wevo\" \"Do you want to save your changes?\" icon=question buttons=Yes|No default=Yes -> Yes"));
}

// A desktop that has the "show window contents while dragging" setting.
class DragDesktop final : public toolkit::HeadlessView {
 public:
  DragDesktop(toolkit::ViewHost& host, bool on, std::vector<bool>* sets) : HeadlessView(host), on_(on), sets_(sets) {}
  std::optional<bool> dragFullWindows() override { return on_.load(); }
  void setDragFullWindows(bool on) override {
    on_ = on;
    sets_->push_back(on);
  }

 private:
  std::atomic<bool> on_;
  std::vector<bool>* sets_;
};

TEST(DemoProgram, ContentsWhileDraggingIsOffWhileItRunsAndBackOnAfter) {
  for (bool onAtStart : {true, false}) {
    SCOPED_TRACE(onAtStart ? "on at the start" : "off at the start");
    DemoFolder folder;
    std::vector<bool> sets;
    bool whileRunning = true;
    Script s;
    s.call([&] { whileRunning = dragFullWindows(); }, kFrameCaption).clickControl("?EXIT", kFrameCaption);
    ProgramResult r = folder.run(s, toolkit::viewFactory([&](toolkit::ViewHost& host) {
      return std::make_unique<DragDesktop>(host, onAtStart, &sets);
    }));
    ASSERT_TRUE(endedNormally(r));
    EXPECT_FALSE(whileRunning);
    const std::vector<bool> want = onAtStart ? std::vector<bool>{false, true} : std::vector<bool>{};
    EXPECT_EQ(sets, want);
  }
}

// Where a window's client area is on screen and how big, in pixels, read on
// its own thread.
struct Spot {
  int x = -1, y = -1, w = -1, h = -1;
  friend bool operator==(const Spot&, const Spot&) = default;
};
std::ostream& operator<<(std::ostream& os, const Spot& s) {
  return os << "(" << s.x << ", " << s.y << ") " << s.w << " x " << s.h;
}
Spot spotOf(Window& w) {
  const int64_t mode = w.get(0, PROP::Pixels).num();
  w.set(0, PROP::Pixels, 1);
  Spot s{w.get(0, PROP::XPos).i32(), w.get(0, PROP::YPos).i32(), w.get(0, PROP::Width).i32(),
         w.get(0, PROP::Height).i32()};
  w.set(0, PROP::Pixels, mode);
  return s;
}

// The frame's Window menu lays the open sample windows out over the frame's
// client area, each window moved on its own thread; its Edit menu cuts,
// copies and pastes in the focused entry of the sample window the user
// worked in last, through the clipboard; Print Setup says plainly that this
// screen has no printing.
TEST(DemoProgram, TheFramesWindowEditAndPrintItemsActOnTheSampleWindows) {
  DemoFolder folder;
  Spot frame, control[3], demo[3], controlSize, demoSize;
  std::string clipboardAfterCopy, clipboardAfterCut, pasted, afterCut;
  auto where = [&](const std::string& caption, Spot& out) {
    return [&out, &folder, caption] { out = spotOf(*folder.state->find(caption)); };
  };
  auto shownText = [](const std::string& caption) {
    std::optional<toolkit::ControlSnapshot> c = wevo::testing::shownControl(caption, "?TESTENTRY");
    return c ? std::string(text::clip(c->text)) : std::string("?");
  };
  Script s;
  openSample(s, "?WEVO", kColors);
  openSample(s, "?WEVO2", kColors);
  s.call([&] {
    std::optional<toolkit::WindowSnapshot> f = shownWindow(kFrameCaption);
    if (f) frame = Spot{f->x, f->y, f->width, f->height};
  }, kFrameCaption);
  s.call(where(kControl, controlSize), kControl).call(where(kDemo, demoSize), kDemo);
  s.clickControl("?CASCADE", kFrameCaption).call(where(kControl, control[0]), kControl);
  s.call(where(kDemo, demo[0]), kDemo);
  s.clickControl("?TILE", kFrameCaption).call(where(kControl, control[1]), kControl);
  s.call(where(kDemo, demo[1]), kDemo);
  s.call([&] { folder.state->find(kDemo)->set(0, PROP::Iconize, 1); }, kDemo);
  s.clickControl("?ARRANGE", kFrameCaption).call(where(kControl, control[2]), kControl);
  s.call(where(kDemo, demo[2]), kDemo);
  s.call([&] { folder.state->find(kDemo)->set(0, PROP::Iconize, 0); }, kDemo);

  // Copy in the Control Window, paste in the Demo Window, cut in the first.
  s.clickControl("?TESTENTRY", kControl).type("first").clickControl("?COPY", kFrameCaption);
  s.call([&] { clipboardAfterCopy = headlessClipboard(); }, kFrameCaption);
  s.clickControl("?TESTENTRY", kDemo).clickControl("?PASTE", kFrameCaption);
  s.call([&] { pasted = shownText(kDemo); }, kDemo);
  s.clickControl("?TESTENTRY", kControl).clickControl("?CUT", kFrameCaption);
  s.call([&] {
    afterCut = shownText(kControl);
    clipboardAfterCut = headlessClipboard();
  }, kControl);

  s.clickControl("?PRINTSETUP", kFrameCaption).answer("Print Setup", BUTTON::Ok);
  s.clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s);
  ASSERT_TRUE(endedNormally(r));

  ASSERT_GT(frame.w, 0);
  // Cascade: from the frame's top left corner, a step apart; sizes kept.
  EXPECT_EQ(control[0], (Spot{frame.x, frame.y, controlSize.w, controlSize.h}));
  EXPECT_EQ(demo[0], (Spot{frame.x + kCascadeStep, frame.y + kCascadeStep, demoSize.w, demoSize.h}));
  // Tile: two cells side by side; windows the user cannot size keep theirs.
  EXPECT_EQ(control[1], (Spot{frame.x, frame.y, controlSize.w, controlSize.h}));
  EXPECT_EQ(demo[1], (Spot{frame.x + frame.w / 2, frame.y, demoSize.w, demoSize.h}));
  // Arrange icons: the minimized Demo Window to the bottom left corner, the
  // Control Window left where it was.
  EXPECT_EQ(control[2], control[1]);
  EXPECT_EQ(demo[2].x, frame.x);
  EXPECT_EQ(demo[2].y, frame.y + frame.h - kIconHeight);

  EXPECT_EQ(clipboardAfterCopy, "first");
  EXPECT_EQ(pasted, "first");
  EXPECT_EQ(afterCut, "");
  EXPECT_EQ(clipboardAfterCut, "first");
  EXPECT_TRUE(wevo::testing::transcriptHas(
      r, "message \"Print Setup\" \"Printing is not set up on this computer.\" icon=exclamation"));
}

TEST(DemoProgram, LeavingTheFrameClosesTheSampleWindowsAndOpensNoMore) {
  DemoFolder folder;
  size_t noted = 0;
  Script s;
  openSample(s, "?WEVO", kColors);
  // A second sample thread waits in its mode window, "Colors" chosen.
  s.clickControl("?WEVO2", kFrameCaption).clickControl(kColors, kSelectModeCaption);
  s.call([&] { noted = folder.state->count(); }, kFrameCaption);
  s.clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(noted, 2u);
  EXPECT_EQ(folder.state->count(), 0u);
  EXPECT_TRUE(folder.state->closing());
  std::vector<store::WindowControls> rows = folder.rows();
  EXPECT_EQ(countRows(rows, "Main", "WEVO_ORIGINAL"), 22u);
  EXPECT_EQ(countRows(rows, "Main20", "WEVO_ORIGINAL"), 0u) << "the mode window closed, no Demo Window opened";
}

}  // namespace
}  // namespace wevo::demo
