// The cursor list of the property form: the toolkit's 17 standard mouse
// cursors by name, with the identifier each one stores in WIN:CURSOR.
#ifndef WEVO_EDITOR_CURSOR_LIST_H_
#define WEVO_EDITOR_CURSOR_LIST_H_

#include <string_view>
#include <vector>

namespace wevo::editor {

// One row: the name the list shows and the identifier stored for it (blank
// for "Default"; otherwise 4 bytes, which may include NUL bytes).
struct CURS {
  char NAME[20];
  char EQUATE[40];
};

inline constexpr int kCursorCount = 17;

// Empties `list` and fills it with the 17 cursors in their fixed order:
// Default, None, Arrow, IBeam, Wait, Cross, UpArrow, Size, Icon, SizeNWSE,
// SizeNESW, SizeWE, SizeNS, DragWE, Drop, NoDrop, "Zoom " (with its blank).
void FillCursorList(std::vector<CURS>& list);

// The 1-based row whose identifier is `equate` (trailing blanks ignored;
// blank finds "Default"), 0 when none is.
int FindCursorByEquate(const std::vector<CURS>& list, std::string_view equate);
// The 1-based row whose name is `name` (trailing blanks ignored), 0 when none is.
int FindCursorByName(const std::vector<CURS>& list, std::string_view name);

// A row's identifier and name as text, trailing blanks removed.
std::string_view CursorEquate(const CURS& row);
std::string_view CursorName(const CURS& row);

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_CURSOR_LIST_H_
