// Rows read together (File::readRange): each row's record, blob and
// position, in the order they were read.
#ifndef WEVO_PLATFORM_KEYEDFILE_ROW_SET_H_
#define WEVO_PLATFORM_KEYEDFILE_ROW_SET_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wevo::kf {

class RowSet {
 public:
  size_t size() const { return positions_.size(); }
  bool empty() const { return positions_.empty(); }
  // Row i's record: the declaration's recordSize bytes, laid out as it says.
  // A caller may change the copy; the file is not touched.
  const void* record(size_t i) const { return records_[i].get(); }
  void* record(size_t i) { return records_[i].get(); }
  const std::string& blob(size_t i) const { return blobs_[i]; }
  // What File::position() gave for the row: reget() or reset() bring it back.
  const std::string& position(size_t i) const { return positions_[i]; }

  // For the file that fills the set: empties it for records of `recordSize`
  // bytes, and adds a row whose record it then fills (the storage returned
  // stays where it is). `insertion` is the row's place in insertion order,
  // which orders rows of equal key values.
  void reset(size_t recordSize);
  void* add(std::string position, int64_t insertion);
  std::string& lastBlob() { return blobs_.back(); }
  int64_t insertion(size_t i) const { return insertions_[i]; }

 private:
  size_t recordSize_ = 0;
  std::vector<std::unique_ptr<char[]>> records_;  // one block each: no copying as the set grows
  std::vector<std::string> blobs_;
  std::vector<std::string> positions_;
  std::vector<int64_t> insertions_;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_ROW_SET_H_
