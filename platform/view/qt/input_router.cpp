#include "platform/view/qt/input_router.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>

#include "platform/view/qt/edit_controls.h"
#include "platform/view/qt/key_codes.h"
#include "platform/view/qt/list_controls.h"
#include "platform/view/qt/qt_convert.h"
#include "platform/view/qt/top_window.h"
#include "wevo/codes.h"

namespace wevo::qtview {

using toolkit::InputMessage;

namespace {

InputMessage message(InputMessage::Kind kind, int64_t window) {
  InputMessage m;
  m.kind = kind;
  m.window = window;
  return m;
}

EditableControl* editableOf(const ControlItem* item) {
  if (item == nullptr || !isEditKind(item->kind) || item->widget == nullptr) return nullptr;
  return dynamic_cast<EditableControl*>(item->widget);
}

// Keys an edit control handles itself while the user types.
bool isLocalEditKey(const QKeyEvent* e, bool multiLine) {
  Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  int key = e->key();
  if (mods & Qt::AltModifier) return false;
  if (mods & Qt::ControlModifier) {
    switch (key) {
      case Qt::Key_A: case Qt::Key_C: case Qt::Key_V: case Qt::Key_X: case Qt::Key_Z: case Qt::Key_Y:
      case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Backspace: case Qt::Key_Delete:
      case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Insert:
        return true;
      default:
        return false;
    }
  }
  switch (key) {
    case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Home:
    case Qt::Key_End: case Qt::Key_Insert:
      return true;
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Return:
    case Qt::Key_Enter:
      return multiLine;
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape:
      return false;
    default:
      return !e->text().isEmpty() && e->text().at(0).isPrint();
  }
}

// Alt and a letter that opens one of the menu bar's menus.
bool isMenuMnemonic(const QKeyEvent* e, const TopWindow& w) {
  QMenuBar* bar = w.menuBar();
  if (bar == nullptr || (e->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) != Qt::AltModifier) return false;
  if (e->key() < Qt::Key_A || e->key() > Qt::Key_Z) return false;
  QChar letter(e->key() - Qt::Key_A + 'a');
  for (QAction* a : bar->actions()) {
    QString t = a->text();
    qsizetype i = t.indexOf(QLatin1Char('&'));
    if (i >= 0 && i + 1 < t.size() && t.at(i + 1).toLower() == letter) return true;
  }
  return false;
}

}  // namespace

InputRouter::InputRouter(Post post) : post_(std::move(post)) {}

InputRouter::~InputRouter() { uninstall(); }

void InputRouter::install() {
  if (installed_) return;
  qApp->installEventFilter(this);
  installed_ = true;
}

void InputRouter::uninstall() {
  if (!installed_) return;
  if (qApp != nullptr) qApp->removeEventFilter(this);
  installed_ = false;
}

void InputRouter::beginDelivery() {
  delivering_ = true;
  deliveryFailed_ = false;
}

bool InputRouter::endDelivery() {
  delivering_ = false;
  bool ok = !deliveryFailed_;
  deliveryFailed_ = false;
  return ok;
}

bool InputRouter::post(InputMessage m) {
  bool ok = post_ && post_(m);
  if (!ok && delivering_) deliveryFailed_ = true;
  return ok;
}

bool InputRouter::postRaw(const InputMessage& m) {
  if (!accepting()) return false;
  return post(m);
}

bool InputRouter::locate(QObject* watched, Target& t) const {
  if (!watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  QWidget* child = nullptr;
  while (w != nullptr) {
    if (auto* client = qobject_cast<ClientArea*>(w)) {
      if (client->top()->dying()) return false;
      t.window = client->top();
      t.outer = client;
      t.control = child;
      t.field = child != nullptr ? t.window->fieldOf(child) : 0;
      t.inClient = true;
      return true;
    }
    if (auto* top = qobject_cast<TopWindow*>(w)) {
      if (top->dying()) return false;
      t.window = top;
      t.outer = child;
      t.inClient = false;
      return true;
    }
    // Popups and dialogs over a window are not the window.
    if (w->isWindow()) return false;
    child = w;
    w = w->parentWidget();
  }
  return false;
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      Target t;
      if (!locate(watched, t) || !t.inClient) return false;
      return mouse(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event), t);
    }
    case QEvent::KeyPress: {
      Target t;
      if (!locate(watched, t)) return false;
      if (!t.inClient && t.outer != nullptr) return false;  // the menu bar's own keys
      return keyPress(static_cast<QKeyEvent*>(event), t);
    }
    case QEvent::KeyRelease: {
      Target t;
      if (!locate(watched, t)) return false;
      if (!t.inClient && t.outer != nullptr) return false;
      if (!accepting()) return true;
      return editableOf(t.window->item(t.field)) == nullptr;
    }
    case QEvent::ShortcutOverride: {
      // Keys go to the model, not to Qt's shortcuts (a button's "&OK" would
      // otherwise press the Qt button behind the model's back); the menu
      // bar keeps its own.
      Target t;
      if (!locate(watched, t)) return false;
      if (!t.inClient && t.outer != nullptr) return false;
      if (accepting() && isMenuMnemonic(static_cast<QKeyEvent*>(event), *t.window)) return false;
      event->accept();
      return true;
    }
    case QEvent::FocusOut: {
      auto* fe = static_cast<QFocusEvent*>(event);
      if (fe->reason() != Qt::ActiveWindowFocusReason || !accepting()) return false;
      Target t;
      if (!locate(watched, t) || !t.inClient || t.field == 0) return false;
      syncEdit(*t.window, t.field);
      return false;
    }
    case QEvent::ContextMenu: {
      Target t;
      return locate(watched, t) && t.inClient;
    }
    case QEvent::Wheel: {
      Target t;
      if (!locate(watched, t) || !t.inClient) return false;
      return !accepting() || capture_.load() != 0;
    }
    default:
      return false;
  }
}

