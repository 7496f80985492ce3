#include "platform/view/qt/qt_view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <cmath>
#include <string>
#include <vector>

#include "platform/toolkit/accessibility.h"
#include "platform/view/qt/painted_control.h"
#include "platform/view/qt/qt_test_support.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::qtview {
namespace {

using testing::onScreen;
using testing::widgetOf;
using wevo::testing::TestWindow;

RunOptions qtOptions() {
  RunOptions o;
  o.view = qtView();
  return o;
}

void runOnQt(const std::function<void()>& main) {
  ProgramResult r = run(main, qtOptions());
  EXPECT_FALSE(r.failed || r.halted) << describe(r);
}

struct Row {
  std::string name;
  std::string amount;
};

// A window with one control of most kinds, as the tests below look at it.
struct Sample {
  char name[20];
  char secret[20];
  int32_t flag = 1;
  std::vector<Row> rows{{"apples", "12"}, {"pears", "7"}, {"plums", "130"}};
  VectorListSource<Row> source{rows, [](const Row& r, int field) { return field == 1 ? r.name : r.amount; }};
  TestWindow decl{"Sample", 240, 160};

  Sample() {
    text::assign(name, sizeof name, "Alice");
    text::assign(secret, sizeof secret, "hush");
    decl.prompt("?NAMEPROMPT", "&Name:", {4, 6});
    ControlDecl& e = decl.entry("?NAME", "s20", Binding::text(name), {40, 4, 80, 10});
    e.textColor = 0x0000FF;
    e.background = 0x00FFFF;
    e.font = FontSpec{"Arial", 10, COLOR::None, 700, 0};
    decl.check("?FLAG", "Flag", Binding::long32(&flag), {4, 20}).icon = ICON::Question;
    ControlDecl& ok = decl.button("?OK", "&OK", {10, 140, 40, 14});
    ok.tip = "Press it";
    ok.flat = true;
    ok.cursor = CURSOR::Cross;
    decl.entry("?SECRET", "s20", Binding::text(secret), {160, 140, 60, 10}).props = {
        {PROP::Password, Value(1)}, {PROP::ReadOnly, Value(1)}, {PROP::Right, Value(1)}};
    decl.button("?HIDDEN", "Hidden", {60, 140, 40, 14}).hidden = true;
    decl.button("?OFF", "Off", {110, 140, 40, 14}).disabled = true;
    decl.list("?LIST", "60L(2)|M~Name~@s20@40R(2)~Amount~@n-10.2@", {4, 36, 110, 50});
    decl.sheet("?SHEET", {124, 20, 110, 80});
    decl.tab("?TAB1", "One", "?SHEET");
    decl.tab("?TAB2", "Two", "?SHEET");
    decl.string("?ONTAB1", "first", {130, 50}).parent = "?TAB1";
    decl.string("?ONTAB2", "second", {130, 50}).parent = "?TAB2";
  }
};

QRect modelRect(const Window& w, const char* label) {
  int x, y, wd, h;
  w.getPosition(w.fieldOf(label), x, y, wd, h);
  return QRect(x, y, wd, h);
}

TEST(QtViewShows, EveryControlWhereAndAsTheModelSays) {
  runOnQt([] {
    Sample s;
    Window w(s.decl.decl());
    w.open();
    w.setList(w.fieldOf("?LIST"), &s.source);
    w.set(0, PROP::Pixels, 1);
    onScreen(w, [&](TopWindow* top) {
      ASSERT_NE(top, nullptr);
      // Dialog units come from the window font's real metrics.
      QFontMetrics fm(QFont(QStringLiteral("MS Sans Serif"), 8));
      int width = static_cast<int>(std::floor(240 * fm.averageCharWidth() / 4.0 + 0.5));
      EXPECT_EQ(top->client()->width(), width);
      EXPECT_EQ(top->client()->width(), w.get(0, PROP::Width).i32());
      EXPECT_EQ(top->client()->height(), w.get(0, PROP::Height).i32());
      // The client area stands at the window's screen position.
      EXPECT_EQ(top->client()->mapToGlobal(QPoint(0, 0)), QPoint(w.get(0, PROP::XPos).i32(), w.get(0, PROP::YPos).i32()));
      EXPECT_EQ(top->windowTitle(), QStringLiteral("Sample"));
      EXPECT_TRUE(top->isVisible());

      for (const char* label : {"?NAMEPROMPT", "?NAME", "?FLAG", "?OK", "?LIST", "?SHEET", "?ONTAB1"})
        EXPECT_EQ(top->widget(w.fieldOf(label))->geometry(), modelRect(w, label)) << label;

      auto* entry = widgetOf<QLineEdit>(top, w, "?NAME");
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->text(), QStringLiteral("Alice"));
      EXPECT_EQ(entry->palette().color(QPalette::Text), QColor(255, 0, 0));
      EXPECT_EQ(entry->palette().color(QPalette::Base), QColor(255, 255, 0));
      EXPECT_EQ(entry->font().family(), QStringLiteral("Arial"));
      EXPECT_EQ(entry->font().pointSize(), 10);
      EXPECT_EQ(entry->font().weight(), QFont::Bold);

      auto* ok = widgetOf<QPushButton>(top, w, "?OK");
      ASSERT_NE(ok, nullptr);
      EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
      EXPECT_FALSE(ok->isHidden());
      EXPECT_TRUE(widgetOf<QPushButton>(top, w, "?HIDDEN")->isHidden());
      EXPECT_FALSE(widgetOf<QPushButton>(top, w, "?OFF")->isEnabled());
      EXPECT_TRUE(widgetOf<QCheckBox>(top, w, "?FLAG")->isChecked());
      EXPECT_FALSE(widgetOf<QCheckBox>(top, w, "?FLAG")->icon().isNull());
      EXPECT_EQ(ok->toolTip(), QStringLiteral("Press it"));
      EXPECT_TRUE(ok->isFlat());
      EXPECT_EQ(ok->cursor().shape(), Qt::CrossCursor);
      auto* secret = widgetOf<QLineEdit>(top, w, "?SECRET");
      EXPECT_EQ(secret->text(), QStringLiteral("hush"));
      EXPECT_EQ(secret->echoMode(), QLineEdit::Password);
      EXPECT_TRUE(secret->isReadOnly());
      EXPECT_TRUE(secret->alignment() & Qt::AlignRight);
      EXPECT_TRUE(entry->alignment() & Qt::AlignLeft);

      auto* list = widgetOf<QTreeWidget>(top, w, "?LIST");
      ASSERT_NE(list, nullptr);
      ASSERT_EQ(list->topLevelItemCount(), 3);
      EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Name"));
      EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Amount"));
      EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("pears"));
      EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("130.00"));
      EXPECT_FALSE(list->isHeaderHidden());

      auto* sheet = widgetOf<SheetControl>(top, w, "?SHEET");
      ASSERT_NE(sheet, nullptr);
      EXPECT_EQ(sheet->snapshot().currentTab, w.fieldOf("?TAB1"));
      EXPECT_FALSE(sheet->tabRect(w.fieldOf("?TAB2")).isEmpty());
      EXPECT_FALSE(top->widget(w.fieldOf("?ONTAB1"))->isHidden());
      EXPECT_TRUE(top->widget(w.fieldOf("?ONTAB2"))->isHidden());
      // A control on a tab is stacked above its sheet.
      QWidget* onTab = top->widget(w.fieldOf("?ONTAB1"));
      EXPECT_EQ(top->client()->childAt(onTab->geometry().center()), onTab);
    });
    w.close();
  });
}

