#include "resizer/default_strategy.h"

#include "resizer/resizer_tables.h"
#include "wevo/codes.h"

namespace wevo::resizer {

namespace {

constexpr uint16_t vertical(uint16_t code) { return static_cast<uint16_t>(code * PLACE::kVertical); }

DefaultStrategy byTypeStrategy(int32_t type) {
  switch (type) {
    case TYPE::Button: case TYPE::Check: case TYPE::Radio:
      return {static_cast<uint16_t>(PLACE::NearerEdge | vertical(PLACE::NearerEdge)),
              static_cast<uint16_t>(SIZE::KeepWidth | SIZE::KeepHeight)};
    case TYPE::Entry: case TYPE::Combo: case TYPE::Spin: case TYPE::DropCombo:
      return {PLACE::Scale, SIZE::KeepHeight};
    default:
      return {PLACE::Scale, 0};
  }
}

}  // namespace

int NormalStrategy(int appStrategy) { return appStrategy >= 1 && appStrategy <= 5 ? appStrategy : 1; }

bool StrategyUsesContainers(int appStrategy) {
  int s = NormalStrategy(appStrategy);
  return s == 2 || s == 4;
}

bool IsManagedType(int32_t type) {
  if (type < 1 || type > 127) return false;
  switch (type) {
    case TYPE::Menu: case TYPE::Item: case TYPE::MenuBar: case 24: case 25: case TYPE::Tab:
      return false;
    default:
      return true;
  }
}

int32_t RecordedType(int32_t type, bool dropDown) {
  if (dropDown && (type == TYPE::List || type == TYPE::DropList)) return TYPE::Entry;
  return type;
}

DefaultStrategy DefaultStrategyFor(int appStrategy, int32_t recordedType) {
  const uint16_t keepSize = SIZE::KeepWidth | SIZE::KeepHeight;
  switch (NormalStrategy(appStrategy)) {
    case 3:
      return {static_cast<uint16_t>(PLACE::Keep | vertical(PLACE::Keep)), keepSize};
    case 4: case 5:
      return {static_cast<uint16_t>(PLACE::Centre | vertical(PLACE::Centre)), keepSize};
    default:
      return byTypeStrategy(recordedType);
  }
}

}  // namespace wevo::resizer
