// The property form's pickers: the colour dialogs behind the "..." buttons of
// the Color tab and the font colour, with the swatches that show each colour,
// and the two file dialogs (wallpaper and icon).
#ifndef WEVO_EDITOR_PICKERS_H_
#define WEVO_EDITOR_PICKERS_H_

#include <string_view>
#include <vector>

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::editor {

struct ColorPicker {
  std::string_view button;  // the "..." button
  std::string_view title;   // the dialog's title
  std::string_view field;   // the record field it edits
  std::string_view swatch;  // the box that shows the colour
};

// The six pickers: ?BUTTON3 .. ?BUTTON3:5 and the font colour's ?BUTTON8.
const std::vector<ColorPicker>& ColorPickers();
// The picker of a "..." button; nullptr for any other control.
const ColorPicker* ColorPickerOf(std::string_view button);

// Opens the colour dialog with the picker's title and its field's value. On a
// pick the field takes the colour, the swatch's fill shows it and the field
// is redisplayed; cancelling changes nothing. Returns whether a colour was
// picked.
bool PickColor(Window& form, const ColorPicker& picker, store::WindowControls& record);

// Every swatch's fill from the record's colours.
void FillSwatches(Window& form, const store::WindowControls& record);

// The open-file dialogs: start from the field's value; a chosen path
// replaces it (cut to the field). Return whether a path was chosen.
bool PickWallpaper(store::WindowControls& record);  // "Choose a File", any file
bool PickIcon(store::WindowControls& record);       // "Select Icon", icons and pictures

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_PICKERS_H_