TEST(QtViewShows, ChangesMadeAfterOpeningReachTheWidgets) {
  runOnQt([] {
    Sample s;
    Window w(s.decl.decl());
    w.open();
    w.setList(w.fieldOf("?LIST"), &s.source);
    onScreen(w, [](TopWindow* top) { ASSERT_NE(top, nullptr); });

    w.set(0, PROP::Pixels, 1);
    w.set(w.fieldOf("?OK"), PROP::Text, "&Go");
    w.set(w.fieldOf("?OK"), PROP::XPos, 33);
    w.set(w.fieldOf("?OK"), PROP::Width, 77);
    w.hide(w.fieldOf("?NAME"));
    w.unhide(w.fieldOf("?HIDDEN"));
    w.enable(w.fieldOf("?OFF"));
    w.disable(w.fieldOf("?FLAG"));
    w.set(w.fieldOf("?FLAG"), PROP::FontColor, 0xFF0000);
    w.set(w.fieldOf("?FLAG"), PROP::FontName, "Courier New");
    w.setSelection(w.fieldOf("?LIST"), 3);
    w.setSelection(w.fieldOf("?SHEET"), w.fieldOf("?TAB2"));
    w.set(0, PROP::Text, "Renamed");
    s.rows.push_back({"figs", "1"});
    w.setList(w.fieldOf("?LIST"), &s.source);
    onScreen(w, [&](TopWindow* top) {
      auto* ok = widgetOf<QPushButton>(top, w, "?OK");
      EXPECT_EQ(ok->text(), QStringLiteral("&Go"));
      EXPECT_EQ(ok->geometry(), modelRect(w, "?OK"));
      EXPECT_EQ(ok->x(), 33);
      EXPECT_EQ(ok->width(), 77);
      EXPECT_TRUE(top->widget(w.fieldOf("?NAME"))->isHidden());
      EXPECT_FALSE(top->widget(w.fieldOf("?HIDDEN"))->isHidden());
      EXPECT_TRUE(top->widget(w.fieldOf("?OFF"))->isEnabled());
      auto* flag = widgetOf<QCheckBox>(top, w, "?FLAG");
      EXPECT_FALSE(flag->isEnabled());
      EXPECT_EQ(flag->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 255));
      EXPECT_EQ(flag->font().family(), QStringLiteral("Courier New"));
      auto* list = widgetOf<QTreeWidget>(top, w, "?LIST");
      ASSERT_EQ(list->topLevelItemCount(), 4);
      EXPECT_EQ(list->currentItem(), list->topLevelItem(2));
      EXPECT_EQ(list->topLevelItem(3)->text(0), QStringLiteral("figs"));
      EXPECT_EQ(widgetOf<SheetControl>(top, w, "?SHEET")->snapshot().currentTab, w.fieldOf("?TAB2"));
      EXPECT_TRUE(top->widget(w.fieldOf("?ONTAB1"))->isHidden());
      EXPECT_FALSE(top->widget(w.fieldOf("?ONTAB2"))->isHidden());
      EXPECT_EQ(top->windowTitle(), QStringLiteral("Renamed"));
    });

    // A destroyed control's widget goes; a control made at run time comes.
    int made = w.create(0, TYPE::Button);
    w.set(made, PROP::Text, "New");
    w.destroy(w.fieldOf("?OFF"));
    onScreen(w, [&](TopWindow* top) {
      auto* b = qobject_cast<QPushButton*>(top->widget(made));
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->text(), QStringLiteral("New"));
      EXPECT_FALSE(b->isHidden());
      EXPECT_EQ(top->client()->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly).size(), 3);
    });
    w.close();
  });
}

