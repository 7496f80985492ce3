// The names the library shows for control type codes. Lists of a window's
// controls name every type the toolkit knows, tabs and sheets included; the
// lists of stored rows and the property form's caption leave the window,
// sheets and tabs unnamed.
#ifndef WEVO_STORE_CONTROL_TYPE_NAMES_H_
#define WEVO_STORE_CONTROL_TYPE_NAMES_H_

#include <string_view>

namespace wevo::store {

enum class TypeNames {
  kControlList,  // 0 "WINDOW", 1 ... 21, 33, 34, 37 "SHEET", 38 "TAB", 40, 128
  kStoredRows,   // 1 ... 21, 33, 34, 40, 128; the window, sheets and tabs blank
};

// The name of type `code` ("BUTTON", "RTF TEXT control"); "" for a code the
// set does not name.
std::string_view ControlTypeName(int code, TypeNames set);

}  // namespace wevo::store

#endif  // WEVO_STORE_CONTROL_TYPE_NAMES_H_
