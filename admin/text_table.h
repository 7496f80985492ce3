// Rows of text cells printed as aligned columns, for the tool's reports.
#ifndef WEVO_ADMIN_TEXT_TABLE_H_
#define WEVO_ADMIN_TEXT_TABLE_H_

#include <ostream>
#include <string>
#include <vector>

namespace wevo::admin {

class TextTable {
 public:
  // `align` has one letter per column: 'L' left, 'R' right (numbers).
  TextTable(std::vector<std::string> headers, std::string align);
  void add(std::vector<std::string> cells);
  size_t rows() const { return rows_.size(); }
  // The header (unless `header` is false) and the rows, columns two blanks
  // apart; the last column is not padded. Widths count characters, not
  // bytes, of UTF-8 text.
  void print(std::ostream& out, bool header = true) const;

 private:
  std::vector<std::string> headers_;
  std::string align_;
  std::vector<std::vector<std::string>> rows_;
};

// A text fit for one cell: control characters as "?", cut to `max`
// characters with "..." when longer.
std::string cellText(std::string_view text, size_t max = 40);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_TEXT_TABLE_H_
