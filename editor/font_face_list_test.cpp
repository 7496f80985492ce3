#include "editor/font_face_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::editor {
namespace {

FontFace face(std::string name, int charset, bool scalable = true, int height = 13) {
  FontFace f;
  f.face = std::move(name);
  f.charset = charset;
  f.scalable = scalable;
  f.height = height;
  f.ascent = height - 3;
  f.descent = 3;
  f.aveCharWidth = 6;
  f.maxCharWidth = 12;
  return f;
}

std::vector<std::string> names(const std::vector<FQUE>& rows) {
  std::vector<std::string> out;
  for (const FQUE& r : rows) out.emplace_back(FaceName(r));
  return out;
}

TEST(FontFaceList, ScalableFacesOnceEachInNameOrder) {
  const std::string longName(40, 'Z');
  const std::vector<FQUE> rows = FillFontFaceList({
      face("Times New Roman", 0),
      face("Arial", 0, true, 13),
      face("Arial", 161, true, 15),  // the same face in another character set
      face("Arial", 204, true, 17),
      face("MS Sans Serif", 0, false),  // not scalable: never listed
      face("courier new", 0),
      face("ARIAL", 238),  // letter case does not make another face
      face(longName, 0),
      face("", 0),
      face("Bahnschrift", 2),
  });
  EXPECT_EQ(names(rows),
            (std::vector<std::string>{"Arial", "Bahnschrift", "courier new", "Times New Roman", longName.substr(0, 31)}));
  // The face keeps its first report.
  EXPECT_EQ(+rows[0].ELFEX.ELFLOGFONT.LFCHARSET, 0);
  EXPECT_EQ(+rows[0].TM.TMHEIGHT, 13);
  EXPECT_EQ(+rows[0].TM.TMASCENT, 10);
  EXPECT_EQ(+rows[0].TM.TMAVECHARWIDTH, 6);
  EXPECT_EQ(std::string(rows[0].ELFEX.ELFLOGFONT.LFFACENAME), "Arial");
  EXPECT_EQ(std::string(rows[1].ELFEX.ELFSCRIPT), "Symbol");
  EXPECT_EQ(+rows[1].TM.TMCHARSET, 2);
  // The name is zero-terminated within its 32 bytes.
  EXPECT_EQ(rows[4].FACENAME[31], '\0');
  // The library's list is the one just filled.
  EXPECT_EQ(names(FontFaceList()), names(rows));
  // Refilling replaces it.
  EXPECT_EQ(names(FillFontFaceList({face("Tahoma", 0)})), std::vector<std::string>{"Tahoma"});
  EXPECT_EQ(names(FontFaceList()), std::vector<std::string>{"Tahoma"});
}

TEST(FontFaceList, FindsAFaceIgnoringCaseAndTrailingBlanks) {
  const std::vector<FQUE> rows = FillFontFaceList({face("Arial", 0), face("Tahoma", 0), face("Symbol", 2)});
  EXPECT_EQ(FindFace(rows, "Arial"), 1);
  EXPECT_EQ(FindFace(rows, "tahoma   "), 3);
  EXPECT_EQ(FindFace(rows, "Symbol"), 2);
  EXPECT_EQ(FindFace(rows, "Arial Black"), 0);
  EXPECT_EQ(FindFace(rows, ""), 0);
}

TEST(FontFaceList, FilledFromTheHostWindowsPlatform) {
  std::vector<std::string> listed, whenClosed;
  ProgramResult r = wevo::testing::runScripted(Script(), [&] {
    wevo::testing::TestWindow d("Host");
    Window host(d.decl());
    whenClosed = names(FillFontFaceList(host));  // no device to ask
    host.open();
    listed = names(FillFontFaceList(host));
  });
  ASSERT_TRUE(wevo::testing::endedNormally(r));
  EXPECT_EQ(whenClosed, std::vector<std::string>{});
  // The headless platform reports Arial in three character sets, Times New
  // Roman in two, and MS Sans Serif as a raster face.
  EXPECT_EQ(listed, (std::vector<std::string>{"Arial", "Courier New", "Symbol", "Tahoma", "Times New Roman"}));
}

TEST(FontFaceList, FormsOnSeveralThreadsNeverSeeAMixedList) {
  std::vector<FontFace> a, b;
  for (int i = 0; i < 60; ++i) a.push_back(face("Alpha " + std::to_string(100 + i), 0));
  for (int i = 0; i < 40; ++i) b.push_back(face("Beta " + std::to_string(100 + i), 0));
  const std::vector<std::string> listA = names(FillFontFaceList(a));
  const std::vector<std::string> listB = names(FillFontFaceList(b));
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0}, fills{0};
  auto filler = [&](const std::vector<FontFace>& reports, const std::vector<std::string>& expected) {
    for (int i = 0; i < 300; ++i) {
      if (names(FillFontFaceList(reports)) != expected) ++mixed;
      ++fills;
    }
  };
  auto reader = [&] {
    while (!stop) {
      const std::vector<std::string> seen = names(FontFaceList());
      if (seen != listA && seen != listB) ++mixed;
    }
  };
  std::thread r1(reader), r2(reader);
  std::thread f1(filler, std::cref(a), std::cref(listA)), f2(filler, std::cref(b), std::cref(listB));
  f1.join();
  f2.join();
  stop = true;
  r1.join();
  r2.join();
  EXPECT_EQ(fills.load(), 600);
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace wevo::editor
