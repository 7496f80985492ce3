#include "admin/admin_store.h"

#include <utility>

#include "admin/failure.h"
#include "apply/row_identity.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_messages.h"
#include "store/store_thread.h"
#include "wevo/text.h"

namespace wevo::admin {
namespace {

[[noreturn]] void readFailed() {
  store::standardMessage(store::kMsgRetrievalError, store::kTableLabel);
  throw reportedByStore();
}

}  // namespace

AdminStore::AdminStore(StoreLocation location, const kf::Secret& password)
    : location_(std::move(location)), context_{location_.name, password}, binding_(context_) {}

bool AdminStore::exists() const {
  if (kf::File::exists(context_.path, context_.password)) return true;
  // A server that cannot be asked (out of reach, the password refused) gives
  // no answer: the store layer's open then says why, as it says it to a
  // program, rather than "no store there".
  return location_.server && kf::errorCode() != kf::kNoError;
}

void AdminStore::requireExisting() const {
  if (!exists()) throw Failure(kExitNotFound, location_.given + ": no store there");
}

StoreInUse::StoreInUse(kf::File& file) : use_(file) {
  if (!file.isOpen()) throw reportedByStore();
}

void requireBegun(const store::StoreTransaction& transaction) {
  if (!transaction.begun())
    throw Failure(kExitBusy, "the store stayed busy: another station held it past " +
                                 std::to_string(store::StoreTransaction::kWaitSeconds) +
                                 " s; nothing was changed, try again");
}

std::string_view storedText(std::string_view value, size_t width) {
  return text::clip(value.substr(0, value.size() < width ? value.size() : width));
}

RowRange RowRange::ofProcedure(std::string_view procedure) {
  RowRange r;
  r.byProcedure = true;
  r.procedure = std::string(storedText(procedure, sizeof(store::WindowControls::PROCEDURENAME)));
  return r;
}

RowRange RowRange::ofMarker(std::string_view procedure, std::string_view marker) {
  RowRange r = ofProcedure(procedure);
  r.byMarker = true;
  r.marker = std::string(storedText(marker, sizeof(store::WindowControls::UNIQUEMARKER)));
  return r;
}

bool RowRange::contains(const store::WindowControls& row) const {
  if (byProcedure && !text::sameNoCase(text::field(row.PROCEDURENAME), procedure)) return false;
  if (byMarker && !text::sameNoCase(text::field(row.UNIQUEMARKER), marker)) return false;
  return true;
}

void walkRows(const RowRange& range, const std::function<void(const StoredRow&)>& visit) {
  kf::File& file = store::winFile();
  store::WindowControls& row = store::WIN();
  apply::SetRowKey(row, range.procedure, range.marker, "");
  const bool positioned =
      range.byProcedure ? file.setAt(store::KEYPROCEDUREMARKERLABEL) : file.set(store::KEYPROCEDUREMARKERLABEL);
  if (!positioned) readFailed();
  StoredRow current;
  while (file.next()) {
    if (!range.contains(row)) return;
    current.record = row;
    current.blob = file.blobGet();
    visit(current);
  }
  if (kf::errorCode() != kf::kErrNoRecord) readFailed();
}

bool getRow(std::string_view procedure, std::string_view marker, std::string_view label) {
  apply::SetRowKey(store::WIN(), procedure, marker, label);
  if (store::winFile().get(store::KEYPROCEDUREMARKERLABEL)) return true;
  if (kf::errorCode() != kf::kErrNoRecord) readFailed();
  return false;
}

}  // namespace wevo::admin
