#include "platform/view/headless/headless_view.h"

#include <gtest/gtest.h>


namespace wevo::toolkit {
namespace {

FontDesc font(const char* face, int size, int style = 0) {
  FontDesc f;
  f.face = face;
  f.size = size;
  f.style = style;
  return f;
}

TEST(HeadlessView, FixedMetricsForEveryFace) {
  HeadlessView v;
  EXPECT_EQ(v.metrics(font("MS Sans Serif", 8)), (FontMetrics{6, 13}));
  EXPECT_EQ(v.metrics(font("Arial", 8, 700)), (FontMetrics{6, 13}));
  EXPECT_EQ(v.metrics(font("Arial", 10)), (FontMetrics{8, 16}));  // 7.5 and 16.25 rounded
  EXPECT_EQ(v.metrics(font("Times New Roman", 16)), (FontMetrics{12, 26}));
  EXPECT_EQ(v.textWidth(font("MS Sans Serif", 8), "Hello"), 30);
  EXPECT_EQ(v.textWidth(font("MS Sans Serif", 8), "&Save"), 24);       // the shortcut mark takes no room
  EXPECT_EQ(v.textWidth(font("MS Sans Serif", 8), "Salt && Pepper"), 13 * 6);  // "&&" is one "&"
  EXPECT_EQ(v.textWidth(font("MS Sans Serif", 8), ""), 0);
}

TEST(HeadlessView, FontListHasFacesInSeveralCharsetsAndOneRasterFace) {
  HeadlessView v;
  std::vector<FontFace> fonts = v.fonts();
  int arial = 0, times = 0;
  for (const FontFace& f : fonts) {
    if (f.face == "Arial") ++arial;
    if (f.face == "Times New Roman") ++times;
    if (f.face == "MS Sans Serif") {
      EXPECT_FALSE(f.scalable);
    }
    if (f.face == "Symbol") {
      EXPECT_EQ(f.charset, 2);
    }
    EXPECT_GT(f.height, 0);
    EXPECT_EQ(f.ascent + f.descent, f.height);
  }
  EXPECT_EQ(arial, 3);
  EXPECT_EQ(times, 2);
}

TEST(HeadlessView, DialogsAreAnsweredAsTheStepSays) {
  HeadlessView v;
  DialogRequest box;
  box.kind = DialogRequest::Message;
  box.buttons = BUTTON::Yes | BUTTON::No;
  box.defaultButton = BUTTON::No;
  ScriptStep step{};
  step.kind = ScriptStep::Answer;
  step.code = 0;
  EXPECT_EQ(v.dialog(box, &step).button, BUTTON::No);  // 0: the default button
  step.code = BUTTON::Yes;
  EXPECT_EQ(v.dialog(box, &step).button, BUTTON::Yes);

  DialogRequest color;
  color.kind = DialogRequest::Color;
  ScriptStep pick{};
  pick.kind = ScriptStep::PickColor;
  pick.code = 0x00FF00;
  DialogResult r = v.dialog(color, &pick);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.color, 0x00FF00);
  pick.cancel = true;
  EXPECT_FALSE(v.dialog(color, &pick).ok);

  DialogRequest stop;
  stop.kind = DialogRequest::Stop;
  ScriptStep choice{};
  choice.kind = ScriptStep::StopChoice;
  choice.code = 1;
  EXPECT_TRUE(v.dialog(stop, &choice).ok);
  EXPECT_EQ(v.dialog(box, nullptr).button, BUTTON::No);  // nobody to answer: the default
}

}  // namespace
}  // namespace wevo::toolkit
