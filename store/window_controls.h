// The WindowControls record: one control's (or the window's) stored
// properties, as override row under a host's marker or as original row under
// WEVO_ORIGINAL; and the three declarations of the store file over it.
//
// Records are packed to the byte layout the store has always had (3069 bytes;
// the first layout, 3021). Members at odd offsets are read and written through
// the struct only; never take their address as an aligned pointer.
#ifndef WEVO_STORE_WINDOW_CONTROLS_H_
#define WEVO_STORE_WINDOW_CONTROLS_H_

#include <cstddef>
#include <cstdint>

#include "platform/keyedfile/file_decl.h"

namespace wevo::store {

// FIELD(name, type, width, offset) for fields 1 to 67: the whole first layout.
#define WEVO_WINDOWCONTROLS_FIRST_FIELDS(FIELD) \
  FIELD(UID, ULong, 4, 0)                       \
  FIELD(PROCEDURENAME, String, 80, 4)           \
  FIELD(UNIQUEMARKER, String, 80, 84)           \
  FIELD(CONTROLLABEL, String, 80, 164)          \
  FIELD(FEQ, Long, 4, 244)                      \
  FIELD(ORDER, Long, 4, 248)                    \
  FIELD(TYPE, Long, 4, 252)                     \
  FIELD(DESCRIPTION, String, 100, 256)          \
  FIELD(CONTROLTEXT, String, 512, 356)          \
  FIELD(JUSTIFICATION, Long, 4, 868)            \
  FIELD(OFFSET, Long, 4, 872)                   \
  FIELD(LAYOUT, Long, 4, 876)                   \
  FIELD(HIDE, Long, 4, 880)                     \
  FIELD(DISABLE, Long, 4, 884)                  \
  FIELD(SKIP, Long, 4, 888)                     \
  FIELD(SCROLL, String, 20, 892)                \
  FIELD(TRANSPARENT, Long, 4, 912)              \
  FIELD(WORDCASE, Long, 4, 916)                 \
  FIELD(ENTRYMODE, Long, 4, 920)                \
  FIELD(FLAT, Long, 4, 924)                     \
  FIELD(REQUIRED, Long, 4, 928)                 \
  FIELD(READONLY, Long, 4, 932)                 \
  FIELD(PASSWORD, Long, 4, 936)                 \
  FIELD(TEXTCOLOR, Long, 4, 940)                \
  FIELD(BACKGROUND, Long, 4, 944)               \
  FIELD(SELECTEDTEXT, Long, 4, 948)             \
  FIELD(SELECTEDFILL, Long, 4, 952)             \
  FIELD(CURSOR, String, 40, 956)                \
  FIELD(HELP, String, 40, 996)                  \
  FIELD(TIP, String, 256, 1036)                 \
  FIELD(MESSAGE, String, 128, 1292)             \
  FIELD(USECOORDINATES, Long, 4, 1420)          \
  FIELD(X, Long, 4, 1424)                       \
  FIELD(Y, Long, 4, 1428)                       \
  FIELD(WIDTH, Long, 4, 1432)                   \
  FIELD(HEIGHT, Long, 4, 1436)                  \
  FIELD(NOWIDTH, Long, 4, 1440)                 \
  FIELD(NOHEIGHT, Long, 4, 1444)                \
  FIELD(WIDTHTYPE, Long, 4, 1448)               \
  FIELD(HEIGHTTYPE, Long, 4, 1452)              \
  FIELD(ICON, String, 128, 1456)                \
  FIELD(BOXED, Long, 4, 1584)                   \
  FIELD(OUTER, Long, 4, 1588)                   \
  FIELD(INNER, Long, 4, 1592)                   \
  FIELD(STYLE, Long, 4, 1596)                   \
  FIELD(SINGLE, Long, 4, 1600)                  \
  FIELD(HORIZONTAL, String, 20, 1604)           \
  FIELD(VERTICAL, Long, 4, 1624)                \
  FIELD(DROP, Long, 4, 1628)                    \
  FIELD(DROPWIDTH, Long, 4, 1632)               \
  FIELD(LOWER, String, 10, 1636)                \
  FIELD(UPPER, String, 10, 1646)                \
  FIELD(STEP, String, 10, 1656)                 \
  FIELD(IMM, Long, 4, 1666)                     \
  FIELD(DELAY, Long, 4, 1670)                   \
  FIELD(REPEAT, Long, 4, 1674)                  \
  FIELD(TYPEFACE, String, 31, 1678)             \
  FIELD(FONTSIZE, Long, 4, 1709)                \
  FIELD(FONTCOLOR, Long, 4, 1713)               \
  FIELD(FONTSTYLE, Long, 4, 1717)               \
  FIELD(CHARSET, Long, 4, 1721)                 \
  FIELD(LISTBOXFORMAT, String, 1024, 1725)      \
  FIELD(WALLPAPER, String, 256, 2749)           \
  FIELD(WALLPAPERMODE, Long, 4, 3005)           \
  FIELD(INITIALSIZE, Long, 4, 3009)             \
  FIELD(FRAMETYPE, Long, 4, 3013)               \
  FIELD(ANGLE, Long, 4, 3017)

// Fields 68 to 79, added after the first layout; all reserved, always 0.
#define WEVO_WINDOWCONTROLS_ADDED_FIELDS(FIELD) \
  FIELD(TABLOCATION, Long, 4, 3021)             \
  FIELD(TABSCROLLING, Long, 4, 3025)            \
  FIELD(TEXTORIENTATION, Long, 4, 3029)         \
  FIELD(TABWIDTH, Long, 4, 3033)                \
  FIELD(SPREAD, Long, 4, 3037)                  \
  FIELD(WIZARD, Long, 4, 3041)                  \
  FIELD(NOSHEET, Long, 4, 3045)                 \
  FIELD(JOIN, Long, 4, 3049)                    \
  FIELD(PROCESSEDFLAG, Long, 4, 3053)           \
  FIELD(UP, Long, 4, 3057)                      \
  FIELD(DOWN, Long, 4, 3061)                    \
  FIELD(USEBLOB, Long, 4, 3065)

namespace detail {
template <kf::FieldType T, size_t W>
struct Storage;
template <size_t W>
struct Storage<kf::FieldType::String, W> {
  using type = char[W];
};
template <>
struct Storage<kf::FieldType::Long, 4> {
  using type = int32_t;
};
template <>
struct Storage<kf::FieldType::ULong, 4> {
  using type = uint32_t;
};
}  // namespace detail

#define WEVO_RECORD_MEMBER(name, kind, width, offset) \
  typename detail::Storage<kf::FieldType::kind, width>::type name;

#pragma pack(push, 1)
// The current layout: 79 fields, 3069 bytes.
struct WindowControls {
  WEVO_WINDOWCONTROLS_FIRST_FIELDS(WEVO_RECORD_MEMBER)
  WEVO_WINDOWCONTROLS_ADDED_FIELDS(WEVO_RECORD_MEMBER)
};

// The first layout: fields 1 to 67, 3021 bytes, no blob.
struct WindowControls001 {
  WEVO_WINDOWCONTROLS_FIRST_FIELDS(WEVO_RECORD_MEMBER)
};
#pragma pack(pop)

#undef WEVO_RECORD_MEMBER

static_assert(sizeof(WindowControls) == 3069);
static_assert(sizeof(WindowControls001) == 3021);
#define WEVO_CHECK_OFFSET(name, type, width, offset)                  \
  static_assert(offsetof(WindowControls, name) == (offset), #name);   \
  static_assert(sizeof(WindowControls::name) == (width), #name);
WEVO_WINDOWCONTROLS_FIRST_FIELDS(WEVO_CHECK_OFFSET)
WEVO_WINDOWCONTROLS_ADDED_FIELDS(WEVO_CHECK_OFFSET)
#undef WEVO_CHECK_OFFSET
#define WEVO_CHECK_OFFSET(name, type, width, offset) \
  static_assert(offsetof(WindowControls001, name) == (offset), #name);
WEVO_WINDOWCONTROLS_FIRST_FIELDS(WEVO_CHECK_OFFSET)
#undef WEVO_CHECK_OFFSET

// The table every declaration of the store lives in.
inline constexpr const char* kTableLabel = "WindowControls";
// The marker of original rows.
inline constexpr const char* kOriginalMarker = "WEVO_ORIGINAL";
// The label of a window's own row.
inline constexpr const char* kWindowLabel = "WINDOW";

// Keys, in the order every declaration declares them (index for kf::File).
enum Key : int {
  KEYUID = 0,                   // UID; unique
  KEYPROCEDUREMARKERLABEL = 1,  // PROCEDURENAME, UNIQUEMARKER, CONTROLLABEL
  KEYPROCEDUREMARKERFEQ = 2,    // PROCEDURENAME, UNIQUEMARKER, FEQ
  ORDERKEY = 3,                 // PROCEDURENAME, UNIQUEMARKER, ORDER
};

// The three declarations over the store, all naming the table
// "WindowControls" and reading the store name and owner of the calling
// thread's entry call (store_context.h):
//   WIN      the current layout, blob IMAGEBLOB;
//   WIN2     the same layout under prefix WIN2, blob IMAGEBLOB;
//   WIN_001  the first layout, no blob.
const kf::FileDecl& winDecl();
const kf::FileDecl& win2Decl();
const kf::FileDecl& win001Decl();

}  // namespace wevo::store

#endif  // WEVO_STORE_WINDOW_CONTROLS_H_
