#include "controllist/queue_row_label.h"

#include "apply/row_identity.h"
#include "wevo/text.h"

namespace wevo::controllist {

std::string StoredLabel(const Window& host, const WNCTL& row) {
  const std::string listed(text::clipped(row.LABEL));
  if (row.FEQ == 0) return apply::RowLabel(host, 0);
  const std::string live = apply::RowLabel(host, row.FEQ);
  // Only a label the queue had to cut differs from the live one; any other
  // difference means the control was replaced since the queue was built.
  const bool cut = listed.size() == sizeof row.LABEL;
  if (live == listed || (cut && live.compare(0, listed.size(), listed) == 0)) return live;
  return listed;
}

}  // namespace wevo::controllist
