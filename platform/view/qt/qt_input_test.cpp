// Real Qt input on the view's widgets (QTest, on the Qt thread) and what
// reaches the toolkit. These programs run without a script: the tests are
// the person.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <string>
#include <utility>
#include <vector>

#include "platform/view/qt/painted_control.h"
#include "platform/view/qt/qt_test_support.h"
#include "platform/view/qt/qt_view.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::qtview {
namespace {

using testing::drain;
using testing::onScreen;
using testing::widgetOf;
using wevo::testing::TestWindow;

void runOnQt(const std::function<void()>& main) {
  RunOptions o;
  o.view = qtView();
  ProgramResult r = run(main, o);
  EXPECT_FALSE(r.failed || r.halted) << describe(r);
}

// Installs a procedure that records what reaches the window through
// PROP::ClientWndProc (mouse) or PROP::WndProc (keys), then passes it on.
void record(Window& w, int32_t prop, std::vector<RawMessage>& seen) {
  int64_t saved = w.get(0, prop).num();
  w.set(0, prop, registerWindowProc([&seen, saved](Window& win, const RawMessage& m) {
          seen.push_back(m);
          return callWindowProc(saved, win, m);
        }));
}

std::vector<std::pair<int, int>> kindsAndPoints(const std::vector<RawMessage>& seen) {
  std::vector<std::pair<int, int>> out;
  for (const RawMessage& m : seen) out.emplace_back(static_cast<int>(m.kind), m.x * 1000 + m.y);
  return out;
}

std::pair<int, int> at(RawMessage::Kind k, int x, int y) { return {static_cast<int>(k), x * 1000 + y}; }

TEST(QtViewInput, MouseDragReachesAReplacedClientProcedure) {
  runOnQt([] {
    TestWindow d("Drag", 200, 120);
    d.button("?B", "Button", {100, 80, 40, 14});
    Window w(d.decl());
    w.open();
    std::vector<RawMessage> seen;
    record(w, PROP::ClientWndProc, seen);
    QPoint buttonCorner;
    onScreen(w, [&](TopWindow* top) {
      QWidget* c = top->client();
      QTest::mousePress(c, Qt::LeftButton, {}, QPoint(20, 20));
      QTest::mouseMove(c, QPoint(30, 25));
      QTest::mouseMove(c, QPoint(45, 32));
      QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(45, 32));
      // On a control's widget the point is still one of the client area.
      QWidget* b = top->widget(w.fieldOf("?B"));
      buttonCorner = b->pos();
      QTest::mousePress(b, Qt::LeftButton, {}, QPoint(3, 4));
      QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(3, 4));
      // The model, not the Qt button, takes the click.
      EXPECT_FALSE(qobject_cast<QPushButton*>(b)->isDown());
    });
    std::vector<int> accepted;
    drain(w, [&] {
      if (event() == EVENT::Accepted) accepted.push_back(field());
    });
    int bx = buttonCorner.x() + 3, by = buttonCorner.y() + 4;
    EXPECT_EQ(kindsAndPoints(seen),
              (std::vector<std::pair<int, int>>{at(RawMessage::LeftDown, 20, 20), at(RawMessage::MouseMove, 30, 25),
                                                at(RawMessage::MouseMove, 45, 32), at(RawMessage::LeftUp, 45, 32),
                                                at(RawMessage::LeftDown, bx, by), at(RawMessage::LeftUp, bx, by)}));
    EXPECT_EQ(accepted, std::vector<int>{w.fieldOf("?B")});
    EXPECT_EQ(mouseX(), bx);
    EXPECT_EQ(mouseY(), by);
    w.close();
  });
}

