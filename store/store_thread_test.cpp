#include "store/store_thread.h"

#include <gtest/gtest.h>

#include <future>

#include "platform/keyedfile/error.h"
#include "store/store_file_vars.h"
#include "store/store_open.h"
#include "store/test_store.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "wevo/runtime.h"

namespace wevo::store {
namespace {

using wevo::testing::endedNormally;
using wevo::testing::runScripted;

struct ThreadView {
  const void* win = nullptr;
  const void* win2 = nullptr;
  const void* win001 = nullptr;
  bool boundToBuffers = false;
  bool cleared = false;
  int32_t request = -1;
};

ThreadView look() {
  ThreadView v;
  v.win = &WIN();
  v.win2 = &WIN2();
  v.win001 = &WIN_001();
  v.boundToBuffers = winFile().record() == &WIN() && win2File().record() == &WIN2() &&
                     win001File().record() == &WIN_001() && &winFile().decl() == &winDecl() &&
                     &win2File().decl() == &win2Decl() && &win001File().decl() == &win001Decl();
  WindowControls blank;
  kf::clearRecord(winDecl(), &blank);
  WindowControls001 blank001;
  kf::clearRecord(win001Decl(), &blank001);
  v.cleared = testing::sameBytes(&WIN(), &blank, sizeof blank) && testing::sameBytes(&WIN2(), &blank, sizeof blank) &&
              testing::sameBytes(&WIN_001(), &blank001, sizeof blank001);
  v.request = GlobalRequest();
  return v;
}

TEST(StoreThread, EachHostThreadHasItsOwnClearedBuffersAndState) {
  ThreadView first, second, firstAgain;
  int32_t secondResponse = -1;
  std::string secondPosition = "x";
  ProgramResult r = runScripted(Script(), [&] {
    first = look();
    GlobalRequest() = 2;
    GlobalResponse() = 1;
    updatePosition() = "17";
    text::assign(WIN().PROCEDURENAME, "Changed here");
    std::promise<void> done;
    start([&] {
      second = look();
      secondResponse = GlobalResponse();
      secondPosition = updatePosition();
      done.set_value();
    });
    done.get_future().wait();
    firstAgain = look();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(first.boundToBuffers);
  EXPECT_TRUE(first.cleared);
  EXPECT_EQ(first.request, 0);
  EXPECT_TRUE(second.boundToBuffers);
  EXPECT_TRUE(second.cleared);  // another thread's change is not seen here
  EXPECT_EQ(second.request, 0);
  EXPECT_EQ(secondResponse, 0);
  EXPECT_EQ(secondPosition, "");
  EXPECT_NE(first.win, second.win);
  EXPECT_NE(first.win2, second.win2);
  EXPECT_NE(first.win001, second.win001);
  EXPECT_EQ(first.win, firstAgain.win);
  EXPECT_FALSE(firstAgain.cleared);
  EXPECT_EQ(firstAgain.request, 2);
}

TEST(StoreThread, AThreadThatEndsClosesItsFiles) {
  wevo::testing::TempDir dir;
  setStoreFileName(dir.file("SALES.wevo"));
  setStoreOwner("");
  bool openInThread = false;
  ProgramResult r = runScripted(Script(), [&] {
    start([&] {
      openCounted(winFile());  // and never closed
      openInThread = winFile().isOpen();
    });
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(openInThread);
  // The ended thread's instance let go of the store.
  WindowControls record{};
  kf::File f(winDecl(), &record);
  EXPECT_TRUE(f.open(kf::kExclusive)) << kf::errorCode();
  f.close();
  setStoreFileName("");
}

}  // namespace
}  // namespace wevo::store
