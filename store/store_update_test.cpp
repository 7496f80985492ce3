#include "store/store_update.h"

#include <gtest/gtest.h>

#include "platform/keyedfile/error.h"
#include "store/store_file_vars.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "platform/keyedfile/test_stores.h"
#include "store/test_store.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"

namespace wevo::store {
namespace {

using wevo::testing::endedNormally;
using wevo::testing::runScripted;

std::string line(const std::string& title, const std::string& text) {
  return "message \"" + title + "\" \"" + text + "\" icon=error buttons=OK default=OK -> OK";
}

// Runs on a file and on a server's store alike.
class StoreUpdate : public ::testing::TestWithParam<kf::testing::StoreKind> {
 protected:
  void SetUp() override {
    WEVO_SKIP_WITHOUT_STORES(stores);
    setStoreFileName(store);
    setStoreOwner(password);
    ASSERT_TRUE(testing::stage<WindowControls>(
        winDecl(), store, password, {testing::row(1, "P", "M", "?A"), testing::row(2, "P", "M", "?B")}));
  }
  void TearDown() override {
    setStoreFileName("");
    setStoreOwner("");
  }

  // The row with this UID as another station sees it.
  WindowControls stored(uint32_t uid, bool* found = nullptr) {
    testing::Read<WindowControls> all = testing::readAll<WindowControls>(winDecl(), store, password);
    for (const WindowControls& r : all.rows)
      if (r.UID == uid) {
        if (found) *found = true;
        return r;
      }
    if (found) *found = false;
    return {};
  }

  // Makes the row with this UID current in the thread's WIN, watched.
  static bool readWatched(uint32_t uid) {
    WIN().UID = uid;
    return winFile().watch() && winFile().get(KEYUID);
  }

