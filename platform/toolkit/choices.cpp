#include "platform/toolkit/choices.h"

#include "platform/view/view.h"

namespace wevo::toolkit {

std::vector<Choice> parseChoices(std::string_view from) {
  std::vector<Choice> out;
  if (from.empty()) return out;
  std::vector<std::string> parts = splitBars(from);
  if (!parts.empty() && parts.back().empty()) parts.pop_back();
  for (std::string& part : parts) {
    if (!part.empty() && part[0] == '#' && !out.empty()) {
      out.back().value = part.substr(1);
      continue;
    }
    Choice c;
    c.value = part;
    c.text = std::move(part);
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace wevo::toolkit
