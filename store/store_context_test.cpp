#include "store/store_context.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "store/new_uid.h"
#include "store/prepare_store.h"
#include "store/store_file_vars.h"
#include "store/store_open.h"
#include "store/test_store.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "wevo/runtime.h"

namespace wevo::store {
namespace {

using wevo::testing::endedNormally;

// The procedures whose rows a store holds, read with `password`; empty, with
// `opened` false, when it does not open with it.
std::vector<std::string> proceduresIn(const std::string& store, const std::string& password, bool* opened) {
  testing::Read<WindowControls> all = testing::readAll<WindowControls>(winDecl(), store, password);
  *opened = all.ok;
  std::vector<std::string> out;
  for (const WindowControls& r : all.rows) out.emplace_back(text::clipped(r.PROCEDURENAME));
  return out;
}

// Adds one row of `procedure` to the store the thread's call works on.
void addRowOf(const std::string& procedure) {
  StoreUse use;
  WIN() = testing::row(0, procedure, "M", "?Row");
  AddRecordWithNewUid();
}

// Two host threads of one program, each with its own settings: A takes its
// store and password, B then takes its own (so the process-wide variables
// name B's store), and A's store work that follows still goes to A's store
// with A's password, and B's to B's.
TEST(StoreContext, TwoThreadsWithTwoPasswordsOnTwoStoresNeverUseEachOthers) {
  wevo::testing::TempDir folderA, folderB;
  const std::string storeA = folderA.file("SALES.wevo");
  const std::string storeB = folderB.file("SALES.wevo");
  RunOptions options;
  options.args = {testing::kProgram};
  ProgramResult r = wevo::testing::runScripted(
      Script(),
      [&] {
        std::promise<void> aPrepared, bPrepared, aWrote, bDone;
        std::shared_future<void> aWroteFuture = aWrote.get_future().share();
        start([&, aWroteFuture] {
          aPrepared.get_future().wait();
          WEVOSETTINGS settings = testing::settings(folderB.path(), "beta");
          const StoreContext context = PrepareStore(settings);
          const StoreBinding bound(context);
          bPrepared.set_value();
          aWroteFuture.wait();
          addRowOf("OfB");
          bDone.set_value();
        });
        WEVOSETTINGS settings = testing::settings(folderA.path(), "alpha");
        const StoreContext context = PrepareStore(settings);
        const StoreBinding bound(context);
        aPrepared.set_value();
        bPrepared.get_future().wait();
        EXPECT_EQ(storeFileName(), storeB) << "the last call's settings are the process-wide ones";
        addRowOf("OfA");
        // A binding within the call holds until it ends, then A's again.
        {
          const StoreContext other{storeB, kf::Secret("beta")};
          const StoreBinding inner(other);
          EXPECT_EQ(boundStoreName(), storeB);
        }
        EXPECT_EQ(boundStoreName(), storeA);
        EXPECT_EQ(boundStoreOwner().view(), "alpha");
        aWrote.set_value();
        bDone.get_future().wait();
      },
      options);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());

  bool opened = false;
  EXPECT_EQ(proceduresIn(storeA, "alpha", &opened), std::vector<std::string>{"OfA"});
  EXPECT_TRUE(opened);
  EXPECT_EQ(proceduresIn(storeB, "beta", &opened), std::vector<std::string>{"OfB"});
  EXPECT_TRUE(opened);
  proceduresIn(storeA, "beta", &opened);
  EXPECT_FALSE(opened) << "A's store was made with B's password";
  // Outside any call the declarations fall back on the process-wide values.
  EXPECT_EQ(boundStoreName(), storeFileName());
  setStoreFileName("");
  setStoreOwner("");
}

}  // namespace
}  // namespace wevo::store
