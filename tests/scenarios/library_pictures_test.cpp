// The library's own windows on the Qt view: every icon and picture they
// name shows a picture, from its file or drawn in its place.
#include <gtest/gtest.h>

#include "browse/browse_decl.h"
#include "controllist/control_list_decl.h"
#include "editor/form_decl.h"
#include "platform/view/qt/qt_test_support.h"
#include "tests/testing/run_scripted.h"
#include "wevo/qt_view.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

TEST(LibraryPictures, EveryIconAndPictureOfTheLibrarysWindowsDrawsSomething) {
  RunOptions options;
  options.view = qtView();
  int walked = 0;
  ProgramResult r = run(
      [&] {
        store::WindowControls record{};
        editor::FormVars vars{};
        char show[1] = {'A'};
        char marker[80] = {};
        for (const WindowDecl& decl : {editor::PropertyFormDecl(record, vars), controllist::ControlListDecl(show),
                                       browse::BrowseFormDecl(marker)}) {
          Window w(decl);
          w.open();
          qtview::testing::expectEveryPictureDraws(w, decl);
          w.close();
          ++walked;
        }
      },
      options);
  EXPECT_TRUE(wevo::testing::endedNormally(r));
  EXPECT_EQ(walked, 3);
}

}  // namespace
}  // namespace wevo
