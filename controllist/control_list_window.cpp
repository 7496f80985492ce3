#include "controllist/control_list_window.h"

#include <memory>
#include <optional>
#include <string>

#include "apply/apply_row.h"
#include "controllist/control_list_decl.h"
#include "controllist/queue_row_label.h"
#include "controllist/reset_list.h"
#include "controllist/reset_to_original.h"
#include "controllist/shown_fields.h"
#include "controllist/tab_order.h"
#include "editor/form_window.h"
#include "editor/property_form.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::controllist {
namespace {

constexpr const char* kCaption = "Wevo";

// Source fields 1 to 5 of both lists.
std::string ListCell(const WNCTL& row, int field) {
  switch (field) {
    case 1: return std::string(text::clipped(row.LABEL));
    case 2: return std::string(text::clipped(row.TYPETXT));
    case 3: return std::string(text::clipped(row.SCRTEXT));
    case 4: return std::string(text::clipped(row.STATETXT));
    case 5: return std::string(text::clipped(row.DESCRIPTION));
    default: return {};
  }
}

// One opening of the window, from its opening steps to its close.
class ListRun {
 public:
  ListRun(ControlQueue& controls, Window& host, std::string_view procedureName, std::string_view uniqueMarker,
          const ListCommandWatch& watch)
      : controls_(controls), host_(host), procedure_(procedureName), marker_(uniqueMarker), watch_(watch) {}
  ListRun(const ListRun&) = delete;
  ListRun& operator=(const ListRun&) = delete;

  void Run();

 private:
  int fieldOf(const char* label) const { return window_->fieldOf(label); }
  bool is(int field, const char* label) const { return field != 0 && field == fieldOf(label); }

  void OnEvent(int event, int field);
  void Filter();
  void Edit();
  void Move(bool up);
  void ResetList();
  void ResetSelected();
  // The selected row of the list the current tab shows; nullptr when none.
  const WNCTL* SelectedRow() const;
  // The row of `list` selected in `rows`; nullptr when none.
  const WNCTL* SelectedIn(const char* list, const ControlQueue& rows) const;
  // Runs `command` between the watch's before and after.
  void Watched(ListCommandWatch::Command command, int32_t feq, const std::function<void()>& work);

  ControlQueue& controls_;
  Window& host_;
  const std::string procedure_;
  const std::string marker_;
  const ListCommandWatch& watch_;

