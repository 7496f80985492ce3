// The store a command works on, and the walks over its rows.
//
// The store is bound to the calling host thread for the command's life
// (store/store_context.h): the store layer's declarations and the thread's
// instances (winFile(), win2File()) name it and carry its password. It is
// opened through the store layer (store::StoreUse: the counted open with
// recovery), whose messages end the command as they end a program, and
// written only inside a store::StoreTransaction, so that a command that
// fails half way leaves the store as it found it.
#ifndef WEVO_ADMIN_ADMIN_STORE_H_
#define WEVO_ADMIN_ADMIN_STORE_H_

#include <functional>
#include <string>
#include <string_view>

#include "admin/layout_json.h"
#include "admin/store_location.h"
#include "platform/keyedfile/secret.h"
#include "store/store_context.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"

namespace wevo::admin {

class AdminStore {
 public:
  AdminStore(StoreLocation location, const kf::Secret& password);
  AdminStore(const AdminStore&) = delete;
  AdminStore& operator=(const AdminStore&) = delete;

  const StoreLocation& location() const { return location_; }
  const store::StoreContext& context() const { return context_; }
  bool isProtected() const { return !context_.password.empty(); }
  // Whether the store is there; for a server store also when the server
  // cannot be asked (the store's open then reports why).
  bool exists() const;
  // Fails (kExitNotFound) when the store does not exist: only import
  // creates one.
  void requireExisting() const;

 private:
  StoreLocation location_;
  store::StoreContext context_;
  store::StoreBinding binding_;
};

// One of the thread's store instances open for a scope, through the store
// layer's counted open with recovery (store::StoreUse). A store the layer
// did not open and yet did not end the command for (a server out of reach:
// message 30 shown and the store left closed, as a program goes on without
// it) ends the command here with that message, so that no command goes on
// to work on nothing and report a second error.
class StoreInUse {
 public:
  explicit StoreInUse(kf::File& file = store::winFile());

 private:
  store::StoreUse use_;
};

// Fails (kExitBusy) when `transaction` could not begin: a command writes all
// of its work in one transaction or none of it.
void requireBegun(const store::StoreTransaction& transaction);

// Which rows a walk visits: all, one procedure's, or one marker's of one
// procedure (names as the store keeps them: cut at their width, letter case
// and trailing blanks ignored).
struct RowRange {
  bool byProcedure = false;
  std::string procedure;
  bool byMarker = false;
  std::string marker;

  static RowRange all() { return {}; }
  static RowRange ofProcedure(std::string_view procedure);
  static RowRange ofMarker(std::string_view procedure, std::string_view marker);
  bool contains(const store::WindowControls& row) const;
};

// Calls `visit` with every row of `range`, blob included, in the order of the
// key over procedure, marker and label (letter case ignored; rows of equal
// key in the order they were added). The store must be open on this thread
// (winFile()); `visit` must not use winFile(). A row that cannot be read
// ends the command with message 35.
void walkRows(const RowRange& range, const std::function<void(const StoredRow&)>& visit);

// Reads the row (procedure, marker, label) into WIN(); false when there is
// none. The store must be open; other failures end the command (message 35).
bool getRow(std::string_view procedure, std::string_view marker, std::string_view label);

// A text cut to a field's width as the store keeps it, without trailing blanks.
std::string_view storedText(std::string_view value, size_t width);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_ADMIN_STORE_H_
