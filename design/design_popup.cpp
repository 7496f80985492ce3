#include "design/design_popup.h"

#include <vector>

#include "apply/apply_row.h"
#include "apply/row_identity.h"
#include "browse/browse_form_fields.h"
#include "controllist/control_list_window.h"
#include "controllist/queue_row_label.h"
#include "controllist/reset_to_original.h"
#include "design/align.h"
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

namespace {

// The menu's Edit, the host in dialog units.
void Edit(DesignSession& session, int32_t control, const Names& names) {
  Window& host = session.host();
  host.set(0, PROP::Pixels, 0);
  ShowOverlay(session.overlay());
  store::GlobalRequest() = 0;
  editor::UpdateScreenControlProperties(host, control, names.stored, session.uniqueMarker(),
                                        session.procedureName());
  if (store::GlobalResponse() == store::kResponseCompleted) apply::ApplyRow(host, control);
  host.set(0, PROP::Pixels, 1);
}

// Reset to original of every selected control, the host in dialog units.
// Only a row that was reset is applied: a control without one keeps its look.
void Reset(DesignSession& session, const std::vector<int32_t>& selected) {
  for (int32_t control : selected)
    if (controllist::ResetControlToOriginal(session.procedureName(), NamesOf(session, control).stored,
                                            session.uniqueMarker()))
      apply::ApplyRow(session.host(), control);
}

void Align(DesignSession& session, AlignCommand command, const std::vector<int32_t>& selected) {
  Window& host = session.host();
  host.set(0, PROP::Pixels, 1);
  std::vector<PixelRect> rects;
  for (int32_t f : selected) rects.push_back(RectOf(host, f));
  const std::vector<PixelRect> to = Aligned(command, rects);
  for (size_t i = 0; i < selected.size(); ++i) {
    if (to[i] == rects[i]) continue;
    PlaceAt(host, selected[i], to[i]);
    session.storePlacement(selected[i]);
  }
  session.remark();
}

// The control list's commands as steps of the undo history.
controllist::ListCommandWatch WatchFor(DesignSession& session) {
  using controllist::ListCommandWatch;
  ListCommandWatch watch;
  watch.before = [&session](ListCommandWatch::Command command, int32_t feq) {
    std::vector<int32_t> fields{feq};
    if (command == ListCommandWatch::kApplyTabOrder) {
      fields.clear();
      for (const controllist::WNCTL& row : session.controls()) fields.push_back(row.FEQ);
    }
    switch (command) {
      case ListCommandWatch::kEdit: case ListCommandWatch::kApplyTabOrder:
        session.history().begin(StepKind::kRowsOnly, fields);  // the list leaves the controls as they are
        break;
      case ListCommandWatch::kResetSelected:
        session.history().begin(StepKind::kProperties, fields);
        break;
      case ListCommandWatch::kResetList:
        break;
    }
  };
  watch.after = [&session](ListCommandWatch::Command command, int32_t) {
    if (command == ListCommandWatch::kResetList)
      session.history().clear();  // the rows its steps name may be gone
    else
      session.history().end();
  };
  return watch;
}

}  // namespace

bool runDesignPopup(DesignSession& session) {
  Window& host = session.host();
  Window& overlay = session.overlay();
  const int32_t control = session.state().CONTROLNO;
  const Names names = NamesOf(session, control);
  const std::vector<int32_t> selected = session.selection().all(session.state());
  std::string menu = DesignMenuText(names.listed);
  if (selected.size() > 1) menu += "|-|" + AlignMenuText();

  releaseCapture();
  host.set(0, PROP::Pixels, 0);
  const int item = popup(menu);
  switch (item) {
    case kEdit:
      session.history().begin(StepKind::kProperties, {control});
      Edit(session, control, names);
      session.history().end();
      break;
    case kBrowse:
      ShowOverlay(overlay);
      browse::BrowseFormFields(host, session.procedureName(), session.uniqueMarker());
      break;
    case kControlList:
      ShowOverlay(overlay);
      controllist::ControlListWindow(session.controls(), host, session.procedureName(), session.uniqueMarker(),
                                     WatchFor(session));
      break;
    case kReset:
      session.history().begin(StepKind::kProperties, selected);
      Reset(session, selected);
      session.history().end();
      break;
    case kQuit:
      return true;
    default:
      if (item > kQuit && item <= kQuit + kAlignCommands) {
        session.history().begin(StepKind::kPlacement, selected);
        Align(session, static_cast<AlignCommand>(item - kQuit - 1), selected);
        session.history().end();
      }
      break;
  }
  TakeInputBack(host, overlay);
  return false;
}

void EditSelection(DesignSession& session) {
  const int32_t control = session.state().CONTROLNO;
  const Names names = NamesOf(session, control);
  releaseCapture();
  Edit(session, control, names);
  TakeInputBack(session.host(), session.overlay());
}

}  // namespace wevo::design
