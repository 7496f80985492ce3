// Scripted programs through the Qt view: every step is performed on the Qt
// widgets and takes the view's input path; dialogs show and are answered.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/view/qt/qt_test_support.h"
#include "platform/view/qt/qt_view.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::qtview {
namespace {

using testing::onScreen;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;
using wevo::testing::transcriptHas;

RunOptions qtOptions(std::string screenshotDir = {}) {
  RunOptions o;
  QtViewOptions q;
  q.screenshotDir = std::move(screenshotDir);
  o.view = qtView(q);
  return o;
}

TEST(QtViewScript, AScriptedProgramRunsThroughTheQtView) {
  wevo::testing::TempDir dir;
  char name[20], size[2];
  text::assign(name, sizeof name, "");
  text::assign(size, sizeof size, "S");
  int32_t flag = 0;
  int answer = 0, item = 0, scrolled = 0, clientWidth = 0, clientHeight = 0;
  int64_t sheetTab = 0, listRow = 0;
  Script script;
  script.clickControl("?NAME", "Form")
      .type("Zoe")
      .clickControl("?FLAG", "Form")
      .selectTab("?TAB2", "Form")
      .selectRow("?LIST", 2, "Form")
      .selectRow("?DROP", 2, "Form")
      .scroll("?LIST", EVENT::ScrollDown, 0, "Form")
      .key(1604)
      .answer("Question", BUTTON::No)
      .key(KEY::Apps)
      .choosePopup(3)
      .screenshot("shots/form.png", "Form")
      .clickControl("?OK", "Form");
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        TestWindow d("Form", 220, 160);
        d.entry("?NAME", "s20", Binding::text(name), {10, 10, 80, 10});
        d.check("?FLAG", "Flag", Binding::long32(&flag), {10, 30});
        d.list("?LIST", "", {120, 10, 60, 40}).from = "red|green|blue";
        d.dropList("?DROP", "Small|#S|Large|#L", Binding::text(size), {120, 60, 60, 10});
        d.sheet("?SHEET", {10, 80, 150, 50});
        d.tab("?TAB1", "First", "?SHEET");
        d.tab("?TAB2", "Second", "?SHEET");
        d.button("?OK", "&OK", {170, 140, 40, 14});
        d.decl().alerts = {1604, KEY::Apps};
        Window w(d.decl());
        w.open();
        w.set(0, PROP::Pixels, 1);
        clientWidth = w.get(0, PROP::Width).i32();
        clientHeight = w.get(0, PROP::Height).i32();
        while (w.accept()) {
          if (event() == EVENT::AlertKey && keyCode() == 1604)
            answer = message("Keep it?", "Question", ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::Yes);
          if (event() == EVENT::AlertKey && keyCode() == KEY::Apps) item = popup("One|-|~Two|Three");
          if (event() == EVENT::ScrollDown && field() == w.fieldOf("?LIST")) ++scrolled;
          if (event() == EVENT::Accepted && field() == w.fieldOf("?OK")) break;
        }
        sheetTab = w.selection(w.fieldOf("?SHEET")) == w.fieldOf("?TAB2");
        listRow = w.selection(w.fieldOf("?LIST"));
      },
      qtOptions(dir.path()));
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(text::clip(text::field(name, sizeof name)), "Zoe");
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(sheetTab, 1);
  EXPECT_EQ(listRow, 2);
  EXPECT_EQ(std::string(size, 1), "L");
  EXPECT_EQ(scrolled, 1);
  EXPECT_EQ(answer, BUTTON::No);
  EXPECT_EQ(item, 3);
  EXPECT_TRUE(transcriptHas(
      r, "message \"Question\" \"Keep it?\" icon=question buttons=Yes|No default=Yes -> No"));
  EXPECT_TRUE(transcriptHas(r, "popup \"One|-|~Two|Three\" -> 3 \"Three\""));
  EXPECT_TRUE(transcriptHas(r, "screenshot \"shots/form.png\" \"Form\""));
  QImage shot(QString::fromStdString(dir.file("shots/form.png")));
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), QSize(clientWidth, clientHeight));
}

