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

// The new store while it is filled under its temporary name, which is gone
// again when the copy ends (given the store's name, or abandoned).
class NewStore {
 public:
  explicit NewStore(const CopyEnd& to)
      : name_(to.location.name + ".copying"),
        record_(store::win2Decl().recordSize),
        file_(store::win2Decl(), record_.data()) {
    file_.setName(name_);
    file_.setOwner(to.password.view());
  }
  ~NewStore() {
    file_.close();
    kf::File::removeFile(name_);
  }
  NewStore(const NewStore&) = delete;
  NewStore& operator=(const NewStore&) = delete;

  kf::File& file() { return file_; }
  void* record() { return record_.data(); }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::vector<char> record_;
  kf::File file_;
};

[[noreturn]] void stepFailed(const StoreLocation& where, const std::string& step) {
  throw Failure(kExitStoreError, where.given + ": " + step + ": " + store::errorText() + "; nothing was copied");
}

}  // namespace

void copyWholeStore(const CopyEnd& from, const CopyEnd& to, std::ostream& out) {
  if (sameStore(from.location, to.location)) throw Failure(kExitUsage, "FROM and TO name the same store");
  AdminStore source(from.location, from.password);
  source.requireExisting();
  if (kf::File::exists(to.location.name))
    throw Failure(kExitExists, to.location.given +
                                   ": a store is there already; a copy never replaces one "
                                   "(remove it first, or import into it)");
  uint64_t expected = 0;
  uint64_t copied = 0;
  NewStore target(to);
  kf::File& file = target.file();
  {
    store::StoreUse use;
    auto snapshot = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
    requireBegun(snapshot);
    kf::File& in = store::winFile();
    if (!in.records(expected)) stepFailed(from.location, "counting its rows");
    kf::File::removeFile(target.name());  // left by an interrupted copy
    if (!file.create() || !file.open(kf::kExclusive) || !file.stream()) stepFailed(to.location, "making the new store");
    in.setPhysical();
    while (in.next()) {
      std::memcpy(target.record(), &store::WIN(), sizeof(store::WindowControls));
      const std::string blob = in.blobGet();
      if (blob.empty() ? !file.blobSetSize(0) : !file.blobSet(blob)) stepFailed(to.location, "writing a blob");
      if (!file.append()) stepFailed(to.location, "writing row " + std::to_string(copied + 1));
      ++copied;
    }
    if (kf::errorCode() != kf::kErrNoRecord) stepFailed(from.location, "reading row " + std::to_string(copied + 1));
    if (!file.flush() || !file.build() || !file.close()) stepFailed(to.location, "completing the new store");
  }
  uint64_t counted = 0;
  if (!file.open() || !file.records(counted) || !file.close()) stepFailed(to.location, "counting the copy's rows");
  if (copied != expected || counted != expected)
    throw Failure(kExitStoreError, "count check failed: " + from.location.given + " has " + std::to_string(expected) +
                                       " rows, " + std::to_string(copied) + " were copied and the copy holds " +
                                       std::to_string(counted) + "; nothing was copied");
  if (kf::File::exists(to.location.name))
    throw Failure(kExitExists, to.location.given + ": a store was made there while copying; nothing was copied");
  if (!file.copy(to.location.name)) stepFailed(to.location, "giving the copy its name");
  out << "copied " << counted << (counted == 1 ? " row" : " rows") << " from " << from.location.given << " to "
      << to.location.given << " (count checked)\n";
}

}  // namespace wevo::admin
