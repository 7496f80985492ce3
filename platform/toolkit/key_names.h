// Key codes as people read them: "Ctrl+Alt+D (1604)", "Esc (27)".
#ifndef WEVO_PLATFORM_TOOLKIT_KEY_NAMES_H_
#define WEVO_PLATFORM_TOOLKIT_KEY_NAMES_H_

#include <string>

namespace wevo::toolkit {

std::string keyName(int code);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_KEY_NAMES_H_
