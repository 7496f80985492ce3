#include "store/store_context.h"

#include "store/store_file_vars.h"

namespace wevo::store {
namespace {

thread_local const StoreContext* tBound = nullptr;
thread_local StoreBinding* tBinding = nullptr;

}  // namespace

StoreBinding::StoreBinding(const StoreContext& context) : previous_(tBound), outer_(tBinding) {
  tBound = &context;
  tBinding = this;
}

StoreBinding::~StoreBinding() {
  tBound = previous_;
  tBinding = outer_;
}

bool serverFoundUnreachable() { return tBinding != nullptr && tBinding->unreachable_; }

void noteServerUnreachable() {
  if (tBinding != nullptr) tBinding->unreachable_ = true;
}

std::string boundStoreName() { return tBound != nullptr ? tBound->path : storeFileName(); }

kf::Secret boundStoreOwner() { return tBound != nullptr ? tBound->password : storeOwner(); }

}  // namespace wevo::store
