// The font face list: the scalable faces installed on the machine, each once,
// in name order, with the logical-font data and metrics the platform reports
// for it. The property form's font tab offers them.
//
// There is one list for the whole library. Filling it and reading it are
// guarded, so forms on several host threads may fill it at once; each form
// works on the copy it got when it filled the list, which no other thread
// touches.
#ifndef WEVO_EDITOR_FONT_FACE_LIST_H_
#define WEVO_EDITOR_FONT_FACE_LIST_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "wevo/runtime.h"
#include "wevo/window.h"

namespace wevo::editor {

#pragma pack(push, 1)
// One face (273 bytes). Text fields are zero-terminated.
struct FQUE {
  char FACENAME[32];  // the key
  struct {
    struct {
      int32_t LFHEIGHT;
      int32_t LFWIDTH;
      int32_t LFESCAPEMENT;
      int32_t LFORIENTATION;
      int32_t LFWEIGHT;
      uint8_t LFITALIC;
      uint8_t LFUNDERLINE;
      uint8_t LFSTRIKEOUT;
      uint8_t LFCHARSET;
      uint8_t LFOUTPRECISION;
      uint8_t LFCLIPPRECISION;
      uint8_t LFQUALITY;
      uint8_t LFPITCHANDFAMILY;
      char LFFACENAME[32];
    } ELFLOGFONT;
    char ELFFULLNAME[64];
    char ELFSTYLE[32];
    char ELFSCRIPT[32];
  } ELFEX;
  struct {
    int32_t TMHEIGHT;
    int32_t TMASCENT;
    int32_t TMDESCENT;
    int32_t TMINTERNALLEADING;
    int32_t TMEXTERNALLEADING;
    int32_t TMAVECHARWIDTH;
    int32_t TMMAXCHARWIDTH;
    int32_t TMWEIGHT;
    int32_t TMOVERHANG;
    int32_t TMDIGITIZEDASPECTX;
    int32_t TMDIGITIZEDASPECTY;
    uint8_t TMFIRSTCHAR;
    uint8_t TMLASTCHAR;
    uint8_t TMDEFAULTCHAR;
    uint8_t TMBREAKCHAR;
    uint8_t TMITALIC;
    uint8_t TMUNDERLINED;
    uint8_t TMSTRUCKOUT;
    uint8_t TMPITCHANDFAMILY;
    uint8_t TMCHARSET;
  } TM;
};
#pragma pack(pop)
static_assert(sizeof(FQUE::ELFEX) == 188);
static_assert(sizeof(FQUE::TM) == 53);
static_assert(sizeof(FQUE) == 273);

// Refills the library's list from the faces the platform reports for the
// host window (wevo::enumerateFonts), and returns a copy of the list as
// filled. A window that is not open has no device to ask: the list is left
// empty. Must run on a host thread of a running program.
std::vector<FQUE> FillFontFaceList(const Window& host);

// Refills the library's list from these reported faces: only scalable ones
// are taken; a face reported again (another character set) keeps its first
// report; names are cut to 31 bytes. Returns a copy of the list as filled.
std::vector<FQUE> FillFontFaceList(const std::vector<FontFace>& reported);

// A copy of the library's list as it is now.
std::vector<FQUE> FontFaceList();

// A row's face name.
std::string_view FaceName(const FQUE& row);

// The 1-based row of `faces` named `name` (letter case and trailing blanks
// ignored), 0 when none is.
int FindFace(const std::vector<FQUE>& faces, std::string_view name);

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_FONT_FACE_LIST_H_
