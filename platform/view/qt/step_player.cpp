#include "platform/view/qt/step_player.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include "platform/view/qt/edit_controls.h"
#include "platform/view/qt/input_router.h"
#include "platform/view/qt/key_codes.h"
#include "platform/view/qt/list_controls.h"
#include "platform/view/qt/painted_control.h"
#include "platform/view/qt/qt_convert.h"
#include "platform/view/qt/qt_desktop.h"
#include "platform/view/qt/top_window.h"
#include "wevo/codes.h"

namespace wevo::qtview {

using toolkit::InputMessage;
using toolkit::ResolvedStep;

bool saveWindowImage(TopWindow& w, const QString& path) {
  QFileInfo info(path);
  if (!QDir().mkpath(info.absolutePath())) return false;
  QPixmap pm = w.grab();
  return !pm.isNull() && pm.save(path, "PNG");
}

QString StepPlayer::screenshotPath(const std::string& name) const {
  QString n = toQ(name);
  if (QFileInfo(n).isAbsolute() || screenshotDir_.empty()) return n;
  return QDir(toQ(screenshotDir_)).filePath(n);
}

bool StepPlayer::play(const ResolvedStep& r, std::string& why) {
  TopWindow* w = desktop_.window(r.window);
  if (w == nullptr && r.step->kind != ScriptStep::SwitchAway && r.step->kind != ScriptStep::Call) {
    why = "window \"" + r.caption + "\" is not on screen";
    return false;
  }
  router_.beginDelivery();
  bool ok = perform(r, w, why);
  bool taken = router_.endDelivery();
  if (ok && !taken) {
    why = "no window took the input";
    ok = false;
  }
  return ok;
}

void StepPlayer::mouse(TopWindow& w, QWidget* target, QPoint clientPoint, int type, Qt::MouseButton button,
                       int keysHeld) {
  QWidget* client = w.client();
  if (target == nullptr) {
    target = client->childAt(clientPoint);
    if (target == nullptr) target = client;
  }
  QPoint pos = target == client ? clientPoint : target->mapFrom(client, clientPoint);
  QPointF global = client->mapToGlobal(QPointF(clientPoint));
  auto evType = static_cast<QEvent::Type>(type);
  Qt::MouseButtons held = Qt::NoButton;
  if (evType == QEvent::MouseButtonPress || evType == QEvent::MouseButtonDblClick) held = button;
  if (evType == QEvent::MouseMove && pressed_) held = Qt::LeftButton;
  Qt::KeyboardModifiers modifiers;
  if ((keysHeld & KEY::Shift) != 0) modifiers |= Qt::ShiftModifier;
  if ((keysHeld & KEY::Ctrl) != 0) modifiers |= Qt::ControlModifier;
  if ((keysHeld & KEY::Alt) != 0) modifiers |= Qt::AltModifier;
  QMouseEvent ev(evType, QPointF(pos), global, evType == QEvent::MouseMove ? Qt::NoButton : button, held,
                 modifiers);
  if (evType == QEvent::MouseButtonPress) pressed_ = button == Qt::LeftButton ? target : nullptr;
  QApplication::sendEvent(target, &ev);
  if (evType == QEvent::MouseButtonRelease) pressed_ = nullptr;
}

void StepPlayer::click(TopWindow& w, QWidget* target, QPoint clientPoint) {
  mouse(w, target, clientPoint, QEvent::MouseButtonPress, Qt::LeftButton);
  mouse(w, pressed_ ? pressed_.data() : target, clientPoint, QEvent::MouseButtonRelease, Qt::LeftButton);
}

bool StepPlayer::key(TopWindow& w, int code) {
  std::optional<QtKeyPress> k = qtKeyFromCode(code);
  if (!k) {
    // No key of a keyboard gives this code; it still goes to the model.
    InputMessage m;
    m.kind = InputMessage::KeyDown;
    m.key = code;
    return router_.postRaw(m);
  }
  QWidget* target = w.focusWidget();
  if (target == nullptr || !w.isAncestorOf(target)) target = w.client();
  // A hidden window (design mode's overlay) gets no key from a keyboard:
  // the key goes to the widget that has Qt's focus, as a person's would.
  if (!w.isVisible())
    if (QWidget* focused = QApplication::focusWidget()) target = focused;
  QKeyEvent press(QEvent::KeyPress, k->key, k->modifiers, k->text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, k->key, k->modifiers, k->text);
  QApplication::sendEvent(target, &release);
  return true;
}

bool StepPlayer::perform(const ResolvedStep& r, TopWindow* w, std::string& why) {
  const ScriptStep& s = *r.step;
  QPoint point = w != nullptr ? w->fromScreen(QPoint(r.screenX, r.screenY)) : QPoint();
  switch (s.kind) {
    case ScriptStep::Press:
      mouse(*w, nullptr, point, QEvent::MouseButtonPress, Qt::LeftButton, s.code);
      return true;
    case ScriptStep::Move:
      mouse(*w, pressed_.data(), point, QEvent::MouseMove, Qt::NoButton, s.code);
      return true;
    case ScriptStep::Release:
      mouse(*w, pressed_.data(), point, QEvent::MouseButtonRelease, Qt::LeftButton, s.code);
      return true;
    case ScriptStep::RightPress:
      mouse(*w, nullptr, point, QEvent::MouseButtonPress, Qt::RightButton, s.code);
      return true;
    case ScriptStep::RightRelease:
      mouse(*w, nullptr, point, QEvent::MouseButtonRelease, Qt::RightButton, s.code);
      return true;
    case ScriptStep::DoubleClick:
      mouse(*w, nullptr, point, QEvent::MouseButtonDblClick, Qt::LeftButton, s.code);
      return true;
    case ScriptStep::ClickControl: {
      if (r.controlType == TYPE::Item) {
        QAction* a = w->action(r.field);
        if (a == nullptr) {
          why = s.label + " is not in the menu bar";
          return false;
        }
        a->trigger();
        return true;
      }
      click(*w, nullptr, point);
      return true;
    }
    case ScriptStep::Key:
      return key(*w, s.code);
    case ScriptStep::Type: {
      const ControlItem* item = w->item(r.field);
      auto* edit = item != nullptr ? dynamic_cast<EditableControl*>(item->widget) : nullptr;
      if (edit != nullptr && isEditKind(item->kind)) {
        edit->typeText(toQ(s.text));
        router_.commitEdit(*w, r.field);
        return true;
      }
      // A control without text of its own: each character is a key press.
      QWidget* target = item != nullptr && item->widget != nullptr ? item->widget : w->client();
      for (QChar ch : toQ(s.text)) {
        QtKeyPress k = qtKeyForChar(ch);
        QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers, k.text);
        QApplication::sendEvent(target, &press);
      }
      return true;
    }
    case ScriptStep::SelectTab: {
      const ControlItem* tab = w->item(r.field);
      const ControlItem* sheet = tab != nullptr ? w->item(tab->snap.parent) : nullptr;
      auto* sc = sheet != nullptr && sheet->kind == WidgetKind::Sheet ? static_cast<SheetControl*>(sheet->widget)
                                                                      : nullptr;
      QRect rect = sc != nullptr ? sc->tabRect(r.field) : QRect();
      if (rect.isEmpty()) {
        why = s.label + " is not a tab its sheet shows";
        return false;
      }
      click(*w, sc, sc->mapTo(w->client(), rect.center()));
      return true;
    }
    case ScriptStep::SelectRow: {
      const ControlItem* item = w->item(r.field);
      if (item == nullptr || item->widget == nullptr) {
        why = s.label + " is not on screen";
        return false;
      }
      if (item->kind == WidgetKind::List && s.code > 0) {
        auto* list = static_cast<ListControl*>(item->widget);
        QPoint at = list->showRow(s.code);
        click(*w, list->viewport(), list->mapTo(w->client(), at));
        return true;
      }
      if (item->kind == WidgetKind::Drop || item->kind == WidgetKind::DropEdit) {
        static_cast<DropControl*>(item->widget)->userChoose(s.code);
        return true;
      }
      router_.itemChosen(*w, r.field, s.code);
      return true;
    }
    case ScriptStep::Scroll: {
      const ControlItem* item = w->item(r.field);
      if (item != nullptr && item->kind == WidgetKind::List) {
        static_cast<ListControl*>(item->widget)->userScroll(s.code, s.x);
        return true;
      }
      router_.listScrolled(*w, r.field, s.code, s.x);
      return true;
    }
    case ScriptStep::CloseWindow: {
      QCloseEvent ev;
      QApplication::sendEvent(w, &ev);
      return true;
    }
    case ScriptStep::ResizeWindow:
      w->resizeClientByUser(QSize(s.x, s.y), s.code);
      return true;
    case ScriptStep::Activate:
      router_.userActivated(*w);
      if (w->isVisible()) w->activateWindow();
      return true;
    case ScriptStep::SwitchAway:
      router_.userSwitchedAway();
      return true;
    case ScriptStep::Call: {
      InputMessage m;
      m.kind = InputMessage::Call;
      m.window = r.window;
      m.call = s.call;
      return router_.postRaw(m);
    }
    case ScriptStep::Screenshot: {
      QString path = screenshotPath(s.text);
      if (!saveWindowImage(*w, path)) {
        why = "cannot write " + fromQ(path);
        return false;
      }
      return true;
    }
    default:
      why = "it is not an input step";
      return false;
  }
}

}  // namespace wevo::qtview
