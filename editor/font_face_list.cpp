#include "editor/font_face_list.h"

#include <algorithm>
#include <cstring>

#include "platform/base/mutex.h"
#include "wevo/props.h"
#include "wevo/text.h"

namespace wevo::editor {
namespace {

// The font face list last filled, for the process.
struct Shared {
  base::Mutex mutex;
  std::vector<FQUE> faces GUARDED_BY(mutex);
};

Shared& shared() {
  static Shared s;
  return s;
}

template <size_t N>
void setZeroText(char (&dst)[N], std::string_view value) {
  std::memset(dst, 0, N);
  std::memcpy(dst, value.data(), std::min(value.size(), N - 1));
}

template <size_t N>
std::string_view zeroText(const char (&src)[N]) {
  return std::string_view(src, strnlen(src, N));
}

// The script name a platform gives a character set.
std::string_view scriptName(int charset) {
  switch (charset) {
    case 0: return "Western";
    case 2: return "Symbol";
    case 77: return "Mac";
    case 128: return "Japanese";
    case 129: return "Hangul";
    case 130: return "Johab";
    case 134: return "CHINESE_GB2312";
    case 136: return "CHINESE_BIG5";
    case 161: return "Greek";
    case 162: return "Turkish";
    case 177: return "Hebrew";
    case 178: return "Arabic";
    case 186: return "Baltic";
    case 204: return "Cyrillic";
    case 222: return "Thai";
    case 238: return "Central European";
    case 255: return "OEM/DOS";
    default: return "";
  }
}

uint8_t byteOf(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

FQUE rowOf(const FontFace& f) {
  FQUE row;
  std::memset(&row, 0, sizeof row);
  auto& lf = row.ELFEX.ELFLOGFONT;
  lf.LFHEIGHT = f.height;
  lf.LFWIDTH = f.aveCharWidth;
  lf.LFWEIGHT = f.weight;
  lf.LFITALIC = f.italic ? 1 : 0;
  lf.LFCHARSET = byteOf(f.charset);
  setZeroText(lf.LFFACENAME, f.face);
  setZeroText(row.ELFEX.ELFFULLNAME, f.face);
  setZeroText(row.ELFEX.ELFSTYLE, f.italic ? (f.weight > 400 ? "Bold Italic" : "Italic")
                                           : (f.weight > 400 ? "Bold" : "Regular"));
  setZeroText(row.ELFEX.ELFSCRIPT, scriptName(f.charset));
  auto& tm = row.TM;
  tm.TMHEIGHT = f.height;
  tm.TMASCENT = f.ascent;
  tm.TMDESCENT = f.descent;
  tm.TMINTERNALLEADING = f.internalLeading;
  tm.TMEXTERNALLEADING = f.externalLeading;
  tm.TMAVECHARWIDTH = f.aveCharWidth;
  tm.TMMAXCHARWIDTH = f.maxCharWidth;
  tm.TMWEIGHT = f.weight;
  tm.TMDIGITIZEDASPECTX = 96;
  tm.TMDIGITIZEDASPECTY = 96;
  tm.TMFIRSTCHAR = 0x20;
  tm.TMLASTCHAR = 0xFF;
  tm.TMDEFAULTCHAR = 0x1F;
  tm.TMBREAKCHAR = 0x20;
  tm.TMITALIC = f.italic ? 1 : 0;
  tm.TMCHARSET = byteOf(f.charset);
  // The face name is taken from the logical font, as cut there.
  setZeroText(row.FACENAME, zeroText(lf.LFFACENAME));
  return row;
}

// Name order ignoring letter case, so that a list of mixed-case faces reads
// alphabetically; names that differ only in case are one face.
bool before(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char ca = text::upperChar(a[i]);
    const char cb = text::upperChar(b[i]);
    if (ca != cb) return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
  }
  return a.size() < b.size();
}

}  // namespace

std::string_view FaceName(const FQUE& row) { return zeroText(row.FACENAME); }

std::vector<FQUE> FillFontFaceList(const std::vector<FontFace>& reported) {
  std::vector<FQUE> built;
  for (const FontFace& f : reported) {
    if (!f.scalable || f.face.empty()) continue;
    FQUE row = rowOf(f);
    const std::string_view name = FaceName(row);
    auto at = std::lower_bound(built.begin(), built.end(), name,
                               [](const FQUE& r, std::string_view n) { return before(FaceName(r), n); });
    if (at != built.end() && text::sameNoCase(FaceName(*at), name)) continue;
    built.insert(at, row);
  }
  Shared& s = shared();
  base::MutexLock lock(s.mutex);
  s.faces = built;
  return built;
}

std::vector<FQUE> FillFontFaceList(const Window& host) {
  if (host.get(0, PROP::Handle).num() == 0) return FillFontFaceList(std::vector<FontFace>{});
  return FillFontFaceList(enumerateFonts());
}

std::vector<FQUE> FontFaceList() {
  Shared& s = shared();
  base::MutexLock lock(s.mutex);
  return s.faces;
}

int FindFace(const std::vector<FQUE>& faces, std::string_view name) {
  name = text::clip(name);
  for (size_t i = 0; i < faces.size(); ++i)
    if (text::sameNoCase(FaceName(faces[i]), name)) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace wevo::editor
