#include "editor/history.h"

#include <cstring>

#include "platform/base/mutex.h"
#include "platform/keyedfile/file_decl.h"
#include "wevo/text.h"

namespace wevo::editor {
namespace {

// The history record: one for the process, as the property form's callers
// share it across threads.
struct Shared {
  base::Mutex mutex;
  bool started GUARDED_BY(mutex) = false;
  store::WindowControls record GUARDED_BY(mutex);
};

Shared& shared() {
  static Shared s;
  return s;
}

}  // namespace

void StartHistory() {
  Shared& s = shared();
  base::MutexLock lock(s.mutex);
  if (s.started) return;
  kf::clearRecord(store::winDecl(), &s.record);
  s.started = true;
}

void SaveHistory(const store::WindowControls& record) {
  Shared& s = shared();
  base::MutexLock lock(s.mutex);
  std::memcpy(&s.record, &record, sizeof record);
  s.started = true;
}

void RestoreFromHistory(store::WindowControls& record, std::string_view fieldName) {
  const kf::FileDecl& decl = store::winDecl();
  const int index = decl.fieldIndex(fieldName);
  if (index < 0) return;
  const kf::FieldDecl& f = decl.fields[static_cast<size_t>(index)];
  Shared& s = shared();
  base::MutexLock lock(s.mutex);
  std::memcpy(reinterpret_cast<char*>(&record) + f.offset, reinterpret_cast<const char*>(&s.record) + f.offset,
              f.width);
}

store::WindowControls HistoryRecord() {
  Shared& s = shared();
  base::MutexLock lock(s.mutex);
  store::WindowControls copy;
  std::memcpy(&copy, &s.record, sizeof copy);
  return copy;
}

const std::vector<std::pair<std::string_view, std::string_view>>& HistoryTable() {
  static const std::vector<std::pair<std::string_view, std::string_view>> table = {
      {"?WIN:DESCRIPTION", "DESCRIPTION"},     {"?WIN:CONTROLTEXT", "CONTROLTEXT"},
      {"?WIN:JUSTIFICATION", "JUSTIFICATION"}, {"?WIN:OFFSET", "OFFSET"},
      {"?WIN:LAYOUT", "LAYOUT"},               {"?WIN:HIDE", "HIDE"},
      {"?WIN:DISABLE", "DISABLE"},             {"?WIN:SKIP", "SKIP"},
      {"?WIN:SCROLL", "SCROLL"},               {"?WIN:TRANSPARENT", "TRANSPARENT"},
      {"?WIN:DROP", "DROP"},                   {"?WIN:DROPWIDTH", "DROPWIDTH"},
      {"?WIN:WALLPAPERMODE", "WALLPAPERMODE"}, {"?WIN:WALLPAPER", "WALLPAPER"},
      {"?WIN:FRAMETYPE", "FRAMETYPE"},         {"?WIN:OUTER", "OUTER"},
      {"?WIN:INNER", "INNER"},                 {"?WIN:STYLE", "STYLE"},
      {"?WIN:WORDCASE", "WORDCASE"},           {"?WIN:ENTRYMODE", "ENTRYMODE"},
      {"?WIN:FLAT", "FLAT"},                   {"?WIN:REQUIRED", "REQUIRED"},
      {"?WIN:READONLY", "READONLY"},           {"?WIN:SINGLE", "SINGLE"},
      {"?WIN:PASSWORD", "PASSWORD"},           {"?WIN:BOXED", "BOXED"},
      {"?WIN:HORIZONTAL", "HORIZONTAL"},       {"?WIN:VERTICAL", "VERTICAL"},
      {"?WIN:UPPER", "UPPER"},                 {"?WIN:LOWER", "LOWER"},
      {"?WIN:STEP", "STEP"},                   {"?WIN:ICON", "ICON"},
      {"?WIN:DELAY", "DELAY"},                 {"?WIN:REPEAT", "REPEAT"},
      {"?WIN:TEXTCOLOR", "TEXTCOLOR"},         {"?WIN:BACKGROUND", "BACKGROUND"},
      {"?WIN:SELECTEDTEXT", "SELECTEDTEXT"},   {"?WIN:SELECTEDFILL", "SELECTEDFILL"},
      {"?WIN:ANGLE", "ANGLE"},                 {"?WIN:HELP", "HELP"},
      {"?WIN:MESSAGE", "MESSAGE"},             {"?WIN:TIP", "TIP"},
      {"?WIN:X", "X"},                         {"?WIN:Y", "Y"},
      {"?WIN:WIDTHTYPE", "WIDTHTYPE"},         {"?WIN:HEIGHTTYPE", "HEIGHTTYPE"},
      {"?WIN:WIDTH", "WIDTH"},                 {"?WIN:HEIGHT", "HEIGHT"},
      {"?WIN:TYPEFACE", "TYPEFACE"},           {"?WIN:FONTSIZE:2", "FONTSIZE"},
      {"?WIN:FONTSIZE", "FONTSIZE"},           {"?WIN:CHARSET", "CHARSET"},
  };
  return table;
}

std::string_view HistoryFieldOf(std::string_view label) {
  for (const auto& [control, fieldName] : HistoryTable())
    if (text::sameNoCase(control, label)) return fieldName;
  return {};
}

namespace detail {
void RestartHistory() {
  Shared& s = shared();
  base::MutexLock lock(s.mutex);
  s.started = false;
}
}  // namespace detail

}  // namespace wevo::editor
