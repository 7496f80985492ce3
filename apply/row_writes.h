// Where the window entry's writes go. Opening a window first works out, from
// rows read without holding the store for writing, whether anything is to be
// written at all (PlannedWrites, which writes nothing); only then does it
// take the store for writing, read the rows again and write (StoreWrites).
// Both passes run the same code, so what is written is what the plan found.
#ifndef WEVO_APPLY_ROW_WRITES_H_
#define WEVO_APPLY_ROW_WRITES_H_

#include <string>

#include "platform/keyedfile/keyed_file.h"
#include "store/window_controls.h"

namespace wevo::apply {

class RowWrites {
 public:
  virtual ~RowWrites() = default;
  // Rewrites the stored row at `position` (as the file gave it) with `row`;
  // true when it was rewritten.
  virtual bool rewrite(const std::string& position, const store::WindowControls& row) = 0;
  // Adds `row` (every field set but UID) under a new UID; true when it was
  // added, `row` then holding its UID and `position` its position.
  virtual bool add(store::WindowControls& row, std::string& position) = 0;
};

// Writes nothing; counts what would be written, as if it had been.
class PlannedWrites : public RowWrites {
 public:
  bool rewrite(const std::string& position, const store::WindowControls& row) override;
  bool add(store::WindowControls& row, std::string& position) override;
  int count() const { return count_; }

 private:
  int count_ = 0;
};

// Writes through the thread's store instance `file` (winFile(), open), with
// its record buffer WIN(): a rewrite reads the row again from its position
// and puts it; an add numbers the row (AddRecordWithNewUid, with its
// messages) with an empty blob.
class StoreWrites : public RowWrites {
 public:
  explicit StoreWrites(kf::File& file) : file_(file) {}
  bool rewrite(const std::string& position, const store::WindowControls& row) override;
  bool add(store::WindowControls& row, std::string& position) override;

 private:
  kf::File& file_;
};

}  // namespace wevo::apply

#endif  // WEVO_APPLY_ROW_WRITES_H_
