#include "platform/toolkit/picture.h"

#include <gtest/gtest.h>

#include "platform/toolkit/choices.h"
#include "platform/toolkit/list_format.h"
#include "platform/view/view.h"

namespace wevo::toolkit {
namespace {

TEST(Picture, TextPicturesCutAndAcceptAnything) {
  for (const char* p : {"s5", "@s5", "S5", "@S5"}) {
    Picture pic = Picture::parse(p);
    EXPECT_EQ(pic.kind, Picture::Text) << p;
    EXPECT_EQ(pic.width, 5) << p;
    EXPECT_EQ(pic.format(Value("abcdefgh")), "abcde") << p;
    EXPECT_EQ(pic.format(Value("ab   ")), "ab") << p;  // trailing blanks are not shown
    Value out;
    ASSERT_TRUE(pic.check("hello world", out));
    EXPECT_EQ(out.str(), "hello");
  }
}

TEST(Picture, NumberPicturesFormatSignAndBlankZero) {
  Picture signedPic = Picture::parse("n-14");
  EXPECT_EQ(signedPic.kind, Picture::Number);
  EXPECT_TRUE(signedPic.sign);
  EXPECT_EQ(signedPic.width, 14);
  EXPECT_EQ(signedPic.format(Value(-255)), "-255");
  EXPECT_EQ(signedPic.format(Value(0)), "0");
  EXPECT_EQ(signedPic.format(Value("16777215")), "16777215");

  Picture blank = Picture::parse("@n-14b");
  EXPECT_TRUE(blank.blankZero);
  EXPECT_EQ(blank.format(Value(0)), "");
  EXPECT_EQ(blank.format(Value(7)), "7");

  Picture small = Picture::parse("n3");
  EXPECT_FALSE(small.sign);
  EXPECT_EQ(small.format(Value(72)), "72");
  EXPECT_EQ(small.format(Value(1234)), "###");  // does not fit

  Picture dec = Picture::parse("n-10.2");
  EXPECT_EQ(dec.decimals, 2);
  EXPECT_EQ(dec.format(Value(12)), "12.00");
}

TEST(Picture, NumberInputIsChecked) {
  Picture signedPic = Picture::parse("n-14");
  Value v;
  EXPECT_TRUE(signedPic.check("  -42 ", v));
  EXPECT_EQ(v.num(), -42);
  EXPECT_TRUE(signedPic.check("1,234", v));
  EXPECT_EQ(v.num(), 1234);
  EXPECT_TRUE(signedPic.check("", v));
  EXPECT_EQ(v.num(), 0);
  EXPECT_TRUE(signedPic.check("12.75", v));  // decimal places stay out of a whole number
  EXPECT_EQ(v.num(), 12);
  EXPECT_FALSE(signedPic.check("12a", v));
  EXPECT_FALSE(signedPic.check("abc", v));
  EXPECT_FALSE(signedPic.check("1 2", v));
  EXPECT_FALSE(signedPic.check("123456789012345", v));  // 15 digits in 14

  Picture small = Picture::parse("n3");
  EXPECT_TRUE(small.check("999", v));
  EXPECT_FALSE(small.check("1000", v));
  EXPECT_FALSE(small.check("-1", v));  // no sign allowed
}

TEST(Picture, NoPictureShowsTextAsItStands) {
  Picture none = Picture::parse("");
  EXPECT_EQ(none.kind, Picture::None);
  EXPECT_EQ(none.format(Value("abc  ")), "abc");
  Value v;
  EXPECT_TRUE(none.check("anything at all", v));
  EXPECT_EQ(v.str(), "anything at all");
}

TEST(Choices, ValuesFollowTheirTextAndItemsStandForThemselves) {
  std::vector<Choice> c = parseChoices("Default|#0|Left to Right|#1|Right to Left|#2");
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].text, "Default");
  EXPECT_EQ(c[0].value, "0");
  EXPECT_EQ(c[2].text, "Right to Left");
  EXPECT_EQ(c[2].value, "2");

  c = parseChoices("8|9|10|11|12");
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[3].text, "11");
  EXPECT_EQ(c[3].value, "11");

  c = parseChoices("Single|#0|Double|#1|Resizable|#2|None|#3|");  // trailing bar adds nothing
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[3].value, "3");
  EXPECT_TRUE(parseChoices("").empty());
}

TEST(Choices, SplitBarsKeepsEmptyParts) {
  std::vector<std::string> parts = splitBars("a||b|");
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[1], "");
  EXPECT_EQ(parts[2], "b");
}

TEST(ListFormat, ColumnsWithHeadersPicturesAndFields) {
  std::vector<ListColumn> cols = parseListFormat(
      "78L(2)|M~Label~@s60@#1#53L(2)|M~Type~L(1)@s20@#2#91L(2)|M~Text~@s80@#3#0L(2)|M@s20@#4#");
  ASSERT_EQ(cols.size(), 4u);
  EXPECT_EQ(cols[0].width, 78);
  EXPECT_EQ(cols[0].align, 'L');
  EXPECT_EQ(cols[0].indent, 2);
  EXPECT_TRUE(cols[0].rightBorder);
  EXPECT_TRUE(cols[0].resizable);
  EXPECT_EQ(cols[0].header, "Label");
  EXPECT_EQ(cols[0].picture, "s60");
  EXPECT_EQ(cols[0].field, 1);
  EXPECT_EQ(cols[1].header, "Type");
  EXPECT_EQ(cols[1].headerAlign, 'L');
  EXPECT_EQ(cols[1].headerIndent, 1);
  EXPECT_EQ(cols[1].field, 2);
  EXPECT_EQ(cols[3].width, 0);
  EXPECT_EQ(cols[3].header, "");
  EXPECT_EQ(cols[3].field, 4);
}

TEST(ListFormat, ColumnsWithoutFieldNumbersTakeTheNextField) {
  std::vector<ListColumn> cols =
      parseListFormat("80L(2)|M~Label~@s80@92L(2)|M~Description~@s100@72R(2)|M~Type~@s20@");
  ASSERT_EQ(cols.size(), 3u);
  EXPECT_EQ(cols[0].field, 1);
  EXPECT_EQ(cols[1].field, 2);
  EXPECT_EQ(cols[2].field, 3);
  EXPECT_EQ(cols[2].align, 'R');
  EXPECT_EQ(cols[1].picture, "s100");

  cols = parseListFormat("320L(2)|M@s80@");
  ASSERT_EQ(cols.size(), 1u);
  EXPECT_EQ(cols[0].width, 320);
  EXPECT_EQ(cols[0].header, "");
}

}  // namespace
}  // namespace wevo::toolkit
