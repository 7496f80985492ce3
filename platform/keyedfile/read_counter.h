// How many rows this thread has fetched from keyed files: the measure of how
// much a walk or a browse page costs.
#ifndef WEVO_PLATFORM_KEYEDFILE_READ_COUNTER_H_
#define WEVO_PLATFORM_KEYEDFILE_READ_COUNTER_H_

#include <cstdint>

namespace wevo::kf {

// Rows this thread has read from any file since the counter was last reset
// (every row fetched from the database counts, rows a view's filter rejects
// included).
uint64_t rowsRead();
void resetRowsRead();

// Called by this layer for every row it fetches.
void countRowRead();

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_READ_COUNTER_H_
