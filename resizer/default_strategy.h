// Which controls the window resizer manages and how it lays each out by
// default, by application strategy and control type.
//
// Application strategies:
//   1  buttons, checks and radios keep their size and their distance to the
//      nearer edges; entries, drop lists, combos and spins scale across and
//      keep their height; everything else scales. (What the library uses.)
//   2  as 1, each control placed inside the container that encloses it.
//   3  every control keeps its position and size.
//   4  as 5, each control placed inside the container that encloses it.
//   5  every control keeps its size and its offset from the centre.
// Any other number reads as 1.
#ifndef WEVO_RESIZER_DEFAULT_STRATEGY_H_
#define WEVO_RESIZER_DEFAULT_STRATEGY_H_

#include <cstdint>

namespace wevo::resizer {

struct DefaultStrategy {
  uint16_t positional = 0;  // PLACE:: codes, horizontal low byte, vertical high byte
  uint16_t resize = 0;      // SIZE:: bits
};

// 1 to 5; anything else gives 1.
int NormalStrategy(int appStrategy);

// Whether the strategy places controls inside their enclosing containers.
bool StrategyUsesContainers(int appStrategy);

// Types 1 to 127 but menus, menu items, menu bars, tabs and the codes 24, 25.
bool IsManagedType(int32_t type);

// The type a control row records: a list (14 or 33) with a drop-down counts
// as an entry (8); every other type as it is.
int32_t RecordedType(int32_t type, bool dropDown);

// The default placement and size rule of a recorded type.
DefaultStrategy DefaultStrategyFor(int appStrategy, int32_t recordedType);

}  // namespace wevo::resizer

#endif  // WEVO_RESIZER_DEFAULT_STRATEGY_H_
