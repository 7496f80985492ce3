#include "controllist/tab_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controllist/queue_row_label.h"
#include "controllist/shown_fields.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::controllist {
namespace {

WNCTL entry(const std::string& label, int32_t feq, int32_t type, int32_t order) {
  WNCTL row{};
  text::assign(row.LABEL, label);
  text::assign(row.TYPETXT, "");
  text::assign(row.SCRTEXT, "");
  text::assign(row.STATETXT, "Visible");
  text::assign(row.DESCRIPTION, "");
  row.FEQ = feq;
  row.TYPE = type;
  row.TABORDER = order;
  row.UID = feq + 100;
  return row;
}

std::vector<std::string> labels(const ControlQueue& q) {
  std::vector<std::string> out;
  for (const WNCTL& r : q) out.emplace_back(text::clipped(r.LABEL));
  return out;
}

std::vector<int32_t> orders(const ControlQueue& q) {
  std::vector<int32_t> out;
  for (const WNCTL& r : q) out.push_back(r.TABORDER);
  return out;
}

TEST(TabOrder, RenumberingSortsByTheStoredOrderKeepingTiesAndNumbersFromOne) {
  ControlQueue q = {entry("WINDOW", 0, 0, 0), entry("?A", 1, 8, 40), entry("?B", 2, 9, 7),
                    entry("?C", 3, 10, 40), entry("?D", 4, 8, -5)};
  RenumberTabOrder(q);
  EXPECT_EQ(labels(q), (std::vector<std::string>{"?D", "WINDOW", "?B", "?A", "?C"}));
  EXPECT_EQ(orders(q), (std::vector<int32_t>{1, 2, 3, 4, 5}));
}

TEST(TabOrder, MovesStopAtTheEndsAndFollowTheMovedRow) {
  ControlQueue q = {entry("WINDOW", 0, 0, 0), entry("?A", 1, 8, 1), entry("?B", 2, 9, 2), entry("?C", 3, 10, 3)};
  RenumberTabOrder(q);
  const ControlQueue numbered = q;

  size_t p = 1;
  EXPECT_FALSE(MoveUp(q, p));
  EXPECT_EQ(p, 1u);
  p = 4;
  EXPECT_FALSE(MoveDown(q, p));
  EXPECT_EQ(p, 4u);
  p = 0;
  EXPECT_FALSE(MoveUp(q, p));
  EXPECT_FALSE(MoveDown(q, p));
  p = 5;
  EXPECT_FALSE(MoveUp(q, p));
  EXPECT_FALSE(MoveDown(q, p));
  EXPECT_EQ(labels(q), labels(numbered));
  EXPECT_EQ(orders(q), orders(numbered));

  p = 1;
  ASSERT_TRUE(MoveDown(q, p));
  EXPECT_EQ(p, 2u);
  EXPECT_EQ(labels(q), (std::vector<std::string>{"?A", "WINDOW", "?B", "?C"}));
  ASSERT_TRUE(MoveDown(q, p));
  EXPECT_EQ(p, 3u);
  p = 4;
  ASSERT_TRUE(MoveUp(q, p));
  EXPECT_EQ(p, 3u);
  EXPECT_EQ(labels(q), (std::vector<std::string>{"?A", "?B", "?C", "WINDOW"}));
  EXPECT_EQ(orders(q), (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(q[3].FEQ, 0);  // the numbers moved with their rows' identities
  EXPECT_EQ(q[0].UID, 101);
}

TEST(ShownFields, EachChoiceLetsThroughItsTypeOnlyInTheQueuesOrder) {
  const ControlQueue q = {entry("WINDOW", 0, 0, 1),  entry("?Spin", 1, TYPE::Spin, 2),
                          entry("?B1", 2, TYPE::Button, 3), entry("?E1", 3, TYPE::Entry, 4),
                          entry("?P1", 4, TYPE::Prompt, 5), entry("?Combo", 5, TYPE::Combo, 6),
                          entry("?E2", 6, TYPE::Entry, 7),  entry("?Text", 7, TYPE::Text, 8),
                          entry("?B2", 8, TYPE::Button, 9)};
  ControlQueue shown = {entry("?Stale", 99, TYPE::Entry, 1)};
  FilterControlQueue(q, kShowEntries, shown);
  EXPECT_EQ(labels(shown), (std::vector<std::string>{"?E1", "?E2"}));
  FilterControlQueue(q, kShowPrompts, shown);
  EXPECT_EQ(labels(shown), std::vector<std::string>{"?P1"});
  FilterControlQueue(q, kShowButtons, shown);
  EXPECT_EQ(labels(shown), (std::vector<std::string>{"?B1", "?B2"}));
  FilterControlQueue(q, kShowAll, shown);
  EXPECT_EQ(labels(shown), labels(q));
  FilterControlQueue(q, ' ', shown);
  EXPECT_EQ(shown.size(), q.size());
}

TEST(QueueRowLabel, TheWholeLiveLabelOnlyWhenTheQueueCutItOrItIsTheSame) {
  const std::string longLabel = "?" + std::string(69, 'L');  // 70 characters: the queue keeps 60
  wevo::testing::TestWindow t("Labels", 200, 100);
  t.button(longLabel, "Long", {10, 10, 40, 14});
  t.button("?Short", "Short", {10, 30, 40, 14});
  t.button("?ShortAndMore", "More", {10, 50, 40, 14});
  std::vector<std::string> got;
  ProgramResult r = wevo::testing::runScripted(Script(), [&] {
    Window w(t.decl());
    w.open();
    WNCTL cut = entry(longLabel, 1, TYPE::Button, 1);
    got.push_back(StoredLabel(w, cut));
    got.push_back(StoredLabel(w, entry("?Short", 2, TYPE::Button, 2)));
    // The queue names another control than the window now has under that number.
    got.push_back(StoredLabel(w, entry("?Short", 3, TYPE::Button, 3)));
    got.push_back(StoredLabel(w, entry("?Gone", 9, TYPE::Button, 4)));
    got.push_back(StoredLabel(w, entry("WINDOW", 0, 0, 0)));
  });
  ASSERT_TRUE(wevo::testing::endedNormally(r));
  EXPECT_EQ(got, (std::vector<std::string>{longLabel, "?Short", "?Short", "?Gone", "WINDOW"}));
}

}  // namespace
}  // namespace wevo::controllist
