#include "platform/view/qt/font_measure.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/view/qt/qt_convert.h"

namespace wevo::qtview {

namespace {

// QFontMetrics objects are reentrant, not thread-safe: one set per thread.
QFontMetrics& threadMetrics(const std::string& key, const toolkit::FontDesc& font) {
  thread_local std::unordered_map<std::string, std::unique_ptr<QFontMetrics>> cache;
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, std::make_unique<QFontMetrics>(toFont(font))).first;
  return *it->second;
}

// The Windows character set of a writing system (0 when it has none).
int charsetOf(QFontDatabase::WritingSystem ws) {
  switch (ws) {
    case QFontDatabase::Latin: return 0;
    case QFontDatabase::Symbol: return 2;
    case QFontDatabase::Japanese: return 128;
    case QFontDatabase::Korean: return 129;
    case QFontDatabase::SimplifiedChinese: return 134;
    case QFontDatabase::TraditionalChinese: return 136;
    case QFontDatabase::Greek: return 161;
    case QFontDatabase::Vietnamese: return 163;
    case QFontDatabase::Hebrew: return 177;
    case QFontDatabase::Arabic: return 178;
    case QFontDatabase::Cyrillic: return 204;
    case QFontDatabase::Thai: return 222;
    default: return -1;
  }
}

}  // namespace

std::string FontMeasure::key(const toolkit::FontDesc& f) {
  return f.face + '\x1f' + std::to_string(f.size) + '\x1f' + std::to_string(f.style & 0x7FFF);
}

toolkit::FontMetrics FontMeasure::metrics(const toolkit::FontDesc& font) {
  std::string k = key(font);
  {
    base::MutexLock lock(mu_);
    auto it = metrics_.find(k);
    if (it != metrics_.end()) return it->second;
  }
  QFontMetrics& fm = threadMetrics(k, font);
  toolkit::FontMetrics m{fm.averageCharWidth(), fm.height()};
  base::MutexLock lock(mu_);
  metrics_.emplace(k, m);
  return m;
}

int FontMeasure::textWidth(const toolkit::FontDesc& font, std::string_view text) {
  if (text.empty()) return 0;
  QFontMetrics& fm = threadMetrics(key(font), font);
  return fm.horizontalAdvance(withoutMnemonics(toQ(text)));
}

int FontMeasure::rowHeight(const toolkit::FontDesc& font) {
  return static_cast<int>(std::floor(metrics(font).height * 10.0 / 8.0));
}

int FontMeasure::tabStripHeight(const toolkit::FontDesc& font) {
  return static_cast<int>(std::floor(metrics(font).height * 14.0 / 8.0));
}

std::vector<FontFace> FontMeasure::faces() {
  std::vector<FontFace> out;
  const QStringList families = QFontDatabase::families();
  for (const QString& family : families) {
    if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family)) continue;
    QFont font(family);
    font.setPointSize(8);
    QFontMetrics fm(font);
    FontFace face;
    face.face = fromQ(family);
    face.scalable = true;
    face.weight = 400;
    face.height = fm.height();
    face.ascent = fm.ascent();
    face.descent = fm.descent();
    face.internalLeading = std::max(0, fm.height() - QFontInfo(font).pixelSize());
    face.externalLeading = fm.leading();
    face.aveCharWidth = fm.averageCharWidth();
    face.maxCharWidth = fm.maxWidth();
    std::vector<int> charsets;
    for (QFontDatabase::WritingSystem ws : QFontDatabase::writingSystems(family)) {
      int cs = charsetOf(ws);
      if (cs >= 0 && std::find(charsets.begin(), charsets.end(), cs) == charsets.end()) charsets.push_back(cs);
    }
    if (charsets.empty()) charsets.push_back(0);
    for (int cs : charsets) {
      face.charset = cs;
      out.push_back(face);
    }
  }
  return out;
}

}  // namespace wevo::qtview
