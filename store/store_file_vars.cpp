#include "store/store_file_vars.h"

#include "platform/base/mutex.h"
#include "wevo/text.h"

namespace wevo::store {
namespace {

std::string cut(std::string_view value, size_t width) {
  return std::string(text::clip(value.substr(0, width)));
}

class Vars {
 public:
  void setName(std::string_view name) EXCLUDES(mutex_) {
    std::string value = cut(name, kFileNameWidth);
    base::MutexLock lock(mutex_);
    name_ = std::move(value);
  }
  void setOwner(std::string_view owner) EXCLUDES(mutex_) {
    kf::Secret value(text::clip(owner.substr(0, kOwnerWidth)));
    base::MutexLock lock(mutex_);
    owner_ = std::move(value);
  }
  std::string name() const EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    return name_;
  }
  kf::Secret owner() const EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    return owner_;
  }

 private:
  mutable base::Mutex mutex_;
  std::string name_ GUARDED_BY(mutex_);
  kf::Secret owner_ GUARDED_BY(mutex_);
};

Vars& vars() {
  static Vars v;
  return v;
}

}  // namespace

void setStoreFileName(std::string_view name) { vars().setName(name); }
void setStoreOwner(std::string_view owner) { vars().setOwner(owner); }
std::string storeFileName() { return vars().name(); }
kf::Secret storeOwner() { return vars().owner(); }

}  // namespace wevo::store
