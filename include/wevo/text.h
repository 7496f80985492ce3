// Fixed-width, blank-padded text: the form every text field of a record and
// every text variable bound to a control takes. These helpers are the one
// place that pads, cuts, clips and compares such text.
#ifndef WEVO_TEXT_H_
#define WEVO_TEXT_H_

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace wevo::text {

// The text without its trailing blanks.
inline std::string_view clip(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

// Text a host wrote into a fixed-width field: up to its first NUL (hosts in
// C end their strings with one and may leave anything after it), without
// trailing blanks.
inline std::string_view hostText(std::string_view s) { return clip(s.substr(0, s.find('\0'))); }
// A fixed-width field's bytes as text (all `width` bytes, blanks included).
inline std::string_view field(const char* data, size_t width) { return std::string_view(data, width); }

template <size_t N>
std::string_view field(const char (&data)[N]) {
  return std::string_view(data, N);
}

// The field's text without trailing blanks.
template <size_t N>
std::string_view clipped(const char (&data)[N]) {
  return clip(field(data));
}

// Copies `value` into a field of `width` bytes: cut at the width, padded with
// blanks. A NUL in `value` is copied as it stands.
inline void assign(char* data, size_t width, std::string_view value) {
  size_t n = value.size() < width ? value.size() : width;
  if (n > 0) std::memcpy(data, value.data(), n);
  if (width > n) std::memset(data + n, ' ', width - n);
}

template <size_t N>
void assign(char (&data)[N], std::string_view value) {
  assign(data, N, value);
}

// Fills a field with blanks.
template <size_t N>
void blank(char (&data)[N]) {
  std::memset(data, ' ', N);
}

inline char upperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = upperChar(c);
  return out;
}

// Equal when the texts match letter for letter ignoring ASCII letter case and
// trailing blanks: how names, markers and labels are compared.
inline bool sameNoCase(std::string_view a, std::string_view b) {
  a = clip(a);
  b = clip(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upperChar(a[i]) != upperChar(b[i])) return false;
  return true;
}

// Equal when the texts match exactly, trailing blanks ignored.
inline bool sameClipped(std::string_view a, std::string_view b) { return clip(a) == clip(b); }

}  // namespace wevo::text

#endif  // WEVO_TEXT_H_
