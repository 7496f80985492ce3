#include "design/design_popup.h"

#include "apply/apply_row.h"
#include "apply/row_identity.h"
#include "browse/browse_form_fields.h"
#include "controllist/control_list_window.h"
#include "controllist/queue_row_label.h"
#include "controllist/reset_to_original.h"
#include "design/design_session.h"
#include "editor/property_form.h"
#include "store/store_thread.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::design {
namespace {

enum Item : int { kNone = 0, kEdit = 1, kBrowse = 2, kControlList = 3, kReset = 4, kQuit = 5 };

// What the menu names the control by, and the label its row is stored under.
struct Names {
  std::string listed;
  std::string stored;
};

Names NamesOf(DesignSession& session, int32_t control) {
  if (const controllist::WNCTL* row = controllist::FindByFeq(session.controls(), control))
    return {std::string(text::clipped(row->LABEL)), controllist::StoredLabel(session.host(), *row)};
  // Not listed (created after design mode started): named as the window names it.
  const std::string label = apply::RowLabel(session.host(), control);
  return {label, label};
}

void ShowOverlay(Window& overlay) { overlay.set(0, PROP::Hide, 0); }

// Design mode takes the input back.
void TakeInputBack(Window& host, Window& overlay) {
  host.set(0, PROP::Pixels, 1);
  ShowOverlay(overlay);
  releaseCapture();
  setCapture(overlay.handle());
  setFocus(overlay.get(0, PROP::ClientHandle).num());
  overlay.set(0, PROP::Hide, 1);
}

}  // namespace

std::string DesignMenuText(std::string_view label) {
  const std::string name(text::clip(label));
  return "Edit " + name + "|Show Processed Fields|Full Field List/Tab Order|Reset " + name +
         " to original|Quit Editing Mode";
}

bool runDesignPopup(DesignSession& session) {
  Window& host = session.host();
  Window& overlay = session.overlay();
  const int32_t control = session.state().CONTROLNO;
  const Names names = NamesOf(session, control);

  releaseCapture();
  host.set(0, PROP::Pixels, 0);
  switch (popup(DesignMenuText(names.listed))) {
    case kEdit:
      host.set(0, PROP::Pixels, 0);
      ShowOverlay(overlay);
      store::GlobalRequest() = 0;
      editor::UpdateScreenControlProperties(host, control, names.stored, session.uniqueMarker(),
                                            session.procedureName());
      if (store::GlobalResponse() == store::kResponseCompleted) apply::ApplyRow(host, control);
      host.set(0, PROP::Pixels, 1);
      break;
    case kBrowse:
      ShowOverlay(overlay);
      browse::BrowseFormFields(host, session.procedureName(), session.uniqueMarker());
      break;
    case kControlList:
      ShowOverlay(overlay);
      controllist::ControlListWindow(session.controls(), host, session.procedureName(), session.uniqueMarker());
      break;
    case kReset:
      // Only a row that was reset is applied: a control without one keeps its look.
      if (controllist::ResetControlToOriginal(session.procedureName(), names.stored, session.uniqueMarker()))
        apply::ApplyRow(host, control);
      break;
    case kQuit:
      return true;
    default:
      break;
  }
  TakeInputBack(host, overlay);
  return false;
}

}  // namespace wevo::design
