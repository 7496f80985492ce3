#include "store/conversion_progress.h"

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/window_model.h"
#include "wevo/codes.h"

namespace wevo::store {

WindowDecl conversionProgressDecl(uint32_t* count) {
  WindowDecl d;
  d.caption = "Converting File";
  d.at = {kDefault, kDefault, 130, 28};
  d.font = {"MS Sans Serif", 8};
  ControlDecl prompt;
  prompt.type = TYPE::Prompt;
  prompt.use = "?PROMPT1";
  prompt.text = "Converting Record #:";
  prompt.at = {10, 10};
  d.controls.push_back(prompt);
  ControlDecl counter;
  counter.type = TYPE::String;
  counter.use = "?COUNT";
  counter.at = {86, 10, 36, 10};
  counter.bind = Binding::ulong32(count);
  d.controls.push_back(counter);
  return d;
}

ConversionProgress::ConversionProgress() = default;

ConversionProgress::~ConversionProgress() { close(); }

void ConversionProgress::show() {
  if (window_) return;
  window_ = std::make_unique<Window>(conversionProgressDecl(&count_));
  window_->open();
  counterField_ = window_->fieldOf("?COUNT");
  window_->display();
  toolkit::flushWindow(toolkit::modelOf(*window_));
}

void ConversionProgress::count(uint32_t rows) {
  count_ = rows;
  if (!window_) return;
  window_->display(counterField_);
  toolkit::flushWindow(toolkit::modelOf(*window_));
}

void ConversionProgress::close() {
  if (!window_) return;
  window_->close();
  window_.reset();
}

}  // namespace wevo::store
