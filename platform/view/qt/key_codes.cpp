#include "platform/view/qt/key_codes.h"

#include "wevo/codes.h"

namespace wevo::qtview {

namespace {

struct KeyPair {
  int qt;
  int code;
};

// Keys whose code does not follow from their character.
constexpr KeyPair kNamed[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},         {Qt::Key_Backtab, 9},   {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},     {Qt::Key_Pause, 19},      {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},     {Qt::Key_PageUp, 33},     {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
    {Qt::Key_Home, 36},      {Qt::Key_Left, 37},       {Qt::Key_Up, 38},       {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},      {Qt::Key_Print, 44},      {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
    {Qt::Key_Menu, 93},      {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145},
};

// Punctuation keys of a US keyboard: the unshifted and the shifted character.
struct OemKey {
  int plain;
  int shifted;
  int code;
};
constexpr OemKey kOem[] = {
    {Qt::Key_Semicolon, Qt::Key_Colon, 186},        {Qt::Key_Equal, Qt::Key_Plus, 187},
    {Qt::Key_Comma, Qt::Key_Less, 188},             {Qt::Key_Minus, Qt::Key_Underscore, 189},
    {Qt::Key_Period, Qt::Key_Greater, 190},         {Qt::Key_Slash, Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, Qt::Key_AsciiTilde, 192},   {Qt::Key_BracketLeft, Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, Qt::Key_Bar, 220},          {Qt::Key_BracketRight, Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, Qt::Key_QuoteDbl, 222},
};

// Shifted digits of a US keyboard: ')' is Shift+0, '!' Shift+1, ...
constexpr int kShiftedDigits[] = {Qt::Key_ParenRight, Qt::Key_Exclam,      Qt::Key_At,        Qt::Key_NumberSign,
                                  Qt::Key_Dollar,     Qt::Key_Percent,     Qt::Key_AsciiCircum, Qt::Key_Ampersand,
                                  Qt::Key_Asterisk,   Qt::Key_ParenLeft};

int modifierBits(Qt::KeyboardModifiers m) {
  int bits = 0;
  if (m & Qt::ShiftModifier) bits |= KEY::Shift;
  if (m & Qt::ControlModifier) bits |= KEY::Ctrl;
  if (m & Qt::AltModifier) bits |= KEY::Alt;
  return bits;
}

// The base code of a key without its modifiers; `shiftImplied` is set for a
// character that a US keyboard types with Shift.
int baseCode(int key, bool keypad, bool& shiftImplied) {
  shiftImplied = false;
  if (keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    switch (key) {
      case Qt::Key_Asterisk: return 106;
      case Qt::Key_Plus: return 107;
      case Qt::Key_Minus: return 109;
      case Qt::Key_Period: return 110;
      case Qt::Key_Slash: return 111;
      default: break;  // keypad arrows, Enter, ... are the plain keys
    }
  }
  for (const KeyPair& p : kNamed)
    if (p.qt == key) return p.code;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return KEY::F1 + (key - Qt::Key_F1);
  for (const OemKey& o : kOem) {
    if (o.plain == key) return o.code;
    if (o.shifted == key) {
      shiftImplied = true;
      return o.code;
    }
  }
  for (int d = 0; d < 10; ++d)
    if (kShiftedDigits[d] == key) {
      shiftImplied = true;
      return '0' + d;
    }
  return 0;
}

}  // namespace

int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  bool shiftImplied = false;
  int base = baseCode(qtKey, (modifiers & Qt::KeypadModifier) != 0, shiftImplied);
  if (base == 0) return 0;
  int code = base | modifierBits(modifiers);
  if (shiftImplied || qtKey == Qt::Key_Backtab) code |= KEY::Shift;
  return code;
}

std::optional<QtKeyPress> qtKeyFromCode(int code) {
  int base = code & 0xFF;
  QtKeyPress k;
  if (code & KEY::Shift) k.modifiers |= Qt::ShiftModifier;
  if (code & KEY::Ctrl) k.modifiers |= Qt::ControlModifier;
  if (code & KEY::Alt) k.modifiers |= Qt::AltModifier;
  bool shift = (code & KEY::Shift) != 0;
  bool typing = (code & (KEY::Ctrl | KEY::Alt)) == 0;
  if (base >= 'A' && base <= 'Z') {
    k.key = base;
    if (typing) k.text = QChar(shift ? base : base - 'A' + 'a');
    return k;
  }
  if (base >= '0' && base <= '9') {
    k.key = shift ? kShiftedDigits[base - '0'] : base;
    if (typing) k.text = shift ? QString(QChar(QLatin1Char(")!@#$%^&*("[base - '0']))) : QString(QChar(base));
    return k;
  }
  if (base >= 96 && base <= 105) {
    k.key = Qt::Key_0 + (base - 96);
    k.modifiers |= Qt::KeypadModifier;
    if (typing) k.text = QChar('0' + (base - 96));
    return k;
  }
  if (base >= KEY::F1 && base < KEY::F1 + 24) {
    k.key = Qt::Key_F1 + (base - KEY::F1);
    return k;
  }
  for (const OemKey& o : kOem)
    if (o.code == base) {
      k.key = shift ? o.shifted : o.plain;
      if (typing) k.text = QChar(k.key);
      return k;
    }
  switch (base) {
    case 106: k.key = Qt::Key_Asterisk; break;
    case 107: k.key = Qt::Key_Plus; break;
    case 109: k.key = Qt::Key_Minus; break;
    case 110: k.key = Qt::Key_Period; break;
    case 111: k.key = Qt::Key_Slash; break;
    default: break;
  }
  if (k.key != 0) {
    k.modifiers |= Qt::KeypadModifier;
    if (typing) k.text = QChar(k.key);
    return k;
  }
  for (const KeyPair& p : kNamed)
    if (p.code == base && p.qt != Qt::Key_Backtab && p.qt != Qt::Key_Enter) {
      k.key = p.qt;
      if (base == 9 && shift) k.key = Qt::Key_Backtab;
      if (typing) {
        if (base == 32) k.text = QStringLiteral(" ");
        if (base == 13) k.text = QStringLiteral("\r");
        if (base == 9 && !shift) k.text = QStringLiteral("\t");
        if (base == 8) k.text = QStringLiteral("\b");
        if (base == 27) k.text = QString(QChar(27));
      }
      return k;
    }
  return std::nullopt;
}

QtKeyPress qtKeyForChar(QChar ch) {
  QtKeyPress k;
  k.text = QString(ch);
  char16_t c = ch.unicode();
  if (c >= 'a' && c <= 'z') {
    k.key = Qt::Key_A + (c - 'a');
  } else if (c >= 'A' && c <= 'Z') {
    k.key = c;
    k.modifiers = Qt::ShiftModifier;
  } else if (c == ' ') {
    k.key = Qt::Key_Space;
  } else if (c < 0x80 && c > 0x20) {
    // Qt's key values for printable ASCII are the characters themselves.
    k.key = c;
    bool shiftImplied = false;
    baseCode(k.key, false, shiftImplied);
    if (shiftImplied) k.modifiers = Qt::ShiftModifier;
  } else {
    k.key = Qt::Key_unknown;
  }
  return k;
}

}  // namespace wevo::qtview