TEST(QtViewInput, CaptureSendsTheMouseToAHiddenWindow) {
  runOnQt([] {
    TestWindow a("Visible", 200, 120);
    a.button("?B", "Button", {20, 20, 60, 14});
    Window wa(a.decl());
    wa.open();
    wa.set(0, PROP::Pixels, 1);
    TestWindow b("Overlay", 50, 50);
    b.decl().hidden = true;
    Window wb(b.decl());
    wb.open();
    wb.set(0, PROP::Pixels, 1);
    std::vector<RawMessage> onA, onB;
    record(wa, PROP::ClientWndProc, onA);
    record(wb, PROP::ClientWndProc, onB);
    setCapture(wb.handle());
    QPoint pressed;  // client point of wa
    onScreen(wa, [&](TopWindow* top) {
      QWidget* btn = top->widget(wa.fieldOf("?B"));
      QPoint c = btn->rect().center();
      pressed = btn->mapTo(top->client(), c);
      QTest::mousePress(btn, Qt::LeftButton, {}, c);
      QTest::mouseMove(btn, c + QPoint(7, 3));
      QTest::mouseRelease(btn, Qt::LeftButton, {}, c + QPoint(7, 3));
      EXPECT_FALSE(qobject_cast<QPushButton*>(btn)->isDown());
    });
    drain(wb);
    // Relative to the capturing window's own client area.
    int dx = wa.get(0, PROP::XPos).i32() - wb.get(0, PROP::XPos).i32();
    int dy = wa.get(0, PROP::YPos).i32() - wb.get(0, PROP::YPos).i32();
    int x = pressed.x() + dx, y = pressed.y() + dy;
    EXPECT_EQ(kindsAndPoints(onB),
              (std::vector<std::pair<int, int>>{at(RawMessage::LeftDown, x, y), at(RawMessage::MouseMove, x + 7, y + 3),
                                                at(RawMessage::LeftUp, x + 7, y + 3)}));
    EXPECT_TRUE(onA.empty());
    releaseCapture();
    wb.close();
    // Without the capture the button takes its clicks again.
    onScreen(wa, [&](TopWindow* top) { QTest::mouseClick(top->widget(wa.fieldOf("?B")), Qt::LeftButton); });
    std::vector<int> accepted;
    drain(wa, [&] {
      if (event() == EVENT::Accepted) accepted.push_back(field());
    });
    EXPECT_EQ(accepted, std::vector<int>{wa.fieldOf("?B")});
    EXPECT_EQ(onA.size(), 2u);
    wa.close();
  });
}

