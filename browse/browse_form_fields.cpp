#include "browse/browse_form_fields.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "browse/browse_decl.h"
#include "browse/browse_pager.h"
#include "browse/browse_rows.h"
#include "browse/marker_queue.h"
#include "browse/step_table.h"
#include "editor/form_window.h"
#include "editor/property_form.h"
#include "platform/keyedfile/error.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::browse {
namespace {

constexpr int kCtrlEnter = KEY::Ctrl + KEY::Enter;  // 525
constexpr const char* kFileName = "WindowControls";

// One run of the browse, from its opening to its close.
class BrowseRun {
 public:
  BrowseRun(Window& host, std::string_view procedureName, std::string_view uniqueMarker);
  BrowseRun(const BrowseRun&) = delete;
  BrowseRun& operator=(const BrowseRun&) = delete;

  // Runs the browse to its end and returns its response.
  int Run();

 private:
  int fieldOf(const char* label) const { return window_->fieldOf(label); }
  bool is(int field, const char* label) const { return field != 0 && field == fieldOf(label); }
  int list() const { return fieldOf(BROWSE::List); }
  bool hasRows() const { return !pager_.rows().empty(); }

  void OnEvent(int event, int field);
  void OnListEvent(int event);
  void OnListKey(int key);

  // Redisplays; with changed filter values, or `forced`, loads the page again.
  void Refresh(bool forced);
  // Resets the view and loads the first page (`first`) or the page from its
  // first row again.
  void ResetAndLoad(bool first);
  // What follows every load: buttons, scroll bar, selection. A failed read
  // ends the browse.
  void AfterLoad(bool ok);
  void Select(int row);
  void ShowThumb();
  bool RebuildSteps();
  void Fail();

  void Drag(int thumb);
  void Locate(char typed);
  void Popup();
  // Makes the selected row the store's current row, read again and
  // watched. A row removed meanwhile loads the page again; a failed read
  // ends the browse.
  enum class Current { kRead, kGone, kFailed };
  Current MakeSelectedCurrent();
  void Update(int request);
  // Loads the page from its first row again; the selection keeps its place.
  void Reload();

  Window& host_;
  const std::string procedure_;
  char marker_[80];          // LOC:UniqueMarker
  char sortProcedure_[80];   // BRW1::Sort1:Save:WIN:ProcedureName
  char loadedProcedure_[80];  // the filter values of the last load
  char loadedMarker_[80];
  bool loaded_ = false;
  char locType_[20];         // LOC:TYPE
  int response_ = store::kResponseCancelled;
  int selected_ = 0;         // 1-based row of the page; 0: none