  char show_[1] = {kShowAll};
  ControlQueue shown_;
  VectorListSource<WNCTL> shownSource_{shown_, ListCell};
  VectorListSource<WNCTL> orderSource_{controls_, ListCell};
  editor::FormWindow window_;
};

void ListRun::Run() {
  RenumberTabOrder(controls_);
  FilterControlQueue(controls_, show_[0], shown_);
  editor::takeCallersRequest();

  store::StoreUse use;
  window_.open(ControlListDecl(show_));
  window_->setList(fieldOf(LIST::Fields), &shownSource_);
  window_->setList(fieldOf(LIST::TabOrder), &orderSource_);
  window_.run([this](int event, int field) { OnEvent(event, field); });
  window_->close();
  shown_.clear();
}

void ListRun::OnEvent(int event, int field) {
  switch (event) {
    case EVENT::OpenWindow:
      window_->display();
      window_->select(fieldOf(LIST::ShowAll));
      return;
    case EVENT::Sized:
      window_->post(EVENT::User);
      return;
    case EVENT::User:
      if (!window_->get(0, PROP::AcceptAll).truthy()) window_->display();
      return;
    case EVENT::Rejected:
      beep();
      window_->select(field);
      return;
    default:
      break;
  }
  if (is(field, LIST::Show)) {
    if (event == EVENT::Accepted || event == EVENT::NewSelection) Filter();
    return;
  }
  if (event == EVENT::AlertKey) {
    // A double click on the field list edits its row; on the tab order list it does nothing.
    if (is(field, LIST::Fields) && keyCode() == KEY::MouseLeft2) window_->post(EVENT::Accepted, fieldOf(LIST::Edit));
    return;
  }
  if (event != EVENT::Accepted) return;
  if (is(field, LIST::Edit)) {
    Edit();
  } else if (is(field, LIST::Up)) {
    Move(true);
  } else if (is(field, LIST::Down)) {
    Move(false);
  } else if (is(field, LIST::Apply)) {
    Watched(ListCommandWatch::kApplyTabOrder, 0, [this] { StoreTabOrder(controls_); });
  } else if (is(field, LIST::Reset)) {
    Watched(ListCommandWatch::kResetList, 0, [this] { ResetList(); });
  } else if (is(field, LIST::ResetSelected)) {
    ResetSelected();
  } else if (is(field, LIST::Cancel)) {
    window_->post(EVENT::CloseWindow);
  }
}

void ListRun::Watched(ListCommandWatch::Command command, int32_t feq, const std::function<void()>& work) {
  if (watch_.before) watch_.before(command, feq);
  work();
  if (watch_.after) watch_.after(command, feq);
}

void ListRun::Filter() {
  const int list = fieldOf(LIST::Fields);
  FilterControlQueue(controls_, show_[0], shown_);
  window_->setSelection(list, window_->selection(list));  // kept within the rows left
  window_->display(list);
}

const WNCTL* ListRun::SelectedIn(const char* list, const ControlQueue& rows) const {
  const int row = window_->selection(fieldOf(list));
  if (row < 1 || static_cast<size_t>(row) > rows.size()) return nullptr;
  return &rows[static_cast<size_t>(row) - 1];
}

const WNCTL* ListRun::SelectedRow() const {
  if (window_->selection(fieldOf(LIST::Sheet)) == fieldOf(LIST::TabFields)) return SelectedIn(LIST::Fields, shown_);
  return SelectedIn(LIST::TabOrder, controls_);
}

void ListRun::Edit() {
  const WNCTL* selected = SelectedIn(LIST::Fields, shown_);
  if (selected == nullptr) return;
  const int32_t feq = selected->FEQ;
  const std::string label = StoredLabel(host_, *selected);
  store::GlobalRequest() = 0;
  Watched(ListCommandWatch::kEdit, feq,
          [&] { editor::UpdateScreenControlProperties(host_, feq, label, marker_, procedure_); });
  if (store::GlobalResponse() != store::kResponseCompleted) return;
  const std::string_view description = text::field(store::WIN().DESCRIPTION).substr(0, sizeof(WNCTL::DESCRIPTION));
  for (WNCTL& row : shown_)
    if (row.FEQ == feq) text::assign(row.DESCRIPTION, description);
  if (WNCTL* row = FindByFeq(controls_, feq)) text::assign(row->DESCRIPTION, description);
  window_->display(fieldOf(LIST::Fields));
  window_->display(fieldOf(LIST::TabOrder));
}

void ListRun::Move(bool up) {
  const int list = fieldOf(LIST::TabOrder);
  const int selected = window_->selection(list);
  if (selected < 1) return;
  size_t position = static_cast<size_t>(selected);
  if (!(up ? MoveUp(controls_, position) : MoveDown(controls_, position))) return;
  window_->display(list);
  window_->setSelection(list, static_cast<int>(position));
}

void ListRun::ResetList() {
  const std::string question =
      "This will remove all the settings for the " + std::string(text::clip(marker_)) + " group.|Do you want to continue?";
  if (message(question, kCaption, ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::Yes) != BUTTON::Yes) return;
  DeleteWindowRows(procedure_, marker_);
  message("Completed.|Please exit Wevo mode and reopen window.", kCaption, ICON::Exclamation, BUTTON::Ok);
  window_->post(EVENT::CloseWindow);
}

void ListRun::ResetSelected() {
  const WNCTL* selected = SelectedRow();
  if (selected == nullptr) return;
  const int32_t feq = selected->FEQ;
  const std::string label = StoredLabel(host_, *selected);
  const std::string question = "Control " + std::string(text::clipped(selected->LABEL)) +
                               " will be reset to its original values.|Do you want to continue?";
  Watched(ListCommandWatch::kResetSelected, feq, [&] {
    if (message(question, kCaption, ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::Yes) != BUTTON::Yes) return;
    if (!ResetControlToOriginal(procedure_, label, marker_)) return;
    // Rows hold dialog units.
    const Value mode = host_.get(0, PROP::Pixels);
    host_.set(0, PROP::Pixels, 0);
    apply::ApplyRow(host_, feq);
    host_.set(0, PROP::Pixels, mode);
  });
}

}  // namespace

void ControlListWindow(ControlQueue& controls, Window& host, std::string_view procedureName,
                       std::string_view uniqueMarker, const ListCommandWatch& watch) {
  {
    ListRun run(controls, host, procedureName, uniqueMarker, watch);
    run.Run();
  }
  store::GlobalResponse() = store::kResponseCancelled;
}

}  // namespace wevo::controllist
