#include "store/store_thread.h"

#include <cstdlib>

#include "platform/keyedfile/error.h"

namespace wevo::store {
namespace {

struct ThreadStore {
  ThreadStore() {
    // The keyed files' per-thread error state must outlive the instances
    // below, which may still report while they close at thread end: made
    // first, it is destroyed last.
    (void)kf::errorCode();
    kf::clearRecord(winDecl(), &win);
    kf::clearRecord(win2Decl(), &win2);
    kf::clearRecord(win001Decl(), &win001);
    kf::clearRecord(winDecl(), &check);
  }

  WindowControls win{};
  WindowControls win2{};
  WindowControls001 win001{};
  WindowControls check{};
  kf::File winFile{winDecl(), &win};
  kf::File win2File{win2Decl(), &win2};
  kf::File win001File{win001Decl(), &win001};
  kf::File checkFile{winDecl(), &check};
  int winUses = 0;
  int win2Uses = 0;
  int win001Uses = 0;
  int32_t globalRequest = 0;
  int32_t globalResponse = 0;
  std::string updatePosition;
};

ThreadStore& thisThread() {
  thread_local ThreadStore t;
  return t;
}

}  // namespace

WindowControls& WIN() { return thisThread().win; }
WindowControls& WIN2() { return thisThread().win2; }
WindowControls001& WIN_001() { return thisThread().win001; }

kf::File& winFile() { return thisThread().winFile; }
kf::File& win2File() { return thisThread().win2File; }
kf::File& win001File() { return thisThread().win001File; }
kf::File& formatCheckFile() { return thisThread().checkFile; }

int& useCount(kf::File& file) {
  ThreadStore& t = thisThread();
  if (&file == &t.winFile) return t.winUses;
  if (&file == &t.win2File) return t.win2Uses;
  if (&file == &t.win001File) return t.win001Uses;
  // A file of another thread or a private instance has no count here; using
  // one would count against the wrong open state.
  std::abort();
}

int32_t& GlobalRequest() { return thisThread().globalRequest; }
int32_t& GlobalResponse() { return thisThread().globalResponse; }
std::string& updatePosition() { return thisThread().updatePosition; }

}  // namespace wevo::store