TEST(QtViewInput, KeysArriveWithTheRuntimesCodes) {
  runOnQt([] {
    TestWindow d("Keys", 200, 120);
    d.button("?B", "Button", {20, 20, 60, 14});
    d.decl().alerts = {1604};
    Window w(d.decl());
    w.open();
    w.select(w.fieldOf("?B"));
    std::vector<RawMessage> seen;
    record(w, PROP::WndProc, seen);
    std::vector<int> alerted;
    auto collect = [&] {
      if (event() == EVENT::AlertKey) alerted.push_back(keyCode());
    };
    onScreen(w, [&](TopWindow* top) {
      QWidget* b = top->widget(w.fieldOf("?B"));
      EXPECT_EQ(top->focusWidget(), b);
      QTest::keyClick(b, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    });
    drain(w, collect);
    EXPECT_EQ(alerted, std::vector<int>{1604});
    onScreen(w, [&](TopWindow* top) {
      QWidget* b = top->widget(w.fieldOf("?B"));
      QTest::keyClick(b, Qt::Key_Escape);
      QTest::keyClick(b, Qt::Key_F1);
      QTest::keyClick(b, Qt::Key_F10);
      QTest::keyClick(b, Qt::Key_Insert);
      QTest::keyClick(b, Qt::Key_Delete);
      QTest::keyClick(b, Qt::Key_Menu);
      QTest::keyClick(b, Qt::Key_Return);
      QTest::keyClick(b, Qt::Key_Left);
      QTest::keyClick(b, Qt::Key_Down);
      QTest::keyClick(b, Qt::Key_Backtab, Qt::ShiftModifier);
      QTest::keyClick(b, Qt::Key_H, Qt::ControlModifier);
      QTest::keyClick(b, Qt::Key_5, Qt::KeypadModifier);
      QTest::keyClick(b, 'x');
    });
    drain(w, collect);
    std::vector<int> keys, chars;
    for (const RawMessage& m : seen) (m.kind == RawMessage::Char ? chars : keys).push_back(m.key);
    EXPECT_EQ(keys, (std::vector<int>{1604, 27, 112, 121, 45, 46, 93, 13, 37, 40, 0x109, 0x248, 101, 'X'}));
    EXPECT_EQ(chars, (std::vector<int>{'5', 'x'}));  // keys that type something type it
    EXPECT_EQ(alerted, std::vector<int>{1604});
    w.close();
  });
}

TEST(QtViewInput, TypingIsCommittedOnEnterTabOrAClickElsewhere) {
  runOnQt([] {
    char name[20], city[20], code[10];
    text::assign(name, sizeof name, "");
    text::assign(city, sizeof city, "");
    text::assign(code, sizeof code, "");
    TestWindow d("Typing", 200, 120);
    d.entry("?NAME", "s20", Binding::text(name), {10, 10, 80, 10});
    d.entry("?CITY", "s20", Binding::text(city), {10, 30, 80, 10});
    d.entry("?CODE", "s10", Binding::text(code), {10, 50, 80, 10}).props = {{PROP::Upr, Value(1)}};
    d.button("?OK", "OK", {10, 80, 40, 14});
    Window w(d.decl());
    w.open();
    w.select(w.fieldOf("?NAME"));
    std::vector<int> accepted;
    auto collect = [&] {
      if (event() == EVENT::Accepted) accepted.push_back(field());
    };
    onScreen(w, [&](TopWindow* top) {
      auto* e = widgetOf<QLineEdit>(top, w, "?NAME");
      QTest::keyClicks(e, "Hello");
      EXPECT_EQ(e->text(), QStringLiteral("Hello"));
    });
    drain(w, collect);
    EXPECT_TRUE(accepted.empty());  // still being typed
    EXPECT_EQ(text::clip(text::field(name, sizeof name)), "");

    onScreen(w, [&](TopWindow* top) { QTest::keyClick(widgetOf<QLineEdit>(top, w, "?NAME"), Qt::Key_Return); });
    drain(w, collect);
    EXPECT_EQ(accepted, std::vector<int>{w.fieldOf("?NAME")});
    EXPECT_EQ(text::clip(text::field(name, sizeof name)), "Hello");

    accepted.clear();
    onScreen(w, [&](TopWindow* top) {
      auto* e = widgetOf<QLineEdit>(top, w, "?NAME");
      QTest::keyClick(e, Qt::Key_End);
      QTest::keyClicks(e, "!");
      QTest::keyClick(e, Qt::Key_Tab);
    });
    drain(w, collect);
    EXPECT_EQ(accepted, std::vector<int>{w.fieldOf("?NAME")});
    EXPECT_EQ(text::clip(text::field(name, sizeof name)), "Hello!");
    EXPECT_EQ(w.focused(), w.fieldOf("?CITY"));

    accepted.clear();
    onScreen(w, [&](TopWindow* top) {
      EXPECT_EQ(top->focusWidget(), top->widget(w.fieldOf("?CITY")));
      QTest::keyClicks(top->focusWidget(), "Paris");
      QTest::mouseClick(top->widget(w.fieldOf("?OK")), Qt::LeftButton);
    });
    drain(w, collect);
    EXPECT_EQ(accepted, (std::vector<int>{w.fieldOf("?CITY"), w.fieldOf("?OK")}));
    EXPECT_EQ(text::clip(text::field(city, sizeof city)), "Paris");

    // An upper-case entry shows capitals as they are typed.
    w.select(w.fieldOf("?CODE"));
    onScreen(w, [&](TopWindow* top) {
      auto* e = widgetOf<QLineEdit>(top, w, "?CODE");
      QTest::keyClicks(e, "ab1");
      EXPECT_EQ(e->text(), QStringLiteral("AB1"));
      QTest::keyClick(e, Qt::Key_Return);
    });
    drain(w);
    EXPECT_EQ(text::clip(text::field(code, sizeof code)), "AB1");
    w.close();
  });
}

TEST(QtViewInput, TheModelAcceptsTypedTextAsItWouldTypedKeys) {
  runOnQt([] {
    char code[10];
    text::assign(code, sizeof code, "");
    TestWindow d("Accepting", 200, 100);
    d.entry("?CODE", "s10", Binding::text(code), {10, 10, 60, 10}).alerts = {KEY::Enter};
    d.string("?LABEL", "Just a label", {10, 30});
    d.button("?OK", "OK", {10, 60, 40, 14});
    Window w(d.decl());
    w.open();
    w.select(w.fieldOf("?CODE"));
    std::vector<std::pair<int, int>> events;
    auto collect = [&] {
      if (event() == EVENT::Accepted || event() == EVENT::AlertKey) events.emplace_back(event(), field());
    };
    onScreen(w, [&](TopWindow* top) {
      auto* e = widgetOf<QLineEdit>(top, w, "?CODE");
      QTest::keyClicks(e, "x7");
      // A click on a label does not leave the entry; an alerted Enter is the program's.
      QTest::mouseClick(top->widget(w.fieldOf("?LABEL")), Qt::LeftButton);
      QTest::keyClick(e, Qt::Key_Return);
    });
    drain(w, collect);
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{EVENT::AlertKey, w.fieldOf("?CODE")}}));
    EXPECT_EQ(text::clip(text::field(code, sizeof code)), "");
    EXPECT_EQ(w.focused(), w.fieldOf("?CODE"));
    events.clear();
    onScreen(w, [&](TopWindow* top) {
      EXPECT_EQ(widgetOf<QLineEdit>(top, w, "?CODE")->text(), QStringLiteral("x7"));
      QTest::mouseClick(top->widget(w.fieldOf("?OK")), Qt::LeftButton);
    });
    drain(w, collect);
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{EVENT::Accepted, w.fieldOf("?CODE")},
                                                        {EVENT::Accepted, w.fieldOf("?OK")}}));
    EXPECT_EQ(text::clip(text::field(code, sizeof code)), "x7");
    w.close();
  });
}

