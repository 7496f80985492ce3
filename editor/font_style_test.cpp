#include "editor/font_style.h"

#include <gtest/gtest.h>

namespace wevo::editor {
namespace {

bool same(const StyleFlags& a, const StyleFlags& b) {
  return a.STRIKEOUT == b.STRIKEOUT && a.UNDERLINE == b.UNDERLINE && a.BOLD == b.BOLD && a.ITALIC == b.ITALIC;
}

TEST(FontStyle, StoredStylesReadAsTheFourFlags) {
  EXPECT_TRUE(same(FlagsFromStyle(0), StyleFlags{0, 0, 0, 0}));
  EXPECT_TRUE(same(FlagsFromStyle(400), StyleFlags{0, 0, 0, 0}));  // normal weight: not bold
  EXPECT_TRUE(same(FlagsFromStyle(401), StyleFlags{0, 0, 1, 0}));  // above 400 is bold
  EXPECT_TRUE(same(FlagsFromStyle(700), StyleFlags{0, 0, 1, 0}));
  EXPECT_TRUE(same(FlagsFromStyle(0x1000), StyleFlags{0, 0, 0, 1}));
  EXPECT_TRUE(same(FlagsFromStyle(0x2000 + 400), StyleFlags{0, 1, 0, 0}));
  EXPECT_TRUE(same(FlagsFromStyle(0x4000), StyleFlags{1, 0, 0, 0}));
  EXPECT_TRUE(same(FlagsFromStyle(0x7000 + 900), StyleFlags{1, 1, 1, 1}));
}

TEST(FontStyle, FlagsStoreWeight700OrNothingAndTheStyleBits) {
  EXPECT_EQ(StyleFromFlags(FlagsFromStyle(400)), 0);  // normal weight is saved as 0, not 400
  EXPECT_EQ(StyleFromFlags(StyleFlags{0, 0, 1, 0}), 700);
  EXPECT_EQ(StyleFromFlags(StyleFlags{0, 0, 0, 1}), 0x1000);
  EXPECT_EQ(StyleFromFlags(StyleFlags{0, 1, 0, 0}), 0x2000);
  EXPECT_EQ(StyleFromFlags(StyleFlags{1, 0, 0, 0}), 0x4000);
  EXPECT_EQ(StyleFromFlags(StyleFlags{1, 1, 1, 1}), 0x4000 + 0x2000 + 700 + 0x1000);
  EXPECT_EQ(StyleFromFlags(FlagsFromStyle(0x1000 + 900)), 0x1000 + 700);  // any bold weight comes back 700
}

TEST(FontStyle, SampleIsEightCharactersOfTheWesternCodePage) {
  const std::string s = SampleText();
  EXPECT_EQ(s.substr(0, 4), "AaBb");
  // Ô ô ß ÿ, two bytes each in UTF-8.
  EXPECT_EQ(s.substr(4), "\xC3\x94\xC3\xB4\xC3\x9F\xC3\xBF");
  size_t characters = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++characters;
  EXPECT_EQ(characters, 8u);
}

}  // namespace
}  // namespace wevo::editor
