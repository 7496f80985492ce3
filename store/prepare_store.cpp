#include "store/prepare_store.h"

#include <string>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/convert_layout.h"
#include "store/protect_store.h"
#include "store/store_copy.h"
#include "store/store_name.h"
#include "store/window_controls.h"

namespace wevo::store {
namespace {

// Each pass of the check either finds nothing to do or makes one conversion
// that the next pass does not repeat: layout, protection, layout again.
constexpr int kMaxPasses = 4;

enum class Opened { kYes, kNo };

// Tries the store through the current layout with `owner`; on success the
// leftovers of interrupted conversions are removed while the store is held
// open (a conversion holds it alone from start to end, so none is running).
// The thread's error state tells why an open failed.
Opened tryCurrentLayout(const std::string& store, std::string_view owner) {
  WindowControls record{};
  kf::File file(winDecl(), &record);
  file.setName(store);
  file.setOwner(owner);
  if (!file.open(kf::kShared)) return Opened::kNo;
  for (const std::string& temp : {layoutTempName(store), protectTempName(store)}) kf::File::removeFile(temp);
  file.close();
  return Opened::kYes;
}

// One pass; true when it converted something and the check should run again.
bool checkOnce(const StoreContext& context) {
  const std::string& store = context.path;
  if (!kf::File::exists(store)) return false;
  const std::string_view password = context.password.view();
  if (tryCurrentLayout(store, password) == Opened::kYes) return false;
  const int code = kf::errorCode();
  if (code == kf::kErrLayout) {
    convertFirstLayout(store, password);
    return false;
  }
  if (password.empty() || code != kf::kErrBadPassword) return false;

  // Not readable with the password: is it a store without one?
  if (tryCurrentLayout(store, "") == Opened::kYes) return ProtectStore(store, password);
  if (kf::errorCode() == kf::kErrLayout) return convertFirstLayout(store, "");
  return false;
}

}  // namespace

StoreContext PrepareStore(WEVOSETTINGS& settings) {
  StoreContext context = applyStoreSettings(settings);
  checkStoreFormat(context);
  return context;
}

void checkStoreFormat(const StoreContext& context) {
  for (int pass = 0; pass < kMaxPasses && checkOnce(context); ++pass) {
  }
}

}  // namespace wevo::store
