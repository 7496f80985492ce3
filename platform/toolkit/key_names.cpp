#include "platform/toolkit/key_names.h"

#include "wevo/codes.h"

namespace wevo::toolkit {

namespace {

std::string baseName(int k) {
  switch (k) {
    case KEY::MouseLeft: return "MouseLeft";
    case KEY::MouseRight: return "MouseRight";
    case KEY::MouseLeft2: return "MouseLeft2";
    case KEY::Backspace: return "Backspace";
    case KEY::Tab: return "Tab";
    case KEY::Enter: return "Enter";
    case KEY::Esc: return "Esc";
    case KEY::Space: return "Space";
    case KEY::PgUp: return "PgUp";
    case KEY::PgDn: return "PgDn";
    case KEY::End: return "End";
    case KEY::Home: return "Home";
    case KEY::Left: return "Left";
    case KEY::Up: return "Up";
    case KEY::Right: return "Right";
    case KEY::Down: return "Down";
    case KEY::Insert: return "Insert";
    case KEY::Delete: return "Delete";
    case KEY::Apps: return "Apps";
    default: break;
  }
  if (k >= KEY::F1 && k < KEY::F1 + 12) return "F" + std::to_string(k - KEY::F1 + 1);
  if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9')) return std::string(1, static_cast<char>(k));
  return "key " + std::to_string(k);
}

}  // namespace

std::string keyName(int code) {
  std::string out;
  if ((code & KEY::Ctrl) != 0) out += "Ctrl+";
  if ((code & KEY::Alt) != 0) out += "Alt+";
  if ((code & KEY::Shift) != 0) out += "Shift+";
  out += baseName(code & 0xFF);
  return out + " (" + std::to_string(code) + ")";
}

}  // namespace wevo::toolkit
