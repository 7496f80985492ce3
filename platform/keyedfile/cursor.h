// A position in one key's order (or in insertion order) and the reads that
// move it. A cursor sits between rows: next reads the first row after its
// forward bound, previous the last row before its backward bound. Every read
// is one short indexed query, reset at once, so nothing stays locked between
// reads and other connections' changes show up in later reads.
#ifndef WEVO_PLATFORM_KEYEDFILE_CURSOR_H_
#define WEVO_PLATFORM_KEYEDFILE_CURSOR_H_

#include <cstdint>
#include <string>

#include "platform/keyedfile/row_codec.h"
#include "platform/keyedfile/schema.h"
#include "platform/keyedfile/sqlite_db.h"

namespace wevo::kf {

class Cursor {
 public:
  enum class Fetch { kRow, kEnd, kError };

  // Both ends: next reads the first row, previous the last.
  void start(int key);
  // next reads the first row at or after `values`, previous the last at or
  // before them.
  void startAt(int key, KeyTuple values);
  // next and previous both read the row first.
  void startAtRow(int key, KeyTuple values, int64_t row);
  void clear() { active_ = false; }
  bool active() const { return active_; }
  int key() const { return key_; }

  // What the next read in a direction asks for: the first row beyond a
  // bound (at or beyond it, when inclusive) in the key's order, or, without
  // a bound, the first row from that end. `values` holds the key's
  // component values (the row's id orders equal values).
  struct Seek {
    bool bounded = false;
    bool inclusive = false;
    const KeyTuple* values = nullptr;
    int64_t row = 0;
  };
  Seek seek(bool forward) const;
  // The row a backend found for seek(forward): the cursor moves to it
  // (kRow). With `check`, a row that does not lie beyond the bound (what a
  // damaged file can answer) is refused with kError and the thread's error
  // set, so that a walk never goes round for ever.
  Fetch found(const Schema& schema, bool forward, KeyTuple at, int64_t row, bool check);
  // Nothing lay beyond the bound: reading back the other way starts from
  // that end (kEnd).
  Fetch ended(bool forward);

  // Reads the following (forward) or preceding row, among those whose first
  // pins.size() components equal `pins`, into record and blob; 33-like end
  // as kEnd (record untouched); kError with the thread's error state set.
  Fetch fetch(Db& db, Schema& schema, bool forward, const KeyTuple& pins, void* record, std::string& blob,
              int64_t& row, int64_t& version);

  // The key's component values of the row a statement of `schema` selected.
  static KeyTuple tupleOf(const Stmt& stmt, const Schema& schema, int key);

 private:
  struct Bound {
    bool open = true;  // no bound: from the start / the end
    KeyTuple values;
    int64_t row = 0;
    bool inclusive = false;
  };
  // Whether the row (`at`, `row`) lies after `bound` in the walk's direction
  // (at it, for an inclusive bound).
  bool beyond(const Schema& schema, const KeyTuple& at, int64_t row, const Bound& bound, bool forward) const;

  bool active_ = false;
  int key_ = -1;
  Bound ahead_, behind_;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_CURSOR_H_
