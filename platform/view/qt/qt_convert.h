// Conversions between the toolkit's values and Qt's: text, colours, fonts,
// alignment, mouse cursors and stock icons.
//
// Text travels as UTF-8. Colours are 0x00BBGGRR; COLOR::None (-1) is the
// system default, and a value with the top bit set names a system colour
// (0x80000000 + index, as the runtime numbers them). Cursors and icons named
// by a 4-byte stock identifier map to Qt's shapes and standard pixmaps; any
// other name is a file.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_CONVERT_H_
#define WEVO_PLATFORM_VIEW_QT_QT_CONVERT_H_

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <QStyle>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/view/view.h"

namespace wevo::qtview {

inline QString toQ(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string fromQ(const QString& s) { return s.toStdString(); }

// Lines of a dialog text split at "|".
QString barLines(std::string_view text);

// The colour, or nullopt for the default. System colours need the Qt
// thread (they come from the application palette).
std::optional<QColor> toColor(int32_t color);
// Plain colours only: 0x00BBGGRR of a QColor.
int32_t fromColor(const QColor& color);

// A font as the toolkit describes it. Usable on any thread.
QFont toFont(const toolkit::FontDesc& font);

// Horizontal alignment of a justification ('L', 'R', 'C', 'D'; 0: `fallback`).
Qt::Alignment toAlignment(char justify, Qt::Alignment fallback = Qt::AlignLeft);

// A text without its shortcut marks: "&&" shows as "&", a single "&" goes.
QString withoutMnemonics(const QString& text);

// Stock cursors: the shape, or nullopt when `name` is not a stock identifier.
// "" is the default cursor (nullopt as well).
std::optional<Qt::CursorShape> stockCursor(std::string_view name);
bool isStockIdentifier(std::string_view name);
// Stock icons: the standard pixmap, or nullopt when `name` is not one.
std::optional<QStyle::StandardPixmap> stockIcon(std::string_view name);
// The style's stand-in for an icon file of the library's own windows
// ("up.ico", "save.ico", ...), used when no such file is found.
std::optional<QStyle::StandardPixmap> libraryIcon(std::string_view name);

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_QT_CONVERT_H_