// The colour at a point of a widget as drawn.
QColor pixel(QWidget* w, QPoint p) { return w->grab().toImage().pixelColor(p); }

TEST(QtViewShows, DrawnControlsAndWallpapersInTheirColours) {
  wevo::testing::TempDir dir;
  std::string paper = dir.file("paper.png");
  runOnQt([&] {
    ASSERT_TRUE(QtView::running()->onQtThread([&] {
      QImage img(4, 4, QImage::Format_RGB32);
      img.fill(QColor(255, 0, 255));
      ASSERT_TRUE(img.save(QString::fromStdString(paper)));
    }));
    TestWindow d("Shapes", 200, 120);
    d.decl().wallpaper = paper;
    d.decl().wallpaperMode = 2;
    ControlDecl& region = d.region("?REGION", {10, 10, 40, 30});
    region.fill = 0x00FF00;      // green inside
    region.background = 0x0000FF;  // red border
    d.add(TYPE::Box, "?BOX", "", {60, 10, 40, 30}).fill = 0xFF0000;  // blue
    d.add(TYPE::Ellipse, "?ELLIPSE", "", {110, 10, 40, 30}).fill = 0x00FFFF;
    d.add(TYPE::Line, "?LINE", "", {160, 10, 0, 30});
    ControlDecl& bar = d.add(TYPE::Toolbar, "?BAR", "", {0, 60, kDefault, 20});
    bar.background = 0x808080;
    d.add(TYPE::Image, "?IMAGE", paper, {160, 60, 20, 20});
    d.check("?ICONIC", "Iconic", Binding{}, {60, 90}).icon = paper;
    d.check("?NOICON", "No icon", Binding{}, {110, 90}).icon = dir.file("missing.png");
    ControlDecl& str = d.string("?STR", "MMMM", {10, 90});
    str.textColor = 0x0000FF;
    str.font = FontSpec{"", 14, COLOR::None, 700, 0};
    Window w(d.decl());
    w.open();
    onScreen(w, [&](TopWindow* top) {
      QWidget* r = top->widget(w.fieldOf("?REGION"));
      EXPECT_EQ(pixel(r, r->rect().center()), QColor(0, 255, 0));
      EXPECT_EQ(pixel(r, QPoint(0, 0)), QColor(255, 0, 0));
      QWidget* b = top->widget(w.fieldOf("?BOX"));
      EXPECT_EQ(pixel(b, b->rect().center()), QColor(0, 0, 255));
      EXPECT_EQ(pixel(b, QPoint(0, b->height() / 2)), QColor(0, 0, 0));
      QWidget* e = top->widget(w.fieldOf("?ELLIPSE"));
      EXPECT_EQ(pixel(e, e->rect().center()), QColor(255, 255, 0));
      QWidget* l = top->widget(w.fieldOf("?LINE"));
      EXPECT_GE(l->width(), 1);
      EXPECT_EQ(pixel(l, QPoint(0, l->height() / 2)), QColor(0, 0, 0));
      QWidget* t = top->widget(w.fieldOf("?BAR"));
      EXPECT_EQ(t->width(), top->client()->width());  // a toolbar spans the window
      EXPECT_EQ(pixel(t, QPoint(5, 5)), QColor(128, 128, 128));
      // The wallpaper shows where no control is.
      EXPECT_EQ(pixel(top->client(), QPoint(top->client()->width() - 3, 3)), QColor(255, 0, 255));
      QWidget* image = top->widget(w.fieldOf("?IMAGE"));
      EXPECT_EQ(pixel(image, image->rect().center()), QColor(255, 0, 255));
      EXPECT_FALSE(widgetOf<QCheckBox>(top, w, "?ICONIC")->icon().isNull());
      EXPECT_TRUE(widgetOf<QCheckBox>(top, w, "?NOICON")->icon().isNull());
      // Text in its colour somewhere in the string.
      QWidget* s = top->widget(w.fieldOf("?STR"));
      QImage img = s->grab().toImage();
      bool red = false;
      for (int y = 0; y < img.height() && !red; ++y)
        for (int x = 0; x < img.width() && !red; ++x) red = img.pixelColor(x, y) == QColor(255, 0, 0);
      EXPECT_TRUE(red);
    });
    w.close();
  });
}

