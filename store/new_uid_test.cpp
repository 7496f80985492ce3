#include "store/new_uid.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "store/store_file_vars.h"
#include "store/store_open.h"
#include "platform/keyedfile/test_stores.h"
#include "store/test_store.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::store {
namespace {

using wevo::testing::endedNormally;
using wevo::testing::runScripted;

// Runs on a file and on a server's store alike.
class NewUid : public ::testing::TestWithParam<kf::testing::StoreKind> {
 protected:
  void SetUp() override {
    WEVO_SKIP_WITHOUT_STORES(stores);
    setStoreFileName(store);
    setStoreOwner(password);
  }
  void TearDown() override {
    detail::setAfterNumberReadHook(nullptr);
    setStoreFileName("");
    setStoreOwner("");
  }
  std::vector<WindowControls> rows() {
    testing::Read<WindowControls> all = testing::readAll<WindowControls>(winDecl(), store, password);
    EXPECT_TRUE(all.ok) << all.error;
    return all.rows;
  }
  kf::testing::TestStores stores{GetParam()};
  const std::string store = stores.name("SALES.wevo");
  const std::string password = stores.password("s3cret");
};

INSTANTIATE_TEST_SUITE_P(Stores, NewUid, kf::testing::kBothKinds, kf::testing::kindName);

// Fills the thread's WIN with a control row (UID left as it is).
void prepareRow(const std::string& label) {
  uint32_t uid = WIN().UID;
  WIN() = testing::row(0, "Proc", "Marker", label);
  WIN().UID = uid;
}

bool deleteUid(uint32_t uid) {
  WIN().UID = uid;
  return winFile().get(KEYUID) && winFile().del();
}

TEST_P(NewUid, NumbersStartAtOneAndFollowTheHighestRow) {
  std::vector<uint32_t> given;
  std::string labelAfterAdd, blobAfterAdd;
  ProgramResult r = runScripted(Script(), [&] {
    StoreUse use;
    for (const char* label : {"?A", "?B", "?C"}) {
      prepareRow(label);
      ASSERT_TRUE(AddRecordWithNewUid());
      given.push_back(+WIN().UID);
    }
    ASSERT_TRUE(deleteUid(3));  // the highest: its number is given again
    prepareRow("?D");
    winFile().blobSet("picture bytes");
    ASSERT_TRUE(AddRecordWithNewUid());
    given.push_back(+WIN().UID);
    labelAfterAdd = text::clipped(WIN().CONTROLLABEL);
    blobAfterAdd = winFile().blobGet();
    ASSERT_TRUE(deleteUid(2));  // a gap below the highest is not filled
    prepareRow("?E");
    winFile().blobSetSize(0);
    ASSERT_TRUE(AddRecordWithNewUid());
    given.push_back(+WIN().UID);
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_EQ(given, (std::vector<uint32_t>{1, 2, 3, 3, 4}));
  EXPECT_EQ(labelAfterAdd, "?D");
  EXPECT_EQ(blobAfterAdd, "picture bytes");

  testing::Read<WindowControls> all = testing::readAll<WindowControls>(winDecl(), store, password);
  ASSERT_EQ(all.rows.size(), 3u);
  std::vector<std::pair<uint32_t, std::string>> stored;
  for (size_t i = 0; i < all.rows.size(); ++i)
    stored.push_back({+all.rows[i].UID, std::string(text::clipped(all.rows[i].CONTROLLABEL))});
  EXPECT_EQ(stored, (std::vector<std::pair<uint32_t, std::string>>{{1, "?A"}, {3, "?D"}, {4, "?E"}}));
  // The blob given with the row went in with it, though the highest row was read meanwhile.
  EXPECT_EQ(all.blobs[1], "picture bytes");
  EXPECT_EQ(all.blobs[2], "");
  // Every field but the number is the one given.
  WindowControls expected = testing::row(0, "Proc", "Marker", "?D");
  expected.UID = 3;
  EXPECT_TRUE(testing::sameBytes(&all.rows[1], &expected, sizeof expected));
}

TEST_P(NewUid, NumberTakenMeanwhileIsRetriedWithTheNext) {
  std::vector<uint32_t> tried;
  uint32_t given = 0;
  ProgramResult r = runScripted(Script(), [&] {
    StoreUse use;
    prepareRow("?A");
    ASSERT_TRUE(AddRecordWithNewUid());
    // Another station adds rows under the next two numbers just after this
    // thread has read the highest, twice in a row.
    detail::setAfterNumberReadHook([&](uint32_t number) {
      tried.push_back(number);
      if (tried.size() > 2) return;
      WindowControls theirs = testing::row(number, "Other", "Station", "?X");
      kf::File other(winDecl(), &theirs);
      ASSERT_TRUE(other.open());
      ASSERT_TRUE(other.add());
    });
    prepareRow("?B");
    ASSERT_TRUE(AddRecordWithNewUid());
    given = WIN().UID;
    detail::setAfterNumberReadHook(nullptr);
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());  // collisions are not failures to ask about
  EXPECT_EQ(tried, (std::vector<uint32_t>{2, 3, 4}));
  EXPECT_EQ(given, 4u);
  std::vector<WindowControls> all = rows();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(text::clipped(all[3].CONTROLLABEL), "?B");
  EXPECT_EQ(+all[3].UID, 4u);
}

// Adds `count` rows labelled "<station>:<i>" on the calling host thread.
void addRows(const std::string& station, int count, int& added) {
  StoreUse use;
  for (int i = 0; i < count; ++i) {
    prepareRow(station + ":" + std::to_string(i));
    if (AddRecordWithNewUid()) ++added;
  }
}

void expectEveryRowOnceUnderItsOwnUid(const std::vector<WindowControls>& all, int stations, int count) {
  std::set<uint32_t> uids;
  std::set<std::string> labels;
  for (const WindowControls& r : all) {
    uids.insert(+r.UID);
    labels.insert(std::string(text::clipped(r.CONTROLLABEL)));
  }
  EXPECT_EQ(all.size(), static_cast<size_t>(stations * count));
  EXPECT_EQ(uids.size(), all.size());  // no UID twice
  ASSERT_FALSE(uids.empty());
  EXPECT_EQ(*uids.begin(), 1u);
  EXPECT_EQ(*uids.rbegin(), static_cast<uint32_t>(stations * count));
  EXPECT_EQ(labels.size(), all.size());
}

TEST_P(NewUid, TwoThreadsAddingAtOnceNeverShareAUid) {
  constexpr int kRows = 120;
  int addedA = 0, addedB = 0;
  std::atomic<int> tries{0};
  detail::setAfterNumberReadHook([&](uint32_t) { ++tries; });
  ProgramResult r = runScripted(Script(), [&] {
    start([&] { addRows("A", kRows, addedA); });
    start([&] { addRows("B", kRows, addedB); });
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_EQ(addedA, kRows);
  EXPECT_EQ(addedB, kRows);
  expectEveryRowOnceUnderItsOwnUid(rows(), 2, kRows);
  // How often the threads met varies from run to run; kept for the record.
  RecordProperty("adds_tried", tries.load());
}

TEST_P(NewUid, TwoProcessesAddingAtOnceNeverShareAUid) {
  constexpr int kRows = 120;
  {
    // Both processes find the store there.
    ASSERT_TRUE(testing::stage<WindowControls>(winDecl(), store, password, {}));
  }
  auto child = [&](const std::string& station) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int added = 0;
    ProgramResult r = wevo::run([&] { addRows(station, kRows, added); });
    _exit(!r.failed && !r.halted && r.transcript.empty() && added == kRows ? 0 : 1);
  };
  pid_t a = child("A");
  pid_t b = child("B");
  int statusA = 0, statusB = 0;
  ASSERT_EQ(waitpid(a, &statusA, 0), a);
  ASSERT_EQ(waitpid(b, &statusB, 0), b);
  EXPECT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
  EXPECT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);
  expectEveryRowOnceUnderItsOwnUid(rows(), 2, kRows);
}

TEST_P(NewUid, AddsThatKeepFailingAskToRetryThenGiveUp) {
  ASSERT_TRUE(testing::stage<WindowControls>(winDecl(), store, password, {testing::row(1, "P", "M", "?A")}));
  const std::string question =
      "message \"Auto Increment Error\" \"Attempts to automatically number this record have failed.  Error: Access "
      "denied (5).\" icon=error buttons=Retry|Cancel default=Cancel -> ";
  Script script;
  script.answer("Auto Increment Error", BUTTON::Retry)
      .answer("Auto Increment Error", BUTTON::Cancel)
      .answer("", BUTTON::Ok);
  std::vector<uint32_t> tried;
  bool added = true;
  std::string labelKept;
  ProgramResult r = runScripted(script, [&] {
    // Open for reading only: every add is refused.
    ASSERT_TRUE(winFile().open(kf::kReadOnly | kf::kDenyNone));
    detail::setAfterNumberReadHook([&](uint32_t n) { tried.push_back(n); });
    prepareRow("?B");
    added = AddRecordWithNewUid();
    labelKept = text::clipped(WIN().CONTROLLABEL);
    detail::setAfterNumberReadHook(nullptr);
    winFile().close();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_FALSE(added);
  EXPECT_EQ(labelKept, "?B");
  EXPECT_EQ(tried, std::vector<uint32_t>(6, 2));  // three attempts, Retry, three more
  ASSERT_EQ(r.transcript.size(), 3u);
  EXPECT_EQ(r.transcript[0], question + "Retry");
  EXPECT_EQ(r.transcript[1], question + "Cancel");
  EXPECT_EQ(r.transcript[2], "message \"\" \"Record Can't be created!\" icon=none buttons=OK default=OK -> OK");
  EXPECT_EQ(rows().size(), 1u);
}

TEST_P(NewUid, UnreadableStoreIsReportedAndTheWindowClosed) {
  Script script;
  script.answer("Record Retrieval Error", BUTTON::Ok);
  bool added = true;
  int closeEvents = 0;
  ProgramResult r = runScripted(script, [&] {
    wevo::testing::TestWindow d("Customer");
    d.button("?OK", "OK", {10, 10, 40, 14});
    Window w(d.decl());
    w.open();
    prepareRow("?A");
    added = AddRecordWithNewUid();  // the store is not open
    while (w.accept())
      if (event() == EVENT::CloseWindow) ++closeEvents;
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_FALSE(added);
  EXPECT_EQ(closeEvents, 1);
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0],
            "message \"Record Retrieval Error\" \"Error: (File not open (37)) attempting to access a record from the "
            "WindowControls file.  Returning to previous window.\" icon=error buttons=OK default=OK -> OK");
}

TEST_P(NewUid, UnreadableStoreReportedOnlyLeavesTheCallersWindowOpen) {
  Script script;
  script.answer("Record Retrieval Error", BUTTON::Ok);
  bool added = true;
  int closeEvents = 0;
  bool openAfter = false;
  ProgramResult r = runScripted(script, [&] {
    wevo::testing::TestWindow d("Customer");
    d.button("?OK", "OK", {10, 10, 40, 14});
    Window w(d.decl());
    w.open();
    prepareRow("?A");
    added = AddRecordWithNewUid(winFile(), KEYUID, OnReadFailure::kReportOnly);  // the store is not open
    w.post(EVENT::User);
    while (w.accept()) {
      if (event() == EVENT::CloseWindow) ++closeEvents;
      if (event() == EVENT::User) break;
    }
    openAfter = w.isOpen();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_FALSE(added);
  EXPECT_EQ(closeEvents, 0);
  EXPECT_TRUE(openAfter);
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_TRUE(r.transcript[0].starts_with("message \"Record Retrieval Error\""));
}

}  // namespace
}  // namespace wevo::store
