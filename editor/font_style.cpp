#include "editor/font_style.h"

namespace wevo::editor {

StyleFlags FlagsFromStyle(int32_t style) {
  StyleFlags f;
  f.STRIKEOUT = (style & kStrikeout) != 0 ? 1 : 0;
  f.UNDERLINE = (style & kUnderline) != 0 ? 1 : 0;
  f.BOLD = (style & kWeightMask) > 400 ? 1 : 0;
  f.ITALIC = (style & kItalic) != 0 ? 1 : 0;
  return f;
}

int32_t StyleFromFlags(const StyleFlags& flags) {
  int32_t style = flags.STRIKEOUT != 0 ? kStrikeout : 0;
  if (flags.UNDERLINE != 0) style += kUnderline;
  if (flags.BOLD != 0) style += kBoldWeight;
  if (flags.ITALIC != 0) style += kItalic;
  return style;
}

std::string SampleText() {
  // U+00D4, U+00F4, U+00DF, U+00FF.
  return "AaBb\xC3\x94\xC3\xB4\xC3\x9F\xC3\xBF";
}

}  // namespace wevo::editor