// The first row (from the top) whose colour in column x differs clearly from
// the top pixel's; -1 when none.
int firstLineDown(const QImage& img, int x) {
  const int top = img.pixelColor(x, 0).lightness();
  for (int y = 1; y < img.height(); ++y)
    if (std::abs(img.pixelColor(x, y).lightness() - top) > 12) return y;
  return -1;
}

// The rows dark text covers in the left half of the image: {first, last}.
std::pair<int, int> textRows(const QImage& img) {
  int first = -1, last = -1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width() / 2; ++x)
      if (img.pixelColor(x, y).lightness() < 100) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

// A selected tab joins its page (nothing of the tab is drawn down into the
// page); a group's and a boxed option's title sits on the frame's top line,
// as the toolkit lays them out, so that controls placed below the title
// (the library's forms place them 9 to 12 units down) lie inside the frame.
TEST(QtViewShows, TheSelectedTabJoinsItsPageAndBoxTitlesSitOnTheirFrameLine) {
  runOnQt([] {
    TestWindow d("Boxes", 240, 160);
    d.sheet("?SHEET", {4, 4, 230, 150});
    d.tab("?ONE", "One", "?SHEET");
    d.tab("?TWO", "Two", "?SHEET");
    d.group("?MODE", "Mode", {10, 30, 120, 30}).parent = "?ONE";
    d.check("?HIDE", "Hide", Binding{}, {18, 42}).parent = "?MODE";
    ControlDecl& option = d.option("?SHOW", "Show", Binding{}, {10, 80, 120, 23});
    option.parent = "?ONE";
    option.props = {{PROP::Boxed, Value(1)}};
    d.radio("?ALL", "All", "A", "?SHOW", {16, 89, 40, 10});
    Window w(d.decl());
    w.open();
    onScreen(w, [&](TopWindow* top) {
      auto* sheet = qobject_cast<SheetControl*>(top->widget(w.fieldOf("?SHEET")));
      ASSERT_NE(sheet, nullptr);
      const QImage page = sheet->grab().toImage();
      const QRect one = sheet->tabRect(w.fieldOf("?ONE")), two = sheet->tabRect(w.fieldOf("?TWO"));
      ASSERT_FALSE(one.isEmpty() || two.isEmpty());
      for (int below : {3, 8, 14})
        EXPECT_EQ(page.pixelColor(one.center().x(), one.bottom() + below).name().toStdString(),
                  page.pixelColor(two.center().x(), two.bottom() + below).name().toStdString())
            << "under the selected tab, " << below << " pixels into the page";

      for (const char* box : {"?MODE", "?SHOW"}) {
        SCOPED_TRACE(box);
        QWidget* frame = top->widget(w.fieldOf(box));
        const QImage img = frame->grab().toImage();
        const int line = firstLineDown(img, img.width() - 6);
        const auto [titleTop, titleBottom] = textRows(img);
        EXPECT_LT(titleTop, line);
        EXPECT_GT(titleBottom, line) << "the frame's top line runs through the title";
        QWidget* inside = top->widget(w.fieldOf(std::string(box) == "?MODE" ? "?HIDE" : "?ALL"));
        EXPECT_GT(inside->y() - frame->y(), line) << "the first row lies below the frame's top line";
      }
    });
    w.close();
  });
}

