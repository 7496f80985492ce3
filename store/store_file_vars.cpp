#include "store/store_file_vars.h"

#include <mutex>

#include "wevo/text.h"

namespace wevo::store {
namespace {

struct Vars {
  std::mutex mutex;
  std::string name;
  std::string owner;
};

Vars& vars() {
  static Vars v;
  return v;
}

std::string cut(std::string_view value, size_t width) {
  return std::string(text::clip(value.substr(0, width)));
}

}  // namespace

void setStoreFileName(std::string_view name) {
  std::lock_guard lock(vars().mutex);
  vars().name = cut(name, kFileNameWidth);
}

void setStoreOwner(std::string_view owner) {
  std::lock_guard lock(vars().mutex);
  vars().owner = cut(owner, kOwnerWidth);
}

std::string storeFileName() {
  std::lock_guard lock(vars().mutex);
  return vars().name;
}

std::string storeOwner() {
  std::lock_guard lock(vars().mutex);
  return vars().owner;
}

}  // namespace wevo::store
