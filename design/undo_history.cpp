#include "design/undo_history.h"

#include <cstring>

#include "design/snapshots.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::design {
namespace {

bool sameRow(const ControlMoment& a, const ControlMoment& b) {
  if (a.hasRow != b.hasRow) return false;
  return !a.hasRow || std::memcmp(&a.row, &b.row, sizeof a.row) == 0;
}

bool same(const ControlMoment& a, const ControlMoment& b) {
  return a.place == b.place && a.text == b.text && sameRow(a, b);
}

size_t bytesOf(const UndoStep& s) { return (s.before.size() + s.after.size()) * sizeof(ControlMoment); }

}  // namespace

ControlMoment UndoHistory::capture(int32_t field) const {
  ControlMoment m;
  m.field = field;
  m.place = PixelRectOf(host_, field);
  if (field != 0) m.text = host_.get(field, PROP::Text).str();
  if (const controllist::WNCTL* q = controllist::FindByFeq(controls_, field); q != nullptr && q->UID != 0)
    m.hasRow = ReadRowByUid(q->UID, m.row);
  return m;
}

void UndoHistory::begin(StepKind kind, const std::vector<int32_t>& fields) {
  if (open_) end();
  pending_ = UndoStep{};
  pending_.kind = kind;
  for (int32_t f : fields) pending_.before.push_back(capture(f));
  open_ = true;
}

void UndoHistory::end() {
  if (!open_) return;
  open_ = false;
  UndoStep step;
  step.kind = pending_.kind;
  for (const ControlMoment& before : pending_.before) {
    ControlMoment after = capture(before.field);
    if (same(before, after)) continue;
    step.before.push_back(before);
    step.after.push_back(std::move(after));
  }
  pending_ = UndoStep{};
  if (step.before.empty()) return;
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
  steps_.push_back(std::move(step));
  done_ = steps_.size();
  trim();
}

void UndoHistory::trim() {
  size_t bytes = 0;
  for (const UndoStep& s : steps_) bytes += bytesOf(s);
  while (steps_.size() > 1 && (steps_.size() > kMaxSteps || bytes > kMaxBytes)) {
    bytes -= bytesOf(steps_.front());
    steps_.pop_front();
    --done_;
  }
}

bool UndoHistory::undo() {
  end();
  if (done_ == 0) return false;
  const UndoStep& s = steps_[--done_];
  putBack(s.kind, s.before, s.after);
  return true;
}

bool UndoHistory::redo() {
  end();
  if (done_ == steps_.size()) return false;
  const UndoStep& s = steps_[done_++];
  putBack(s.kind, s.after, s.before);
  return true;
}

void UndoHistory::clear() {
  open_ = false;
  pending_ = UndoStep{};
  steps_.clear();
  done_ = 0;
}

void UndoHistory::putBack(StepKind kind, const std::vector<ControlMoment>& to,
                          const std::vector<ControlMoment>& from) {
  const Value mode = host_.get(0, PROP::Pixels);
  {
    auto transaction = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
    for (size_t i = 0; i < to.size(); ++i) {
      const ControlMoment& m = to[i];
      if (!m.hasRow || sameRow(m, from[i])) continue;
      // Rows hold dialog units; design mode works in pixels.
      const bool show = kind == StepKind::kProperties;
      host_.set(0, PROP::Pixels, 0);
      const bool written = PutRowBack(m.row, show ? &host_ : nullptr);
      if (!written) continue;
      if (controllist::WNCTL* q = controllist::FindByUid(controls_, m.row.UID)) {
        q->TABORDER = m.row.ORDER;
        text::assign(q->DESCRIPTION, text::field(m.row.DESCRIPTION).substr(0, sizeof q->DESCRIPTION));
      }
    }
    // A failed commit is reported by the store's messages; the screen still
    // goes back, as the user asked.
    transaction.commit();
  }
  host_.set(0, PROP::Pixels, 1);
  if (kind != StepKind::kRowsOnly) {
    for (const ControlMoment& m : to) {
      if (m.field != 0 && host_.get(m.field, PROP::Text).str() != m.text) host_.set(m.field, PROP::Text, m.text);
      PlaceAt(host_, m.field, m.place);
    }
  }
  host_.set(0, PROP::Pixels, mode);
}

}  // namespace wevo::design
