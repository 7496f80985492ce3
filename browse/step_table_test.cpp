#include "browse/step_table.h"

#include <gtest/gtest.h>

#include <string>

namespace wevo::browse {
namespace {

TEST(StepTable, StepsRunEvenlyFromTheFirstLabelToTheLastAndBack) {
  StepTable t;
  EXPECT_TRUE(t.empty());
  EXPECT_EQ(t.LabelAt(50), "");
  EXPECT_EQ(t.ThumbOf("?Anything"), 1);

  t.Build("?Alpha", "?ZULU");
  EXPECT_FALSE(t.empty());
  // The ends, letters in one case, within the characters read.
  EXPECT_EQ(t.LabelAt(1), "?alpha");
  EXPECT_EQ(t.LabelAt(100), "?zulu");
  EXPECT_EQ(t.LabelAt(0), t.LabelAt(1));
  EXPECT_EQ(t.LabelAt(250), t.LabelAt(100));
  // Ascending, and half way lies about half way through the alphabet.
  std::string previous;
  for (int i = 1; i <= 100; ++i) {
    const std::string label = t.LabelAt(i);
    EXPECT_LT(previous, label) << i;
    previous = label;
    EXPECT_EQ(t.ThumbOf(label), i) << label;
  }
  EXPECT_GE(t.LabelAt(50), "?l");
  EXPECT_LT(t.LabelAt(50), "?o");
  // Any label finds the last step not after it; case and trailing blanks do not count.
  EXPECT_EQ(t.ThumbOf("?alpha   "), 1);
  EXPECT_EQ(t.ThumbOf("?A"), 1);  // before them all
  EXPECT_EQ(t.ThumbOf("WINDOW"), 100);
  EXPECT_EQ(t.ThumbOf("?m"), t.ThumbOf("?M"));
  const int middle = t.ThumbOf("?Mike");
  EXPECT_GE(middle, 45);
  EXPECT_LE(middle, 55);

  // Built the other way round, the same table.
  StepTable reversed;
  reversed.Build("?zulu", "?alpha");
  for (int i = 1; i <= 100; i += 11) EXPECT_EQ(reversed.LabelAt(i), t.LabelAt(i));

  // One label: every step is it, and the thumb stays at the top.
  StepTable one;
  one.Build("WINDOW", "window");
  EXPECT_EQ(one.LabelAt(1), "window");
  EXPECT_EQ(one.LabelAt(77), "window");
  EXPECT_EQ(one.ThumbOf("WINDOW"), 1);

  t.Clear();
  EXPECT_TRUE(t.empty());
  EXPECT_EQ(t.ThumbOf("?Mike"), 1);
}

TEST(StepTable, LabelsThatDifferLateOrInOddCharactersStillSpread) {
  StepTable t;
  t.Build("?Field00001", "?Field10000");  // alike in their first characters read
  EXPECT_EQ(t.LabelAt(1), "?field00");
  EXPECT_EQ(t.LabelAt(100), "?field10");
  EXPECT_LE(t.LabelAt(50), "?field10");
  EXPECT_GE(t.LabelAt(50), "?field00");
  // The characters between the capitals and the small letters sort before
  // the letters, as the store sorts them.
  StepTable marks;
  marks.Build("?A_", "?AZ");
  EXPECT_EQ(marks.LabelAt(1), "?a_");
  EXPECT_LT(marks.ThumbOf("?A_Z"), marks.ThumbOf("?AB"));
  // Characters outside the printable range read as its nearest end.
  StepTable odd;
  odd.Build(std::string("?\x01", 2), std::string("?\xF0", 2));
  EXPECT_EQ(odd.LabelAt(1), "?");
  EXPECT_EQ(odd.LabelAt(100), "?~");
}

}  // namespace
}  // namespace wevo::browse
