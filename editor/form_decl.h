// The property form's window, declared as data: a sheet of six tabs
// ("General", "Extra", "Color", "Help", "Position", "Font") over every field
// of one WindowControls record, and the Reset, Save and Cancel buttons.
//
// Controls that edit a record field are named after it ("?WIN:DESCRIPTION")
// and bound to it by name through the store's declaration; a field's prompt
// is named after the field with ":Prompt" ("?WIN:DESCRIPTION:Prompt").
// Controls that only some control types need start hidden; the layout by
// type (form_layout.h) shows and moves them.
#ifndef WEVO_EDITOR_FORM_DECL_H_
#define WEVO_EDITOR_FORM_DECL_H_

#include <string_view>

#include "editor/font_style.h"
#include "store/window_controls.h"
#include "wevo/window_decl.h"

namespace wevo::editor {

// The form's own variables besides the record.
struct FormVars {
  char INFOMESSAGE[100];  // "procedure - marker", shown at the top of the General tab
  char CURSORDESCR[40];   // the name of the cursor chosen in ?CURSORDESCR
  StyleFlags STYLE;       // the font tab's four style checks
};

// Labels the form's code addresses.
namespace FORM {
inline constexpr const char* Sheet = "?CURRENTTAB";
inline constexpr const char* TabGeneral = "?TAB1";
inline constexpr const char* TabExtra = "?TAB2";
inline constexpr const char* TabColor = "?TAB3";
inline constexpr const char* TabHelp = "?TAB4";
inline constexpr const char* TabPosition = "?TAB5";
inline constexpr const char* TabFont = "?TAB6";
inline constexpr const char* Reset = "?RESET";
inline constexpr const char* Ok = "?OK";
inline constexpr const char* Cancel = "?CANCEL";
inline constexpr const char* InfoMessage = "?INFOMESSAGE";
inline constexpr const char* FaceList = "?LIST6";
inline constexpr const char* SizeEntry = "?WIN:FONTSIZE:2";
inline constexpr const char* SizeList = "?WIN:FONTSIZE";
inline constexpr const char* Typeface = "?WIN:TYPEFACE";
inline constexpr const char* Charset = "?WIN:CHARSET";
inline constexpr const char* Strikeout = "?BSTRIKEOUT";
inline constexpr const char* Underline = "?BUNDERLINE";
inline constexpr const char* Bold = "?BBOLD";
inline constexpr const char* Italic = "?BITALIC";
inline constexpr const char* FontColorBox = "?BOX5";
inline constexpr const char* FontColorButton = "?BUTTON8";
inline constexpr const char* Sample = "?TEXTSAMPLE";
inline constexpr const char* CursorList = "?CURSORDESCR";
inline constexpr const char* WallpaperLookup = "?LOOKUPFILE:2";
inline constexpr const char* IconLookup = "?LOOKUPFILE";
}  // namespace FORM

// The justification choices, all five; a type that allows fewer takes the
// first three or four.
inline constexpr std::string_view kJustificationChoices =
    "Default|#0|Left Justified|#1|Right Justified|#2|Centered|#3|Decimal|#4";

// The form window, its controls bound to `record` and `vars`, which must
// outlive it. Positions are dialog units of its font, Arial 8.
WindowDecl PropertyFormDecl(store::WindowControls& record, FormVars& vars);

// A binding to the record field named `fieldName` ("DESCRIPTION"), found
// through the store's declaration; none for a name it does not declare.
Binding RecordBinding(store::WindowControls& record, std::string_view fieldName);

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_FORM_DECL_H_