  kf::testing::TestStores stores{GetParam()};
  const std::string store = stores.name("SALES.wevo");
  const std::string password = stores.password("");
};

INSTANTIATE_TEST_SUITE_P(Stores, StoreUpdate, kf::testing::kBothKinds, kf::testing::kindName);

TEST_P(StoreUpdate, RewriteCommitsTheBufferAndKeepsThePosition) {
  int result = -1;
  std::string position, kept;
  ProgramResult r = runScripted(Script(), [&] {
    StoreUse use;
    ASSERT_TRUE(readWatched(2));
    position = winFile().position(KEYUID);
    text::assign(WIN().CONTROLTEXT, "Changed");
    WIN().X = 99;
    result = updateCurrentRow(winFile(), false);
    kept = updatePosition();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_EQ(result, kUpdated);
  EXPECT_EQ(kept, position);
  WindowControls row = stored(2);
  EXPECT_EQ(text::clipped(row.CONTROLTEXT), "Changed");
  EXPECT_EQ(+row.X, 99);
  EXPECT_EQ(text::clipped(stored(1).CONTROLTEXT), "Text of ?A");
}

TEST_P(StoreUpdate, RewriteThatLostToAnotherStationShowsTheirVersion) {
  for (bool showChanges : {false, true}) {
    Script script;
    script.answer(showChanges ? "Record Was Not Updated" : "Update Operation Error", BUTTON::Ok);
    int first = -1, second = -1;
    std::string seen;
    ProgramResult r = runScripted(script, [&] {
      StoreUse use;
      ASSERT_TRUE(readWatched(1));
      {
        WindowControls theirs{};
        kf::File other(winDecl(), &theirs);
        ASSERT_TRUE(other.open());
        theirs.UID = 1;
        ASSERT_TRUE(other.get(KEYUID));
        text::assign(theirs.TIP, showChanges ? "Theirs 2" : "Theirs 1");
        ASSERT_TRUE(other.put());
      }
      text::assign(WIN().TIP, "Mine");
      first = updateCurrentRow(winFile(), showChanges);
      seen = text::clipped(WIN().TIP);
      // Their version is watched now: saving over it goes through.
      text::assign(WIN().MESSAGE, "Mine after all");
      second = updateCurrentRow(winFile(), showChanges);
    });
    ASSERT_TRUE(endedNormally(r));
    EXPECT_EQ(first, kChangedElsewhere);
    EXPECT_EQ(seen, showChanges ? "Theirs 2" : "Theirs 1");
    EXPECT_EQ(second, kUpdated);
    ASSERT_EQ(r.transcript.size(), 1u);
    EXPECT_EQ(r.transcript[0],
              showChanges ? line("Record Was Not Updated",
                                 "This record was changed by another station. Those changes will now be displayed. "
                                 "Use the Ditto Button or Ctrl+' to recall your changes.")
                          : line("Update Operation Error", "This record was changed by another station."));
    WindowControls row = stored(1);
    EXPECT_EQ(text::clipped(row.TIP), showChanges ? "Theirs 2" : "Theirs 1");
    EXPECT_EQ(text::clipped(row.MESSAGE), "Mine after all");
    EXPECT_EQ(savedError().code, 0);
  }
}

TEST_P(StoreUpdate, TransactionThatCannotBeginLeavesTheRow) {
  Script script;
  script.answer("Transaction Framing Error", BUTTON::Ok).answer("Transaction Framing Error", BUTTON::Ok);
  int update = -1, del = -1;
  ProgramResult r = runScripted(script, [&] {
    StoreUse use;
    ASSERT_TRUE(readWatched(1));
    WindowControls theirs{};
    kf::File other(winDecl(), &theirs);
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(other.begin(0));  // another station holds the store for writing
    text::assign(WIN().TIP, "Mine");
    update = updateCurrentRow(winFile(), false);
    del = deleteCurrentRow(winFile());
    other.rollback();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(update, kUpdateFailed);
  EXPECT_EQ(del, kUpdateFailed);
  ASSERT_EQ(r.transcript.size(), 2u);
  EXPECT_EQ(r.transcript[0], line("Transaction Framing Error",
                                  "Error: (File is locked (32)) attempting to frame the update transaction on "
                                  "WindowControls.  Update transaction cancelled."));
  EXPECT_EQ(r.transcript[1], line("Transaction Framing Error",
                                  "Error: (File is locked (32)) attempting to frame the delete transaction on "
                                  "WindowControls.  Delete transaction cancelled."));
  bool found = false;
  EXPECT_EQ(text::clipped(stored(1, &found).TIP), "Tip 1");
  EXPECT_TRUE(found);
}

TEST_P(StoreUpdate, RewriteWithoutACurrentRowIsReported) {
  Script script;
  script.answer("Update Operation Error", BUTTON::Ok);
  int result = -1;
  bool inTransaction = true;
  ProgramResult r = runScripted(script, [&] {
    StoreUse use;
    result = updateCurrentRow(winFile(), false);
    // The failed transaction was rolled back: a new one can begin.
    inTransaction = !winFile().begin(0);
    winFile().rollback();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(result, kUpdateFailed);
  EXPECT_FALSE(inTransaction);
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0], line("Update Operation Error",
                                  "An error (Record not available (33)) was experienced when attempting to update a "
                                  "record from the file.  Probable Cause: WindowControls."));
}

TEST_P(StoreUpdate, DeleteRemovesTheCurrentRowOnly) {
  int result = -1;
  ProgramResult r = runScripted(Script(), [&] {
    StoreUse use;
    ASSERT_TRUE(readWatched(2));
    result = deleteCurrentRow(winFile());
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_EQ(result, kUpdated);
  bool found = true;
  stored(2, &found);
  EXPECT_FALSE(found);
  stored(1, &found);
  EXPECT_TRUE(found);
}

TEST_P(StoreUpdate, DeleteOfARowGoneMeanwhileIsReported) {
  Script script;
  script.answer("Delete Operation Error", BUTTON::Ok);
  int result = -1;
  ProgramResult r = runScripted(script, [&] {
    StoreUse use;
    ASSERT_TRUE(readWatched(2));
    {
      WindowControls theirs{};
      kf::File other(winDecl(), &theirs);
      ASSERT_TRUE(other.open());
      theirs.UID = 2;
      ASSERT_TRUE(other.get(KEYUID));
      ASSERT_TRUE(other.del());
    }
    result = deleteCurrentRow(winFile());
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(result, kUpdateFailed);
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0], line("Delete Operation Error",
                                  "An error (Record not available (33)) was experienced when attempting to delete a "
                                  "record from the file WindowControls."));
  bool found = false;
  stored(1, &found);
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace wevo::store
