#include "admin/store_transfer.h"

#include <cstring>
#include <filesystem>
#include <vector>

#include "admin/admin_store.h"
#include "admin/failure.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"

namespace wevo::admin {
namespace {

bool sameStore(const StoreLocation& a, const StoreLocation& b) {
  if (a.server || b.server) return a.name == b.name;
  std::error_code ec;
  return std::filesystem::weakly_canonical(a.name, ec) == std::filesystem::weakly_canonical(b.name, ec);
}

[[noreturn]] void stepFailed(const StoreLocation& where, const std::string& step) {
  throw Failure(kExitStoreError, where.given + ": " + step + ": " + store::errorText() + "; nothing was copied");
}

// The new store while it is filled. A file is built under a temporary name
// beside TO ("<to>.copying"), which is gone again when the copy ends (given
// TO's name, or abandoned). A server store is filled under its own name in
// one write transaction, which a copy that fails rolls back (removing the
// store again when the copy made it).
class NewStore {
 public:
  explicit NewStore(const CopyEnd& to)
      : to_(to),
        server_(to.location.server),
        name_(server_ ? to.location.name : to.location.name + ".copying"),
        record_(store::win2Decl().recordSize),
        file_(store::win2Decl(), record_.data()) {
    file_.setName(name_);
    file_.setOwner(to.password.view());
  }
  ~NewStore() {
    file_.close();  // rolls back a transaction not committed
    if (!server_ || (made_ && !committed_)) kf::File::removeFile(name_, to_.password);
  }
  NewStore(const NewStore&) = delete;
  NewStore& operator=(const NewStore&) = delete;

  // Fails (kExitExists) when a store with rows is at TO (on a server, an
  // empty one, as a station leaves it, is filled).
  void requireFree() {
    if (!kf::File::exists(to_.location.name, to_.password)) {
      if (kf::errorCode() != kf::kNoError) stepFailed(to_.location, "asking whether a store is there");
      return;
    }
    uint64_t rows = 0;
    if (server_) {
      if (!file_.open() || !file_.records(rows) || !file_.close()) stepFailed(to_.location, "counting its rows");
      if (rows == 0) return;
    }
    throw Failure(kExitExists, to_.location.given +
                                   ": a store is there already; a copy never replaces one "
                                   "(remove it first, or import into it)");
  }

  // The store empty, ready to take rows.
  void start() {
    if (server_) {
      if (!kf::File::exists(name_, to_.password)) {
        if (!file_.create()) stepFailed(to_.location, "making the new store");
        made_ = true;
      }
      if (!file_.open(kf::kExclusive) || !file_.begin(store::StoreTransaction::kWaitSeconds))
        stepFailed(to_.location, "opening the new store");
      return;
    }
    kf::File::removeFile(name_);  // left by an interrupted copy
    if (!file_.create() || !file_.open(kf::kExclusive) || !file_.stream())
      stepFailed(to_.location, "making the new store");
  }

  void add(const std::string& blob, uint64_t number) {
    std::memcpy(record_.data(), &store::WIN(), sizeof(store::WindowControls));
    if (blob.empty() ? !file_.blobSetSize(0) : !file_.blobSet(blob)) stepFailed(to_.location, "writing a blob");
    if (!file_.append()) stepFailed(to_.location, "writing row " + std::to_string(number));
  }

  // The keys built and the rows the new store holds counted (on a server
  // inside the transaction, which stays open).
  uint64_t complete() {
    uint64_t counted = 0;
    if (server_) {
      if (!file_.build() || !file_.records(counted)) stepFailed(to_.location, "completing the new store");
      return counted;
    }
    if (!file_.flush() || !file_.build() || !file_.close()) stepFailed(to_.location, "completing the new store");
    if (!file_.open() || !file_.records(counted) || !file_.close()) stepFailed(to_.location, "counting the copy's rows");
    counted_ = counted;
    return counted;
  }

  // Puts the counted copy in place at TO; returns the rows it holds there.
  uint64_t install() {
    uint64_t counted = 0;
    if (server_) {
      if (!file_.commit()) stepFailed(to_.location, "committing the copy");
      committed_ = true;
      if (!file_.close() || !file_.open() || !file_.records(counted) || !file_.close())
        stepFailed(to_.location, "counting the copy's rows");
      return counted;
    }
    if (kf::File::exists(to_.location.name))
      throw Failure(kExitExists, to_.location.given + ": a store was made there while copying; nothing was copied");
    if (!file_.copy(to_.location.name)) stepFailed(to_.location, "giving the copy its name");
    return counted_;
  }

 private:
  const CopyEnd& to_;
  bool server_;
  std::string name_;
  std::vector<char> record_;
  kf::File file_;
  bool made_ = false;       // on a server: this copy made the store
  bool committed_ = false;  // on a server: the rows are in
  uint64_t counted_ = 0;    // a file: the rows counted under the temporary name
};

}  // namespace

void copyWholeStore(const CopyEnd& from, const CopyEnd& to, std::ostream& out) {
  if (sameStore(from.location, to.location)) throw Failure(kExitUsage, "FROM and TO name the same store");
  AdminStore source(from.location, from.password);
  source.requireExisting();
  NewStore target(to);
  target.requireFree();
  uint64_t expected = 0;
  uint64_t copied = 0;
  uint64_t counted = 0;
  {
    StoreInUse use;
    auto snapshot = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
    requireBegun(snapshot);
    kf::File& in = store::winFile();
    if (!in.records(expected)) stepFailed(from.location, "counting its rows");
    target.start();
    in.setPhysical();
    while (in.next()) target.add(in.blobGet(), ++copied);
    if (kf::errorCode() != kf::kErrNoRecord) stepFailed(from.location, "reading row " + std::to_string(copied + 1));
    counted = target.complete();
  }
  if (copied != expected || counted != expected)
    throw Failure(kExitStoreError, "count check failed: " + from.location.given + " has " + std::to_string(expected) +
                                       " rows, " + std::to_string(copied) + " were copied and the copy holds " +
                                       std::to_string(counted) + "; nothing was copied");
  counted = target.install();
  out << "copied " << counted << (counted == 1 ? " row" : " rows") << " from " << from.location.given << " to "
      << to.location.given << " (count checked)\n";
}

}  // namespace wevo::admin
