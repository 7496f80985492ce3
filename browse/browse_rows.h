// The rows of the processed-controls browse: the marker queue AID behind its
// drop list, and the browse queue BRW1:: behind its list, one row per stored
// record shown, with the record's position in the store.
#ifndef WEVO_BROWSE_BROWSE_ROWS_H_
#define WEVO_BROWSE_BROWSE_ROWS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/window_controls.h"

namespace wevo::browse {

// Text fields are fixed width and blank-padded (wevo/text.h).
struct AID {
  char UNIQUEMARKER[80];
};
using MarkerQueue = std::vector<AID>;

// BRW1::WIN:CONTROLLABEL is WIN_CONTROLLABEL, BRW1::LOC:TYPE is LOC_TYPE, ...
struct BRW1 {
  char WIN_CONTROLLABEL[80];
  char WIN_DESCRIPTION[100];
  char LOC_TYPE[20];  // the name of WIN_TYPE (TypeNameOf)
  char WIN_CONTROLTEXT[512];
  int32_t WIN_TYPE;
  uint32_t WIN_UID;
  char WIN_PROCEDURENAME[80];
  char WIN_UNIQUEMARKER[80];
  uint8_t MARK;        // never set by the browse
  char POSITION[512];  // the record's position in the store (kf::File::position)
};
using BrowseQueue = std::vector<BRW1>;

// The type name the browse shows for a stored TYPE: the names of the stored
// rows' set, blank for the window (0), sheets (37), tabs (38) and any code
// the set does not name.
std::string_view TypeNameOf(int32_t type);

// The browse row of `record`, read from the store at `position`.
BRW1 RowOfRecord(const store::WindowControls& record, std::string_view position);

// Selecting a row reads its fields back into the record buffer: the seven
// record fields it holds go into `record` (the others stay as they are) and
// its type name into `locType` (LOC:TYPE).
void RowToRecord(const BRW1& row, store::WindowControls& record, char (&locType)[20]);

// The row's position as kf::File and kf::View take it.
std::string PositionOf(const BRW1& row);

// Source fields 1 to 4 of the list: label, description, type name, control
// text, without trailing blanks.
std::string BrowseCell(const BRW1& row, int field);

}  // namespace wevo::browse

#endif  // WEVO_BROWSE_BROWSE_ROWS_H_
