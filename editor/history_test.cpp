#include "editor/history.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "editor/form_decl.h"
#include "platform/keyedfile/file_decl.h"
#include "store/test_store.h"
#include "wevo/text.h"

namespace wevo::editor {
namespace {

using store::WindowControls;

WindowControls cleared() {
  WindowControls r;
  kf::clearRecord(store::winDecl(), &r);
  return r;
}

bool same(const WindowControls& a, const WindowControls& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(History, ClearedOnceThenKeepsTheLastSave) {
  detail::RestartHistory();
  WindowControls junk = store::testing::row(9, "P", "M", "?Junk");
  SaveHistory(junk);
  detail::RestartHistory();
  StartHistory();
  EXPECT_TRUE(same(HistoryRecord(), cleared()));

  const WindowControls a = store::testing::row(1, "P", "M", "?A");
  SaveHistory(a);
  StartHistory();  // only the first form of the process clears it
  EXPECT_TRUE(same(HistoryRecord(), a));
  const WindowControls b = store::testing::row(2, "P", "M", "?B");
  SaveHistory(b);
  EXPECT_TRUE(same(HistoryRecord(), b));
}

TEST(History, RestoresOneFieldWhole) {
  detail::RestartHistory();
  StartHistory();
  WindowControls saved = store::testing::row(1, "P", "M", "?A");
  text::assign(saved.TIP, "The saved tip");
  saved.FONTSIZE = 14;  // at an odd offset
  SaveHistory(saved);

  WindowControls now = store::testing::row(2, "P", "M", "?B");
  text::assign(now.TIP, "A much longer tip that is being typed right now");
  now.FONTSIZE = 9;
  WindowControls expected = now;
  std::memcpy(expected.TIP, saved.TIP, sizeof expected.TIP);
  RestoreFromHistory(now, "TIP");
  EXPECT_TRUE(same(now, expected));
  EXPECT_EQ(text::clipped(now.TIP), "The saved tip");

  RestoreFromHistory(now, "FONTSIZE");
  EXPECT_EQ(+now.FONTSIZE, 14);
  expected.FONTSIZE = 14;
  RestoreFromHistory(now, "NOSUCHFIELD");
  EXPECT_TRUE(same(now, expected));
}

TEST(History, KeyWorksInExactlyTheControlsThatEditARecordField) {
  WindowControls record{};
  FormVars vars{};
  const WindowDecl decl = PropertyFormDecl(record, vars);
  const char* begin = reinterpret_cast<const char*>(&record);
  const char* end = begin + sizeof record;
  std::set<std::string> editing;
  for (const ControlDecl& c : decl.controls) {
    const char* at = static_cast<const char*>(c.bind.data);
    if (c.bind.bound() && at >= begin && at < end) editing.insert(c.use);
  }
  std::set<std::string> table;
  for (const auto& [label, field] : HistoryTable()) {
    table.insert(std::string(label));
    // Each restores the field the control edits.
    for (const ControlDecl& c : decl.controls)
      if (c.use == label) {
        const kf::FieldDecl& f =
            store::winDecl().fields[static_cast<size_t>(store::winDecl().fieldIndex(field))];
        EXPECT_EQ(static_cast<const char*>(c.bind.data), begin + f.offset) << label;
      }
  }
  EXPECT_EQ(table, editing);
  EXPECT_EQ(table.size(), 52u);
  EXPECT_EQ(HistoryFieldOf("?WIN:FONTSIZE:2"), "FONTSIZE");
  EXPECT_EQ(HistoryFieldOf("?WIN:TIP"), "TIP");
  EXPECT_EQ(HistoryFieldOf("?CURSORDESCR"), "");
  EXPECT_EQ(HistoryFieldOf("?BBOLD"), "");
}

TEST(History, FormsOnSeveralThreadsNeverReadAMixedRecord) {
  detail::RestartHistory();
  StartHistory();
  const WindowControls a = store::testing::row(1, "ProcA", "MarkerA", "?AAAA");
  WindowControls b = store::testing::row(2, "ProcB", "MarkerB", "?BBBB");
  std::memset(b.TIP, 'b', sizeof b.TIP);
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  auto saver = [&](const WindowControls& r) {
    for (int i = 0; i < 20000; ++i) SaveHistory(r);
  };
  auto reader = [&] {
    WindowControls mine = store::testing::row(3, "Mine", "Mine", "?Mine");
    while (!stop) {
      const WindowControls seen = HistoryRecord();
      if (!same(seen, a) && !same(seen, b) && !same(seen, cleared())) ++mixed;
      RestoreFromHistory(mine, "TIP");
      if (std::memcmp(mine.TIP, a.TIP, sizeof mine.TIP) != 0 && std::memcmp(mine.TIP, b.TIP, sizeof mine.TIP) != 0 &&
          !text::clipped(mine.TIP).empty())
        ++mixed;
    }
  };
  std::thread r1(reader), r2(reader);
  std::thread s1(saver, std::cref(a)), s2(saver, std::cref(b));
  s1.join();
  s2.join();
  stop = true;
  r1.join();
  r2.join();
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace wevo::editor
