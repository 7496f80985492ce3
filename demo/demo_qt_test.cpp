// The demonstration on the Qt view: customisations reach the widgets, a
// real mouse drag in design mode moves a control and is stored on release,
// and two sample windows run on two threads at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "demo/control_window.h"
#include "demo/demo_test_support.h"
#include "demo/demo_window.h"
#include "demo/select_mode.h"
#include "demo/store_rows.h"
#include "demo/tour_steps.h"
#include "design/design_session.h"
#include "platform/view/qt/qt_test_support.h"
#include "wevo/qt_view.h"

namespace wevo::demo {
namespace {

using qtview::TopWindow;
using qtview::testing::onScreen;
using testing::DemoFolder;
using testing::findRow;
using testing::placeOf;
using wevo::testing::endedNormally;

const std::string kControl = kControlWindowCaption;
const std::string kDemo = kDemoWindowCaption;

RunOptions onQt(const DemoFolder& folder) {
  RunOptions options;
  options.args = {folder.program};
  options.view = qtView();
  return options;
}

QRect qrect(const PixelRect& r) { return QRect(r.x, r.y, r.w, r.h); }

// The control's rectangle in dialog units.
PixelRect unitsOf(Window& w, const std::string& label) {
  const int64_t mode = w.get(0, PROP::Pixels).num();
  w.set(0, PROP::Pixels, 0);
  PixelRect r;
  w.getPosition(w.fieldOf(label), r.x, r.y, r.w, r.h);
  w.set(0, PROP::Pixels, mode);
  return r;
}

// The stored row of (procedure, marker, label) as the sqlcipher shell reads it.
StoreRow storedRow(const DemoFolder& folder, const std::string& procedure, const std::string& marker,
                   const std::string& label) {
  StoreReading r = readStoreRows(folder.store, testing::password());
  EXPECT_TRUE(r.ok) << r.error;
  for (const auto& [uid, row] : r.rows)
    if (row.text("PROCEDURENAME") == procedure && row.text("UNIQUEMARKER") == marker &&
        row.text("CONTROLLABEL") == label)
      return row;
  return {};
}

TEST(DemoOnQt, AStoredCustomisationShowsOnTheWidgets) {
  DemoFolder folder;
  // The originals, as the window records them when it first opens.
  RunOptions headless;
  headless.args = {folder.program};
  ProgramResult first = wevo::testing::runScripted(
      Script().closeWindow(kControl), [&] { RunSampleWindow(*folder.state, controlWindowKind(), "COLORS"); },
      headless);
  ASSERT_TRUE(endedNormally(first));
  std::vector<store::WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 22u);
  // Overrides of COLORS made from them, as design mode and the property
  // form make them: whole rows of live values with a few changed.
  uint32_t uid = 100;
  auto override = [&](const std::string& label) {
    store::WindowControls r = *findRow(rows, "Main", "WEVO_ORIGINAL", label);
    r.UID = ++uid;
    text::assign(r.UNIQUEMARKER, "COLORS");
    return r;
  };
  store::WindowControls moved = override("?BUTTON3:2");
  moved.X = 150;
  moved.Y = 90;
  moved.WIDTH = 60;
  moved.HEIGHT = 20;
  moved.WIDTHTYPE = 2;
  moved.HEIGHTTYPE = 2;
  text::assign(moved.CONTROLTEXT, "Moved");
  store::WindowControls coloured = override("?TESTENTRY");
  coloured.TEXTCOLOR = 0x0000FF;
  coloured.BACKGROUND = 0x00FFFF;
  store::WindowControls font = override("?PROMPT1");
  text::assign(font.TYPEFACE, "Courier New");
  font.FONTSIZE = 14;
  font.FONTSTYLE = 700;
  store::WindowControls hidden = override("?BUTTONADDED");
  hidden.HIDE = 1;
  rows.insert(rows.end(), {moved, coloured, font, hidden});
  std::filesystem::remove(folder.store);
  ASSERT_TRUE(store::testing::stage(store::winDecl(), folder.store, testing::password(), rows));

