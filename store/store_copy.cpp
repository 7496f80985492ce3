#include "store/store_copy.h"

#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/whole_file.h"
#include "store/conversion_progress.h"
#include "store/test_hook.h"
#include "wevo/runtime.h"

namespace wevo::store {
namespace {

using detail::CopyStep;

TestHook<CopyStep, uint32_t>& hook() {
  static TestHook<CopyStep, uint32_t> h;
  return h;
}

// One copy in progress: the store held open for it, the new file, and
// what is shown meanwhile.
class Copier {
 public:
  Copier(const std::string& storeName, const StoreCopy& c)
      : c_(c),
        storeName_(storeName),
        fromRecord_(c.from->recordSize),
        toRecord_(c.to->recordSize),
        from_(*c.from, fromRecord_.data()),
        to_(*c.to, toRecord_.data()),
        hook_(hook().get()) {}

  ~Copier() {
    if (!done_) {
      to_.close();
      kf::File::removeFile(c_.tempName);
    }
  }

  bool run() {
    from_.setName(storeName_);
    from_.setOwner(c_.fromOwner.view());
    // Others are kept out until the new file has replaced the store.
    if (!from_.open(kf::kExclusive)) return failed();
    from_.setPhysical();
    kf::File::removeFile(c_.tempName);  // left by an interrupted conversion
    to_.setName(c_.tempName);
    to_.setOwner(c_.toOwner.view());
    if (!to_.create() || !to_.open(kf::kExclusive)) return failed();
    step(CopyStep::kTempCreated, 0);
    if (!from_.stream() || !to_.stream()) return failed();
    progress_.show();
    if (!copyRows()) return false;
    progress_.close();
    if (!from_.flush() || !to_.flush() || !to_.build() || !to_.close()) return failed();
    step(CopyStep::kTempComplete, rows_);
    if (kf::copyWholeFile(storeName_, c_.backupName) != kf::kNoError) return failed();
    step(CopyStep::kBackupWritten, rows_);
    // The replacement: the new file's bytes land beside the store and are
    // renamed over it, so the store is one whole file or the other.
    if (!to_.copy(storeName_)) return failed();
    step(CopyStep::kStoreReplaced, rows_);
    done_ = true;
    kf::File::removeFile(c_.tempName);
    from_.close();
    return true;
  }

 private:
  bool copyRows() {
    const bool blobs = !c_.from->blob.empty() && !c_.to->blob.empty();
    for (;;) {
      if (!from_.next()) {
        if (kf::errorCode() == kf::kErrNoRecord) return true;
        return failed();
      }
      kf::clearRecord(*c_.to, toRecord_.data());
      c_.transfer(fromRecord_.data(), toRecord_.data());
      if (blobs)
        to_.blobSet(from_.blobGet());
      else
        to_.blobSetSize(0);
      if (!to_.append()) return failed();
      ++rows_;
      progress_.count(rows_);
      step(CopyStep::kRowCopied, rows_);
    }
  }

  bool failed() {
    ReportFileError();
    progress_.close();
    return false;
  }

  void step(CopyStep s, uint32_t rows) {
    if (hook_) hook_(s, rows);
  }

  const StoreCopy& c_;
  const std::string storeName_;
  std::vector<char> fromRecord_;
  std::vector<char> toRecord_;
  kf::File from_;
  kf::File to_;
  ConversionProgress progress_;
  std::function<void(CopyStep, uint32_t)> hook_;
  uint32_t rows_ = 0;
  bool done_ = false;
};

}  // namespace

bool copyStore(const std::string& storeName, const StoreCopy& copy) {
  Copier copier(storeName, copy);
  return copier.run();
}

int ReportFileError() {
  const int code = kf::errorCode();
  if (code == kf::kNoError) return 0;
  message("Error: " + (code == kf::kErrDriver ? kf::driverErrorText() : kf::errorText()));
  return code;
}

std::string layoutTempName(const std::string& storeName) { return storeName + ".converting"; }
std::string protectTempName(const std::string& storeName) { return storeName + ".protecting"; }

namespace detail {
void setCopyHook(std::function<void(CopyStep, uint32_t)> fn) { hook().set(std::move(fn)); }
}  // namespace detail

}  // namespace wevo::store
