// The settings every sample window passes to wevo.
#ifndef WEVO_DEMO_DEMO_SETTINGS_H_
#define WEVO_DEMO_DEMO_SETTINGS_H_

#include <string_view>

#include "wevo/wevo.h"

namespace wevo::demo {

// The store's password, as the sample windows' 20-character literal holds
// it (blank-padded).
inline constexpr std::string_view kPasswordLiteral = "#~~#!*7q904         ";
static_assert(kPasswordLiteral.size() == 20);

// Blanks both texts and zeroes the switch, as a procedure's fresh group is.
void clearSettings(WEVOSETTINGS& settings);

// What a sample window sets once it has opened: the store beside the
// program (WEVOPATH left blank), protected with the password, and design
// mode asking on exit whether to keep the changes.
void setSampleSettings(WEVOSETTINGS& settings);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_DEMO_SETTINGS_H_
