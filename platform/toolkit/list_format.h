// List formats: the columns of a list control, as "80L(2)|M~Label~@s80@#1#...".
//
// Each column: its width in dialog units, its alignment (L, R, C, D) with an
// optional indent in parentheses, then modifiers in any order: "|" a right
// border, "M" resizable, "~Header~" a header optionally followed by its own
// alignment and indent ("~Type~L(1)"), "@picture@", "#n#" the source field.
// A column without "#n#" takes the field after the previous column's.
// Unknown modifier letters are skipped.
#ifndef WEVO_PLATFORM_TOOLKIT_LIST_FORMAT_H_
#define WEVO_PLATFORM_TOOLKIT_LIST_FORMAT_H_

#include <string_view>
#include <vector>

#include "platform/view/view.h"

namespace wevo::toolkit {

// Columns with widths and indents still in dialog units.
std::vector<ListColumn> parseListFormat(std::string_view format);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_LIST_FORMAT_H_
