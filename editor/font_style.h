// The font style as the store keeps it (WIN:FONTSTYLE: the weight in the low
// 12 bits, 0x1000 italic, 0x2000 underline, 0x4000 strikeout) and as the font
// tab shows it: four check boxes. And the sample text the tab draws.
#ifndef WEVO_EDITOR_FONT_STYLE_H_
#define WEVO_EDITOR_FONT_STYLE_H_

#include <cstdint>
#include <string>

namespace wevo::editor {

inline constexpr int32_t kItalic = 0x1000;
inline constexpr int32_t kUnderline = 0x2000;
inline constexpr int32_t kStrikeout = 0x4000;
inline constexpr int32_t kBoldWeight = 700;
inline constexpr int32_t kWeightMask = 0x0FFF;

// The four check boxes' variables: 1 set, 0 clear.
struct StyleFlags {
  int32_t STRIKEOUT = 0;
  int32_t UNDERLINE = 0;
  int32_t BOLD = 0;
  int32_t ITALIC = 0;
};

// Reads a stored style: a weight above 400 is bold.
StyleFlags FlagsFromStyle(int32_t style);
// Builds a stored style: weight 700 for bold, 0 (not 400) otherwise.
int32_t StyleFromFlags(const StyleFlags& flags);

// "AaBb" and the characters 0xD4, 0xF4, 0xDF, 0xFF of the Western
// single-byte code page, in the toolkit's text encoding (UTF-8).
std::string SampleText();

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_FONT_STYLE_H_