TEST(QtViewScript, MouseAndKeyStepsReachTheWindowProcedures) {
  std::vector<std::pair<int, int>> mouse;  // kind, x * 1000 + y
  std::vector<int> keys;
  std::vector<char> located;
  int doubleClicked = 0;
  Script script;
  script.drag(10, 10, 40, 30, "Pad", 15)
      .rightClick(50, 50, "Pad")
      .clickControl("?LIST", "Pad")
      .doubleClick(130, 20, "Pad")
      .type("b")
      .key(KEY::Ctrl | 0xFF)  // no key of a keyboard gives it; it still arrives
      .closeWindow("Pad");
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        TestWindow d("Pad", 200, 100);
        d.list("?LIST", "", {80, 4, 60, 40}).from = "apple|banana|cherry";
        Window w(d.decl());
        w.open();
        w.set(0, PROP::Pixels, 1);
        int64_t client = w.get(0, PROP::ClientWndProc).num(), frame = w.get(0, PROP::WndProc).num();
        w.set(0, PROP::ClientWndProc, registerWindowProc([&, client](Window& win, const RawMessage& m) {
                mouse.emplace_back(static_cast<int>(m.kind), m.x * 1000 + m.y);
                return callWindowProc(client, win, m);
              }));
        w.set(0, PROP::WndProc, registerWindowProc([&, frame](Window& win, const RawMessage& m) {
                if (m.kind == RawMessage::KeyDown) keys.push_back(m.key);
                return callWindowProc(frame, win, m);
              }));
        while (w.accept()) {
          if (event() == EVENT::Locate) located.push_back(keyChar());
          if (event() == EVENT::Accepted && field() == w.fieldOf("?LIST")) ++doubleClicked;
        }
      },
      qtOptions());
  ASSERT_TRUE(endedNormally(r));
  auto at = [](RawMessage::Kind k, int x, int y) { return std::pair<int, int>(static_cast<int>(k), x * 1000 + y); };
  ASSERT_GE(mouse.size(), 9u);
  EXPECT_EQ(mouse[0], at(RawMessage::LeftDown, 10, 10));
  EXPECT_EQ(mouse[1], at(RawMessage::MouseMove, 25, 20));
  EXPECT_EQ(mouse[2], at(RawMessage::MouseMove, 40, 30));
  EXPECT_EQ(mouse[3], at(RawMessage::LeftUp, 40, 30));
  EXPECT_EQ(mouse[4], at(RawMessage::RightDown, 50, 50));
  EXPECT_EQ(mouse[5], at(RawMessage::RightUp, 50, 50));
  EXPECT_EQ(mouse[6].first, static_cast<int>(RawMessage::LeftDown));  // the click on the list
  EXPECT_EQ(mouse[7].first, static_cast<int>(RawMessage::LeftUp));
  EXPECT_EQ(mouse[8], at(RawMessage::LeftDoubleClick, 130, 20));
  EXPECT_EQ(doubleClicked, 1);
  EXPECT_EQ(located, std::vector<char>{'b'});
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.back(), KEY::Ctrl | 0xFF);
}

TEST(QtViewScript, TwoWindowsOnTwoHostThreadsAtOnce) {
  char one[10], two[10];
  text::assign(one, sizeof one, "");
  text::assign(two, sizeof two, "");
  std::atomic<int> acceptedOne{0}, acceptedTwo{0};
  std::atomic<bool> bothShown{false};
  std::thread::id threadOne, threadTwo;
  auto sample = [](const char* caption, char* var, size_t width, std::atomic<int>& accepted,
                   std::thread::id& id) {
    id = std::this_thread::get_id();
    TestWindow d(caption, 120, 60);
    d.entry("?NAME", "s10", Binding::text(var, width), {10, 10, 60, 10});
    d.button("?GO", "Go", {10, 30, 40, 14});
    Window w(d.decl());
    w.open();
    while (w.accept())
      if (event() == EVENT::Accepted && field() == w.fieldOf("?GO")) ++accepted;
  };
  Script script;
  script.clickControl("?GO", "Two")
      .clickControl("?GO", "One")
      .clickControl("?NAME", "Two")
      .type("second")
      .clickControl("?NAME", "One")
      .type("first")
      .call(
          [&] {
            QtView* view = QtView::running();
            ASSERT_TRUE(view->onQtThread([&] {
              int shown = 0;
              for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* top = qobject_cast<TopWindow*>(w); top != nullptr && top->isVisible()) ++shown;
              bothShown = shown == 2;
            }));
          },
          "One")
      .clickControl("?GO", "Two")
      .closeWindow("Two")
      .closeWindow("One");
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        start([&] { sample("Two", two, sizeof two, acceptedTwo, threadTwo); });
        sample("One", one, sizeof one, acceptedOne, threadOne);
      },
      qtOptions());
  ASSERT_TRUE(endedNormally(r));
  EXPECT_NE(threadOne, threadTwo);
  EXPECT_TRUE(bothShown);
  EXPECT_EQ(acceptedOne, 1);
  EXPECT_EQ(acceptedTwo, 2);
  EXPECT_EQ(text::clip(text::field(one, sizeof one)), "first");
  EXPECT_EQ(text::clip(text::field(two, sizeof two)), "second");
}

