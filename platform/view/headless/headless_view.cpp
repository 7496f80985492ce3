#include "platform/view/headless/headless_view.h"

#include <cmath>

#include "wevo/codes.h"
#include "wevo/program.h"

namespace wevo {

ViewFactory headlessView() {
  return toolkit::viewFactory([](toolkit::ViewHost& host) { return std::make_unique<toolkit::HeadlessView>(host); });
}

namespace toolkit {

void HeadlessView::run() {
  std::unique_lock<std::mutex> lock(mu_);
  cv_.wait(lock, [this] { return quit_; });
}

void HeadlessView::quit() {
  std::lock_guard<std::mutex> lock(mu_);
  quit_ = true;
  cv_.notify_all();
}

void HeadlessView::update(const std::vector<ViewUpdate>& batch) { (void)batch; }

FontMetrics HeadlessView::fixedMetrics(int size) {
  return FontMetrics{static_cast<int>(std::lround(size * 0.75)), static_cast<int>(std::lround(size * 1.625))};
}

FontMetrics HeadlessView::metrics(const FontDesc& font) { return fixedMetrics(font.size); }

int HeadlessView::textWidth(const FontDesc& font, std::string_view text) {
  int chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        ++chars;
        ++i;
      }
      continue;
    }
    ++chars;
  }
  return chars * metrics(font).aveCharWidth;
}

std::vector<FontFace> HeadlessView::fonts() {
  auto face = [](const char* name, int charset, bool scalable) {
    FontFace f;
    f.face = name;
    f.charset = charset;
    f.scalable = scalable;
    FontMetrics m = fixedMetrics(8);
    f.height = m.height;
    f.ascent = m.height * 4 / 5;
    f.descent = m.height - f.ascent;
    f.aveCharWidth = m.aveCharWidth;
    f.maxCharWidth = m.aveCharWidth * 2;
    return f;
  };
  return {face("Arial", 0, true),          face("Arial", 161, true),           face("Arial", 204, true),
          face("Courier New", 0, true),    face("MS Sans Serif", 0, false),     face("Symbol", 2, true),
          face("Tahoma", 0, true),         face("Times New Roman", 0, true),    face("Times New Roman", 238, true)};
}

DialogResult HeadlessView::dialog(const DialogRequest& r, const ScriptStep* step) {
  DialogResult res;
  if (step == nullptr) {
    // Nobody to answer: the default button, no choice, cancelled.
    res.button = r.defaultButton;
    return res;
  }
  switch (r.kind) {
    case DialogRequest::Message:
      res.button = step->code != 0 ? step->code : r.defaultButton;
      break;
    case DialogRequest::Popup:
      res.item = step->code;
      break;
    case DialogRequest::Color:
      res.ok = !step->cancel;
      res.color = step->code;
      break;
    case DialogRequest::File:
      res.ok = !step->cancel;
      res.path = step->text;
      break;
    case DialogRequest::Stop:
      res.ok = step->code != 0;
      break;
  }
  return res;
}

bool HeadlessView::deliver(const ResolvedStep& r, std::string& why) {
  if (host_ == nullptr) {
    why = "the view belongs to no program";
    return false;
  }
  const ScriptStep& s = *r.step;
  InputMessage m;
  m.window = r.window;
  m.x = r.screenX;
  m.y = r.screenY;
  auto post = [&](InputMessage::Kind kind) {
    m.kind = kind;
    if (!host_->postInput(m)) {
      why = "no window took the input";
      return false;
    }
    return true;
  };
  switch (s.kind) {
    case ScriptStep::Press: return post(InputMessage::LeftDown);
    case ScriptStep::Move: return post(InputMessage::MouseMove);
    case ScriptStep::Release: return post(InputMessage::LeftUp);
    case ScriptStep::RightPress: return post(InputMessage::RightDown);
    case ScriptStep::RightRelease: return post(InputMessage::RightUp);
    case ScriptStep::DoubleClick: return post(InputMessage::LeftDoubleClick);
    case ScriptStep::ClickControl:
      if (r.controlType == TYPE::Item) {
        m.field = r.field;
        return post(InputMessage::MenuChoice);
      }
      return post(InputMessage::LeftDown) && post(InputMessage::LeftUp);
    case ScriptStep::Key:
      m.key = s.code;
      return post(InputMessage::KeyDown);
    case ScriptStep::Type:
      m.text = s.text;
      m.field = r.field;
      return post(InputMessage::Text);
    case ScriptStep::SelectTab:
      m.field = r.field;
      return post(InputMessage::SelectTab);
    case ScriptStep::SelectRow:
      m.field = r.field;
      m.row = s.code;
      return post(InputMessage::SelectRow);
    case ScriptStep::Scroll:
      m.field = r.field;
      m.key = s.code;
      m.row = s.x;
      return post(InputMessage::Scroll);
    case ScriptStep::CloseWindow: return post(InputMessage::Close);
    case ScriptStep::ResizeWindow:
      m.x = s.x;
      m.y = s.y;
      m.key = s.code;
      return post(InputMessage::Resize);
    case ScriptStep::Activate: return post(InputMessage::Activate);
    case ScriptStep::SwitchAway:
      m.window = 0;
      return post(InputMessage::Activate);
    case ScriptStep::Call:
      m.call = s.call;
      return post(InputMessage::Call);
    case ScriptStep::Screenshot:
      return true;
    default:
      why = "it is not an input step";
      return false;
  }
}

}  // namespace toolkit
}  // namespace wevo
