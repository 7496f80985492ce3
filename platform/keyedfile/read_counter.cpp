#include "platform/keyedfile/read_counter.h"

namespace wevo::kf {
namespace {

uint64_t& counter() {
  thread_local uint64_t n = 0;
  return n;
}

}  // namespace

uint64_t rowsRead() { return counter(); }
void resetRowsRead() { counter() = 0; }
void countRowRead() { ++counter(); }

}  // namespace wevo::kf
