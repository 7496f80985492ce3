// The step table of a page-loaded list: 100 label values spread evenly
// between the first and the last label of the rows the list can show, so
// that a scroll thumb position (1 to 100) names a label to move to and a
// label gives the thumb its position, without reading the rows between.
#ifndef WEVO_BROWSE_STEP_TABLE_H_
#define WEVO_BROWSE_STEP_TABLE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wevo::browse {

class StepTable {
 public:
  static constexpr int kSteps = 100;

  // Spreads the steps between two labels, compared as the store's order
  // compares them: letters without regard to case, trailing blanks ignored.
  // Labels are read as numbers over their first eight characters, so the
  // spread is even over the label text. Step 1 is `first` and step 100
  // `last` (as far as those characters go), letters in lower case.
  void Build(std::string_view first, std::string_view last);
  // No rows: no steps.
  void Clear() { steps_.clear(); }
  bool empty() const { return steps_.empty(); }

  // The label of step `thumb` (clamped to 1 ... 100); "" without steps.
  std::string LabelAt(int thumb) const;
  // The step of a label: the last step whose value is not after it (1 when
  // it lies before them all); 1 without steps or when all steps are one
  // label.
  int ThumbOf(std::string_view label) const;

 private:
  std::vector<uint64_t> steps_;  // ascending
};

}  // namespace wevo::browse

#endif  // WEVO_BROWSE_STEP_TABLE_H_
