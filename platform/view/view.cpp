#include "platform/view/view.h"

#include <utility>

namespace wevo::toolkit {

View::~View() = default;

std::vector<std::string> splitBars(std::string_view s) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    size_t bar = s.find('|', start);
    if (bar == std::string_view::npos) {
      out.emplace_back(s.substr(start));
      break;
    }
    out.emplace_back(s.substr(start, bar - start));
    start = bar + 1;
  }
  return out;
}

ViewFactory viewFactory(MakeView make) {
  return ViewFactory(std::make_shared<const ViewFactory::Maker>(ViewFactory::Maker{std::move(make)}));
}

std::unique_ptr<View> makeView(const ViewFactory& factory, ViewHost& host) {
  if (!factory || !factory.maker()->make) return nullptr;
  return factory.maker()->make(host);
}

}  // namespace wevo::toolkit
