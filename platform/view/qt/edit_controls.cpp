#include "platform/view/qt/edit_controls.h"

#include <QScrollBar>

#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

void applyModelText(EditableControl& c, const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old) {
  if (old != nullptr && old->text == s.text) return;
  c.showModelText(toQ(s.text));
}

void runLineEditCommand(QLineEdit& edit, EditCommand command) {
  switch (command) {
    case EditCommand::Cut: edit.cut(); break;
    case EditCommand::Copy: edit.copy(); break;
    case EditCommand::Paste: edit.paste(); break;
  }
}

// ---- Entries -------------------------------------------------------------------

EntryControl::EntryControl(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textEdited, this, [this] { fixCase(); });
}

void EntryControl::fixCase() {
  if (!upper_ && !capitalise_) return;
  QString t = text();
  QString fixed = t;
  if (upper_) {
    fixed = t.toUpper();
  } else {
    bool start = true;
    for (QChar& ch : fixed) {
      if (ch.isLetter() && start) ch = ch.toUpper();
      start = !ch.isLetter() && ch != QLatin1Char('\'');
    }
  }
  if (fixed == t) return;
  int pos = cursorPosition();
  setText(fixed);
  setCursorPosition(pos);
}

void EntryControl::showModelText(const QString& t) {
  if (text() != t) setText(t);  // the same text keeps the caret where the user left it
  setCommitted(t);
}

void EntryControl::typeText(const QString& t) {
  setText(t);
  fixCase();
  end(false);
}

void EntryControl::clipboardCommand(EditCommand command) {
  runLineEditCommand(*this, command);
  if (command == EditCommand::Paste) fixCase();
}

void EntryControl::apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old) {
  upper_ = s.upper;
  capitalise_ = s.capitalise;
  applyModelText(*this, s, old);
  setReadOnly(s.readOnly);
  setEchoMode(s.password ? QLineEdit::Password : QLineEdit::Normal);
  setFrame(!s.flat);
  Qt::Alignment align = toAlignment(s.justify);
  setAlignment(align | Qt::AlignVCenter);
  if (s.justifyOffset != 0 || (old != nullptr && old->justifyOffset != 0)) {
    if (align & Qt::AlignRight)
      setTextMargins(0, 0, s.justifyOffset, 0);
    else
      setTextMargins(s.justifyOffset, 0, 0, 0);
  }
}

// ---- Text boxes ------------------------------------------------------------------

TextControl::TextControl(QWidget* parent) : QPlainTextEdit(parent) {}

void TextControl::showModelText(const QString& t) {
  if (toPlainText() != t) setPlainText(t);
  setCommitted(toPlainText());
}

void TextControl::typeText(const QString& t) {
  setPlainText(t);
  moveCursor(QTextCursor::End);
}

void TextControl::clipboardCommand(EditCommand command) {
  switch (command) {
    case EditCommand::Cut: cut(); break;
    case EditCommand::Copy: copy(); break;
    case EditCommand::Paste: paste(); break;
  }
}

void TextControl::apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old) {
  single_ = s.single;
  applyModelText(*this, s, old);
  setReadOnly(s.readOnly);
  setFrameShape(s.flat ? QFrame::NoFrame : QFrame::StyledPanel);
  setLineWrapMode(s.hScroll ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(s.hScroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(s.vScroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

// ---- Spin boxes ------------------------------------------------------------------

SpinControl::SpinControl(QWidget* parent, std::function<void(int key)> onStep)
    : QAbstractSpinBox(parent), onStep_(std::move(onStep)) {}

void SpinControl::showModelText(const QString& t) {
  if (lineEdit()->text() != t) lineEdit()->setText(t);
  setCommitted(t);
}

void SpinControl::typeText(const QString& t) {
  lineEdit()->setText(t);
  lineEdit()->end(false);
}

void SpinControl::clipboardCommand(EditCommand command) { runLineEditCommand(*lineEdit(), command); }

void SpinControl::stepBy(int steps) {
  if (!onStep_ || steps == 0) return;
  int key = steps > 0 ? KEY::Up : KEY::Down;
  for (int i = 0; i < std::abs(steps); ++i) onStep_(key);
}

QAbstractSpinBox::StepEnabled SpinControl::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  return StepUpEnabled | StepDownEnabled;
}

void SpinControl::apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old) {
  applyModelText(*this, s, old);
  setReadOnly(s.readOnly);
  setFrame(!s.flat);
  setAlignment(toAlignment(s.justify) | Qt::AlignVCenter);
  setButtonSymbols(s.readOnly ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
}

}  // namespace wevo::qtview
