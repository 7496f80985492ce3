#include "platform/view/qt/key_codes.h"

#include <gtest/gtest.h>

#include "wevo/codes.h"

namespace wevo::qtview {
namespace {

TEST(KeyCodes, QtKeysGiveTheRuntimesCodes) {
  EXPECT_EQ(keyCodeFromQt(Qt::Key_D, Qt::ControlModifier | Qt::AltModifier), 1604);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_H, Qt::ControlModifier), 584);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_A, Qt::NoModifier), 'A');
  EXPECT_EQ(keyCodeFromQt(Qt::Key_A, Qt::ShiftModifier), 'A' | KEY::Shift);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_7, Qt::NoModifier), '7');
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Escape, Qt::NoModifier), KEY::Esc);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Return, Qt::NoModifier), KEY::Enter);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Enter, Qt::KeypadModifier), KEY::Enter);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Left, Qt::NoModifier), KEY::Left);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Up, Qt::NoModifier), KEY::Up);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Right, Qt::NoModifier), KEY::Right);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Down, Qt::KeypadModifier), KEY::Down);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Insert, Qt::NoModifier), KEY::Insert);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Delete, Qt::NoModifier), KEY::Delete);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Menu, Qt::NoModifier), KEY::Apps);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_F1, Qt::NoModifier), KEY::F1);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_F8, Qt::NoModifier), KEY::F8);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_F10, Qt::ShiftModifier), KEY::F10 | KEY::Shift);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Tab, Qt::NoModifier), KEY::Tab);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Backtab, Qt::ShiftModifier), KEY::Tab | KEY::Shift);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Backtab, Qt::NoModifier), KEY::Tab | KEY::Shift);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_PageDown, Qt::ControlModifier), KEY::PgDn | KEY::Ctrl);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_5, Qt::KeypadModifier), 101);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Plus, Qt::KeypadModifier), 107);
  // Punctuation as on a US keyboard; a shifted character is its key with Shift.
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Semicolon, Qt::NoModifier), 186);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Colon, Qt::ShiftModifier), 186 | KEY::Shift);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Exclam, Qt::ShiftModifier), '1' | KEY::Shift);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_ParenRight, Qt::ShiftModifier), '0' | KEY::Shift);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Apostrophe, Qt::NoModifier), 222);
  // Modifiers alone and keys the runtime does not know give nothing.
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Shift, Qt::ShiftModifier), 0);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Control, Qt::ControlModifier), 0);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_VolumeUp, Qt::NoModifier), 0);
}

TEST(KeyCodes, EveryCodeAKeyGivesComesBackFromItsQtKey) {
  std::vector<int> bases = {8, 9, 13, 19, 27, 32, 33, 34, 35, 36, 37, 38, 39, 40, 45, 46, 93, 106, 107, 109, 110, 111};
  for (int c = '0'; c <= '9'; ++c) bases.push_back(c);
  for (int c = 'A'; c <= 'Z'; ++c) bases.push_back(c);
  for (int c = 96; c <= 105; ++c) bases.push_back(c);
  for (int c = KEY::F1; c < KEY::F1 + 24; ++c) bases.push_back(c);
  for (int c : {186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222}) bases.push_back(c);
  for (int base : bases)
    for (int mods : {0, KEY::Shift, KEY::Ctrl, KEY::Alt, KEY::Ctrl | KEY::Alt, KEY::Shift | KEY::Ctrl}) {
      int code = base | mods;
      std::optional<QtKeyPress> k = qtKeyFromCode(code);
      ASSERT_TRUE(k.has_value()) << code;
      EXPECT_EQ(keyCodeFromQt(k->key, k->modifiers), code) << code;
    }
  EXPECT_FALSE(qtKeyFromCode(0xFF).has_value());
}

TEST(KeyCodes, KeysTypeTheirCharactersOnlyWithoutCtrlOrAlt) {
  EXPECT_EQ(qtKeyFromCode('D')->text, QStringLiteral("d"));
  EXPECT_EQ(qtKeyFromCode('D' | KEY::Shift)->text, QStringLiteral("D"));
  EXPECT_EQ(qtKeyFromCode('1' | KEY::Shift)->text, QStringLiteral("!"));
  EXPECT_EQ(qtKeyFromCode(186 | KEY::Shift)->text, QStringLiteral(":"));
  EXPECT_EQ(qtKeyFromCode(KEY::Space)->text, QStringLiteral(" "));
  EXPECT_TRUE(qtKeyFromCode(1604)->text.isEmpty());
  EXPECT_TRUE(qtKeyFromCode(KEY::F1)->text.isEmpty());
  EXPECT_TRUE(qtKeyFromCode(KEY::Left)->text.isEmpty());
  // Typing a character presses the key a keyboard has for it.
  for (QChar ch : QStringLiteral("aZ5 !:?~")) {
    QtKeyPress k = qtKeyForChar(ch);
    EXPECT_EQ(k.text, QString(ch));
    int code = keyCodeFromQt(k.key, k.modifiers);
    ASSERT_NE(code, 0) << ch.toLatin1();
    EXPECT_EQ(qtKeyFromCode(code)->text, QString(ch)) << ch.toLatin1();
  }
}

}  // namespace
}  // namespace wevo::qtview