bool InputRouter::passesPress(const ControlItem* item, QWidget* receiver) const {
  if (item == nullptr || item->widget == nullptr || !item->widget->isEnabled()) return false;
  switch (item->kind) {
    case WidgetKind::Entry: case WidgetKind::Text:
      return true;  // the caret goes where the user clicks
    case WidgetKind::Spin: case WidgetKind::Drop: case WidgetKind::DropEdit:
      // Arrows and popups act at once; a scripted click only focuses.
      return !delivering_;
    case WidgetKind::List: {
      auto* list = static_cast<QAbstractScrollArea*>(item->widget);
      return receiver != list && receiver != list->viewport();  // scroll bars and the header
    }
    default:
      return false;
  }
}

void InputRouter::focusFirst(TopWindow& w, int field) {
  if (w.snapshot().focusedField == field) return;
  InputMessage m = message(InputMessage::FocusControl, w.handle());
  m.field = field;
  post(m);
}

bool InputRouter::mouse(QWidget* receiver, QMouseEvent* e, const Target& t) {
  if (!accepting()) return true;
  TopWindow& w = *t.window;
  QPoint local = e->position().toPoint();
  if (receiver != w.client()) local = receiver->mapTo(w.client(), local);
  QPoint screen = w.toScreen(local);
  const ControlItem* item = t.field != 0 ? w.item(t.field) : nullptr;
  bool captured = capture_.load() != 0;
  InputMessage m = message(InputMessage::MouseMove, w.handle());
  m.x = screen.x();
  m.y = screen.y();
  if (e->modifiers() & Qt::ShiftModifier) m.key |= KEY::Shift;
  if (e->modifiers() & Qt::ControlModifier) m.key |= KEY::Ctrl;
  if (e->modifiers() & Qt::AltModifier) m.key |= KEY::Alt;
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return true;
      syncFocusedEdit(w, t.field);
      lastMoveWindow_ = 0;
      if (e->button() == Qt::RightButton) {
        m.kind = InputMessage::RightDown;
        post(m);
        return true;
      }
      bool pass = !captured && passesPress(item, receiver);
      passingPress_ = pass;
      if (!captured && item != nullptr && item->kind == WidgetKind::List &&
          receiver == static_cast<QAbstractScrollArea*>(item->widget)->viewport() &&
          static_cast<ListControl*>(item->widget)->scrolled()) {
        // The model knows rows only as drawn unscrolled: name the row.
        focusFirst(w, t.field);
        InputMessage sel = message(InputMessage::SelectRow, w.handle());
        sel.field = t.field;
        sel.row = static_cast<ListControl*>(item->widget)->rowAt(e->position().toPoint());
        if (sel.row > 0) post(sel);
        return true;
      }
      if (!captured && item != nullptr && item->kind == WidgetKind::DropEdit && item->snap.drop == 0) {
        // A combo without a drop-down: the model would take the point for
        // one of its rows; its popup makes the choice here.
        focusFirst(w, t.field);
        return !pass;
      }
      if (!captured && item != nullptr && item->widget->isEnabled())
        if (auto* b = qobject_cast<QAbstractButton*>(item->widget)) {
          b->setDown(true);
          downButton_ = b;
        }
      m.kind = InputMessage::LeftDown;
      post(m);
      return !pass;
    }
    case QEvent::MouseButtonRelease: {
      if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return true;
      m.kind = e->button() == Qt::LeftButton ? InputMessage::LeftUp : InputMessage::RightUp;
      bool pass = e->button() == Qt::LeftButton && passingPress_ && !captured;
      if (e->button() == Qt::LeftButton) {
        passingPress_ = false;
        if (downButton_) downButton_->setDown(false);
        downButton_ = nullptr;
      }
      post(m);
      return !pass;
    }
    case QEvent::MouseButtonDblClick: {
      if (e->button() == Qt::RightButton) {
        m.kind = InputMessage::RightDown;
        post(m);
        return true;
      }
      if (e->button() != Qt::LeftButton) return true;
      m.kind = InputMessage::LeftDoubleClick;
      post(m);
      return !(!captured && passesPress(item, receiver));
    }
    default: {  // a move
      if (w.handle() != lastMoveWindow_ || screen != lastMove_) {
        lastMoveWindow_ = w.handle();
        lastMove_ = screen;
        post(m);
      }
      if (captured) return true;
      if (e->buttons() == Qt::NoButton) return false;  // hover effects stay the widget's
      return !passingPress_;
    }
  }
}

