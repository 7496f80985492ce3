#include "store/store_context.h"

#include "store/store_file_vars.h"

namespace wevo::store {
namespace {

thread_local const StoreContext* tBound = nullptr;

}  // namespace

StoreBinding::StoreBinding(const StoreContext& context) : previous_(tBound) { tBound = &context; }

StoreBinding::~StoreBinding() { tBound = previous_; }

std::string boundStoreName() { return tBound != nullptr ? tBound->path : storeFileName(); }

kf::Secret boundStoreOwner() { return tBound != nullptr ? tBound->password : storeOwner(); }

}  // namespace wevo::store
