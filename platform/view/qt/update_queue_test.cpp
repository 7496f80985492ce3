#include "platform/view/qt/update_queue.h"

#include <gtest/gtest.h>

#include "platform/toolkit/screen.h"

namespace wevo::qtview {
namespace {

using toolkit::ControlSnapshot;
using toolkit::ViewUpdate;
using toolkit::WindowSnapshot;

ControlSnapshot control(int field, std::string text) {
  ControlSnapshot c;
  c.field = field;
  c.text = std::move(text);
  return c;
}

ViewUpdate opened(int64_t handle, std::string caption, std::vector<ControlSnapshot> controls) {
  ViewUpdate u;
  u.handle = handle;
  u.opened = true;
  WindowSnapshot w;
  w.handle = handle;
  w.caption = std::move(caption);
  u.window = w;
  u.controls = std::move(controls);
  return u;
}

ViewUpdate changed(int64_t handle, std::vector<ControlSnapshot> controls, std::vector<int> destroyed = {}) {
  ViewUpdate u;
  u.handle = handle;
  u.controls = std::move(controls);
  u.destroyed = std::move(destroyed);
  return u;
}

// Applying the coalesced updates shows what applying them all one by one shows.
void expectSameScreen(const std::vector<ViewUpdate>& coalesced, const std::vector<ViewUpdate>& all) {
  toolkit::Screen a, b;
  for (const ViewUpdate& u : coalesced) a.apply(u);
  for (const ViewUpdate& u : all) b.apply(u);
  std::vector<WindowSnapshot> wa = a.windows(), wb = b.windows();
  ASSERT_EQ(wa.size(), wb.size());
  for (size_t i = 0; i < wa.size(); ++i) {
    EXPECT_EQ(wa[i], wb[i]);
    EXPECT_EQ(a.window(wa[i].handle)->controls, b.window(wb[i].handle)->controls);
  }
}

TEST(UpdateQueue, LaterChangesFoldIntoTheWaitingUpdate) {
  UpdateQueue q;
  std::vector<ViewUpdate> all = {
      opened(10, "Main", {control(1, "a"), control(2, "b"), control(3, "c")}),
      changed(10, {control(2, "b2")}),
      changed(10, {control(4, "new")}, {3}),
      changed(10, {control(2, "b3"), control(3, "c again")}),
      changed(10, {}, {4}),
  };
  EXPECT_TRUE(q.add({all[0]}));   // was empty: the Qt thread is to be asked
  EXPECT_FALSE(q.add({all[1]}));  // already asked
  EXPECT_FALSE(q.add({all[2], all[3]}));
  EXPECT_FALSE(q.add({all[4]}));
  std::vector<ViewUpdate> taken = q.take();
  EXPECT_TRUE(q.empty());
  ASSERT_EQ(taken.size(), 1u);
  const ViewUpdate& u = taken[0];
  EXPECT_TRUE(u.opened);
  ASSERT_TRUE(u.window.has_value());
  EXPECT_EQ(u.window->caption, "Main");
  // One snapshot per control, the newest, in field order.
  ASSERT_EQ(u.controls.size(), 3u);
  EXPECT_EQ(u.controls[0].text, "a");
  EXPECT_EQ(u.controls[1].text, "b3");
  EXPECT_EQ(u.controls[2].field, 3);
  EXPECT_EQ(u.controls[2].text, "c again");
  expectSameScreen(taken, all);
  EXPECT_TRUE(q.add({changed(10, {control(1, "x")})}));  // empty again
}

TEST(UpdateQueue, WindowsKeepTheOrderTheyCameInAndAClosedOneLosesItsChanges) {
  UpdateQueue q;
  std::vector<ViewUpdate> all = {
      opened(20, "First", {control(1, "one")}),
      opened(30, "Second", {control(1, "two")}),
      changed(20, {control(1, "one more")}),
      opened(40, "Third", {}),
  };
  ViewUpdate closed;
  closed.handle = 30;
  closed.closed = true;
  all.push_back(closed);
  for (const ViewUpdate& u : all) q.add({u});
  std::vector<ViewUpdate> taken = q.take();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].handle, 20);
  EXPECT_EQ(taken[1].handle, 30);
  EXPECT_TRUE(taken[1].closed);
  EXPECT_TRUE(taken[1].controls.empty());
  EXPECT_FALSE(taken[1].window.has_value());
  EXPECT_EQ(taken[2].handle, 40);
  expectSameScreen(taken, all);
}

TEST(UpdateQueue, AControlDestroyedAndMadeAgainComesOutAsANewOne) {
  UpdateQueue q;
  std::vector<ViewUpdate> all = {opened(50, "W", {control(1, "old"), control(2, "kept")}),
                                 changed(50, {}, {1}), changed(50, {control(1, "remade")})};
  for (const ViewUpdate& u : all) q.add({u});
  std::vector<ViewUpdate> taken = q.take();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].destroyed, std::vector<int>{1});
  ASSERT_EQ(taken[0].controls.size(), 2u);
  EXPECT_EQ(taken[0].controls[0].text, "remade");
  expectSameScreen(taken, all);
}

}  // namespace
}  // namespace wevo::qtview
