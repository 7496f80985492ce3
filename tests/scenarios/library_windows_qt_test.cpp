// The library's own windows on the Qt view, with the fonts this machine
// has: every icon and picture they name shows a picture (from its file or
// drawn in its place), and their lists show every column clear of their
// scroll bars, wide enough for the texts put in them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <set>
#include <string>
#include <vector>

#include "browse/browse_decl.h"
#include "controllist/control_list_decl.h"
#include "editor/form_decl.h"
#include "platform/view/qt/list_controls.h"
#include "platform/view/qt/qt_test_support.h"
#include "store/control_type_names.h"
#include "tests/testing/run_scripted.h"
#include "wevo/qt_view.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using qtview::ListControl;
using qtview::TopWindow;

// The declarations of the library's windows, with the variables they bind.
struct LibraryWindows {
  store::WindowControls record{};
  editor::FormVars vars{};
  char show[1] = {'A'};
  char marker[80] = {};
  std::vector<WindowDecl> decls() {
    return {editor::PropertyFormDecl(record, vars), controllist::ControlListDecl(show), browse::BrowseFormDecl(marker)};
  }
};

// Runs `each` on every library window, open on the Qt view.
void onEveryLibraryWindow(const std::function<void(Window&, const WindowDecl&)>& each) {
  RunOptions options;
  options.view = qtView();
  int walked = 0;
  ProgramResult r = run(
      [&] {
        LibraryWindows windows;
        for (const WindowDecl& decl : windows.decls()) {
          Window w(decl);
          w.open();
          each(w, decl);
          w.close();
          ++walked;
        }
      },
      options);
  EXPECT_TRUE(wevo::testing::endedNormally(r));
  EXPECT_EQ(walked, 3);
}

TEST(LibraryWindowsOnQt, EveryIconAndPictureDrawsSomething) {
  onEveryLibraryWindow([](Window& w, const WindowDecl& decl) { qtview::testing::expectEveryPictureDraws(w, decl); });
}

// Each control of each library window lies whole inside the window's client
// area, its borders included: nothing is cut at an edge.
TEST(LibraryWindowsOnQt, EveryControlLiesWholeInsideItsWindow) {
  onEveryLibraryWindow([](Window& w, const WindowDecl& decl) {
    w.set(0, PROP::Pixels, 1);
    const int width = w.get(0, PROP::ClientWidth).i32(), height = w.get(0, PROP::ClientHeight).i32();
    for (const ControlDecl& c : decl.controls) {
      int x = 0, y = 0, cw = 0, ch = 0;
      w.getPosition(w.fieldOf(c.use), x, y, cw, ch);
      EXPECT_TRUE(x >= 0 && y >= 0 && x + cw <= width && y + ch <= height)
          << decl.caption << ": " << c.use << " at (" << x << ", " << y << ") " << cw << " x " << ch
          << " in a window of " << width << " x " << height;
    }
  });
}

// Every type name a list's Type column shows, in turn, and long text in the
// other columns.
class TypeNameRows final : public ListSource {
 public:
  TypeNameRows() {
    for (int code = 0; code <= 128; ++code) {
      const std::string name(store::ControlTypeName(code, store::TypeNames::kControlList));
      // One name is a phrase no column of a word's width holds.
      if (!name.empty() && name.find(' ') == std::string::npos) names.push_back(name);
    }
  }
  size_t rowCount() const override { return 3 * names.size(); }
  std::string cell(size_t row, int field) const override {
    return field == 2 || field == 3 ? names[row % names.size()] : std::string(60, 'W');
  }
  std::vector<std::string> names;
};

TEST(LibraryWindowsOnQt, ListColumnsStayClearOfTheScrollBarAndHoldTheTypeNames) {
  TypeNameRows rows;
  std::set<std::string> lists;
  onEveryLibraryWindow([&](Window& w, const WindowDecl& decl) {
    std::vector<std::string> labels;
    for (const ControlDecl& c : decl.controls)
      if (c.type == TYPE::List && c.drop == 0) {
        labels.push_back(c.use);
        w.setList(w.fieldOf(c.use), &rows);
        w.set(w.fieldOf(c.use), PROP::VScroll, 1);
      }
    // Each tab of a sheet in turn, so that every list is shown.
    std::vector<const ControlDecl*> tabs{nullptr};
    for (const ControlDecl& c : decl.controls)
      if (c.type == TYPE::Tab) tabs.push_back(&c);
    for (const ControlDecl* tab : tabs) {
      if (tab != nullptr) w.setSelection(w.fieldOf(tab->parent), w.fieldOf(tab->use));
      qtview::testing::onScreen(w, [&](TopWindow* top) {
        ASSERT_NE(top, nullptr);
        QApplication::processEvents();  // the lists lay themselves out
        for (const std::string& label : labels) {
          auto* list = qtview::testing::widgetOf<ListControl>(top, w, label.c_str());
          if (list == nullptr || !list->isVisible()) continue;
          SCOPED_TRACE(decl.caption + " " + label);
          lists.insert(decl.caption + " " + label);
          EXPECT_TRUE(list->verticalScrollBar()->isVisible());
          const int clear = list->viewport()->width();
          for (int col = 0; col < list->columnCount(); ++col)
            EXPECT_LE(list->header()->sectionViewportPosition(col) + list->header()->sectionSize(col), clear)
                << "column " << col + 1 << " runs under the scroll bar";
          // The Type column holds every type name.
          for (int col = 0; col < list->columnCount(); ++col) {
            if (list->headerItem()->text(col) != QStringLiteral("Type")) continue;
            const QFontMetrics fm(list->font());
            for (int row = 0; row < static_cast<int>(rows.names.size()); ++row) {
              const QString name = list->topLevelItem(row)->text(col);
              EXPECT_GE(list->cellTextRect(row + 1, col).width(), fm.horizontalAdvance(name))
                  << name.toStdString() << " is cut in column " << col + 1;
            }
          }
        }
      });
    }
  });
  EXPECT_EQ(lists.size(), 5u);  // the face and size lists, the field and tab order lists, the browse
}

}  // namespace
}  // namespace wevo
