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
  records_.push_back(std::make_unique<char[]>(recordSize_));  // cleared: no byte is left unset
  blobs_.emplace_back();
  positions_.push_back(std::move(position));
  insertions_.push_back(insertion);
  return records_.back().get();
}

}  // namespace wevo::kf
