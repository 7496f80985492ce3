// The toolkit window that models a host's form while one call on it runs,
// on the wevo host thread that runs the call.
//
// open(): the window is opened from the form's declaration, every control
// put where its widget is (pixels), each sheet on the tab the form shows,
// the window tied to the form's binding in the Qt view, and its first
// snapshot taken there as how the form stands. Then the library works on
// window() as on any toolkit window. finish(): every change it made is on
// the form's widgets, the binding is untied, the window closes.
#ifndef WEVO_QTHOST_MODEL_WINDOW_H_
#define WEVO_QTHOST_MODEL_WINDOW_H_

#include <QPoint>
#include <QSize>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "wevo/window.h"
#include "wevo/window_decl.h"

namespace wevo::qtview {
class BoundWindow;
class QtView;
}  // namespace wevo::qtview

namespace wevo::qthost {

// Where a form's controls are, by label, in dialog units of one font.
struct UnitRect {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const UnitRect&, const UnitRect&) = default;
};
using UnitRects = std::map<std::string, UnitRect>;

// What the host thread needs of a form, copied from it on the Qt thread.
struct FormModel {
  WindowDecl decl;
  QPoint screenPos;
  QSize size;
  struct Place {
    int x = 0, y = 0, w = 0, h = 0;
    bool isTab = false;
  };
  std::vector<Place> places;              // by field - 1
  std::vector<std::pair<int, int>> tabs;  // sheet field, its current tab's field
};

class ModelWindow {
 public:
  ModelWindow(qtview::QtView& view, const FormModel& form, qtview::BoundWindow& binding);
  ~ModelWindow();
  ModelWindow(const ModelWindow&) = delete;
  ModelWindow& operator=(const ModelWindow&) = delete;

  void open();
  Window& window() { return *window_; }
  // Every control's rectangle in dialog units of `font` (the window's own
  // when its face is empty); the window stays in dialog units.
  UnitRects unitRects(const FontSpec& font);
  void finish();

 private:
  qtview::QtView& view_;
  const FormModel& form_;
  qtview::BoundWindow& binding_;
  std::unique_ptr<Window> window_;
  int64_t handle_ = 0;
  bool tied_ = false;
};

}  // namespace wevo::qthost

#endif  // WEVO_QTHOST_MODEL_WINDOW_H_
