#include "admin/text_table.h"

#include <algorithm>

namespace wevo::admin {
namespace {

// Characters of UTF-8 text: every byte that does not continue a sequence.
size_t characters(std::string_view s) {
  return static_cast<size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

TextTable::TextTable(std::vector<std::string> headers, std::string align)
    : headers_(std::move(headers)), align_(std::move(align)) {
  align_.resize(headers_.size(), 'L');
}

void TextTable::add(std::vector<std::string> cells) {
  cells.resize(headers_.size());
  rows_.push_back(std::move(cells));
}

void TextTable::print(std::ostream& out, bool header) const {
  std::vector<size_t> width(headers_.size(), 0);
  auto measure = [&](const std::vector<std::string>& cells) {
    for (size_t c = 0; c < cells.size(); ++c) width[c] = std::max(width[c], characters(cells[c]));
  };
  if (header) measure(headers_);
  for (const auto& r : rows_) measure(r);
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (size_t c = 0; c < cells.size(); ++c) {
      const std::string pad(width[c] - characters(cells[c]), ' ');
      const bool last = c + 1 == cells.size();
      if (c > 0) text += "  ";
      if (align_[c] == 'R')
        text += pad + cells[c];
      else
        text += last ? cells[c] : cells[c] + pad;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << "\n";
  };
  if (header) line(headers_);
  for (const auto& r : rows_) line(r);
}

std::string cellText(std::string_view text, size_t max) {
  std::string out;
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool starts = (c & 0xC0) != 0x80;
    if (starts && ++count > max) {
      out += "...";
      break;
    }
    out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  return out;
}

}  // namespace wevo::admin
