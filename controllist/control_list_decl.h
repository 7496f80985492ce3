// The control list window, "  All Screen Fields", declared as data: a sheet
// with the field list ("All Fields", filtered by the "Show" option) and the
// tab order list ("Tab Order", with Up, Down and Apply), and the Reset List,
// Reset Selected and Exit buttons below it. Positions are dialog units of
// its font, Arial 8.
#ifndef WEVO_CONTROLLIST_CONTROL_LIST_DECL_H_
#define WEVO_CONTROLLIST_CONTROL_LIST_DECL_H_

#include <cstdint>

#include "wevo/window_decl.h"

namespace wevo::controllist {

inline constexpr const char* kControlListCaption = "  All Screen Fields";

// Labels of the window's controls, in declaration (field number) order.
namespace LIST {
inline constexpr const char* Sheet = "?SHEET1";
inline constexpr const char* TabFields = "?TAB1";
inline constexpr const char* Show = "?LOC:SHOW";
inline constexpr const char* ShowAll = "?LOC:SHOW:RADIO1";
inline constexpr const char* ShowPrompts = "?LOC:SHOW:RADIO1:2";
inline constexpr const char* ShowEntries = "?LOC:SHOW:RADIO1:3";
inline constexpr const char* ShowButtons = "?LOC:SHOW:RADIO1:4";
inline constexpr const char* Fields = "?FIELDS";
inline constexpr const char* Edit = "?EDIT";
inline constexpr const char* TabOrderTab = "?TAB2";
inline constexpr const char* TabOrder = "?TABORDER";
inline constexpr const char* Up = "?UP";
inline constexpr const char* Down = "?DOWN";
inline constexpr const char* Apply = "?APPLY";
inline constexpr const char* Reset = "?RESET";
inline constexpr const char* ResetSelected = "?RESETSELECTED";
inline constexpr const char* Cancel = "?CANCEL";
}  // namespace LIST

// The pale yellow of both lists.
inline constexpr int32_t kListBackground = 0xD7FFFF;

// Columns: label, type, text, state and description of a controls-queue
// row (source fields 1 to 5); the tab order list hides the state.
inline constexpr const char* kFieldsFormat =
    "78L(2)|M~Label~@s60@#1#53L(2)|M~Type~L(1)@s20@#2#91L(2)|M~Text~@s80@#3#39L(2)|M~State~@s20@#4#"
    "12L(2)|M~Description~@s60@#5#";
inline constexpr const char* kTabOrderFormat =
    "107L(2)|M~Label~@s60@#1#38L(2)|M~Type~L(1)@s20@#2#82L(2)|M~Text~@s80@#3#0L(2)|M@s20@#4#"
    "12L(2)|M~Description~@s60@#5#";

// The window, its option bound to `show` (LOC:SHOW), which must outlive it.
WindowDecl ControlListDecl(char (&show)[1]);

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_CONTROL_LIST_DECL_H_
