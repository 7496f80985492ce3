#include "platform/toolkit/list_format.h"

#include "wevo/text.h"

namespace wevo::toolkit {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int readInt(std::string_view s, size_t& i) {
  int v = 0;
  while (i < s.size() && isDigit(s[i])) {
    if (v < 1000000) v = v * 10 + (s[i] - '0');
    ++i;
  }
  return v;
}

bool isAlign(char c) {
  c = text::upperChar(c);
  return c == 'L' || c == 'R' || c == 'C' || c == 'D';
}

// An alignment letter with an optional "(n)" indent.
void readAlign(std::string_view s, size_t& i, char& align, int& indent) {
  align = text::upperChar(s[i++]);
  if (i < s.size() && s[i] == '(') {
    ++i;
    indent = readInt(s, i);
    while (i < s.size() && s[i] != ')') ++i;
    if (i < s.size()) ++i;
  }
}

}  // namespace

std::vector<ListColumn> parseListFormat(std::string_view f) {
  std::vector<ListColumn> columns;
  size_t i = 0;
  int nextField = 1;
  while (i < f.size()) {
    // A column starts with its width.
    if (!isDigit(f[i])) {
      ++i;
      continue;
    }
    ListColumn col;
    col.width = readInt(f, i);
    if (i < f.size() && isAlign(f[i])) readAlign(f, i, col.align, col.indent);
    bool explicitField = false;
    while (i < f.size() && !isDigit(f[i])) {
      char c = f[i];
      if (c == '|') {
        col.rightBorder = true;
        ++i;
      } else if (text::upperChar(c) == 'M') {
        col.resizable = true;
        ++i;
      } else if (c == '~') {
        size_t end = f.find('~', i + 1);
        if (end == std::string_view::npos) end = f.size();
        col.header = std::string(f.substr(i + 1, end - i - 1));
        i = end < f.size() ? end + 1 : end;
        col.headerAlign = col.align;
        if (i < f.size() && isAlign(f[i])) readAlign(f, i, col.headerAlign, col.headerIndent);
      } else if (c == '@') {
        size_t end = f.find('@', i + 1);
        if (end == std::string_view::npos) end = f.size();
        col.picture = std::string(f.substr(i + 1, end - i - 1));
        i = end < f.size() ? end + 1 : end;
      } else if (c == '#') {
        ++i;
        col.field = readInt(f, i);
        explicitField = true;
        if (i < f.size() && f[i] == '#') ++i;
      } else {
        ++i;
      }
    }
    if (!explicitField || col.field <= 0) col.field = nextField;
    nextField = col.field + 1;
    columns.push_back(std::move(col));
  }
  return columns;
}

}  // namespace wevo::toolkit
