#include "browse/marker_queue.h"

#include <cstring>
#include <string>

#include "apply/row_identity.h"
#include "store/store_thread.h"
#include "wevo/text.h"

namespace wevo::browse {
namespace {

bool listed(const MarkerQueue& markers, std::string_view marker) {
  for (const AID& m : markers)
    if (text::sameNoCase(text::field(m.UNIQUEMARKER), marker)) return true;
  return false;
}

// Past every label: the key compares bytes above 'z' after its case folding,
// and no label is made of them.
const std::string& pastEveryLabel() {
  static const std::string past(sizeof(store::WindowControls::CONTROLLABEL), '\xFF');
  return past;
}

}  // namespace

void FillMarkerQueue(MarkerQueue& markers, std::string_view procedureName) {
  markers.clear();
  store::WindowControls& row = store::WIN2();
  kf::File& file = store::win2File();
  const std::string procedure = text::upper(text::clip(procedureName.substr(0, sizeof row.PROCEDURENAME)));
  apply::SetRowKey(row, procedureName, "", "");
  if (!file.setAt(store::KEYPROCEDUREMARKERLABEL)) return;
  while (file.next()) {
    if (text::upper(text::clipped(row.PROCEDURENAME)) != procedure) return;
    const std::string marker(text::field(row.UNIQUEMARKER));
    if (!listed(markers, marker)) {
      AID aid;
      std::memcpy(aid.UNIQUEMARKER, row.UNIQUEMARKER, sizeof aid.UNIQUEMARKER);
      markers.push_back(aid);
    }
    apply::SetRowKey(row, procedureName, marker, pastEveryLabel());
    if (!file.setAt(store::KEYPROCEDUREMARKERLABEL)) return;
  }
}

}  // namespace wevo::browse
