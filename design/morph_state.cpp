#include "design/morph_state.h"

#include <cassert>

#include "wevo/codes.h"

namespace wevo::design {
namespace {

using Member = int32_t MorphState::*;

constexpr Member kNo[kHandleCount] = {&MorphState::H1NO, &MorphState::H2NO, &MorphState::H3NO, &MorphState::H4NO,
                                      &MorphState::H5NO, &MorphState::H6NO, &MorphState::H7NO, &MorphState::H8NO};
constexpr Member kX[kHandleCount] = {&MorphState::H1X, &MorphState::H2X, &MorphState::H3X, &MorphState::H4X,
                                     &MorphState::H5X, &MorphState::H6X, &MorphState::H7X, &MorphState::H8X};
constexpr Member kY[kHandleCount] = {&MorphState::H1Y, &MorphState::H2Y, &MorphState::H3Y, &MorphState::H4Y,
                                     &MorphState::H5Y, &MorphState::H6Y, &MorphState::H7Y, &MorphState::H8Y};

Member at(const Member (&table)[kHandleCount], int n) {
  assert(n >= 1 && n <= kHandleCount);
  return table[n - 1];
}

}  // namespace

int32_t& HandleNo(MorphState& s, int n) { return s.*at(kNo, n); }
int32_t& HandleX(MorphState& s, int n) { return s.*at(kX, n); }
int32_t& HandleY(MorphState& s, int n) { return s.*at(kY, n); }
int32_t HandleNo(const MorphState& s, int n) { return s.*at(kNo, n); }
int32_t HandleX(const MorphState& s, int n) { return s.*at(kX, n); }
int32_t HandleY(const MorphState& s, int n) { return s.*at(kY, n); }

MorphState StartingState(int32_t selected, int32_t firstControl, int32_t lastControl) {
  MorphState s;
  s.FIRSTCONTROL = firstControl;
  s.LASTCONTROL = lastControl;
  s.CONTROLNO = selected;
  s.HBORDERCOLOR = COLOR::Black;
  s.HCONTENTSCOLOR = COLOR::Red;
  s.HSIZE = 6;
  for (int n = 1; n <= kHandleCount; ++n) HandleNo(s, n) = kFirstHandleField + n - 1;
  return s;
}

}  // namespace wevo::design
