#include "platform/view/view.h"

#include "platform/view/common/scripted_user.h"

namespace wevo::toolkit {

View::~View() = default;

void View::hostThreadWaiting(int thread) {
  if (scriptedUser_ != nullptr) scriptedUser_->onThreadWaiting(thread);
}

}  // namespace wevo::toolkit
