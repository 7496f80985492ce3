// The processed-controls browse window declared as data: the marker drop
// list, the list of stored rows, and the Insert (hidden), Change, Delete and
// Exit buttons. Positions are dialog units of its font, MS Sans Serif 8; the
// window is resizable.
#ifndef WEVO_BROWSE_BROWSE_DECL_H_
#define WEVO_BROWSE_BROWSE_DECL_H_

#include "wevo/window_decl.h"

namespace wevo::browse {

// The caption as declared; the browse replaces it when it opens.
inline constexpr const char* kBrowseDeclaredCaption = "Browse the WindowControls file";
inline constexpr const char* kBrowseCaptionPrefix = "Processed controls for ";

// Labels, in field number order 1 to 6.
namespace BROWSE {
inline constexpr const char* Marker = "?LOC:UNIQUEMARKER";
inline constexpr const char* List = "?BROWSE:1";
inline constexpr const char* Insert = "?INSERT";
inline constexpr const char* Change = "?CHANGE";
inline constexpr const char* Delete = "?DELETE";
inline constexpr const char* Close = "?CLOSE";
}  // namespace BROWSE

// Columns Label, Description, Type and Control Text from the browse queue's
// first four fields; the control text shows its first 255 characters.
inline constexpr const char* kBrowseFormat =
    "80L(2)|M~Label~@s80@92L(2)|M~Description~@s100@72L(2)|M~Type~@s20@80L(2)|M~Control Text~@s255@";
inline constexpr const char* kMarkerFormat = "320L(2)|M@s80@";

// The window, its drop list bound to `marker` (LOC:UniqueMarker), which
// must outlive it.
WindowDecl BrowseFormDecl(char (&marker)[80]);

}  // namespace wevo::browse

#endif  // WEVO_BROWSE_BROWSE_DECL_H_
