// Choice lists ("From"): the items of a list, drop list or combo written as
// one text. Items are separated by "|"; an item "#value" gives the value of
// the item before it ("Left|#1|Right|#2"); an item without one stands for
// itself. A trailing "|" adds no item.
#ifndef WEVO_PLATFORM_TOOLKIT_CHOICES_H_
#define WEVO_PLATFORM_TOOLKIT_CHOICES_H_

#include <string>
#include <string_view>
#include <vector>

namespace wevo::toolkit {

struct Choice {
  std::string text;
  std::string value;
};

std::vector<Choice> parseChoices(std::string_view from);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_CHOICES_H_
