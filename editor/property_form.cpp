#include "editor/property_form.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/cursor_list.h"
#include "editor/font_face_list.h"
#include "editor/font_tab.h"
#include "editor/form_decl.h"
#include "editor/form_layout.h"
#include "editor/form_record.h"
#include "editor/form_window.h"
#include "editor/history.h"
#include "editor/pickers.h"
#include "platform/keyedfile/error.h"
#include "resizer/window_resizer.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_update.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::editor {
namespace {

constexpr const char* kFirstField = "?WIN:DESCRIPTION";

// One run of the form, from its opening to its end.
class FormRun {
 public:
  FormRun(Window& host, int field, std::string_view label, std::string_view marker, std::string_view procedure)
      : host_(host), field_(field), label_(label), marker_(marker), procedure_(procedure) {}
  FormRun(const FormRun&) = delete;
  FormRun& operator=(const FormRun&) = delete;

  // Runs the form to its end and returns its response.
  int Run();

 private:
  // The opening; false when the form ends without its window.
  bool Open();
  void OpenWindow();
  void OnEvent(int event, int field);
  void OnFieldEvent(int event, int field, const std::string& label);

  int fieldOf(std::string_view label) const { return form_->fieldOf(label); }
  bool is(const std::string& label, std::string_view name) const { return text::sameNoCase(label, name); }
  void FocusFirstField() { form_->select(fieldOf(kFirstField)); }
  void Close() { form_->post(EVENT::CloseWindow); }

  // Redisplays every field (not during the accept-all pass), with the colour
  // swatches and the size spins' state.
  void Refresh();
  // Shows a record that changed under the form (reset, history, re-read).
  void ShowRecord();
  void SetSizeSpins();
  void ShowCursor();
  void RestoreHistory(int field);
  void Reset();
  void Save();
  void Complete();
  void RewriteAdded();
  void UpdateChanged();
  bool CloseAllowed();

  Window& host_;
  const int field_;
  const std::string label_;
  const std::string marker_;
  const std::string procedure_;

  int localRequest_ = 0;
  int callerRequest_ = 0;
  int localResponse_ = store::kResponseCancelled;
  bool addedAtOpen_ = false;
  store::WindowControls saved_{};
  FormVars vars_{};
  std::vector<CURS> cursors_;
  VectorListSource<CURS> cursorSource_{cursors_, [](const CURS& row, int) { return std::string(CursorName(row)); }};
  std::vector<FQUE> faces_;

