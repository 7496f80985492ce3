// Helpers for the store's tests (header only; included by *_test.cpp files
// alone): settings, rows, and stores staged on disk through private
// keyed-file instances of the calling thread.
#ifndef WEVO_STORE_TEST_STORE_H_
#define WEVO_STORE_TEST_STORE_H_

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_file_vars.h"
#include "store/window_controls.h"
#include "tests/testing/base/file_bytes.h"
#include "wevo/text.h"
#include "wevo/wevo.h"

namespace wevo::store::testing {

// The program path the tests run under; its store is <folder>/SALES.wevo.
inline const std::string kProgram = "/opt/apps/SALES.EXE";

inline WEVOSETTINGS settings(const std::string& folder, const std::string& password = "", int prompt = 0) {
  WEVOSETTINGS s;
  text::assign(s.WEVOPATH, folder);
  text::assign(s.PASSWORD, password);
  s.PROMPTONEXIT = prompt;
  return s;
}

// A control row with every field given a value of its own, so that a copy
// that drops or shifts a field shows.
inline WindowControls row(uint32_t uid, const std::string& procedure, const std::string& marker,
                          const std::string& label) {
  WindowControls r;
  kf::clearRecord(winDecl(), &r);
  r.UID = uid;
  text::assign(r.PROCEDURENAME, procedure);
  text::assign(r.UNIQUEMARKER, marker);
  text::assign(r.CONTROLLABEL, label);
  r.FEQ = static_cast<int32_t>(uid);
  r.ORDER = static_cast<int32_t>(uid) * 10;
  r.TYPE = 9;
  text::assign(r.DESCRIPTION, label.empty() ? label : label.substr(1));
  text::assign(r.CONTROLTEXT, "Text of " + label);
  r.JUSTIFICATION = 3;
  r.OFFSET = 2;
  text::assign(r.SCROLL, "1");
  r.TEXTCOLOR = 255;
  r.BACKGROUND = 0xFFFFFF;
  text::assign(r.CURSOR, "\xFF\x01\x02\x7F");
  text::assign(r.TIP, "Tip " + std::to_string(uid));
  text::assign(r.MESSAGE, "Message " + std::to_string(uid));
  r.X = 10 + static_cast<int32_t>(uid);
  r.Y = 20;
  r.WIDTH = 40;
  r.HEIGHT = 14;
  r.WIDTHTYPE = 2;
  r.HEIGHTTYPE = 2;
  text::assign(r.ICON, "save.ico");
  text::assign(r.LOWER, "1");
  text::assign(r.UPPER, "99");
  text::assign(r.STEP, "2");
  r.DELAY = 7;
  r.REPEAT = 8;
  text::assign(r.TYPEFACE, "Arial");
  r.FONTSIZE = 10;
  r.FONTSTYLE = 700;
  r.CHARSET = 204;
  text::assign(r.WALLPAPER, "paper.bmp");
  r.WALLPAPERMODE = 2;
  r.FRAMETYPE = 1;
  r.ANGLE = 0x123456;  // the last field of the first layout
  return r;
}

// The first 67 fields of a row, as the first layout holds them.
inline WindowControls001 firstLayoutOf(const WindowControls& r) {
  WindowControls001 old;
  std::memcpy(&old, &r, sizeof old);
  return old;
}

// A store of `decl`'s layout at `name` holding `rows` (each with its blob,
// when the layout has one and the blob is not empty). `Record` must be the
// layout's record type.
template <typename Record>
inline bool stage(const kf::FileDecl& decl, const std::string& name, const std::string& owner,
                  const std::vector<Record>& rows, const std::vector<std::string>& blobs = {}) {
  Record buffer{};
  kf::File f(decl, &buffer);
  f.setName(name);
  f.setOwner(owner);
  if (!f.create() || !f.open()) return false;
  for (size_t i = 0; i < rows.size(); ++i) {
    buffer = rows[i];
    f.blobSetSize(0);
    if (i < blobs.size() && !blobs[i].empty()) f.blobSet(blobs[i]);
    if (!f.add()) return false;
  }
  return f.close();
}

template <typename Record>
struct Read {
  bool ok = false;
  int error = 0;  // why the open failed
  std::vector<Record> rows;
  std::vector<std::string> blobs;
};

// Every row of the file in physical order, opened through `decl` with `owner`.
template <typename Record>
inline Read<Record> readAll(const kf::FileDecl& decl, const std::string& name, const std::string& owner) {
  Read<Record> out;
  Record buffer{};
  kf::File f(decl, &buffer);
  f.setName(name);
  f.setOwner(owner);
  if (!f.open()) {
    out.error = kf::errorCode();
    return out;
  }
  f.setPhysical();
  while (f.next()) {
    out.rows.push_back(buffer);
    out.blobs.push_back(f.blobGet());
  }
  out.ok = kf::errorCode() == kf::kErrNoRecord;
  f.close();
  return out;
}

using wevo::testing::fileBytes;

inline bool sameBytes(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0; }

}  // namespace wevo::store::testing

#endif  // WEVO_STORE_TEST_STORE_H_
