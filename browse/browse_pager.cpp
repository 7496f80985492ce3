#include "browse/browse_pager.h"

#include <algorithm>

#include "apply/row_identity.h"
#include "platform/keyedfile/error.h"
#include "store/store_thread.h"
#include "wevo/text.h"

namespace wevo::browse {
namespace {

constexpr const char* kOrder = "+UPPER(WIN:ProcedureName),+UPPER(WIN:UniqueMarker),+UPPER(WIN:ControlLabel)";
constexpr const char* kFilter =
    "UPPER(WIN:ProcedureName) = UPPER(BRW1::Sort1:Save:WIN:ProcedureName) AND "
    "UPPER(WIN:UniqueMarker) = UPPER(LOC:UniqueMarker)";

}  // namespace

BrowsePager::BrowsePager(const char (&procedure)[80], const char (&marker)[80])
    : procedure_(procedure), marker_(marker), view_(store::winFile()) {
  view_.bind("BRW1::Sort1:Save:WIN:ProcedureName", procedure_, sizeof procedure_);
  view_.bind("LOC:UniqueMarker", marker_, sizeof marker_);
  view_.bindRecord(store::winDecl(), &store::WIN());
  view_.bindRecord(store::win2Decl(), &store::WIN2());
}

bool BrowsePager::Reset() {
  view_.close();
  view_.setOrder(kOrder);
  view_.setFilter(kFilter);
  return view_.open() && view_.set();
}

void BrowsePager::Close() { view_.close(); }

void BrowsePager::Remove(size_t index) {
  if (index < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
}

BrowsePager::Got BrowsePager::read(bool forward) {
  if (forward ? view_.next() : view_.previous()) return Got::kRow;
  return kf::errorCode() == kf::kErrNoRecord ? Got::kEnd : Got::kError;
}

bool BrowsePager::contains(uint32_t uid) const {
  return std::any_of(rows_.begin(), rows_.end(), [uid](const BRW1& r) { return r.WIN_UID == uid; });
}

void BrowsePager::positionAtLabel(std::string_view label) {
  apply::SetRowKey(store::WIN(), text::field(procedure_), text::field(marker_), label);
  view_.setAt();
}

bool BrowsePager::positionAt(const BRW1& row) {
  if (view_.reset(PositionOf(row))) return true;
  if (kf::errorCode() != kf::kErrNoRecord) return false;
  positionAtLabel(text::field(row.WIN_CONTROLLABEL));  // someone else removed it
  return true;
}

// Rows already in the queue (the row positioned at, or rows of its label
// when it was gone) are read past, not listed twice.
bool BrowsePager::fillForward(size_t count, size_t& got) {
  got = 0;
  while (got < count) {
    const Got r = read(true);
    if (r == Got::kEnd) return true;
    if (r == Got::kError) return false;
    const store::WindowControls& record = store::WIN();
    if (contains(record.UID)) continue;
    rows_.push_back(RowOfRecord(record, view_.position()));
    ++got;
  }
  return true;
}

bool BrowsePager::fillBackward(size_t count, size_t& got) {
  got = 0;
  while (got < count) {
    const Got r = read(false);
    if (r == Got::kEnd) return true;
    if (r == Got::kError) return false;
    const store::WindowControls& record = store::WIN();
    if (contains(record.UID)) continue;
    rows_.insert(rows_.begin(), RowOfRecord(record, view_.position()));
    ++got;
  }
  return true;
}

bool BrowsePager::LoadFirst() {
  rows_.clear();
  size_t got = 0;
  return view_.set() && fillForward(page_, got);
}

bool BrowsePager::LoadLast() {
  rows_.clear();
  size_t got = 0;
  return view_.set() && fillBackward(page_, got);
}

bool BrowsePager::LoadFrom(std::string_view position, std::string_view label, size_t& index) {
  rows_.clear();
  index = 0;
  if (position.empty() || !view_.reset(position)) {
    if (!position.empty() && kf::errorCode() != kf::kErrNoRecord) return false;
    positionAtLabel(label);
  }
  size_t got = 0;
  if (!fillForward(page_, got)) return false;
  if (rows_.size() >= page_) return true;
  if (rows_.empty()) {
    const bool ok = view_.set() && fillBackward(page_, got);
    index = rows_.size();
    return ok;
  }
  if (!positionAt(rows_.front())) return false;
  const bool ok = fillBackward(page_ - rows_.size(), got);
  index = got;
  return ok;
}

bool BrowsePager::LoadAtLabel(std::string_view label, size_t& index) { return LoadFrom("", label, index); }

bool BrowsePager::Step(int& selected, int delta) {
  const int n = static_cast<int>(rows_.size());
  const int page = static_cast<int>(page_);
  const int target = selected + delta;
  if (n == 0) {
    selected = 0;
    return true;
  }
  if (delta >= 0 && target <= n) {
    selected = target;
    return true;
  }
  if (delta < 0 && target >= 1) {
    selected = target;
    return true;
  }
  size_t got = 0;
  bool ok = true;
  if (delta > 0) {
    ok = positionAt(rows_.back()) && fillForward(static_cast<size_t>(target - n), got);
    const int total = n + static_cast<int>(got);
    const int dropped = std::max(0, total - page);
    rows_.erase(rows_.begin(), rows_.begin() + dropped);
    selected = std::min(target, total) - dropped;
  } else {
    ok = positionAt(rows_.front()) && fillBackward(static_cast<size_t>(1 - target), got);
    if (rows_.size() > page_) rows_.resize(page_);
    selected = std::max(target + static_cast<int>(got), 1);
  }
  selected = std::clamp(selected, 1, static_cast<int>(rows_.size()));
  return ok;
}

bool BrowsePager::FirstAndLast(std::string& first, std::string& last, bool& any) {
  any = false;
  if (!view_.set()) return false;
  Got r = read(true);
  if (r != Got::kRow) return r == Got::kEnd;
  first = std::string(text::clipped(store::WIN().CONTROLLABEL));
  if (!view_.set()) return false;
  r = read(false);
  if (r != Got::kRow) return r == Got::kEnd;
  last = std::string(text::clipped(store::WIN().CONTROLLABEL));
  any = true;
  return true;
}

}  // namespace wevo::browse
