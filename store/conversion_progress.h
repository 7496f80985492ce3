// The small window a store conversion shows while it copies rows:
// "Converting File", with the prompt "Converting Record #:" and the counter
// ?COUNT, the number of rows copied so far, redrawn after every row.
#ifndef WEVO_STORE_CONVERSION_PROGRESS_H_
#define WEVO_STORE_CONVERSION_PROGRESS_H_

#include <cstdint>
#include <memory>

#include "wevo/window.h"
#include "wevo/window_decl.h"

namespace wevo::store {

// The window as data, its counter bound to `count`.
WindowDecl conversionProgressDecl(uint32_t* count);

// Made prepared (counter 0, not shown); closed at the latest when destroyed.
// Shown and updated on the calling host thread.
class ConversionProgress {
 public:
  ConversionProgress();
  ~ConversionProgress();
  ConversionProgress(const ConversionProgress&) = delete;
  ConversionProgress& operator=(const ConversionProgress&) = delete;

  void show();
  // Sets the counter and puts it on screen at once.
  void count(uint32_t rows);
  void close();

 private:
  uint32_t count_ = 0;
  std::unique_ptr<Window> window_;
  int counterField_ = 0;
};

}  // namespace wevo::store

#endif  // WEVO_STORE_CONVERSION_PROGRESS_H_
