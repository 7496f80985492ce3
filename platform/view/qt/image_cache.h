// Pictures and icons named by controls and windows, loaded once per name.
//
// A name is a stock identifier (ICON::, drawn from the style) or a file. A
// file named without a folder is looked for in the current folder, then in
// the extra folder the host gave, then beside the program. A file that
// cannot be read gives a null pixmap and an empty icon, unless it is one of
// the icons of the library's own windows (libraryIcon). Qt thread only.
#ifndef WEVO_PLATFORM_VIEW_QT_IMAGE_CACHE_H_
#define WEVO_PLATFORM_VIEW_QT_IMAGE_CACHE_H_

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <string>
#include <string_view>

class QPainter;
class QRect;

namespace wevo::qtview {

class ImageCache {
 public:
  explicit ImageCache(std::string extraDir = {}) : extraDir_(std::move(extraDir)) {}

  QPixmap pixmap(std::string_view name);
  QIcon icon(std::string_view name);
  // The path a file name resolves to; empty when no such file exists.
  QString resolve(std::string_view name) const;

  // Draws `pixmap` into `rect`: 0 stretched, 1 centred, 2 tiled.
  static void paint(QPainter& p, const QRect& rect, const QPixmap& pixmap, int mode);

 private:
  std::string extraDir_;
  QHash<QString, QPixmap> pixmaps_;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_IMAGE_CACHE_H_