  std::optional<store::StoreUse> winUse_;
  std::optional<store::StoreUse> win2Use_;
  // Destroyed in this order: the window (its resizer first), the font tab
  // whose face list the window shows.
  std::unique_ptr<FontTab> fontTab_;
  FormWindow form_;
};

int FormRun::Run() {
  if (Open()) form_.run([this](int event, int field) { OnEvent(event, field); });
  return localResponse_ == 0 ? store::kResponseCancelled : localResponse_;
}

bool FormRun::Open() {
  StartHistory();
  SetInfoMessage(vars_.INFOMESSAGE, sizeof vars_.INFOMESSAGE, procedure_, marker_);
  setCursor(CURSOR::Default);
  faces_ = FillFontFaceList(host_);

  store::WindowControls& record = store::WIN();
  localRequest_ = callerRequest_ = takeCallersRequest();
  localResponse_ = store::kResponseCancelled;

  FillCursorList(cursors_);
  winUse_.emplace(store::winFile());
  win2Use_.emplace(store::win2File());

  if (localRequest_ != store::kRequestDelete)
    localRequest_ = LookUpRecord(procedure_, marker_, label_) ? store::kRequestChange : store::kRequestInsert;
  std::memcpy(&saved_, &record, sizeof saved_);

  if (localRequest_ == store::kRequestInsert) {
    if (!PrimeRecord(field_, label_)) {
      localResponse_ = store::kResponseCancelled;
      return false;
    }
    addedAtOpen_ = true;
    std::memcpy(&saved_, &record, sizeof saved_);
    localResponse_ = store::kResponseCancelled;
  }
  if (localRequest_ == store::kRequestDelete) {
    localResponse_ = DeleteRequest();
    return false;
  }
  ShowCursor();

  CopyLiveGeometry(host_, field_, record);
  OpenWindow();
  return true;
}

void FormRun::OpenWindow() {
  store::WindowControls& record = store::WIN();
  form_.open(PropertyFormDecl(record, vars_));
  form_->setList(fieldOf(FORM::CursorList), &cursorSource_);
  fontTab_ = std::make_unique<FontTab>(*form_, record, vars_.STYLE, faces_);
  fontTab_->Attach();
  resizer::WindowResizer& resizer = form_.startResizer();

  SetSizeSpins();
  for (const auto& entry : HistoryTable()) form_->set(fieldOf(entry.first), PROP::Alrt, 255, Value(kHistoryKey));
  LayOutForRecord(*form_, record);
  // The resizer places controls from where it captured them: where the
  // layout put them, not where the declaration did.
  resizer.CaptureLayout();
  fontTab_->ShowFont();
  FillSwatches(*form_, record);
  host_.enable(kHistoryCommand);
  form_->set(0, PROP::Text, Value(FormCaption(host_, field_, record)));
  form_->set(fieldOf("?WIN:CONTROLTEXT"), PROP::FontCharset, host_.get(field_, PROP::FontCharset));
}

// The cursor list shows the record's cursor. An identifier the list does
// not know leaves nothing chosen, and Save then keeps it.
void FormRun::ShowCursor() {
  const int row = FindCursorByEquate(cursors_, text::clipped(store::WIN().CURSOR));
  text::assign(vars_.CURSORDESCR, row == 0 ? std::string_view() : CursorName(cursors_[static_cast<size_t>(row) - 1]));
}

void FormRun::OnEvent(int event, int field) {
  if (event == EVENT::AlertKey) {
    if (keyCode() == kHistoryKey) RestoreHistory(field != 0 ? field : form_->focused());
    return;
  }
  switch (event) {
    case EVENT::CloseWindow:
    case EVENT::CloseDown:
      if (CloseAllowed())
        form_.stopResizer();
      else
        form_->cycle();
      return;
    case EVENT::GainFocus:
    case EVENT::User:
      Refresh();
      return;
    case EVENT::Sized:
      postToThread(EVENT::User);
      return;
    case EVENT::OpenWindow:
      FocusFirstField();
      return;
    case EVENT::Completed:
      Complete();
      return;
    case EVENT::Rejected:
      beep();
      form_->display(field);
      form_->select(field);
      return;
    default:
      break;
  }
  if (field == kHistoryCommand) {
    if (event == EVENT::Accepted) RestoreHistory(form_->focused());
    return;
  }
  const std::string label = form_->label(field);
  if (!label.empty()) OnFieldEvent(event, field, label);
}

void FormRun::OnFieldEvent(int event, int field, const std::string& label) {
  store::WindowControls& record = store::WIN();
  if (is(label, FORM::Sheet)) {
    if (event == EVENT::Accepted || event == EVENT::NewSelection || event == EVENT::TabChanging ||
        event == EVENT::Selected)
      Refresh();
    return;
  }
  if (fontTab_->TakeEvent(event, field) || event != EVENT::Accepted) return;
  if (is(label, FORM::WallpaperLookup)) {
    if (PickWallpaper(record)) Refresh();
  } else if (is(label, FORM::IconLookup)) {
    if (PickIcon(record)) Refresh();
  } else if (const ColorPicker* picker = ColorPickerOf(label)) {
    PickColor(*form_, *picker, record);
  } else if (is(label, "?WIN:WIDTHTYPE") || is(label, "?WIN:HEIGHTTYPE")) {
    SetSizeSpins();
    Refresh();
  } else if (is(label, FORM::Ok)) {
    Save();
  } else if (is(label, FORM::Cancel)) {
    localResponse_ = store::kResponseCancelled;
    Close();
  } else if (is(label, FORM::Reset)) {
    Reset();
  }
}

void FormRun::Refresh() {
  if (form_->get(0, PROP::AcceptAll).truthy()) return;
  form_->display();
  FillSwatches(*form_, store::WIN());
  SetSizeSpins();
}

void FormRun::ShowRecord() {
  form_->display();
  FillSwatches(*form_, store::WIN());
  SetSizeSpins();
  fontTab_->ShowFont();
}

void FormRun::SetSizeSpins() {
  const store::WindowControls& record = store::WIN();
  const int width = fieldOf("?WIN:WIDTH");
  const int height = fieldOf("?WIN:HEIGHT");
  if (record.WIDTHTYPE == 2)
    form_->enable(width);
  else
    form_->disable(width);
  if (record.HEIGHTTYPE == 2)
    form_->enable(height);
  else
    form_->disable(height);
}

void FormRun::RestoreHistory(int field) {
  const std::string_view name = HistoryFieldOf(form_->label(field));
  if (name.empty()) return;
  RestoreFromHistory(store::WIN(), name);
  ShowRecord();
}

void FormRun::Reset() {
  if (!ResetFromOriginal(store::WIN())) return;
  ShowCursor();
  ShowRecord();
}

void FormRun::Save() {
  store::WindowControls& record = store::WIN();
  if (const int row = FindCursorByName(cursors_, text::clipped(vars_.CURSORDESCR)); row != 0)
    text::assign(record.CURSOR, CursorEquate(cursors_[static_cast<size_t>(row) - 1]));
  fontTab_->StoreStyle();
  if (callerRequest_ == store::kRequestInsert || callerRequest_ == store::kRequestChange)
    form_->acceptAll();
  else
    form_->post(EVENT::Completed);
}

void FormRun::Complete() {
  SaveHistory(store::WIN());
  if (localRequest_ == store::kRequestInsert)
    RewriteAdded();
  else if (localRequest_ == store::kRequestChange)
    UpdateChanged();
}

// The row added at open is rewritten with what the user made of it.
void FormRun::RewriteAdded() {
  kf::File& file = store::winFile();
  if (file.put()) {
    localResponse_ = store::kResponseCompleted;
    Close();
    return;
  }
  const int code = kf::errorCode();
  const int driverCode = kf::driverErrorCode();
  const std::string driverText = kf::driverErrorText();
  if (code == kf::kErrDuplicateKey && file.duplicateCheck(store::KEYUID)) {
    store::standardMessage(store::kMsgDuplicateKey, "WIN:KeyUID");
  } else {
    kf::setError(code, driverCode, driverText);
    store::standardMessage(store::kMsgInsertError);
  }
  FocusFirstField();
}

// An existing row is written when it changed; an unchanged one counts as
// written.
void FormRun::UpdateChanged() {
  for (;;) {
    localResponse_ = store::kResponseCancelled;
    setCursor(CURSOR::Wait);
    const store::UpdateResult result =
        RecordChanged(store::WIN(), saved_) ? store::updateCurrentRow(store::winFile(), true) : store::kUpdated;
    setCursor(CURSOR::Default);
    if (result == store::kUpdated) {
      localResponse_ = store::kResponseCompleted;
      Close();
      return;
    }
    if (result == store::kChangedElsewhere) {
      ShowCursor();
      ShowRecord();
      FocusFirstField();
      return;
    }
    const int answer = store::standardMessage(store::kMsgUpdateRetry);
    if (answer == BUTTON::Yes) continue;
    if (answer == BUTTON::No) {
      Close();
      return;
    }
    Refresh();
    FocusFirstField();
    return;
  }
}

bool FormRun::CloseAllowed() {
  if (localResponse_ == store::kResponseCompleted) return true;
  if ((localRequest_ == store::kRequestInsert || localRequest_ == store::kRequestChange) && RecordChanged(store::WIN(), saved_) &&
      store::standardMessage(store::kMsgConfirmCancel) == BUTTON::No) {
    FocusFirstField();
    return false;
  }
  // Cancelling writes nothing: a row added for this form goes again.
  if (addedAtOpen_ && localResponse_ == store::kResponseCancelled) store::deleteCurrentRow(store::winFile());
  return true;
}

}  // namespace

void UpdateScreenControlProperties(Window& window, int32_t field, std::string_view label,
                                   std::string_view uniqueMarker, std::string_view procedureName) {
  int response = store::kResponseCancelled;
  {
    FormRun run(window, field, label, uniqueMarker, procedureName);
    response = run.Run();
  }
  store::GlobalResponse() = response;
}

}  // namespace wevo::editor
