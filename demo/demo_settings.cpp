#include "demo/demo_settings.h"

#include "wevo/text.h"

namespace wevo::demo {

void clearSettings(WEVOSETTINGS& settings) {
  text::blank(settings.WEVOPATH);
  text::blank(settings.PASSWORD);
  settings.PROMPTONEXIT = 0;
}

void setSampleSettings(WEVOSETTINGS& settings) {
  text::assign(settings.PASSWORD, kPasswordLiteral);
  settings.PROMPTONEXIT = 1;
}

}  // namespace wevo::demo
