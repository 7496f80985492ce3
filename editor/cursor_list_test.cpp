#include "editor/cursor_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wevo/codes.h"

namespace wevo::editor {
namespace {

TEST(CursorList, SeventeenCursorsInOrderWithTheirIdentifiers) {
  std::vector<CURS> list(3);  // filling empties it first
  FillCursorList(list);
  ASSERT_EQ(list.size(), 17u);
  const std::vector<std::string> names = {"Default", "None",     "Arrow",    "IBeam",  "Wait",   "Cross",
                                          "UpArrow", "Size",     "Icon",     "SizeNWSE", "SizeNESW", "SizeWE",
                                          "SizeNS",  "DragWE",   "Drop",     "NoDrop", "Zoom"};
  // The toolkit's own identifiers (4 bytes; "None" holds NULs).
  const std::vector<std::string> equates = {
      "",
      std::string(CURSOR::None, 4),
      CURSOR::Arrow,
      CURSOR::IBeam,
      CURSOR::Wait,
      CURSOR::Cross,
      CURSOR::UpArrow,
      CURSOR::Size,
      CURSOR::Icon,
      CURSOR::SizeNWSE,
      CURSOR::SizeNESW,
      CURSOR::SizeWE,
      CURSOR::SizeNS,
      CURSOR::DragWE,
      CURSOR::Drop,
      CURSOR::NoDrop,
      CURSOR::Zoom,
  };
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(CursorName(list[i]), names[i]) << i;
    EXPECT_EQ(CursorEquate(list[i]), equates[i]) << i;
  }
  FillCursorList(list);
  EXPECT_EQ(list.size(), 17u);
}

TEST(CursorList, LookupsByIdentifierAndByName) {
  std::vector<CURS> list;
  FillCursorList(list);
  EXPECT_EQ(FindCursorByEquate(list, ""), 1);
  EXPECT_EQ(FindCursorByEquate(list, "   "), 1);  // a blank field
  EXPECT_EQ(FindCursorByEquate(list, std::string(CURSOR::None, 4)), 2);
  EXPECT_EQ(FindCursorByEquate(list, CURSOR::IBeam), 4);
  EXPECT_EQ(FindCursorByEquate(list, std::string(CURSOR::Zoom) + "    "), 17);
  EXPECT_EQ(FindCursorByEquate(list, "\xFF\x01\x00"), 0);  // "None" cut short is not "None"
  EXPECT_EQ(FindCursorByEquate(list, "arrow.cur"), 0);
  EXPECT_EQ(FindCursorByName(list, "Default"), 1);
  EXPECT_EQ(FindCursorByName(list, "Zoom "), 17);
  EXPECT_EQ(FindCursorByName(list, "SizeNS"), 13);
  EXPECT_EQ(FindCursorByName(list, "Hand"), 0);
}

}  // namespace
}  // namespace wevo::editor