TEST(QtViewScript, DialogsAnsweredByTheScript) {
  int32_t color = 255;
  bool picked = false, cancelled = true, chosen = false, refused = true;
  std::string path = "/tmp/start.txt", untouched = "/tmp/keep.txt";
  int button = 0;
  Script script;
  script.pickColor(0x123456)
      .cancelColor()
      .pickFile("/tmp/chosen file.txt")
      .cancelFile()
      .answer("Info", 0)
      .stopChoice(false);
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        picked = colorDialog("Text Color", color);
        int32_t again = color;
        cancelled = !colorDialog("Background Color", again) && again == color;
        chosen = fileDialog("Choose a File", path, "All Files|*.*", 16);
        refused = !fileDialog("Select Icon", untouched, "ICO Files|*.ico|All Files|*.*", 16);
        button = message("Saved|All of it", "Info", ICON::Asterisk, BUTTON::Ok | BUTTON::Cancel, BUTTON::Cancel);
        stop("Disk full");
      },
      qtOptions());
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(picked);
  EXPECT_EQ(color, 0x123456);
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(path, "/tmp/chosen file.txt");
  EXPECT_TRUE(refused);
  EXPECT_EQ(untouched, "/tmp/keep.txt");
  EXPECT_EQ(button, BUTTON::Cancel);  // the default button
  EXPECT_TRUE(transcriptHas(r, "color \"Text Color\" 255 -> 1193046"));
  EXPECT_TRUE(transcriptHas(r, "color \"Background Color\" 1193046 -> cancel"));
  EXPECT_TRUE(transcriptHas(r, "file \"Choose a File\" \"/tmp/start.txt\" filter=\"All Files|*.*\" flags=16 -> "
                               "\"/tmp/chosen file.txt\""));
  EXPECT_TRUE(transcriptHas(r, "file \"Select Icon\""));
  EXPECT_TRUE(transcriptHas(r, "message \"Info\" \"Saved|All of it\" icon=information buttons=OK|Cancel "
                               "default=Cancel -> Cancel"));
  EXPECT_TRUE(transcriptHas(r, "stop \"Disk full\" -> go on"));
}

// Runs `act` on the Qt thread until it reports that it found what it looked
// for (a person getting round to a dialog), for at most five seconds.
bool actAsPerson(const std::function<bool()>& act) {
  for (int i = 0; i < 500; ++i) {
    bool done = false;
    if (!QtView::running()->onQtThread([&] { done = act(); })) return false;
    if (done) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(QtViewScript, APersonAnswersDialogsAtLeisure) {
  int button = 0, item = -1;
  QString boxText, boxOwner;
  bool boxDefaultYes = false, boxQuestion = false;
  RunOptions o = qtOptions();
  ProgramResult r = run(
      [&] {
        std::thread person([&] {
          EXPECT_TRUE(actAsPerson([&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
              auto* box = qobject_cast<QMessageBox*>(w);
              if (box == nullptr || !box->isVisible()) continue;
              boxText = box->text();
              boxOwner = box->parentWidget() != nullptr ? box->parentWidget()->windowTitle() : QString();
              boxDefaultYes = static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::Yes);
              boxQuestion = box->icon() == QMessageBox::Question;
              box->button(QMessageBox::No)->click();
              return true;
            }
            return false;
          }));
          EXPECT_TRUE(actAsPerson([&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
              auto* menu = qobject_cast<QMenu*>(w);
              if (menu == nullptr || !menu->isVisible()) continue;
              QList<QAction*> actions = menu->actions();  // One, a separator, Two (disabled), Three
              if (actions.size() != 4 || !actions[1]->isSeparator() || actions[2]->isEnabled()) return false;
              actions[3]->trigger();
              return true;
            }
            return false;
          }));
        });
        // The thread's top window is hidden (as a design overlay is): the
        // box shows over its newest shown one.
        TestWindow host("Host", 100, 60), overlay("Overlay", 40, 40);
        overlay.decl().hidden = true;
        Window wh(host.decl()), wo(overlay.decl());
        wh.open();
        wo.open();
        button = message("Line one|Line two", "Ask", ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::Yes);
        item = popup("One|-|~Two|Three");
        person.join();
      },
      o);
  ASSERT_FALSE(r.failed) << describe(r);
  EXPECT_EQ(button, BUTTON::No);
  EXPECT_EQ(boxText, QStringLiteral("Line one\nLine two"));
  EXPECT_EQ(boxOwner, QStringLiteral("Host"));
  EXPECT_TRUE(boxDefaultYes);
  EXPECT_TRUE(boxQuestion);
  EXPECT_EQ(item, 3);
  EXPECT_TRUE(transcriptHas(r, "message \"Ask\" \"Line one|Line two\" icon=question buttons=Yes|No default=Yes -> No"));
  EXPECT_TRUE(transcriptHas(r, "popup \"One|-|~Two|Three\" -> 3 \"Three\""));
}