TEST(QtViewInput, ClicksOnControlsAreTheModelsToAnswer) {
  runOnQt([] {
    int32_t flag = 0;
    char choice[4];
    text::assign(choice, sizeof choice, "1");
    TestWindow d("Clicks", 240, 160);
    d.check("?FLAG", "Flag", Binding::long32(&flag), {10, 10});
    d.option("?OPT", "Pick", Binding::text(choice), {10, 30, 80, 40});
    d.radio("?R1", "One", "1", "?OPT", {14, 40});
    d.radio("?R2", "Two", "2", "?OPT", {14, 52});
    d.list("?LIST", "", {100, 10, 60, 50}).from = "red|green|blue";
    d.sheet("?SHEET", {10, 80, 150, 60});
    d.tab("?TAB1", "First", "?SHEET");
    d.tab("?TAB2", "Second", "?SHEET");
    d.string("?ON2", "on the second", {20, 110}).parent = "?TAB2";
    Window w(d.decl());
    w.open();
    onScreen(w, [&](TopWindow* top) {
      auto* check = widgetOf<QCheckBox>(top, w, "?FLAG");
      QTest::mouseClick(check, Qt::LeftButton);
      EXPECT_FALSE(check->isChecked());  // not yet: the model decides
      QTest::mouseClick(top->widget(w.fieldOf("?R2")), Qt::LeftButton);
      auto* list = widgetOf<QTreeWidget>(top, w, "?LIST");
      QRect row = list->visualItemRect(list->topLevelItem(1));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
      auto* sheet = widgetOf<SheetControl>(top, w, "?SHEET");
      QTest::mouseClick(sheet, Qt::LeftButton, {}, sheet->tabRect(w.fieldOf("?TAB2")).center());
    });
    std::vector<std::pair<int, int>> events;
    drain(w, [&] {
      if (event() == EVENT::Accepted || event() == EVENT::NewSelection) events.emplace_back(event(), field());
    });
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(text::clip(text::field(choice, sizeof choice)), "2");
    EXPECT_EQ(w.selection(w.fieldOf("?LIST")), 2);
    EXPECT_EQ(w.selection(w.fieldOf("?SHEET")), w.fieldOf("?TAB2"));
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{EVENT::Accepted, w.fieldOf("?FLAG")},
                                                        {EVENT::NewSelection, w.fieldOf("?OPT")},
                                                        {EVENT::Accepted, w.fieldOf("?OPT")},
                                                        {EVENT::NewSelection, w.fieldOf("?LIST")},
                                                        {EVENT::NewSelection, w.fieldOf("?SHEET")}}));
    onScreen(w, [&](TopWindow* top) {
      EXPECT_TRUE(widgetOf<QCheckBox>(top, w, "?FLAG")->isChecked());
      EXPECT_TRUE(widgetOf<QRadioButton>(top, w, "?R2")->isChecked());
      EXPECT_FALSE(widgetOf<QRadioButton>(top, w, "?R1")->isChecked());
      auto* list = widgetOf<QTreeWidget>(top, w, "?LIST");
      EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
      EXPECT_FALSE(top->widget(w.fieldOf("?ON2"))->isHidden());
    });
    w.close();
  });
}

