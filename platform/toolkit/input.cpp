#include "platform/toolkit/input.h"

#include <algorithm>
#include <cmath>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/window.h"

namespace wevo::toolkit {

namespace {

bool isMouse(InputMessage::Kind k) {
  return k == InputMessage::MouseMove || k == InputMessage::LeftDown || k == InputMessage::LeftUp ||
         k == InputMessage::LeftDoubleClick || k == InputMessage::RightDown || k == InputMessage::RightUp;
}

RawMessage::Kind rawKind(InputMessage::Kind k) {
  switch (k) {
    case InputMessage::LeftDown: return RawMessage::LeftDown;
    case InputMessage::LeftUp: return RawMessage::LeftUp;
    case InputMessage::LeftDoubleClick: return RawMessage::LeftDoubleClick;
    case InputMessage::RightDown: return RawMessage::RightDown;
    case InputMessage::RightUp: return RawMessage::RightUp;
    default: return RawMessage::MouseMove;
  }
}

bool contains(const std::vector<int>& v, int key) { return std::find(v.begin(), v.end(), key) != v.end(); }

bool editable(const WindowModel& m, const Control& c) {
  return (usesPicture(c.type) || c.type == TYPE::Text || c.type == TYPE::Rtf) && !c.readOnly && m.controls().enabled(c);
}

// The tab whose button in a sheet's tab strip lies under a client point.
int tabAt(WindowModel& m, double x, double y) {
  for (int sheetField : m.controls().fields()) {
    Control* sheet = m.controls().find(sheetField);
    if (sheet == nullptr || sheet->type != TYPE::Sheet || !m.controls().visible(*sheet) || !m.controls().enabled(*sheet)) continue;
    RectD r = m.geometry().rect(*sheet);
    double strip = std::floor(m.geometry().metricsOf(m.geometry().effectiveFont(*sheet)).height * 14.0 / 8.0);
    if (y < r.y || y > r.y + strip || x < r.x || x > r.x + r.w) continue;
    double left = r.x;
    for (int f : m.controls().children(sheetField)) {
      Control* tab = m.controls().find(f);
      if (tab == nullptr || tab->type != TYPE::Tab || tab->hidden) continue;
      double w, h;
      m.geometry().naturalSize(*tab, w, h);
      if (x >= left && x < left + w) return f;
      left += w;
    }
  }
  return 0;
}

void chooseTab(WindowModel& m, Control& tab) {
  Control* sheet = m.controls().find(tab.parent);
  if (sheet == nullptr || sheet->type != TYPE::Sheet || sheet->selected == tab.field) return;
  postEvent(m, EVENT::TabChanging, sheet->field);
  m.values().selectTab(tab);
  postEvent(m, EVENT::NewSelection, sheet->field);
}

void chooseRow(WindowModel& m, Control& c, int row) {
  if (m.values().selectRow(c, row)) postEvent(m, EVENT::NewSelection, c.field);
}

void listKey(WindowModel& m, Control& c, int key) {
  int n = rowCount(c);
  int sel = c.selected;
  int page = std::max(1, m.geometry().visibleRows(c));
  bool paged = c.source != nullptr;
  switch (key) {
    case KEY::Up:
      if (sel > 1)
        chooseRow(m, c, sel - 1);
      else
        postEvent(m, EVENT::ScrollUp, c.field);
      break;
    case KEY::Down:
      if (sel < n)
        chooseRow(m, c, sel + 1);
      else
        postEvent(m, EVENT::ScrollDown, c.field);
      break;
    case KEY::PgUp:
      if (sel > 1)
        chooseRow(m, c, std::max(1, sel - page));
      else
        postEvent(m, EVENT::PageUp, c.field);
      break;
    case KEY::PgDn:
      if (sel < n)
        chooseRow(m, c, std::min(n, sel + page));
      else
        postEvent(m, EVENT::PageDown, c.field);
      break;
    case KEY::Home:
      if (paged)
        postEvent(m, EVENT::ScrollTop, c.field);
      else if (n > 0)
        chooseRow(m, c, 1);
      break;
    case KEY::End:
      if (paged)
        postEvent(m, EVENT::ScrollBottom, c.field);
      else if (n > 0)
        chooseRow(m, c, n);
      break;
    case KEY::Enter:
      postEvent(m, EVENT::Accepted, c.field);
      break;
    default:
      break;
  }
}

void spinKey(WindowModel& m, Control& c, int key) {
  if (key != KEY::Up && key != KEY::Down) return;
  Value v;
  int64_t cur = c.picture.check(c.screen, v) ? v.num() : 0;
  int64_t step = c.step == 0 ? 1 : c.step;
  int64_t next = key == KEY::Up ? cur + step : cur - step;
  if (c.rangeLow != 0 || c.rangeHigh != 0) next = std::clamp<int64_t>(next, c.rangeLow, c.rangeHigh);
  m.values().setScreenText(c, c.picture.format(Value(next)));
  m.values().update(c.field);
  postEvent(m, EVENT::NewSelection, c.field);
}

void pressCheckOrRadio(WindowModel& m, Control& c) {
  if (c.type == TYPE::Check) {
    m.values().toggleCheck(c);
    m.values().update(c.field);
    postEvent(m, EVENT::Accepted, c.field);
  } else if (c.type == TYPE::Radio) {
    Control* option = m.controls().find(c.parent);
    if (option == nullptr || option->chosen == c.field) return;
    m.values().chooseRadio(c);
    m.values().update(option->field);
    postEvent(m, EVENT::NewSelection, option->field);
    postEvent(m, EVENT::Accepted, option->field);
  }
}

// Types the text into the control as key-by-key input; `accept` then accepts it.
void typeText(WindowModel& m, int field, const std::string& s, bool accept) {
  HostThread* t = thisThread();
  if (field == 0) field = m.focusOrder().focus();
  Control* c = m.controls().find(field);
  if (c == nullptr) return;
  if (isListType(c->type) && !usesPicture(c->type)) {
    for (char ch : s) {
      if (t != nullptr) t->keyChar = ch;
      postEvent(m, EVENT::Locate, field);
    }
    return;
  }
  if (!editable(m, *c)) return;
  if (m.focusOrder().focus() != field && !userFocus(m, field)) return;
  m.values().setScreenText(*c, std::string());
  for (char ch : s) {
    RawMessage raw{RawMessage::Char, 0, 0, static_cast<unsigned char>(ch)};
    callWindowProc(m.frameProc(), *m.window(), raw);
  }
  if (accept && m.controls().find(field) != nullptr) commitControl(m, field);
}

}  // namespace

bool routeInput(Program& program, const InputMessage& msg) {
  Program* p = &program;
  std::lock_guard<std::mutex> lock(p->mu);
  WindowModel* target = nullptr;
  bool captured = false;
  if (isMouse(msg.kind) && p->capture != 0) {
    target = p->byHandleLocked(p->capture);
    captured = target != nullptr;
  }
  if (target == nullptr) {
    if (msg.kind == InputMessage::KeyDown || msg.kind == InputMessage::Char || msg.kind == InputMessage::Text)
      target = msg.window != 0 ? p->byHandleLocked(msg.window) : p->focusWindow;
    else if (msg.kind == InputMessage::Activate && msg.window == 0)
      target = p->focusWindow;
    else
      target = p->byHandleLocked(msg.window);
  }
  if (target == nullptr) return false;
  HostThread* t = p->threadLocked(target->ownerThread());
  if (t == nullptr) return false;
  // A window under a later window of its thread takes no input.
  if (!captured && msg.kind != InputMessage::Call && p->topmostLocked(*t) != target) return false;
  QueueItem item;
  item.kind = msg.kind == InputMessage::Call ? QueueItem::Call : QueueItem::Input;
  item.window = target->handle();
  item.input = msg;
  item.call = msg.call;
  p->pushLocked(*t, std::move(item));
  return true;
}

void processInput(WindowModel& m, const InputMessage& msg) {
  HostThread* t = thisThread();
  struct InputScope {  // events posted meanwhile carry this input's key and mouse state
    HostThread* thread;
    explicit InputScope(HostThread* th) : thread(th) {
      if (thread != nullptr) ++thread->processingInput;
    }
    ~InputScope() {
      if (thread != nullptr) --thread->processingInput;
    }
  } scope(t);
  Window& w = *m.window();
  if (isMouse(msg.kind)) {
    // A press activates the window under the mouse (not one that only holds the capture).
    bool press = msg.kind == InputMessage::LeftDown || msg.kind == InputMessage::RightDown ||
                 msg.kind == InputMessage::LeftDoubleClick;
    if (press && msg.window == m.handle())
      if (std::shared_ptr<Program> p = Program::current()) {
        std::lock_guard<std::mutex> lock(p->mu);
        if (p->capture != m.handle() && !m.hidden()) p->setFocusWindowLocked(&m);
      }
    if (t != nullptr) {
      t->mouseScreenX = msg.x;
      t->mouseScreenY = msg.y;
      t->mouseWindow = &m;
      if (msg.kind == InputMessage::LeftDown) t->keyCode = KEY::MouseLeft;
      if (msg.kind == InputMessage::RightDown) t->keyCode = KEY::MouseRight;
      if (msg.kind == InputMessage::LeftDoubleClick) t->keyCode = KEY::MouseLeft2;
    }
    RawMessage raw{rawKind(msg.kind), static_cast<int>(roundUnits(msg.x - m.geometry().screenX())),
                   static_cast<int>(roundUnits(msg.y - m.geometry().screenY())), 0};
    callWindowProc(m.clientProc(), w, raw);
    return;
  }
  switch (msg.kind) {
    case InputMessage::KeyDown: {
      if (t != nullptr) t->keyCode = msg.key;
      RawMessage raw{RawMessage::KeyDown, 0, 0, msg.key};
      callWindowProc(m.frameProc(), w, raw);
      return;
    }
    case InputMessage::Char: {
      RawMessage raw{RawMessage::Char, 0, 0, msg.key};
      callWindowProc(m.frameProc(), w, raw);
      return;
    }
    case InputMessage::Text:
      typeText(m, msg.field, msg.text, true);
      return;
    case InputMessage::Edit:
      typeText(m, msg.field, msg.text, false);
      return;
    case InputMessage::SelectTab:
      if (Control* tab = m.controls().find(msg.field); tab != nullptr && tab->type == TYPE::Tab) chooseTab(m, *tab);
      return;
    case InputMessage::SelectRow:
      if (Control* c = m.controls().find(msg.field); c != nullptr && isListType(c->type) && m.controls().enabled(*c)) {
        if (m.focusOrder().canFocus(*c) && !userFocus(m, c->field)) return;
        chooseRow(m, *c, msg.row);
      }
      return;
    case InputMessage::Scroll:
      if (Control* c = m.controls().find(msg.field); c != nullptr && isListType(c->type)) {
        if (msg.key == EVENT::ScrollDrag) {
          c->vScrollPos = std::clamp(msg.row, 0, 100);
          m.changes().control(*c);
        }
        postEvent(m, msg.key, c->field);
      }
      return;
    case InputMessage::FocusControl:
      if (Control* c = m.controls().find(msg.field); c != nullptr && m.focusOrder().canFocus(*c)) userFocus(m, c->field);
      return;
    case InputMessage::MenuChoice:
      if (Control* c = m.controls().find(msg.field); c != nullptr && m.controls().enabled(*c)) postEvent(m, EVENT::Accepted, c->field);
      return;
    case InputMessage::Close:
      postEvent(m, EVENT::CloseWindow, 0);
      return;
    case InputMessage::Resize:
      if (msg.key == EVENT::Maximized || msg.key == EVENT::Iconized || msg.key == EVENT::Restored) {
        m.set(0, PROP::Maximize, -1, Value(msg.key == EVENT::Maximized));
        m.set(0, PROP::Iconize, -1, Value(msg.key == EVENT::Iconized));
      }
      m.geometry().resizeByUser(msg.x, msg.y);
      postEvent(m, EVENT::Sized, 0);
      if (msg.key != 0) postEvent(m, msg.key, 0);
      return;
    case InputMessage::Move:
      m.geometry().moveTo(msg.x, msg.y);
      postEvent(m, EVENT::Moved, 0);
      return;
    case InputMessage::Activate: {
      std::shared_ptr<Program> p = Program::current();
      if (!p) return;
      std::lock_guard<std::mutex> lock(p->mu);
      p->setFocusWindowLocked(msg.window == 0 ? nullptr : &m);
      return;
    }
    case InputMessage::Call:
      if (msg.call) msg.call();
      return;
    default:
      return;
  }
}

int64_t defaultClientProc(Window& window, const RawMessage& msg) {
  WindowModel& m = modelOf(window);
  int f = m.geometry().controlAt(msg.x, msg.y);
  Control* c = m.controls().find(f);
  auto alerted = [&](int key) { return (c != nullptr && contains(c->alerts, key)) || contains(m.alerts(), key); };
  switch (msg.kind) {
    case RawMessage::LeftDown: {
      if (alerted(KEY::MouseLeft)) {
        postEvent(m, EVENT::AlertKey, f);
        return 0;
      }
      m.loop().pressedField = f;
      if (int tab = tabAt(m, msg.x, msg.y)) {
        m.loop().pressedField = 0;
        if (Control* tc = m.controls().find(tab)) chooseTab(m, *tc);
        return 0;
      }
      if (c == nullptr || !m.controls().enabled(*c)) return 0;
      if (isFocusable(c->type) && !userFocus(m, f)) return 0;
      if (isListType(c->type) && c->type != TYPE::DropList && c->drop == 0) {  // a drop list opens instead
        int row = m.geometry().rowAt(*c, msg.y);
        c->mouseDownRow = row;
        if (row > 0) chooseRow(m, *c, row);
      }
      return 0;
    }
    case RawMessage::LeftUp: {
      int pressed = m.loop().pressedField;
      m.loop().pressedField = 0;
      if (c == nullptr || f != pressed || !m.controls().enabled(*c)) return 0;
      if (c->type == TYPE::Button)
        postEvent(m, EVENT::Accepted, f);
      else
        pressCheckOrRadio(m, *c);
      return 0;
    }
    case RawMessage::LeftDoubleClick:
      if (alerted(KEY::MouseLeft2)) {
        postEvent(m, EVENT::AlertKey, f);
        return 0;
      }
      if (c != nullptr && isListType(c->type) && m.controls().enabled(*c)) postEvent(m, EVENT::Accepted, f);
      return 0;
    case RawMessage::RightDown:
      if (c != nullptr && isListType(c->type)) c->mouseDownRow = m.geometry().rowAt(*c, msg.y);
      if (alerted(KEY::MouseRight)) postEvent(m, EVENT::AlertKey, f);
      return 0;
    default:
      return 0;
  }
}

int64_t defaultFrameProc(Window& window, const RawMessage& msg) {
  WindowModel& m = modelOf(window);
  int f = m.focusOrder().focus();
  Control* c = m.controls().find(f);
  if (msg.kind == RawMessage::Char) {
    if (c == nullptr) return 0;
    auto ch = static_cast<char>(msg.key);
    if (HostThread* t = thisThread()) t->keyChar = ch;
    if (editable(m, *c)) {
      m.values().setScreenText(*c, c->screen + ch);
    } else if (isListType(c->type)) {
      postEvent(m, EVENT::Locate, f);
    }
    return 0;
  }
  if (msg.kind != RawMessage::KeyDown) return 0;
  int key = msg.key;
  if ((c != nullptr && contains(c->alerts, key)) || contains(m.alerts(), key)) {
    postEvent(m, EVENT::AlertKey, f);
    return 0;
  }
  if (key == KEY::Tab || key == (KEY::Tab | KEY::Shift)) {
    int next = m.focusOrder().nextFocusable(f, key != KEY::Tab);
    if (next != 0) userFocus(m, next);
    return 0;
  }
  if (c == nullptr || !m.controls().enabled(*c)) return 0;
  switch (c->type) {
    case TYPE::Button:
      if (key == KEY::Enter || key == KEY::Space) postEvent(m, EVENT::Accepted, f);
      break;
    case TYPE::Check: case TYPE::Radio:
      if (key == KEY::Space) pressCheckOrRadio(m, *c);
      break;
    case TYPE::Spin:
      if (key == KEY::Up || key == KEY::Down) {
        if (!c->readOnly) spinKey(m, *c, key);
        break;
      }
      [[fallthrough]];
    case TYPE::Entry: case TYPE::Text: case TYPE::Rtf:
      if (key == KEY::Enter && c->edited) commitControl(m, f);
      if (key == KEY::Backspace && editable(m, *c) && !c->screen.empty()) {
        std::string s = c->screen;
        s.pop_back();
        m.values().setScreenText(*c, s);
      }
      break;
    case TYPE::List: case TYPE::DropList: case TYPE::Combo: case TYPE::DropCombo:
      if (key == KEY::Enter && c->edited) {
        commitControl(m, f);
        break;
      }
      listKey(m, *c, key);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace wevo::toolkit
