#include "platform/keyedfile/row_set.h"

#include <utility>

namespace wevo::kf {

void RowSet::reset(size_t recordSize) {
  recordSize_ = recordSize;
  records_.clear();
  blobs_.clear();
  positions_.clear();
  insertions_.clear();
}

void* RowSet::add(std::string position, int64_t insertion) {
  records_.resize(records_.size() + recordSize_);
  blobs_.emplace_back();
  positions_.push_back(std::move(position));
  insertions_.push_back(insertion);
  return records_.data() + records_.size() - recordSize_;
}

}  // namespace wevo::kf
