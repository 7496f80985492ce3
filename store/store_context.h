// The store one entry call works on: its file name and password, taken once
// from the caller's settings when the call begins and passed down from
// there, so that another thread setting other settings meanwhile changes
// nothing for this call.
//
// The store's process-wide name and password variables (store_file_vars.h)
// still hold the last call's values, as a mirror for whoever reads them; the
// library's own files do not take their name or password from them while a
// context is bound (below).
#ifndef WEVO_STORE_STORE_CONTEXT_H_
#define WEVO_STORE_STORE_CONTEXT_H_

#include <string>

#include "platform/keyedfile/secret.h"

namespace wevo::store {

struct StoreContext {
  std::string path;      // the store's file name (at most 256 characters)
  kf::Secret password;   // trailing blanks removed; empty: none
};

// For the life of the object, the calling thread's store declarations
// (winDecl(), win2Decl(), win001Decl()) name the context's file and password
// whenever one of them is created, opened, copied or removed. Bindings nest:
// the inner one holds until it ends. `context` must outlive the object.
class StoreBinding {
 public:
  explicit StoreBinding(const StoreContext& context);
  ~StoreBinding();
  StoreBinding(const StoreBinding&) = delete;
  StoreBinding& operator=(const StoreBinding&) = delete;

 private:
  const StoreContext* previous_;
};

// What the declarations read: the context bound on the calling thread, or,
// with none bound, the process-wide variables.
std::string boundStoreName();
kf::Secret boundStoreOwner();

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_CONTEXT_H_