  bool looked = false;
  PixelRect units;
  Script s;
  s.call(
      [&] {
        Window& w = *folder.state->find(kControl);
        units = unitsOf(w, "?BUTTON3:2");
        const PixelRect button = placeOf(w, "?BUTTON3:2");
        onScreen(w, [&](TopWindow* top) {
          ASSERT_NE(top, nullptr);
          auto* b = qtview::testing::widgetOf<QPushButton>(top, w, "?BUTTON3:2");
          ASSERT_NE(b, nullptr);
          EXPECT_EQ(b->geometry(), qrect(button));
          EXPECT_EQ(b->text(), QStringLiteral("Moved"));
          auto* e = qtview::testing::widgetOf<QLineEdit>(top, w, "?TESTENTRY");
          ASSERT_NE(e, nullptr);
          EXPECT_EQ(e->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
          EXPECT_EQ(e->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 0));
          QWidget* prompt = top->widget(w.fieldOf("?PROMPT1"));
          EXPECT_EQ(prompt->font().family(), QStringLiteral("Courier New"));
          EXPECT_EQ(prompt->font().pointSize(), 14);
          EXPECT_TRUE(prompt->font().bold());
          EXPECT_TRUE(top->widget(w.fieldOf("?BUTTONADDED"))->isHidden());
          EXPECT_FALSE(top->widget(w.fieldOf("?BUTTONTOOLBAR"))->isHidden());
          // A control without an override stays as designed.
          auto* start = qtview::testing::widgetOf<QPushButton>(top, w, "?BUTTON3");
          EXPECT_EQ(start->text(), QStringLiteral("Press to start"));
          looked = true;
        });
      },
      kControl);
  s.closeWindow(kControl);
  ProgramResult r = wevo::testing::runScripted(
      s, [&] { RunSampleWindow(*folder.state, controlWindowKind(), "COLORS"); }, onQt(folder));
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(looked);
  EXPECT_EQ(units, (PixelRect{150, 90, 60, 20}));
}

// Runs `act` on the Qt thread until it says it is done (at most 20 s), as
// a person at the screen waits for what the program shows.
bool actAsPerson(const std::function<bool()>& act) {
  for (int i = 0; i < 2000; ++i) {
    bool done = false;
    if (!qtview::QtView::running()->onQtThread([&] { done = act(); })) return false;
    if (done) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TopWindow* shownTop(const std::string& caption) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* top = qobject_cast<TopWindow*>(w);
        top != nullptr && top->isVisible() && top->windowTitle() == QString::fromStdString(caption))
      return top;
  return nullptr;
}

// The label's widget in the shown window; on the Qt thread.
QWidget* widgetOf(const std::string& caption, int field) {
  TopWindow* top = shownTop(caption);
  return top != nullptr ? top->widget(field) : nullptr;
}

TEST(DemoOnQt, ARealMouseDragInDesignModeMovesTheControlAndIsStoredOnRelease) {
  // Input from the desktop counts only while no script runs: the test is the
  // person, at the Qt widgets, and the sample window runs on a thread of its
  // own. Field 9 is ?BUTTON3:2; the grab handles are 10001 to 10008.
  constexpr int kTest = 9, kFirstHandle = 10001;
  DemoFolder folder;
  QRect before, during, after;
  StoreRow rowBefore, rowDuring, rowAfter;
  bool designing = false, moved = false, stored = false, answered = false, left = false;
  const QPoint grip(10, 8), drag(31, 17);
  std::string stuck;  // the step the person could not take
  // The person's part; false (with `stuck` set) when something did not show.
  auto person = [&]() -> bool {
    auto take = [&](const char* what, const std::function<bool()>& act) {
      if (!actAsPerson(act)) stuck = what;
      return stuck.empty();
    };
    if (!take("see the window", [&] {
          TopWindow* top = shownTop(kControl);
          if (top == nullptr) return false;
          QTest::keyClick(top, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
          return true;
        }))
      return false;
    designing = take("see the grab handles", [&] { return widgetOf(kControl, kFirstHandle) != nullptr; });
    if (!designing) return false;
    rowBefore = storedRow(folder, "Main", "COLORS", "?BUTTON3:2");
    take("press and move", [&] {
      QWidget* b = widgetOf(kControl, kTest);
      before = b->geometry();
      QTest::mousePress(b, Qt::LeftButton, {}, grip);
      QTest::mouseMove(b, grip + QPoint(10, 5));
      QTest::mouseMove(b, grip + QPoint(20, 12));
      QTest::mouseMove(b, grip + drag);
      return true;
    });
    moved = take("see the button move", [&] {
      during = widgetOf(kControl, kTest)->geometry();
      return during == before.translated(drag);
    });
    // The moves are on screen, so design mode has taken them; the button is
    // still down.
    rowDuring = storedRow(folder, "Main", "COLORS", "?BUTTON3:2");
    take("release", [&] {
      QTest::mouseRelease(widgetOf(kControl, kTest), Qt::LeftButton, {}, grip + drag);
      return true;
    });
    for (int i = 0; i < 2000 && !stored; ++i) {
      rowAfter = storedRow(folder, "Main", "COLORS", "?BUTTON3:2");
      stored = rowAfter.value("X") != rowBefore.value("X");
      if (!stored) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    take("press Esc", [&] {
      after = widgetOf(kControl, kTest)->geometry();
      QTest::keyClick(shownTop(kControl), Qt::Key_Escape);
      return true;
    });
    answered = take("answer the question", [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box != nullptr && box->isVisible() && box->text() == "Do you want to save your changes?") {
          box->button(QMessageBox::Yes)->click();
          return true;
        }
      return false;
    });
    left = answered && take("see design mode end", [&] { return widgetOf(kControl, kFirstHandle) == nullptr; });
    return left && take("close the window", [&] {
             shownTop(kControl)->close();
             return true;
           });
  };
  RunOptions options = onQt(folder);
  ProgramResult r = run(
      [&] {
        start([&] { RunSampleWindow(*folder.state, controlWindowKind(), "COLORS"); });
        // A person who cannot go on ends the program, windows and all.
        if (!person()) halt("the person could not " + stuck);
      },
      options);
  ASSERT_FALSE(r.failed || r.halted) << describe(r);
  EXPECT_TRUE(designing);
  EXPECT_TRUE(moved) << "the button is at " << during.x() << "," << during.y() << ", was " << before.x() << ","
                     << before.y();
  ASSERT_FALSE(rowBefore.fields.empty()) << "design mode gives the button a row as it starts";
  EXPECT_EQ(rowDuring.value("X"), rowBefore.value("X")) << "nothing is stored while the button is down";
  EXPECT_EQ(rowDuring.value("Y"), rowBefore.value("Y"));
  EXPECT_TRUE(stored) << "the release stores the new place";
  EXPECT_GT(std::atoi(rowAfter.value("X").c_str()), std::atoi(rowBefore.value("X").c_str()));
  EXPECT_GT(std::atoi(rowAfter.value("Y").c_str()), std::atoi(rowBefore.value("Y").c_str()));
  EXPECT_EQ(rowAfter.value("WIDTH"), rowBefore.value("WIDTH"));
  EXPECT_EQ(rowAfter.value("HEIGHT"), rowBefore.value("HEIGHT"));
  EXPECT_EQ(after, before.translated(drag));
  EXPECT_TRUE(answered);
  EXPECT_TRUE(left);
  EXPECT_TRUE(wevo::testing::transcriptHas(
      r, "message \"Wevo\" \"Do you want to save your changes?\" icon=question buttons=Yes|No default=Yes -> Yes"));
  // The stored place is where the window opens next time.
  const std::vector<store::WindowControls> rows = folder.rows();
  const store::WindowControls* row = findRow(rows, "Main", "COLORS", "?BUTTON3:2");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(std::to_string(row->X), rowAfter.value("X"));
}

TEST(DemoOnQt, EveryIconAndPictureTheDemosWindowsNameDrawsSomething) {
  int walked = 0;
  RunOptions options;
  options.view = qtView();
  ProgramResult r = run(
      [&] {
        SampleVars vars;
        char mode[32] = {};
        for (const WindowDecl& decl : {frameDecl(), selectModeDecl(mode), controlWindowDecl(vars), demoWindowDecl(vars)}) {
          Window w(decl);
          w.open();
          qtview::testing::expectEveryPictureDraws(w, decl);
          w.close();
          ++walked;
        }
      },
      options);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(walked, 4);
}

// On real widgets the frame's edit items work on the selection, through
// the system clipboard, in the focused entry of the sample window; Print
// Setup opens Qt's page setup dialog.
TEST(DemoOnQt, TheFramesEditItemsWorkOnTheSelectionAndPrintSetupOpensThePageSetupDialog) {
  DemoFolder folder;
  QString copied, pasted, afterCut, cutToClipboard;
  auto entry = [&](const char* label, const std::function<void(QLineEdit*)>& fn) {
    return [&folder, label, fn] {
      Window& w = *folder.state->find(kControl);
      onScreen(w, [&](TopWindow* top) {
        QLineEdit* e = qtview::testing::widgetOf<QLineEdit>(top, w, label);
        ASSERT_NE(e, nullptr);
        fn(e);
      });
    };
  };
  auto clipboard = [](QString& out) {
    return [&out] { ASSERT_TRUE(qtview::QtView::running()->onQtThread([&] { out = QApplication::clipboard()->text(); })); };
  };
  Script s;
  openSample(s, "?WEVO", "?FORMMODE:RADIO1:3");
  s.clickControl("?TESTENTRY", kControl).type("first second");
  s.call(entry("?TESTENTRY", [](QLineEdit* e) { e->setSelection(6, 6); }), kControl);
  s.clickControl("?COPY", kFrameCaption).call(clipboard(copied), kFrameCaption);
  s.clickControl("?TESTENTRY:2", kControl);
  s.call(entry("?TESTENTRY:2", [](QLineEdit* e) { e->selectAll(); }), kControl);
  s.clickControl("?PASTE", kFrameCaption);
  s.call(entry("?TESTENTRY:2", [&](QLineEdit* e) { pasted = e->text(); }), kControl);
  s.clickControl("?TESTENTRY", kControl);
  s.call(entry("?TESTENTRY", [](QLineEdit* e) { e->setSelection(0, 6); }), kControl);
  s.clickControl("?CUT", kFrameCaption).call(clipboard(cutToClipboard), kFrameCaption);
  s.call(entry("?TESTENTRY", [&](QLineEdit* e) { afterCut = e->text(); }), kControl);
  s.clickControl("?PRINTSETUP", kFrameCaption).acceptPageSetup();
  s.clickControl("?PRINTSETUP", kFrameCaption).cancelPageSetup();
  s.clickControl("?OKBUTTON", kControl).clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s, qtView());
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(copied, QStringLiteral("second"));
  EXPECT_EQ(pasted, QStringLiteral("second"));
  EXPECT_EQ(cutToClipboard, QStringLiteral("first "));
  EXPECT_EQ(afterCut, QStringLiteral("second"));
  std::vector<std::string> pageSetups;
  for (const std::string& line : r.transcript)
    if (line.starts_with("page setup")) pageSetups.push_back(line);
  ASSERT_EQ(pageSetups.size(), 2u);
  EXPECT_TRUE(pageSetups[0].starts_with("page setup \"Print Setup\" -> \"")) << pageSetups[0];
  EXPECT_NE(pageSetups[0].find("portrait"), std::string::npos) << pageSetups[0];
  EXPECT_EQ(pageSetups[1], "page setup \"Print Setup\" -> cancel");
}

TEST(DemoOnQt, TwoSampleWindowsRunOnTwoThreadsAtOnce) {
  DemoFolder folder;
  std::thread::id controlThread, demoThread;
  int shownTogether = 0;
  bool controlDesigning = true, demoDesigning = false;
  QString controlText, demoText;
  auto entryText = [&](const std::string& caption, QString& out) {
    Window& w = *folder.state->find(caption);
    onScreen(w, [&](TopWindow* top) { out = qtview::testing::widgetOf<QLineEdit>(top, w, "?TESTENTRY")->text(); });
  };
  Script s;
  openSample(s, "?WEVO", "?FORMMODE:RADIO1:3");
  openSample(s, "?WEVO2", "?FORMMODE:RADIO1:2");
  s.clickControl("?TESTENTRY", kControl).type("first");
  s.clickControl("?TESTENTRY", kDemo).type("second");
  s.key(1604);  // to the Demo Window, which has the focus
  s.call(
      [&] {
        demoThread = std::this_thread::get_id();
        demoDesigning = design::RunningSession() != nullptr;
        entryText(kDemo, demoText);
        qtview::QtView* view = qtview::QtView::running();
        ASSERT_TRUE(view->onQtThread([&] {
          for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* top = qobject_cast<TopWindow*>(w); top != nullptr && top->isVisible()) {
              const std::string caption = top->windowTitle().toStdString();
              if (caption == kControl || caption == kDemo) ++shownTogether;
            }
        }));
      },
      kDemo);
  s.call(
      [&] {
        controlThread = std::this_thread::get_id();
        controlDesigning = design::RunningSession() != nullptr;
        entryText(kControl, controlText);
      },
      kControl);
  s.key(KEY::Esc).answer("Wevo", BUTTON::Yes);
  s.clickControl("?OKBUTTON", kDemo).clickControl("?OKBUTTON", kControl).clickControl("?EXIT", kFrameCaption);
  ProgramResult r = folder.run(s, qtView());
  ASSERT_TRUE(endedNormally(r));
  EXPECT_NE(controlThread, demoThread);
  EXPECT_EQ(shownTogether, 2);
  EXPECT_TRUE(demoDesigning);
  EXPECT_FALSE(controlDesigning) << "design mode runs on the Demo Window's thread only";
  EXPECT_EQ(controlText, QStringLiteral("first"));
  EXPECT_EQ(demoText, QStringLiteral("second"));
  std::vector<store::WindowControls> rows = folder.rows();
  EXPECT_EQ(testing::countRows(rows, "Main", "WEVO_ORIGINAL"), 22u);
  EXPECT_EQ(testing::countRows(rows, "Main20", "WEVO_ORIGINAL"), 28u);
  EXPECT_EQ(testing::countRows(rows, "Main20", "FLAT"), 28u) << "design mode gave every control a row";
}

}  // namespace
}  // namespace wevo::demo
