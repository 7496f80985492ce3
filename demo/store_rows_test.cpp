// Reading a store with the sqlcipher shell, and the lines that say what
// changed between two readings.
#include "demo/store_rows.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "demo/control_window.h"
#include "demo/demo_test_support.h"
#include "wevo/wevo.h"

namespace wevo::demo {
namespace {

using testing::DemoFolder;
using wevo::testing::endedNormally;

StoreRow row(std::vector<std::pair<std::string, std::string>> fields) { return StoreRow{std::move(fields)}; }

TEST(StoreRows, ReadsEveryRowAsTheLibraryWroteIt) {
  DemoFolder folder;
  StoreReading missing = readStoreRows(folder.store, testing::password());
  EXPECT_TRUE(missing.ok) << missing.error;
  EXPECT_TRUE(missing.rows.empty());
  EXPECT_FALSE(std::filesystem::exists(folder.store)) << "reading a missing store creates nothing";

  // The library records the Control Window's original rows.
  RunOptions options;
  options.args = {folder.program};
  ProgramResult r = wevo::testing::runScripted(
      Script(),
      [] {
        SampleVars vars;
        Window w(controlWindowDecl(vars));
        w.open();
        WEVOSETTINGS settings;
        clearSettings(settings);
        setSampleSettings(settings);
        WEVO::SETWINDOWCONTROLS(w, "Main", "COLORS", settings);
        w.close();
      },
      options);
  ASSERT_TRUE(endedNormally(r));

  StoreReading got = readStoreRows(folder.store, testing::password());
  ASSERT_TRUE(got.ok) << got.error;
  std::vector<store::WindowControls> want = folder.rows();
  ASSERT_EQ(got.rows.size(), want.size());
  ASSERT_EQ(want.size(), 22u);
  for (const store::WindowControls& w : want) {
    auto it = got.rows.find(w.UID);
    ASSERT_NE(it, got.rows.end()) << w.UID;
    const StoreRow& g = it->second;
    EXPECT_EQ(g.text("PROCEDURENAME"), "Main");
    EXPECT_EQ(g.text("UNIQUEMARKER"), "WEVO_ORIGINAL");
    EXPECT_EQ(g.text("CONTROLLABEL"), text::clipped(w.CONTROLLABEL));
    EXPECT_EQ(g.text("CONTROLTEXT"), text::clipped(w.CONTROLTEXT));
    EXPECT_EQ(g.value("X"), std::to_string(w.X));
    EXPECT_EQ(g.value("WIDTH"), std::to_string(w.WIDTH));
    EXPECT_EQ(g.value("FEQ"), std::to_string(w.FEQ));
  }
  EXPECT_EQ(got.rows.begin()->second.fields.front().first, "UID") << "columns in table order";
  const std::string blob = got.rows.begin()->second.value("IMAGEBLOB");
  EXPECT_TRUE(blob == "NULL" || blob.rfind("X'", 0) == 0) << "a blob as hex, or NULL: " << blob;

  // Without the password, or with another, the shell cannot read it.
  StoreReading none = readStoreRows(folder.store, "");
  EXPECT_FALSE(none.ok);
  EXPECT_NE(none.error.find("not a database"), std::string::npos) << none.error;
  EXPECT_FALSE(readStoreRows(folder.store, "wrong").ok);
}

TEST(StoreRows, ChangesAreListedRowByRowInUidOrder) {
  StoreRows before, after;
  auto keyed = [](const char* marker, const char* label, const char* x, const char* text, const char* version) {
    return row({{"UID", "0"},
                {"PROCEDURENAME", "'Main'"},
                {"UNIQUEMARKER", std::string("'") + marker + "'"},
                {"CONTROLLABEL", std::string("'") + label + "'"},
                {"X", x},
                {"Y", "70"},
                {"WIDTH", "45"},
                {"HEIGHT", "14"},
                {"CONTROLTEXT", text},
                {"kf_version", version}});
  };
  before[3] = keyed("COLORS", "?GONE", "1", "''", "0");
  before[5] = keyed("COLORS", "?BUTTON3:2", "124", "'Test'", "0");
  before[7] = keyed("COLORS", "?SAME", "10", "'Same'", "0");
  before[9] = keyed("COLORS", "?AGAIN", "10", "'Again'", "0");
  after[5] = keyed("COLORS", "?BUTTON3:2", "144", "'It''s moved'", "1");
  after[7] = before[7];
  after[9] = keyed("COLORS", "?AGAIN", "10", "'Again'", "3");
  const std::string longText = "'" + std::string(100, 'a') + "'";
  after[12] = keyed("WEVO_ORIGINAL", "?NEW", "8", longText.c_str(), "0");
  std::vector<std::string> lines = describeChanges(before, after);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "- 3 Main / COLORS / ?GONE",
                       "~ 5 Main / COLORS / ?BUTTON3:2: X 124 -> 144, CONTROLTEXT 'Test' -> 'It''s moved'",
                       "~ 9 Main / COLORS / ?AGAIN: written again, every field as it was",
                       "+ 12 Main / WEVO_ORIGINAL / ?NEW: X 8, Y 70, WIDTH 45, HEIGHT 14, CONTROLTEXT '" +
                           std::string(59, 'a') + "...",
                   }));
  EXPECT_TRUE(describeChanges(after, after).empty());
}

TEST(StoreRows, QuotedTextReadsBackAsItWasWritten) {
  EXPECT_EQ(unquote("'it''s'"), "it's");
  EXPECT_EQ(unquote("''''"), "'");
  EXPECT_EQ(unquote("''"), "");
  EXPECT_EQ(unquote("12"), "12");
  EXPECT_EQ(unquote("X'0A'"), "X'0A'");
  EXPECT_EQ(unquote("NULL"), "NULL");
  EXPECT_EQ(row({{"A", "'x'"}}).text("A"), "x");
  EXPECT_EQ(row({{"A", "'x'"}}).value("B"), "");
}

}  // namespace
}  // namespace wevo::demo