  std::optional<store::StoreUse> winUse_;
  std::optional<store::StoreUse> win2Use_;
  MarkerQueue markers_;
  BrowsePager pager_{sortProcedure_, marker_};
  StepTable steps_;
  VectorListSource<AID> markerSource_{markers_, [](const AID& m, int) {
                                        return std::string(text::clipped(m.UNIQUEMARKER));
                                      }};
  VectorListSource<BRW1> rowSource_{pager_.rows(), BrowseCell};
  // Destroyed before the sources the window shows: the resizer, then the window.
  editor::FormWindow window_;
};

BrowseRun::BrowseRun(Window& host, std::string_view procedureName, std::string_view uniqueMarker)
    : host_(host), procedure_(procedureName) {
  text::assign(marker_, uniqueMarker);
  text::assign(sortProcedure_, procedure_);
  text::blank(loadedProcedure_);
  text::blank(loadedMarker_);
  text::blank(locType_);
}

int BrowseRun::Run() {
  editor::takeCallersRequest();

  winUse_.emplace(store::winFile());
  win2Use_.emplace(store::win2File());
  FillMarkerQueue(markers_, procedure_);

  window_.open(BrowseFormDecl(marker_));
  window_->set(0, PROP::Text, std::string(kBrowseCaptionPrefix) + std::string(text::clip(procedure_)));
  window_->setList(fieldOf(BROWSE::Marker), &markerSource_);
  window_->setList(list(), &rowSource_);
  window_.startResizer();
  for (int key : {KEY::MouseLeft2, KEY::MouseRight, KEY::Apps, KEY::Insert, KEY::Delete, kCtrlEnter})
    window_->set(list(), PROP::Alrt, 255, Value(key));

  window_.run([this](int event, int field) { OnEvent(event, field); });
  pager_.Close();
  win2Use_.reset();
  winUse_.reset();
  window_->close();
  return response_ == 0 ? store::kResponseCancelled : response_;
}

void BrowseRun::OnEvent(int event, int field) {
  switch (event) {
    case EVENT::OpenWindow:
      Refresh(true);
      window_->select(fieldOf(BROWSE::Marker));
      return;
    case EVENT::Sized:
      window_->post(EVENT::User);
      return;
    case EVENT::User:
    case EVENT::GainFocus:
      Refresh(true);
      return;
    case EVENT::CloseWindow:
    case EVENT::CloseDown:
      window_.stopResizer();
      return;
    default:
      break;
  }
  if (is(field, BROWSE::Marker)) {
    if (event == EVENT::NewSelection || event == EVENT::Accepted) Refresh(false);
    return;
  }
  if (is(field, BROWSE::List)) {
    OnListEvent(event);
    return;
  }
  if (event != EVENT::Accepted) return;
  if (is(field, BROWSE::Insert)) {
    Update(store::kRequestInsert);
  } else if (is(field, BROWSE::Change)) {
    Update(store::kRequestChange);
  } else if (is(field, BROWSE::Delete)) {
    Update(store::kRequestDelete);
  } else if (is(field, BROWSE::Close)) {
    MakeSelectedCurrent();
    response_ = store::kResponseCompleted;
    window_->post(EVENT::CloseWindow);
  }
}

void BrowseRun::OnListEvent(int event) {
  switch (event) {
    case EVENT::NewSelection:
      Select(window_->selection(list()));
      return;
    case EVENT::ScrollUp: AfterLoad(pager_.Step(selected_, -1)); return;
    case EVENT::ScrollDown: AfterLoad(pager_.Step(selected_, 1)); return;
    case EVENT::PageUp: AfterLoad(pager_.Step(selected_, -static_cast<int>(pager_.pageSize()))); return;
    case EVENT::PageDown: AfterLoad(pager_.Step(selected_, static_cast<int>(pager_.pageSize()))); return;
    case EVENT::ScrollTop: Drag(1); return;
    case EVENT::ScrollBottom: Drag(StepTable::kSteps); return;
    case EVENT::ScrollDrag: Drag(window_->get(list(), PROP::VScrollPos).i32()); return;
    case EVENT::Locate: Locate(keyChar()); return;
    case EVENT::AlertKey: OnListKey(keyCode()); return;
    default: return;
  }
}

void BrowseRun::OnListKey(int key) {
  switch (key) {
    case KEY::MouseLeft2:
    case kCtrlEnter:
      if (hasRows()) window_->post(EVENT::Accepted, fieldOf(BROWSE::Change));
      return;
    case KEY::Insert:
      window_->post(EVENT::Accepted, fieldOf(BROWSE::Insert));
      return;
    case KEY::Delete:
      if (hasRows()) window_->post(EVENT::Accepted, fieldOf(BROWSE::Delete));
      return;
    case KEY::MouseRight:
    case KEY::Apps:
      if (hasRows()) {
        const int under = window_->get(list(), PROP::MouseDownRow).i32();
        // Taken once: a later Apps key does not pick the row of an old press.
        window_->set(list(), PROP::MouseDownRow, 0);
        if (under > 0) Select(under);
      }
      Popup();
      return;
    default:
      return;
  }
}

void BrowseRun::Popup() {
  switch (popup(hasRows() ? "&Insert|&Change|&Delete" : "&Insert|~&Change|~&Delete")) {
    case 1: window_->post(EVENT::Accepted, fieldOf(BROWSE::Insert)); return;
    case 2: window_->post(EVENT::Accepted, fieldOf(BROWSE::Change)); return;
    case 3: window_->post(EVENT::Accepted, fieldOf(BROWSE::Delete)); return;
    default: return;
  }
}

void BrowseRun::Refresh(bool forced) {
  if (window_->get(0, PROP::AcceptAll).truthy()) return;
  text::assign(sortProcedure_, procedure_);
  const bool changed = !loaded_ || std::memcmp(sortProcedure_, loadedProcedure_, sizeof sortProcedure_) != 0 ||
                       std::memcmp(marker_, loadedMarker_, sizeof marker_) != 0;
  if (changed || forced) {
    ResetAndLoad(changed);
  } else {
    Select(selected_);
  }
  window_->display();
}

void BrowseRun::ResetAndLoad(bool first) {
  std::memcpy(loadedProcedure_, sortProcedure_, sizeof loadedProcedure_);
  std::memcpy(loadedMarker_, marker_, sizeof loadedMarker_);
  loaded_ = true;
  pager_.setPageSize(static_cast<size_t>(std::max(1, window_->get(list(), PROP::Items).i32())));
  if (!pager_.Reset()) {
    store::standardMessage(store::kMsgViewOpenError);
    AfterLoad(true);  // what was loaded stays
    return;
  }
  if (!RebuildSteps()) return;
  if (first || !hasRows()) {
    selected_ = 1;
    AfterLoad(pager_.LoadFirst());
  } else {
    Reload();
  }
}

void BrowseRun::Reload() {
  if (!hasRows()) {
    selected_ = 1;
    AfterLoad(pager_.LoadFirst());
    return;
  }
  const BRW1 first = pager_.rows().front();
  size_t at = 0;
  AfterLoad(pager_.LoadFrom(PositionOf(first), text::field(first.WIN_CONTROLLABEL), at));
}

void BrowseRun::AfterLoad(bool ok) {
  if (!ok) {
    Fail();
    return;
  }
  const size_t n = pager_.rows().size();
  if (n == 0) {
    window_->disable(fieldOf(BROWSE::Change));
    window_->disable(fieldOf(BROWSE::Delete));
    kf::clearRecord(store::winDecl(), &store::WIN());
    text::blank(locType_);
  } else {
    window_->enable(fieldOf(BROWSE::Change));
    window_->enable(fieldOf(BROWSE::Delete));
  }
  window_->set(list(), PROP::VScroll, n >= pager_.pageSize() ? 1 : 0);
  window_->display(list());
  Select(selected_);
}

void BrowseRun::Select(int row) {
  const int n = static_cast<int>(pager_.rows().size());
  selected_ = n == 0 ? 0 : std::clamp(row, 1, n);
  window_->setSelection(list(), selected_);
  if (selected_ > 0) RowToRecord(pager_.rows()[static_cast<size_t>(selected_) - 1], store::WIN(), locType_);
  ShowThumb();
}

void BrowseRun::ShowThumb() {
  const std::string_view label =
      selected_ > 0 ? text::field(pager_.rows()[static_cast<size_t>(selected_) - 1].WIN_CONTROLLABEL) : "";
  window_->set(list(), PROP::VScrollPos, steps_.ThumbOf(label));
}

bool BrowseRun::RebuildSteps() {
  std::string first, last;
  bool any = false;
  if (!pager_.FirstAndLast(first, last, any)) {
    Fail();
    return false;
  }
  if (any)
    steps_.Build(first, last);
  else
    steps_.Clear();
  return true;
}

void BrowseRun::Fail() {
  store::standardMessage(store::kMsgRetrievalError, kFileName);
  window_->post(EVENT::CloseWindow);
}

void BrowseRun::Drag(int thumb) {
  bool ok = true;
  if (thumb <= 1) {
    ok = pager_.LoadFirst();
    selected_ = 1;
  } else if (thumb >= StepTable::kSteps) {
    ok = pager_.LoadLast();
    selected_ = static_cast<int>(pager_.rows().size());
  } else {
    size_t index = 0;
    ok = pager_.LoadAtLabel(steps_.LabelAt(thumb), index);
    selected_ = static_cast<int>(index) + 1;
  }
  AfterLoad(ok);
}

void BrowseRun::Locate(char typed) {
  if (typed < ' ' || typed > '~') return;
  auto firstChar = [this]() -> char {
    if (selected_ < 1) return '\0';
    return text::upperChar(pager_.rows()[static_cast<size_t>(selected_) - 1].WIN_CONTROLLABEL[0]);
  };
  const char wanted = text::upperChar(typed);
  if (firstChar() == wanted) {
    if (!pager_.Step(selected_, 1)) {
      AfterLoad(false);
      return;
    }
  }
  if (firstChar() != wanted) {
    size_t index = 0;
    const bool ok = pager_.LoadAtLabel(std::string(1, wanted), index);
    selected_ = static_cast<int>(index) + 1;
    AfterLoad(ok);
    return;
  }
  AfterLoad(true);
}

BrowseRun::Current BrowseRun::MakeSelectedCurrent() {
  if (!hasRows() || selected_ < 1) return Current::kRead;
  const BRW1& row = pager_.rows()[static_cast<size_t>(selected_) - 1];
  kf::File& file = store::winFile();
  file.watch();
  if (file.reget(PositionOf(row))) return Current::kRead;
  if (kf::errorCode() != kf::kErrNoRecord) {
    Fail();
    return Current::kFailed;
  }
  // Removed by another user meanwhile: show what is there now.
  if (RebuildSteps()) Reload();
  return Current::kGone;
}

void BrowseRun::Update(int request) {
  const Current current = MakeSelectedCurrent();
  if (current == Current::kFailed || (current == Current::kGone && request != store::kRequestInsert)) return;
  store::WindowControls& record = store::WIN();
  if (request == store::kRequestInsert) {
    kf::clearRecord(store::winDecl(), &record);
    store::winFile().blobSetSize(0);
    text::assign(record.PROCEDURENAME, procedure_);
    std::memcpy(record.UNIQUEMARKER, marker_, sizeof record.UNIQUEMARKER);
  }
  const int32_t feq = record.FEQ;
  const std::string label(text::clipped(record.CONTROLLABEL));
  pager_.Close();
  store::GlobalRequest() = request;
  editor::UpdateScreenControlProperties(host_, feq, label, text::clip(text::field(marker_)), procedure_);
  const int response = store::GlobalResponse();
  const bool written = response == store::kResponseCompleted && request != store::kRequestDelete;
  // The form leaves the row it wrote current, and in WIN().
  const std::string writtenAt = written ? store::winFile().position() : "";
  const std::string writtenLabel(text::clipped(record.CONTROLLABEL));

  if (!pager_.Reset()) {
    store::standardMessage(store::kMsgViewOpenError);
  } else if (written) {
    size_t index = 0;
    const bool ok = pager_.LoadFrom(writtenAt, writtenLabel, index);
    selected_ = static_cast<int>(index) + 1;
    if (!ok || RebuildSteps()) AfterLoad(ok);
  } else {
    // A delete that completed takes its row out; the row then at the
    // selected place (or the last one) is selected.
    if (response == store::kResponseCompleted) pager_.Remove(static_cast<size_t>(std::max(selected_, 1) - 1));
    if (!RebuildSteps()) return;
    if (hasRows()) {
      Reload();
    } else {
      size_t index = 0;
      AfterLoad(pager_.LoadAtLabel(label, index));
    }
  }
  window_->select(list());
  response_ = store::kResponseCancelled;
  Refresh(false);
}

}  // namespace

void BrowseFormFields(Window& host, std::string_view procedureName, std::string_view uniqueMarker) {
  int response = store::kResponseCancelled;
  {
    BrowseRun run(host, procedureName, uniqueMarker);
    response = run.Run();
  }
  store::GlobalResponse() = response;
}

}  // namespace wevo::browse
