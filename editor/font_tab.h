// The property form's font tab: the face list (a copy of the library's list,
// font_face_list.h), the size entry and list, the four style checks, the font
// colour and the script, and a sample drawn in the chosen font.
//
// Used on the thread that runs the form. The form must be open (form_decl.h)
// before Attach().
#ifndef WEVO_EDITOR_FONT_TAB_H_
#define WEVO_EDITOR_FONT_TAB_H_

#include <vector>

#include "editor/font_face_list.h"
#include "editor/font_style.h"
#include "store/window_controls.h"
#include "wevo/window.h"
#include "wevo/window_decl.h"

namespace wevo::editor {

class FontTab {
 public:
  // `faces` are the rows the face list shows. `form`, `record` and `flags`
  // (the style checks' variables) must outlive the tab.
  FontTab(Window& form, store::WindowControls& record, StyleFlags& flags, std::vector<FQUE> faces);
  FontTab(const FontTab&) = delete;
  FontTab& operator=(const FontTab&) = delete;

  // Shows the face list in ?LIST6.
  void Attach();
  // Shows the record's font: the style checks from WIN:FONTSTYLE, WIN:TYPEFACE
  // chosen in the face list (nothing chosen when it is not there), the colour
  // swatch, the sample.
  void ShowFont();
  // WIN:FONTSTYLE from the style checks; then the sample.
  void StoreStyle();
  // Copies every control's screen value into its variable, then draws the
  // sample in the record's face, size, style, colour and character set.
  void UpdateSample();
  // Handles an event of the font tab's controls; false when the event is not
  // one of theirs.
  bool TakeEvent(int event, int field);

  const std::vector<FQUE>& faces() const { return faces_; }

 private:
  Window& form_;
  store::WindowControls& record_;
  StyleFlags& flags_;
  std::vector<FQUE> faces_;
  VectorListSource<FQUE> source_;
};

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_FONT_TAB_H_
