#include "editor/pickers.h"

#include <string>

#include "editor/form_decl.h"
#include "platform/keyedfile/file_decl.h"
#include "wevo/props.h"
#include "wevo/runtime.h"
#include "wevo/text.h"

namespace wevo::editor {
namespace {

constexpr int kOpenFile = 16;
constexpr size_t kPathBuffer = 256;

const kf::FieldDecl& fieldDecl(std::string_view name) {
  const kf::FileDecl& decl = store::winDecl();
  return decl.fields[static_cast<size_t>(decl.fieldIndex(name))];
}

int32_t colorOf(const store::WindowControls& record, std::string_view field) {
  return static_cast<int32_t>(kf::readNumber(fieldDecl(field), &record));
}

bool pickFile(char* data, size_t width, std::string_view title, std::string_view filter) {
  std::string value(text::clip(std::string_view(data, width)).substr(0, kPathBuffer));
  if (!fileDialog(title, value, filter, kOpenFile)) return false;
  text::assign(data, width, value);
  return true;
}

}  // namespace

const std::vector<ColorPicker>& ColorPickers() {
  static const std::vector<ColorPicker> pickers = {
      {"?BUTTON3", "Text Color", "TEXTCOLOR", "?BOX1"},
      {"?BUTTON3:2", "Background Color", "BACKGROUND", "?BOX1:2"},
      {"?BUTTON3:3", "Selected Color", "SELECTEDTEXT", "?BOX1:3"},
      {"?BUTTON3:4", "Selected Backround Color", "SELECTEDFILL", "?BOX1:4"},
      {"?BUTTON3:5", "Selected Grid Color", "ANGLE", "?BOX1:5"},
      {FORM::FontColorButton, "Text Color", "FONTCOLOR", FORM::FontColorBox},
  };
  return pickers;
}

const ColorPicker* ColorPickerOf(std::string_view button) {
  for (const ColorPicker& p : ColorPickers())
    if (text::sameNoCase(p.button, button)) return &p;
  return nullptr;
}

bool PickColor(Window& form, const ColorPicker& picker, store::WindowControls& record) {
  int32_t color = colorOf(record, picker.field);
  if (!colorDialog(picker.title, color)) return false;
  kf::writeNumber(fieldDecl(picker.field), &record, color);
  form.set(form.fieldOf(picker.swatch), PROP::Fill, Value(color));
  // The font colour has no entry of its own.
  if (const int entry = form.fieldOf("?WIN:" + std::string(picker.field)); entry != 0) form.display(entry);
  return true;
}

void FillSwatches(Window& form, const store::WindowControls& record) {
  for (const ColorPicker& p : ColorPickers())
    form.set(form.fieldOf(p.swatch), PROP::Fill, Value(colorOf(record, p.field)));
}

bool PickWallpaper(store::WindowControls& record) {
  return pickFile(record.WALLPAPER, sizeof record.WALLPAPER, "Choose a File", "All Files|*.*");
}

bool PickIcon(store::WindowControls& record) {
  return pickFile(record.ICON, sizeof record.ICON, "Select Icon",
                  "ICO Files|*.ico|BMP Files|*.bmp|GIF Files|*.gif|JPG Files|*.jpg|Windows Metafiles|*.wmf|"
                  "All Files|*.*");
}

}  // namespace wevo::editor