TEST(QtViewScript, ADialogThatGoesAwayUnansweredGivesItsDefault) {
  int button = 0;
  ProgramResult r = run(
      [&] {
        std::thread person([&] {
          EXPECT_TRUE(actAsPerson([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
              if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
                delete box;  // gone with whatever held it
                return true;
              }
            return false;
          }));
        });
        button = message("Sure?", "Ask", ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::No);
        person.join();
      },
      qtOptions());
  ASSERT_FALSE(r.failed) << describe(r);
  EXPECT_EQ(button, BUTTON::No);
}

TEST(QtViewScript, ResizeActivateAndSwitchAwaySteps) {
  int sized = 0, lostFocus = 0, closeAsked = 0;
  QSize client;
  Script script;
  script.resizeWindow(300, 200, "Grow")
      .activate("Grow")
      .switchAway()
      .closeWindow("Grow");
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        TestWindow d("Grow", 100, 60);
        d.decl().frameType = 2;
        Window w(d.decl());
        w.open();
        w.set(0, PROP::Pixels, 1);
        while (w.accept()) {
          if (event() == EVENT::Sized) {
            ++sized;
            onScreen(w, [&](TopWindow* top) { client = top->client()->size(); });
          }
          if (event() == EVENT::LoseFocus) ++lostFocus;
          if (event() == EVENT::CloseWindow) ++closeAsked;
        }
      },
      qtOptions());
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(sized, 1);
  EXPECT_EQ(client, QSize(300, 200));
  EXPECT_EQ(lostFocus, 1);
  EXPECT_EQ(closeAsked, 1);
}

TEST(QtViewScript, AStepThatCannotBeTakenFailsTheProgram) {
  Script script;
  script.screenshot("/proc/no/such/folder/shot.png", "Still");
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        TestWindow d("Still", 100, 60);
        Window w(d.decl());
        w.open();
        while (w.accept()) {
        }
      },
      qtOptions());
  EXPECT_TRUE(wevo::testing::failedWith(r, "cannot write /proc/no/such/folder/shot.png"));
}

// Keys held with the mouse reach the model's procedures under Qt too, and an
// item of a popup menu's submenu is chosen by its number, counted on from
// the items before the submenu.
TEST(QtViewScript, KeysHeldWithTheMouseAndItemsOfASubmenu) {
  std::vector<std::pair<int, int>> mouse;  // kind, keys
  int item = -1;
  Script script;
  script.holding(KEY::Ctrl).click(20, 20, "Pad").holding(KEY::Shift | KEY::Alt).move(30, 30, "Pad").holding(0);
  script.rightPress(40, 40, "Pad").choosePopup(3).closeWindow("Pad");
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        TestWindow d("Pad", 200, 100);
        d.decl().alerts = {KEY::MouseRight};
        Window w(d.decl());
        w.open();
        const int64_t client = w.get(0, PROP::ClientWndProc).num();
        w.set(0, PROP::ClientWndProc, registerWindowProc([&, client](Window& win, const RawMessage& m) {
                mouse.emplace_back(static_cast<int>(m.kind), m.key);
                return callWindowProc(client, win, m);
              }));
        while (w.accept())
          if (event() == EVENT::AlertKey && keyCode() == KEY::MouseRight) item = popup("One|-|Align{Lefts|Rights}|Four");
      },
      qtOptions());
  ASSERT_TRUE(endedNormally(r));
  const std::vector<std::pair<int, int>> want = {{RawMessage::LeftDown, KEY::Ctrl},
                                                 {RawMessage::LeftUp, KEY::Ctrl},
                                                 {RawMessage::MouseMove, KEY::Shift | KEY::Alt},
                                                 {RawMessage::RightDown, 0}};
  ASSERT_GE(mouse.size(), want.size());
  mouse.resize(want.size());
  EXPECT_EQ(mouse, want);
  EXPECT_EQ(item, 3);
  EXPECT_TRUE(transcriptHas(r, "popup \"One|-|Align{Lefts|Rights}|Four\" -> 3 \"Rights\""));
}

}  // namespace
}  // namespace wevo::qtview
