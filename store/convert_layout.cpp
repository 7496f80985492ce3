#include "store/convert_layout.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_copy.h"
#include "store/window_controls.h"
#include "wevo/runtime.h"

namespace wevo::store {

bool ConvertLayout(const std::string& store, const kf::FileDecl& from, const kf::FileDecl& to, int number,
                   std::string_view owner) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%02d.bak", number);
  StoreCopy copy;
  copy.from = &from;
  copy.to = &to;
  copy.fromOwner = kf::Secret(owner);
  copy.toOwner = kf::Secret(owner);
  copy.tempName = layoutTempName(store);
  copy.backupName = store + suffix;
  const size_t bytes = std::min(from.recordSize, to.recordSize);
  copy.transfer = [bytes](const void* src, void* dst) { std::memcpy(dst, src, bytes); };
  return copyStore(store, copy);
}

bool convertFirstLayout(const std::string& store, std::string_view owner) {
  std::vector<char> record(win001Decl().recordSize);
  kf::File old(win001Decl(), record.data());
  old.setName(store);
  old.setOwner(owner);
  if (!old.open(kf::kExclusive)) {
    message("Conversion 01 error: " + std::to_string(kf::errorCode()) + " " + kf::errorText());
    return false;
  }
  old.close();
  return ConvertLayout(store, win001Decl(), winDecl(), 1, owner);
}

}  // namespace wevo::store
