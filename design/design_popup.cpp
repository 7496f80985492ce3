#include "design/design_popup.h"

#include "design/design_session.h"

namespace wevo::design {

bool runDesignPopup(DesignSession& session) {
  (void)session;
  return false;
}

}  // namespace wevo::design