TEST(QtViewInput, CloseAndResizeRequestsGoToTheModel) {
  runOnQt([] {
    TestWindow d("Sizable", 100, 60);
    d.decl().frameType = 2;
    Window w(d.decl());
    w.open();
    w.set(0, PROP::Pixels, 1);
    int width = w.get(0, PROP::Width).i32(), height = w.get(0, PROP::Height).i32();
    onScreen(w, [&](TopWindow* top) {
      top->close();  // the model decides
      EXPECT_TRUE(top->isVisible());
      top->resize(top->width() + 30, top->height() + 20);
    });
    std::vector<int> events;
    drain(w, [&] {
      if (event() == EVENT::CloseWindow) w.cycle();  // refused
      if (event() == EVENT::CloseWindow || event() == EVENT::Sized) events.push_back(event());
    });
    EXPECT_EQ(events, (std::vector<int>{EVENT::CloseWindow, EVENT::Sized}));
    EXPECT_TRUE(w.isOpen());
    EXPECT_EQ(w.get(0, PROP::Width).i32(), width + 30);
    EXPECT_EQ(w.get(0, PROP::Height).i32(), height + 20);
    onScreen(w, [&](TopWindow* top) {
      ASSERT_NE(top, nullptr);
      EXPECT_TRUE(top->isVisible());
      EXPECT_EQ(top->client()->size(), QSize(width + 30, height + 20));
      top->close();
    });
    drain(w);  // not refused this time
    EXPECT_FALSE(w.isOpen());
  });
}

