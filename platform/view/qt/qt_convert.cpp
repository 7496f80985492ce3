#include "platform/view/qt/qt_convert.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

#include "wevo/codes.h"
#include "wevo/text.h"

namespace wevo::qtview {

QString barLines(std::string_view text) { return toQ(text).replace(QLatin1Char('|'), QLatin1Char('\n')); }

namespace {

constexpr uint32_t kSystemColor = 0x80000000u;

// The runtime's system colour indexes, as palette roles.
QColor systemColor(uint32_t index) {
  const QPalette pal = QApplication::palette();
  switch (index) {
    case 4: return pal.color(QPalette::Window);            // menu
    case 5: return pal.color(QPalette::Base);              // window
    case 6: return pal.color(QPalette::Shadow);            // window frame
    case 7: return pal.color(QPalette::WindowText);        // menu text
    case 8: return pal.color(QPalette::Text);              // window text
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);           // button face
    case 16: return pal.color(QPalette::Dark);             // button shadow
    case 17: return pal.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return pal.color(QPalette::ButtonText);
    case 20: return pal.color(QPalette::Light);            // button highlight
    case 21: return pal.color(QPalette::Shadow);           // dark shadow
    case 22: return pal.color(QPalette::Midlight);
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Window);
  }
}

}  // namespace

std::optional<QColor> toColor(int32_t color) {
  if (color == COLOR::None) return std::nullopt;
  auto bits = static_cast<uint32_t>(color);
  if ((bits & kSystemColor) != 0) return systemColor(bits & 0xFFu);
  return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                static_cast<int>((bits >> 16) & 0xFFu));
}

int32_t fromColor(const QColor& c) {
  return static_cast<int32_t>(static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
                              (static_cast<uint32_t>(c.blue()) << 16));
}

QFont toFont(const toolkit::FontDesc& d) {
  QFont f(toQ(d.face));
  f.setPointSize(d.size > 0 ? d.size : 8);
  int weight = d.style & 0xFFF;
  if (weight > 0) f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  f.setItalic((d.style & 0x1000) != 0);
  f.setUnderline((d.style & 0x2000) != 0);
  f.setStrikeOut((d.style & 0x4000) != 0);
  return f;
}

Qt::Alignment toAlignment(char justify, Qt::Alignment fallback) {
  switch (justify) {
    case 'L': return Qt::AlignLeft;
    case 'R': case 'D': return Qt::AlignRight;
    case 'C': return Qt::AlignHCenter;
    default: return fallback;
  }
}

QString withoutMnemonics(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

bool isStockIdentifier(std::string_view name) {
  return name.size() == 4 && static_cast<unsigned char>(name[0]) == 0xFF;
}

std::optional<Qt::CursorShape> stockCursor(std::string_view name) {
  if (!isStockIdentifier(name)) return std::nullopt;
  if (name == CURSOR::None) return Qt::BlankCursor;
  if (name == CURSOR::Arrow) return Qt::ArrowCursor;
  if (name == CURSOR::IBeam) return Qt::IBeamCursor;
  if (name == CURSOR::Wait) return Qt::WaitCursor;
  if (name == CURSOR::Cross) return Qt::CrossCursor;
  if (name == CURSOR::UpArrow) return Qt::UpArrowCursor;
  if (name == CURSOR::Size) return Qt::SizeAllCursor;
  if (name == CURSOR::Icon) return Qt::ArrowCursor;
  if (name == CURSOR::SizeNWSE) return Qt::SizeFDiagCursor;
  if (name == CURSOR::SizeNESW) return Qt::SizeBDiagCursor;
  if (name == CURSOR::SizeWE) return Qt::SizeHorCursor;
  if (name == CURSOR::SizeNS) return Qt::SizeVerCursor;
  if (name == CURSOR::DragWE) return Qt::SplitHCursor;
  if (name == CURSOR::Drop) return Qt::DragCopyCursor;
  if (name == CURSOR::NoDrop) return Qt::ForbiddenCursor;
  if (name == CURSOR::Zoom) return Qt::PointingHandCursor;
  return Qt::ArrowCursor;
}

std::optional<QStyle::StandardPixmap> stockIcon(std::string_view name) {
  if (!isStockIdentifier(name)) return std::nullopt;
  if (name == ICON::Application) return QStyle::SP_DesktopIcon;
  if (name == ICON::Hand || name == ICON::Error) return QStyle::SP_MessageBoxCritical;
  if (name == ICON::Asterisk) return QStyle::SP_MessageBoxInformation;
  if (name == ICON::Question) return QStyle::SP_MessageBoxQuestion;
  if (name == ICON::Exclamation) return QStyle::SP_MessageBoxWarning;
  return QStyle::SP_FileIcon;
}

std::optional<QStyle::StandardPixmap> libraryIcon(std::string_view name) {
  // The library's own windows name these icon files; without them their
  // icon-only buttons would show nothing.
  static const struct {
    const char* file;
    QStyle::StandardPixmap pixmap;
  } kIcons[] = {{"UP.ICO", QStyle::SP_ArrowUp},
                {"DOWN.ICO", QStyle::SP_ArrowDown},
                {"APPLY.ICO", QStyle::SP_DialogApplyButton},
                {"EXIT.ICO", QStyle::SP_DialogCloseButton},
                {"DELETE.ICO", QStyle::SP_TrashIcon},
                {"DELETE1.ICO", QStyle::SP_DialogCancelButton},  // a cross: Cancel, and the browse's Delete
                {"APP.ICO", QStyle::SP_DesktopIcon},
                {"UNDO.ICO", QStyle::SP_BrowserReload},
                {"SAVE.ICO", QStyle::SP_DialogSaveButton},
                {"EDIT.ICO", QStyle::SP_FileDialogDetailedView}};
  const std::string upper = text::upper(text::clip(name));
  for (const auto& icon : kIcons)
    if (upper == icon.file) return icon.pixmap;
  return std::nullopt;
}

}  // namespace wevo::qtview
