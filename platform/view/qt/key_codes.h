// Qt keys and the runtime's key codes.
//
// A runtime code is the key's virtual-key number plus KEY::Shift (0x100),
// KEY::Ctrl (0x200) and KEY::Alt (0x400): letters and digits are their
// upper-case characters ('D' 0x44), Enter 13, Esc 27, Left/Up/Right/Down
// 37-40, Insert 45, Delete 46, Apps 93, F1 112 ... F24 135, the keypad's
// digits 96-105, punctuation as on a US keyboard (';' 186 ... '\'' 222).
#ifndef WEVO_PLATFORM_VIEW_QT_KEY_CODES_H_
#define WEVO_PLATFORM_VIEW_QT_KEY_CODES_H_

#include <QString>
#include <Qt>
#include <optional>

namespace wevo::qtview {

// The runtime code of a Qt key press, or 0 for a key the runtime does not
// name (a modifier pressed on its own, an unknown key).
int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

// The Qt key press that gives a runtime code, with the text a keyboard
// would type for it (empty with Ctrl or Alt held, or for a key that types
// nothing). nullopt for a code no key gives.
struct QtKeyPress {
  int key = 0;
  Qt::KeyboardModifiers modifiers;
  QString text;
};
std::optional<QtKeyPress> qtKeyFromCode(int code);

// A key that types `ch` on a US keyboard (for typing text as key presses).
QtKeyPress qtKeyForChar(QChar ch);

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_KEY_CODES_H_
