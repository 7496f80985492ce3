// Controls the user types into: entries, text boxes, spin boxes (and the
// editable drop combos of list_controls.h).
//
// Typing is the widget's own business until the user leaves the control or
// presses Enter; then the view hands the model the whole text at once
// (InputMessage::Text), as the runtime commits an edit. Each control keeps
// the text it last showed from the model ("committed"); it is "edited"
// while the widget's text differs. A snapshot replaces the text only when
// the model's text changed, so a refresh does not wipe what the user is
// typing.
//
// Cut, copy and paste are the widget's own, so that they respect the
// selection, read-only controls and password echo.
#ifndef WEVO_PLATFORM_VIEW_QT_EDIT_CONTROLS_H_
#define WEVO_PLATFORM_VIEW_QT_EDIT_CONTROLS_H_

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

#include "wevo/frame_actions.h"

#include "platform/view/view.h"

namespace wevo::qtview {

class EditableControl {
 public:
  virtual ~EditableControl() = default;
  virtual QString editText() const = 0;
  // Shows the model's text and takes it as committed.
  virtual void showModelText(const QString& text) = 0;
  virtual bool multiLine() const { return false; }
  // Replaces the text as typing would (the caret goes to the end).
  virtual void typeText(const QString& text) = 0;
  // The widget's own cut, copy or paste on its selection, through the
  // system clipboard; what it changes is the user's edit.
  virtual void clipboardCommand(EditCommand command) = 0;
  bool edited() const { return editText() != committed_; }
  void setCommitted(const QString& text) { committed_ = text; }

 protected:
  QString committed_;
};

// The line edit's own cut, copy or paste.
void runLineEditCommand(QLineEdit& edit, EditCommand command);

// Applies the snapshot's text unless it is the one already shown.
void applyModelText(EditableControl& c, const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old);

class EntryControl : public QLineEdit, public EditableControl {
  Q_OBJECT
 public:
  explicit EntryControl(QWidget* parent);
  void apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old);
  QString editText() const override { return text(); }
  void showModelText(const QString& t) override;
  void typeText(const QString& t) override;
  void clipboardCommand(EditCommand command) override;

 private:
  void fixCase();
  bool upper_ = false, capitalise_ = false;
};

class TextControl : public QPlainTextEdit, public EditableControl {
  Q_OBJECT
 public:
  explicit TextControl(QWidget* parent);
  void apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old);
  QString editText() const override { return toPlainText(); }
  void showModelText(const QString& t) override;
  bool multiLine() const override { return !single_; }
  void typeText(const QString& t) override;
  void clipboardCommand(EditCommand command) override;

 private:
  bool single_ = false;
};

// A spin box over text: the model holds the value and does the stepping, so
// an arrow (button or key) goes to the model as the Up or Down key.
class SpinControl : public QAbstractSpinBox, public EditableControl {
  Q_OBJECT
 public:
  SpinControl(QWidget* parent, std::function<void(int key)> onStep);
  void apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old);
  QString editText() const override { return lineEdit()->text(); }
  void showModelText(const QString& t) override;
  void typeText(const QString& t) override;
  void clipboardCommand(EditCommand command) override;
  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;

 private:
  std::function<void(int)> onStep_;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_EDIT_CONTROLS_H_