TEST(QtViewShows, MenuBarItemsAndMessagesInTheStatusBar) {
  runOnQt([] {
    char name[20] = {};
    TestWindow d("Frame", 200, 100);
    d.decl().statusBar = true;
    d.add(TYPE::MenuBar, "?BAR");
    d.add(TYPE::Menu, "?FILE", "&File").parent = "?BAR";
    ControlDecl& open = d.add(TYPE::Item, "?OPEN", "&Open");
    open.parent = "?FILE";
    open.msg = "Open a file";
    d.add(TYPE::Item, "?SEP", "-").parent = "?FILE";
    d.add(TYPE::Item, "?EXIT", "E&xit").parent = "?FILE";
    d.add(TYPE::Item, "?WEVO", "&Wevo").parent = "?BAR";
    d.entry("?NAME", "s20", Binding::text(name), {10, 10, 60, 10}).msg = "Type a name";
    Window w(d.decl());
    w.open();
    w.set(0, PROP::Pixels, 1);
    w.select(w.fieldOf("?NAME"));
    onScreen(w, [&](TopWindow* top) {
      QMenuBar* bar = top->menuBar();
      ASSERT_NE(bar, nullptr);
      QList<QAction*> menus = bar->actions();
      ASSERT_EQ(menus.size(), 2);
      EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
      EXPECT_EQ(menus[1]->text(), QStringLiteral("&Wevo"));
      ASSERT_NE(menus[0]->menu(), nullptr);
      QList<QAction*> items = menus[0]->menu()->actions();
      ASSERT_EQ(items.size(), 3);
      EXPECT_EQ(items[0]->text(), QStringLiteral("&Open"));
      EXPECT_TRUE(items[1]->isSeparator());
      EXPECT_EQ(items[2]->text(), QStringLiteral("E&xit"));
      // The client area lies below the menu bar, where the model puts it.
      EXPECT_EQ(top->client()->y(), bar->height());
      EXPECT_EQ(top->client()->mapToGlobal(QPoint(0, 0)), QPoint(w.get(0, PROP::XPos).i32(), w.get(0, PROP::YPos).i32()));
      ASSERT_NE(top->statusBar(), nullptr);
      auto* label = top->statusBar()->findChild<QLabel*>();
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->text(), QStringLiteral("Type a name"));
      items[0]->hover();
      EXPECT_EQ(top->statusBar()->currentMessage(), QStringLiteral("Open a file"));
      // The user chooses two items.
      items[2]->trigger();
      menus[1]->trigger();
    });
    std::vector<int> accepted;
    testing::drain(w, [&] {
      if (event() == EVENT::Accepted) accepted.push_back(field());
    });
    EXPECT_EQ(accepted, (std::vector<int>{w.fieldOf("?EXIT"), w.fieldOf("?WEVO")}));
    w.close();
  });
}

