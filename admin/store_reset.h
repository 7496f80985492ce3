// `reset`: a marker's layout, or one control of it, back to the window's
// designed look, as the control list's "Reset List" and "Reset Selected" do
// in design mode.
#ifndef WEVO_ADMIN_STORE_RESET_H_
#define WEVO_ADMIN_STORE_RESET_H_

#include <optional>
#include <ostream>
#include <string>

#include "admin/admin_store.h"

namespace wevo::admin {

// Without a label: every row of (procedure, marker) is removed, so the
// window opens with that marker as designed; the original rows stay. With
// a label: that control's row takes every field of its original row except
// its UID, marker, field number and tab order. One write transaction.
// Fails (kExitUsage) for the marker WEVO_ORIGINAL, (kExitNotFound) when
// there is no row to reset or, for a label, no original row to reset it to.
void resetLayout(AdminStore& store, const std::string& procedure, const std::string& marker,
                 const std::optional<std::string>& label, std::ostream& out);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_STORE_RESET_H_
