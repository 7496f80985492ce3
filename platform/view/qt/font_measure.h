// Font measurements for the toolkit, from the fonts Qt really draws with.
//
// Safe from any thread (Qt draws text outside its GUI thread since 5.0, and
// the font database is thread-safe): host threads measure on their own
// thread, so opening a window never waits for the Qt thread. Metrics are
// cached per font for the process; text widths use one QFontMetrics per font
// and thread.
#ifndef WEVO_PLATFORM_VIEW_QT_FONT_MEASURE_H_
#define WEVO_PLATFORM_VIEW_QT_FONT_MEASURE_H_

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/base/mutex.h"
#include "platform/view/view.h"
#include "wevo/runtime.h"

namespace wevo::qtview {

class FontMeasure {
 public:
  // The average character width and the height, in pixels.
  toolkit::FontMetrics metrics(const toolkit::FontDesc& font);
  // One line of text; a single "&" takes no room, "&&" counts as one "&".
  int textWidth(const toolkit::FontDesc& font, std::string_view text);
  // Height of one list row and of a sheet's tab strip, as the toolkit
  // lays them out (10/8 and 14/8 of the font height, rounded down).
  int rowHeight(const toolkit::FontDesc& font);
  int tabStripHeight(const toolkit::FontDesc& font);

  // The installed scalable faces, once per character set they support.
  static std::vector<FontFace> faces();

 private:
  static std::string key(const toolkit::FontDesc& font);
  base::Mutex mu_;
  std::unordered_map<std::string, toolkit::FontMetrics> metrics_ GUARDED_BY(mu_);
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_FONT_MEASURE_H_
