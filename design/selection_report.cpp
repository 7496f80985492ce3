#include "design/selection_report.h"

#include "apply/row_identity.h"
#include "design/pixel_rect.h"
#include "platform/toolkit/accessibility.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::design {

std::string SelectionReport(Window& host, controllist::ControlQueue& controls, int32_t field, size_t selected) {
  std::string label, kind;
  if (const controllist::WNCTL* row = controllist::FindByFeq(controls, field)) {
    label = std::string(text::clipped(row->LABEL));
    kind = std::string(text::clipped(row->TYPETXT));
  } else {
    label = apply::RowLabel(host, field);
  }
  if (field == 0) kind = "the window";
  const Value mode = host.get(0, PROP::Pixels);
  host.set(0, PROP::Pixels, 0);
  const PixelRect at = RectOf(host, field);
  host.set(0, PROP::Pixels, mode);
  std::string out = label + (kind.empty() ? "" : ", " + kind) + ", at x " + std::to_string(at.x) + ", y " +
                    std::to_string(at.y) + ", width " + std::to_string(at.w) + ", height " + std::to_string(at.h);
  if (selected > 1) out += ", " + std::to_string(selected) + " controls selected";
  return out;
}

void SelectionAnnouncer::tell(Window& host, int32_t field, const std::string& report) {
  if (field == field_ && report == told_) return;
  field_ = field;
  told_ = report;
  toolkit::announce(host.handle(), field, report);
}

void SelectionAnnouncer::withdraw(Window& host) {
  if (told_.empty()) return;
  told_.clear();
  field_ = -1;
  toolkit::announce(host.handle(), 0, "");
}

}  // namespace wevo::design
