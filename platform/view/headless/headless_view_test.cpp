#include "platform/view/headless/headless_view.h"

#include <gtest/gtest.h>

#include "platform/toolkit/accessibility.h"
#include "platform/view/common/screen.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

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

TEST(HeadlessView, KeepsACopyOfWhatItWasSent) {
  HeadlessView v;
  ViewUpdate open;
  open.handle = 100;
  open.opened = true;
  open.window = WindowSnapshot{};
  open.window->caption = "Main";
  open.window->handle = 100;
  ControlSnapshot a;
  a.field = 1;
  a.text = "one";
  ControlSnapshot b;
  b.field = 2;
  b.text = "two";
  open.controls = {a, b};
  v.update({open});
  ViewUpdate change;
  change.handle = 100;
  change.destroyed = {1};
  b.text = "TWO";
  change.controls = {b};
  v.update({change});
  v.invalidate(100, false);
  v.invalidate(101, true);  // the client handle counts for its window
  std::optional<ScreenWindow> w = v.screen().window(100);
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->controls.size(), 1u);
  EXPECT_EQ(w->controls.at(2).text, "TWO");
  EXPECT_EQ(w->invalidations, 1);  // 101 is not this window's client handle here
  EXPECT_EQ(w->updates, 2);
  EXPECT_EQ(v.updateBatches(), 2);
  ViewUpdate closed;
  closed.handle = 100;
  closed.closed = true;
  v.update({closed});
  EXPECT_FALSE(v.screen().window(100).has_value());
}

TEST(Screen, FindsWindowsByCaptionAndTheActiveOne) {
  Screen s;
  auto open = [&](int64_t h, const char* caption, int64_t order, bool hidden) {
    ViewUpdate u;
    u.handle = h;
    u.window = WindowSnapshot{};
    u.window->handle = h;
    u.window->clientHandle = h + 1;
    u.window->caption = caption;
    u.window->openOrder = order;
    u.window->hidden = hidden;
    s.apply(u);
  };
  open(10, "Main", 1, false);
  open(20, "main", 2, false);
  open(30, "Overlay", 3, true);
  open(40, "Main", 4, false);
  EXPECT_EQ(s.find("Main")->handle, 40);   // the newest of the exact matches
  EXPECT_EQ(s.find("main  ")->handle, 20); // trailing blanks do not count
  EXPECT_EQ(s.find("MAIN")->handle, 40);   // case only when nothing matches exactly
  EXPECT_EQ(s.find("")->handle, 40);       // the active window: the newest shown
  EXPECT_EQ(s.find("Overlay")->handle, 30);
  EXPECT_FALSE(s.find("Nothing").has_value());
  s.noteInvalidate(31);
  EXPECT_EQ(s.window(30)->invalidations, 1);
  ASSERT_EQ(s.windows().size(), 4u);
  EXPECT_EQ(s.windows().front().handle, 10);
}

// What assistive tools are told reaches the screen the tests look at: the
// window's control and its description, withdrawn by an empty one.
TEST(HeadlessView, KeepsWhatAssistiveToolsWereToldOfEachWindow) {
  wevo::testing::TestWindow d("Main", 100, 60);
  d.button("?OK", "OK", {10, 10, 40, 14});
  std::optional<ScreenWindow> told, withdrawn;
  ProgramResult r = run([&] {
    Window w(d.decl());
    w.open();
    announce(w.handle(), w.fieldOf("?OK"), "?OK, BUTTON, at x 10, y 10");
    announce(w.handle() + 1000, 1, "no such window");
    told = HeadlessView::running()->screen().window(w.handle());
    announce(w.handle(), w.fieldOf("?OK"), "");
    withdrawn = HeadlessView::running()->screen().window(w.handle());
  });
  ASSERT_FALSE(r.failed || r.halted) << describe(r);
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->announcedField, 1);
  EXPECT_EQ(told->announcement, "?OK, BUTTON, at x 10, y 10");
  ASSERT_TRUE(withdrawn.has_value());
  EXPECT_EQ(withdrawn->announcedField, 0);
  EXPECT_EQ(withdrawn->announcement, "");
}

}  // namespace
}  // namespace wevo::toolkit