bool InputRouter::keyPress(QKeyEvent* e, const Target& t) {
  if (!accepting()) return true;
  int code = keyCodeFromQt(e->key(), e->modifiers());
  if (code == 0) return false;  // a modifier on its own
  TopWindow& w = *t.window;
  const ControlItem* item = t.field != 0 ? w.item(t.field) : nullptr;
  EditableControl* edit = editableOf(item);
  // While another window holds the mouse capture (design mode's overlay),
  // the program takes every key: an entry that kept the focus edits nothing.
  const int64_t holder = capture_.load();
  bool editing = edit != nullptr && item->widget->isEnabled() && !item->snap.readOnly &&
                 (holder == 0 || holder == w.handle());
  if (editing && isLocalEditKey(e, edit->multiLine())) return false;
  if (edit != nullptr) syncEdit(w, t.field);
  InputMessage m = message(InputMessage::KeyDown, 0);  // for the window with the model's focus
  m.key = code;
  post(m);
  QString text = e->text();
  if (edit == nullptr && (code & (KEY::Ctrl | KEY::Alt)) == 0 && text.size() == 1 && text.at(0).isPrint() &&
      text.at(0).unicode() < 0x100) {
    InputMessage c = message(InputMessage::Char, 0);
    c.key = text.at(0).unicode();
    post(c);
  }
  return true;
}

void InputRouter::syncEdit(TopWindow& w, int field) {
  EditableControl* edit = editableOf(w.item(field));
  if (edit == nullptr || !edit->edited()) return;
  InputMessage m = message(InputMessage::Edit, w.handle());
  m.field = field;
  QString text = edit->editText();
  m.text = fromQ(text);
  edit->setCommitted(text);
  post(m);
}

void InputRouter::commitEdit(TopWindow& w, int field) {
  EditableControl* edit = editableOf(w.item(field));
  if (edit == nullptr) return;
  InputMessage m = message(InputMessage::Text, w.handle());
  m.field = field;
  QString text = edit->editText();
  m.text = fromQ(text);
  edit->setCommitted(text);
  post(m);
}

void InputRouter::syncFocusedEdit(TopWindow& w, int exceptField) {
  int focused = w.snapshot().focusedField;
  if (focused != 0 && focused != exceptField) syncEdit(w, focused);
}

void InputRouter::userActivated(TopWindow& w) {
  if (!accepting()) return;
  post(message(InputMessage::Activate, w.handle()));
}

void InputRouter::userSwitchedAway() {
  if (!accepting()) return;
  post(message(InputMessage::Activate, 0));
}

// ---- WindowEvents -------------------------------------------------------------------

void InputRouter::closeRequested(TopWindow& w) {
  if (!accepting()) return;
  post(message(InputMessage::Close, w.handle()));
}

void InputRouter::resizedByUser(TopWindow& w, QSize client, int stateEvent) {
  if (!accepting()) return;
  InputMessage m = message(InputMessage::Resize, w.handle());
  m.x = client.width();
  m.y = client.height();
  m.key = stateEvent;
  post(m);
}

void InputRouter::movedByUser(TopWindow& w, QPoint pos) {
  if (!accepting()) return;
  InputMessage m = message(InputMessage::Move, w.handle());
  m.x = pos.x();
  m.y = pos.y();
  post(m);
}

void InputRouter::menuItemChosen(TopWindow& w, int field) {
  if (!accepting()) return;
  syncFocusedEdit(w, 0);
  InputMessage m = message(InputMessage::MenuChoice, w.handle());
  m.field = field;
  post(m);
}

void InputRouter::spinStepped(TopWindow& w, int field, int key) {
  if (!accepting()) return;
  focusFirst(w, field);
  syncEdit(w, field);
  InputMessage m = message(InputMessage::KeyDown, w.handle());
  m.key = key;
  post(m);
}

void InputRouter::itemChosen(TopWindow& w, int field, int row) {
  if (!accepting()) return;
  focusFirst(w, field);
  InputMessage m = message(InputMessage::SelectRow, w.handle());
  m.field = field;
  m.row = row;
  post(m);
}

void InputRouter::listScrolled(TopWindow& w, int field, int event, int thumb) {
  if (!accepting()) return;
  InputMessage m = message(InputMessage::Scroll, w.handle());
  m.field = field;
  m.key = event;
  m.row = thumb;
  post(m);
}

}  // namespace wevo::qtview
