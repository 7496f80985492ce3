#include "browse/step_table.h"

#include <algorithm>

#include "wevo/text.h"

namespace wevo::browse {
namespace {

// A label is read as a number of kDigits digits, one per printable
// character in the store's order of text, which ignores case by folding
// letters to lower case: the blank (digit 0) ... '@', '[' ... '`', the
// letters, '{' ... '~' (digit 68). Characters past kDigits are ignored,
// missing ones count as blanks. 69^8 times 99 stays within 64 bits.
constexpr int kDigits = 8;
constexpr uint64_t kBase = 69;
constexpr int kUpperLetters = 26;

uint64_t digitOf(char c) {
  int code = std::clamp(static_cast<int>(static_cast<unsigned char>(c)), 32, 126);
  if (code >= 'A' && code <= 'Z') code += 'a' - 'A';
  return static_cast<uint64_t>(code < 'A' ? code - 32 : code - 32 - kUpperLetters);
}

char charOf(uint64_t digit) {
  const int code = static_cast<int>(digit) + 32;
  return static_cast<char>(code < 'A' ? code : code + kUpperLetters);
}

uint64_t valueOf(std::string_view label) {
  label = text::clip(label);
  uint64_t v = 0;
  for (int i = 0; i < kDigits; ++i) v = v * kBase + (static_cast<size_t>(i) < label.size() ? digitOf(label[i]) : 0);
  return v;
}

std::string labelOf(uint64_t v) {
  std::string s(kDigits, ' ');
  for (int i = kDigits - 1; i >= 0; --i) {
    s[static_cast<size_t>(i)] = charOf(v % kBase);
    v /= kBase;
  }
  return std::string(text::clip(s));
}

}  // namespace

void StepTable::Build(std::string_view first, std::string_view last) {
  uint64_t low = valueOf(first), high = valueOf(last);
  if (high < low) std::swap(low, high);
  steps_.assign(kSteps, 0);
  for (int i = 0; i < kSteps; ++i)
    steps_[static_cast<size_t>(i)] = low + (high - low) / (kSteps - 1) * static_cast<uint64_t>(i) +
                                     (high - low) % (kSteps - 1) * static_cast<uint64_t>(i) / (kSteps - 1);
}

std::string StepTable::LabelAt(int thumb) const {
  if (steps_.empty()) return {};
  return labelOf(steps_[static_cast<size_t>(std::clamp(thumb, 1, kSteps) - 1)]);
}

int StepTable::ThumbOf(std::string_view label) const {
  if (steps_.empty() || steps_.front() == steps_.back()) return 1;
  const uint64_t v = valueOf(label);
  const auto after = std::upper_bound(steps_.begin(), steps_.end(), v);
  return std::max(1, static_cast<int>(after - steps_.begin()));
}

}  // namespace wevo::browse