TEST(QtViewInput, SpinsCombosTextBoxesAndScrolledLists) {
  runOnQt([] {
    int32_t count = 5;
    char kind[10], note[64], pick[2];
    text::assign(kind, sizeof kind, "");
    text::assign(note, sizeof note, "");
    text::assign(pick, sizeof pick, "A");
    std::string rows;
    for (int i = 1; i <= 30; ++i) rows += "row " + std::to_string(i) + "|";
    TestWindow d("Inputs", 240, 160);
    d.spin("?COUNT", "n3", Binding::long32(&count), 0, 10, {10, 10, 40, 10});
    ControlDecl& combo = d.add(TYPE::Combo, "?KIND", "s10", {10, 30, 70, 10});
    combo.from = "alpha|beta|gamma";
    combo.drop = 5;
    combo.bind = Binding::text(kind);
    d.text("?NOTE", Binding::text(note), {10, 50, 100, 30});
    d.dropList("?PICK", "Apple|#A|Banana|#B|Cherry|#C", Binding::text(pick), {10, 90, 70, 10});
    ControlDecl& list = d.list("?ROWS", "", {130, 10, 80, 40});
    list.from = rows;
    list.props = {{PROP::VScroll, Value(1)}};
    Window w(d.decl());
    w.open();
    std::vector<std::pair<int, int>> events;
    auto collect = [&] {
      if (event() == EVENT::Accepted || event() == EVENT::NewSelection || event() == EVENT::ScrollDown)
        events.emplace_back(event(), field());
    };

    // The spin's arrows and keys step the model's value.
    w.select(w.fieldOf("?COUNT"));
    onScreen(w, [&](TopWindow* top) {
      auto* spin = widgetOf<QAbstractSpinBox>(top, w, "?COUNT");
      ASSERT_NE(spin, nullptr);
      EXPECT_EQ(spin->text(), QStringLiteral("5"));
      spin->stepUp();
      spin->stepUp();
    });
    drain(w, collect);
    onScreen(w, [&](TopWindow* top) { QTest::keyClick(widgetOf<QAbstractSpinBox>(top, w, "?COUNT"), Qt::Key_Down); });
    drain(w, collect);
    EXPECT_EQ(count, 6);
    onScreen(w, [&](TopWindow* top) { EXPECT_EQ(widgetOf<QAbstractSpinBox>(top, w, "?COUNT")->text(), QStringLiteral("6")); });

    // A combo's text is typed and committed; a drop list's choice is the model's selection.
    w.select(w.fieldOf("?KIND"));
    onScreen(w, [&](TopWindow* top) {
      auto* c = widgetOf<QComboBox>(top, w, "?KIND");
      ASSERT_NE(c, nullptr);
      EXPECT_TRUE(c->isEditable());
      EXPECT_EQ(c->count(), 3);
      QTest::keyClicks(c->lineEdit(), "delta");
      QTest::keyClick(c->lineEdit(), Qt::Key_Return);
      auto* p = widgetOf<QComboBox>(top, w, "?PICK");
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(p->currentText(), QStringLiteral("Apple"));
      Q_EMIT p->activated(2);  // the user picks "Cherry" in its popup
    });
    drain(w, collect);
    EXPECT_EQ(text::clip(text::field(kind, sizeof kind)), "delta");
    EXPECT_EQ(pick[0], 'C');
    onScreen(w, [&](TopWindow* top) { EXPECT_EQ(widgetOf<QComboBox>(top, w, "?PICK")->currentText(), QStringLiteral("Cherry")); });

    // A text box keeps its Enter; Tab commits it.
    w.select(w.fieldOf("?NOTE"));
    onScreen(w, [&](TopWindow* top) {
      auto* t = widgetOf<QPlainTextEdit>(top, w, "?NOTE");
      ASSERT_NE(t, nullptr);
      QTest::keyClicks(t, "one");
      QTest::keyClick(t, Qt::Key_Return);
      QTest::keyClicks(t, "two");
      EXPECT_EQ(t->toPlainText(), QStringLiteral("one\ntwo"));
      QTest::keyClick(t, Qt::Key_Tab);
    });
    drain(w, collect);
    std::string noted(text::clip(text::field(note, sizeof note)));
    EXPECT_EQ(noted.substr(0, 3), "one");
    EXPECT_NE(noted.find("two"), std::string::npos);

    // A scrolled list: the row clicked is the row drawn there.
    onScreen(w, [&](TopWindow* top) {
      auto* l = widgetOf<QTreeWidget>(top, w, "?ROWS");
      l->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      l->scrollToItem(l->topLevelItem(20), QAbstractItemView::PositionAtTop);
      QTreeWidgetItem* first = l->itemAt(QPoint(5, 2));
      ASSERT_NE(first, nullptr);
      EXPECT_GT(l->indexOfTopLevelItem(first), 0);
      QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(first).center());
    });
    int expectedRow = 0;
    onScreen(w, [&](TopWindow* top) {
      auto* l = widgetOf<QTreeWidget>(top, w, "?ROWS");
      expectedRow = l->indexOfTopLevelItem(l->itemAt(QPoint(5, 2))) + 1;
    });
    drain(w, collect);
    EXPECT_EQ(w.selection(w.fieldOf("?ROWS")), expectedRow);
    EXPECT_GT(expectedRow, 1);

    int countF = w.fieldOf("?COUNT"), kindF = w.fieldOf("?KIND"), pickF = w.fieldOf("?PICK");
    int noteF = w.fieldOf("?NOTE"), rowsF = w.fieldOf("?ROWS");
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{EVENT::NewSelection, countF},
                                                        {EVENT::NewSelection, countF},
                                                        {EVENT::NewSelection, countF},
                                                        {EVENT::Accepted, kindF},
                                                        {EVENT::NewSelection, pickF},
                                                        {EVENT::Accepted, noteF},
                                                        {EVENT::ScrollDown, rowsF},
                                                        {EVENT::NewSelection, rowsF}}));
    w.close();
  });
}

}  // namespace
}  // namespace wevo::qtview
