#include "editor/cursor_list.h"

#include "wevo/text.h"

namespace wevo::editor {
namespace {

struct Entry {
  std::string_view name;
  std::string_view equate;
};

// The identifiers are spelt with their lengths: "None" holds NUL bytes.
constexpr Entry kCursors[kCursorCount] = {
    {"Default", std::string_view()},
    {"None", std::string_view("\xFF\x01\x00\x00", 4)},
    {"Arrow", std::string_view("\xFF\x01\x01\x7F", 4)},
    {"IBeam", std::string_view("\xFF\x01\x02\x7F", 4)},
    {"Wait", std::string_view("\xFF\x01\x03\x7F", 4)},
    {"Cross", std::string_view("\xFF\x01\x04\x7F", 4)},
    {"UpArrow", std::string_view("\xFF\x01\x05\x7F", 4)},
    {"Size", std::string_view("\xFF\x01\x81\x7F", 4)},
    {"Icon", std::string_view("\xFF\x01\x82\x7F", 4)},
    {"SizeNWSE", std::string_view("\xFF\x01\x83\x7F", 4)},
    {"SizeNESW", std::string_view("\xFF\x01\x84\x7F", 4)},
    {"SizeWE", std::string_view("\xFF\x01\x85\x7F", 4)},
    {"SizeNS", std::string_view("\xFF\x01\x86\x7F", 4)},
    {"DragWE", std::string_view("\xFF\x02\x01\x7F", 4)},
    {"Drop", std::string_view("\xFF\x02\x02\x7F", 4)},
    {"NoDrop", std::string_view("\xFF\x02\x03\x7F", 4)},
    {"Zoom ", std::string_view("\xFF\x02\x04\x7F", 4)},
};

}  // namespace

void FillCursorList(std::vector<CURS>& list) {
  list.clear();
  for (const Entry& e : kCursors) {
    CURS row;
    text::assign(row.NAME, e.name);
    text::assign(row.EQUATE, e.equate);
    list.push_back(row);
  }
}

std::string_view CursorEquate(const CURS& row) { return text::clipped(row.EQUATE); }
std::string_view CursorName(const CURS& row) { return text::clipped(row.NAME); }

int FindCursorByEquate(const std::vector<CURS>& list, std::string_view equate) {
  for (size_t i = 0; i < list.size(); ++i)
    if (text::sameClipped(CursorEquate(list[i]), equate)) return static_cast<int>(i) + 1;
  return 0;
}

int FindCursorByName(const std::vector<CURS>& list, std::string_view name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (text::sameClipped(CursorName(list[i]), name)) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace wevo::editor
