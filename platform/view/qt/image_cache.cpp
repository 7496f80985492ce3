#include "platform/view/qt/image_cache.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>

#include "platform/view/qt/qt_convert.h"
#include "wevo/text.h"

namespace wevo::qtview {

QString ImageCache::resolve(std::string_view name) const {
  QString n = toQ(text::clip(name));
  if (n.isEmpty()) return {};
  n.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QFileInfo direct(n);
  if (direct.isFile()) return direct.absoluteFilePath();
  if (direct.isAbsolute()) return {};
  const QString dirs[] = {toQ(extraDir_), QCoreApplication::applicationDirPath()};
  for (const QString& dir : dirs) {
    if (dir.isEmpty()) continue;
    QFileInfo f(QDir(dir).filePath(n));
    if (f.isFile()) return f.absoluteFilePath();
  }
  return {};
}

QPixmap ImageCache::pixmap(std::string_view name) {
  if (auto stock = stockIcon(name)) return QApplication::style()->standardPixmap(*stock);
  QString key = toQ(name);
  auto it = pixmaps_.find(key);
  if (it != pixmaps_.end()) return *it;
  QPixmap pm;
  QString path = resolve(name);
  if (!path.isEmpty()) pm.load(path);
  if (pm.isNull())
    if (auto stand = libraryIcon(name)) pm = QApplication::style()->standardPixmap(*stand);
  pixmaps_.insert(key, pm);
  return pm;
}

QIcon ImageCache::icon(std::string_view name) {
  if (text::clip(name).empty()) return {};
  if (auto stock = stockIcon(name)) return QApplication::style()->standardIcon(*stock);
  QPixmap pm = pixmap(name);
  return pm.isNull() ? QIcon() : QIcon(pm);
}

void ImageCache::paint(QPainter& p, const QRect& rect, const QPixmap& pm, int mode) {
  if (pm.isNull() || rect.isEmpty()) return;
  switch (mode) {
    case 1: {
      QRect r(QPoint(0, 0), pm.deviceIndependentSize().toSize());
      r.moveCenter(rect.center());
      p.drawPixmap(r, pm);
      break;
    }
    case 2:
      p.drawTiledPixmap(rect, pm);
      break;
    default:
      p.drawPixmap(rect, pm);
      break;
  }
}

}  // namespace wevo::qtview
