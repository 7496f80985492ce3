#include "browse/browse_rows.h"

#include <cstring>

#include "store/control_type_names.h"
#include "wevo/text.h"

namespace wevo::browse {

std::string_view TypeNameOf(int32_t type) { return store::ControlTypeName(type, store::TypeNames::kStoredRows); }

BRW1 RowOfRecord(const store::WindowControls& record, std::string_view position) {
  BRW1 row;
  std::memcpy(row.WIN_CONTROLLABEL, record.CONTROLLABEL, sizeof row.WIN_CONTROLLABEL);
  std::memcpy(row.WIN_DESCRIPTION, record.DESCRIPTION, sizeof row.WIN_DESCRIPTION);
  text::assign(row.LOC_TYPE, TypeNameOf(record.TYPE));
  std::memcpy(row.WIN_CONTROLTEXT, record.CONTROLTEXT, sizeof row.WIN_CONTROLTEXT);
  row.WIN_TYPE = record.TYPE;
  row.WIN_UID = record.UID;
  std::memcpy(row.WIN_PROCEDURENAME, record.PROCEDURENAME, sizeof row.WIN_PROCEDURENAME);
  std::memcpy(row.WIN_UNIQUEMARKER, record.UNIQUEMARKER, sizeof row.WIN_UNIQUEMARKER);
  row.MARK = 0;
  text::assign(row.POSITION, position);
  return row;
}

void RowToRecord(const BRW1& row, store::WindowControls& record, char (&locType)[20]) {
  std::memcpy(record.CONTROLLABEL, row.WIN_CONTROLLABEL, sizeof record.CONTROLLABEL);
  std::memcpy(record.DESCRIPTION, row.WIN_DESCRIPTION, sizeof record.DESCRIPTION);
  std::memcpy(record.CONTROLTEXT, row.WIN_CONTROLTEXT, sizeof record.CONTROLTEXT);
  record.TYPE = row.WIN_TYPE;
  record.UID = row.WIN_UID;
  std::memcpy(record.PROCEDURENAME, row.WIN_PROCEDURENAME, sizeof record.PROCEDURENAME);
  std::memcpy(record.UNIQUEMARKER, row.WIN_UNIQUEMARKER, sizeof record.UNIQUEMARKER);
  std::memcpy(locType, row.LOC_TYPE, sizeof locType);
}

std::string PositionOf(const BRW1& row) { return std::string(text::clipped(row.POSITION)); }

std::string BrowseCell(const BRW1& row, int field) {
  switch (field) {
    case 1: return std::string(text::clipped(row.WIN_CONTROLLABEL));
    case 2: return std::string(text::clipped(row.WIN_DESCRIPTION));
    case 3: return std::string(text::clipped(row.LOC_TYPE));
    case 4: return std::string(text::clipped(row.WIN_CONTROLTEXT));
    default: return {};
  }
}

}  // namespace wevo::browse
