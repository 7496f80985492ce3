#include "editor/font_tab.h"

#include <string>
#include <utility>

#include "editor/form_decl.h"
#include "editor/pickers.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::editor {

FontTab::FontTab(Window& form, store::WindowControls& record, StyleFlags& flags, std::vector<FQUE> faces)
    : form_(form),
      record_(record),
      flags_(flags),
      faces_(std::move(faces)),
      source_(faces_, [](const FQUE& row, int) { return std::string(FaceName(row)); }) {}

void FontTab::Attach() { form_.setList(form_.fieldOf(FORM::FaceList), &source_); }

void FontTab::ShowFont() {
  flags_ = FlagsFromStyle(record_.FONTSTYLE);
  for (const char* check : {FORM::Strikeout, FORM::Underline, FORM::Bold, FORM::Italic})
    form_.display(form_.fieldOf(check));
  form_.setSelection(form_.fieldOf(FORM::FaceList), FindFace(faces_, text::clipped(record_.TYPEFACE)));
  form_.set(form_.fieldOf(FORM::FontColorBox), PROP::Fill, Value(record_.FONTCOLOR));
  UpdateSample();
}

void FontTab::StoreStyle() {
  record_.FONTSTYLE = StyleFromFlags(flags_);
  UpdateSample();
}

void FontTab::UpdateSample() {
  form_.update();
  const int sample = form_.fieldOf(FORM::Sample);
  form_.set(sample, PROP::Text, Value(SampleText()));
  form_.set(sample, PROP::FontStyle, Value(record_.FONTSTYLE));
  form_.set(sample, PROP::FontSize, Value(record_.FONTSIZE));
  form_.set(sample, PROP::FontName, Value(text::clipped(record_.TYPEFACE)));
  form_.set(sample, PROP::FontColor, Value(record_.FONTCOLOR));
  form_.set(sample, PROP::FontCharset, Value(record_.CHARSET));
  form_.display(sample);
}

bool FontTab::TakeEvent(int event, int field) {
  const std::string label = form_.label(field);
  if (label.empty()) return false;
  if (text::sameNoCase(label, FORM::Typeface)) {
    if (event != EVENT::Accepted) return true;
    form_.update();
    // A face the list does not have is kept as typed, the list left alone.
    if (const int row = FindFace(faces_, text::clipped(record_.TYPEFACE)); row != 0)
      form_.setSelection(form_.fieldOf(FORM::FaceList), row);
    UpdateSample();
    return true;
  }
  if (text::sameNoCase(label, FORM::FaceList)) {
    if (event != EVENT::NewSelection) return true;
    const int row = form_.selection(field);
    if (row >= 1 && static_cast<size_t>(row) <= faces_.size()) {
      text::assign(record_.TYPEFACE, FaceName(faces_[static_cast<size_t>(row) - 1]));
      form_.display(form_.fieldOf(FORM::Typeface));
    }
    UpdateSample();
    return true;
  }
  if (text::sameNoCase(label, FORM::SizeList)) {
    if (event != EVENT::NewSelection) return true;
    form_.display(form_.fieldOf(FORM::SizeEntry));
    UpdateSample();
    return true;
  }
  if (text::sameNoCase(label, FORM::SizeEntry)) {
    if (event != EVENT::Accepted) return true;
    // The size list follows the typed size, so that copying screen values
    // back cannot put its old choice over it.
    form_.display(form_.fieldOf(FORM::SizeList));
    UpdateSample();
    return true;
  }
  for (const char* check : {FORM::Strikeout, FORM::Underline, FORM::Bold, FORM::Italic})
    if (text::sameNoCase(label, check)) {
      if (event == EVENT::Accepted) StoreStyle();
      return true;
    }
  if (text::sameNoCase(label, FORM::FontColorButton)) {
    if (event == EVENT::Accepted && PickColor(form_, *ColorPickerOf(FORM::FontColorButton), record_))
      UpdateSample();
    return true;
  }
  if (text::sameNoCase(label, FORM::Charset)) {
    if (event != EVENT::NewSelection) return true;
    UpdateSample();
    form_.set(form_.fieldOf("?WIN:CONTROLTEXT"), PROP::FontCharset, Value(record_.CHARSET));
    return true;
  }
  return false;
}

}  // namespace wevo::editor
