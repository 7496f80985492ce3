#include "controllist/shown_fields.h"

#include "wevo/codes.h"

namespace wevo::controllist {
namespace {

bool selected(const WNCTL& row, char show) {
  switch (show) {
    case kShowPrompts: return row.TYPE == TYPE::Prompt;
    case kShowEntries: return row.TYPE == TYPE::Entry;
    case kShowButtons: return row.TYPE == TYPE::Button;
    default: return true;
  }
}

}  // namespace

void FilterControlQueue(const ControlQueue& controls, char show, ControlQueue& shown) {
  shown.clear();
  for (const WNCTL& row : controls)
    if (selected(row, show)) shown.push_back(row);
}

}  // namespace wevo::controllist
