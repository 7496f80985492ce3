// libFuzzer target over the store's open path: a real store, damaged as the
// input says, meets a program that customises a window and stores a control
// through the library. Whatever the bytes, the program must come to one of
// the outcomes the store defines (it goes on, it reports through the store's
// messages, or it ends in order with the open-with-recovery text); anything
// else aborts, which libFuzzer reports with the input.
//
// The input edits one of two seed stores (plain and password-protected) made
// once per process, so that mutations start from a valid database instead of
// from nothing:
//   byte 0       bit 0: the protected seed; bits 1-2: what the rest does
//                (0 overwrite, 1 cut short, 2 append, 3 leave as a journal)
//   bytes 1-3    an offset into the seed (little-endian, taken modulo its size)
//   the rest     the bytes written, appended or left as the journal
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "apply/capture.h"
#include "tests/reliability/answering_view.h"
#include "tests/reliability/host_windows.h"
#include "tests/reliability/store_outcome.h"
#include "tests/testing/base/file_bytes.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace {

using namespace wevo;
using namespace wevo::reliability;

constexpr const char* kPassword = "fuzzed store password";
constexpr const char* kProcedure = "FuzzWindow";
constexpr int kControls = 8;

using wevo::testing::fileBytes;
using wevo::testing::writeFileBytes;

// The program every input meets: customise, store a moved control, reopen.
ProgramResult customise(const std::string& folder, const std::string& password) {
  return run(
      [&] {
        WEVOSETTINGS settings = settingsFor(folder, password);
        Window w(windowOf(kProcedure, kControls));
        w.open();
        WEVO::SETWINDOWCONTROLS(w, kProcedure, "Desk", settings);
        w.set(0, PROP::Pixels, 0);
        w.setPosition(2, 40, 30, 30, 12);
        apply::StoreControlPlacement(2, w, kProcedure, "Desk", controlLabel(2));
        Window again(windowOf(kProcedure, kControls));
        again.open();
        WEVO::SETWINDOWCONTROLS(again, kProcedure, "Desk", settings);
      },
      programOptions(answeringView()));
}

struct Seeds {
  wevo::testing::TempDir dir;
  std::string plain, protectedStore;
};

std::string makeSeed(const Seeds& s, const std::string& password) {
  const std::string path = storePathIn(s.dir.path());
  ::unlink(path.c_str());
  ProgramResult r = customise(s.dir.path(), password);
  if (outcomeOf(r) != Outcome::kWentOn) {
    std::fprintf(stderr, "store_open_fuzz: making a seed store failed\n%s", describe(r).c_str());
    std::abort();
  }
  std::string bytes = fileBytes(path);
  ::unlink(path.c_str());
  return bytes;
}

Seeds& seeds() {
  static Seeds* s = [] {
    auto* made = new Seeds;
    made->plain = makeSeed(*made, "");
    made->protectedStore = makeSeed(*made, kPassword);
    return made;
  }();
  return *s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Seeds& s = seeds();
  const bool isProtected = size > 0 && (data[0] & 1) != 0;
  const int action = size > 0 ? (data[0] >> 1) & 3 : 0;
  std::string store = isProtected ? s.protectedStore : s.plain;
  size_t offset = 0;
  for (size_t i = 1; i < 4 && i < size; ++i) offset |= size_t{data[i]} << (8 * (i - 1));
  offset %= store.size();
  const std::string payload = size > 4 ? std::string(reinterpret_cast<const char*>(data) + 4, size - 4) : "";
  std::string journal;
  switch (action) {
    case 0:
      for (size_t i = 0; i < payload.size() && offset + i < store.size(); ++i) store[offset + i] = payload[i];
      break;
    case 1:
      store.resize(offset);
      break;
    case 2:
      store += payload;
      break;
    default:
      journal = payload;
      break;
  }

  const std::string path = storePathIn(s.dir.path());
  writeFileBytes(path, store);
  ::unlink((path + "-journal").c_str());
  if (!journal.empty()) writeFileBytes(path + "-journal", journal);

  ProgramResult r = customise(s.dir.path(), isProtected ? kPassword : "");
  std::string why;
  if (outcomeOf(r, &why) == Outcome::kUndefined) {
    std::fprintf(stderr, "store_open_fuzz: an outcome the store does not define: %s\n%s", why.c_str(),
                 describe(r).c_str());
    std::abort();
  }
  ::unlink(path.c_str());
  ::unlink((path + "-journal").c_str());
  return 0;
}