TEST(QtViewShows, TheGlobalCursorAndTheFocus) {
  runOnQt([] {
    TestWindow a("First", 100, 60);
    a.button("?A1", "One", {10, 10, 40, 14});
    a.button("?A2", "Two", {10, 30, 40, 14});
    Window wa(a.decl());
    wa.open();
    wevo::setCursor(CURSOR::Wait);
    wa.select(wa.fieldOf("?A2"));
    onScreen(wa, [&](TopWindow* top) {
      ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
      EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
      EXPECT_EQ(top->focusWidget(), top->widget(wa.fieldOf("?A2")));
      QApplication::processEvents();  // activation comes from the window system
      EXPECT_EQ(QApplication::activeWindow(), top);
    });
    wevo::setCursor(CURSOR::SizeWE);
    onScreen(wa, [&](TopWindow*) { EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeHorCursor); });
    wevo::setCursor("");
    onScreen(wa, [&](TopWindow*) { EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); });
    // A second window takes the focus; giving it back activates the first.
    TestWindow b("Second", 100, 60);
    b.button("?B1", "One", {10, 10, 40, 14});
    Window wb(b.decl());
    wb.open();
    onScreen(wb, [&](TopWindow* top) {
      QApplication::processEvents();
      EXPECT_EQ(QApplication::activeWindow(), top);
    });
    wb.close();
    wevo::setFocus(wa.handle());
    onScreen(wa, [&](TopWindow* top) {
      QApplication::processEvents();
      EXPECT_EQ(QApplication::activeWindow(), top);
    });
    wa.close();
  });
}

TEST(QtViewShows, MetricsAreTheRealFontsFromAnyThread) {
  runOnQt([] {
    QtView* view = QtView::running();
    ASSERT_NE(view, nullptr);
    toolkit::FontDesc f;
    f.face = "DejaVu Sans";
    f.size = 12;
    toolkit::FontMetrics onHost = view->metrics(f);
    int hostWidth = view->textWidth(f, "&Save && Go");
    toolkit::FontDesc italic = f;
    italic.style = 0x1000;
    int hostItalic = view->textWidth(italic, "Save && Go");
    toolkit::FontMetrics onQt;
    int qtWidth = 0, qtItalic = 0;
    ASSERT_TRUE(view->onQtThread([&] {
      QFont font(QStringLiteral("DejaVu Sans"), 12);
      QFontMetrics fm(font);
      onQt = {fm.averageCharWidth(), fm.height()};
      qtWidth = fm.horizontalAdvance(QStringLiteral("Save & Go"));
      font.setItalic(true);
      qtItalic = QFontMetrics(font).horizontalAdvance(QStringLiteral("Save & Go"));
    }));
    EXPECT_EQ(onHost, onQt);
    EXPECT_EQ(hostWidth, qtWidth);
    EXPECT_GT(hostWidth, 0);
    EXPECT_EQ(hostItalic, qtItalic);  // the style is measured too
    // Scalable faces only, each installed face at least once.
    std::vector<FontFace> faces = enumerateFonts();
    ASSERT_FALSE(faces.empty());
    bool dejavu = false;
    for (const FontFace& face : faces) {
      EXPECT_TRUE(face.scalable);
      EXPECT_GT(face.height, 0);
      dejavu = dejavu || face.face == "DejaVu Sans";
    }
    EXPECT_TRUE(dejavu);
  });
}

// Assistive tools read what design mode selects from the control's widget:
// its accessible description, given back when another control is described
// or the description is withdrawn. (The focus event that goes with it is
// only sent where a platform accessibility bridge listens; offscreen has
// none.)
TEST(QtViewShows, ADescribedControlIsToldToAssistiveTools) {
  runOnQt([] {
    TestWindow d("Described", 120, 60);
    d.button("?A1", "One", {10, 10, 40, 14});
    d.button("?A2", "Two", {10, 30, 40, 14});
    Window w(d.decl());
    w.open();
    const int a1 = w.fieldOf("?A1"), a2 = w.fieldOf("?A2");
    onScreen(w, [&](TopWindow* top) { top->widget(a2)->setAccessibleDescription("its own"); });
    toolkit::announce(w.handle(), a1, "?A1, BUTTON, at x 10, y 10, width 40, height 14");
    onScreen(w, [&](TopWindow* top) {
      QWidget* one = top->widget(a1);
      EXPECT_EQ(one->accessibleDescription().toStdString(), "?A1, BUTTON, at x 10, y 10, width 40, height 14");
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(one);
      ASSERT_NE(iface, nullptr);
      EXPECT_TRUE(iface->text(QAccessible::Description).startsWith("?A1, BUTTON"));
    });
    toolkit::announce(w.handle(), a2, "?A2");
    onScreen(w, [&](TopWindow* top) {
      EXPECT_EQ(top->widget(a1)->accessibleDescription().toStdString(), "");
      EXPECT_EQ(top->widget(a2)->accessibleDescription().toStdString(), "?A2");
    });
    toolkit::announce(w.handle(), 0, "");
    onScreen(w, [&](TopWindow* top) {
      EXPECT_EQ(top->widget(a2)->accessibleDescription().toStdString(), "its own");
    });
  });
}

}  // namespace
}  // namespace wevo::qtview
