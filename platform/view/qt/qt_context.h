// What the Qt thread's windows share: font measurements, pictures, and
// where the user's actions on them go.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_CONTEXT_H_
#define WEVO_PLATFORM_VIEW_QT_QT_CONTEXT_H_

#include <QPoint>
#include <QSize>

namespace wevo::qtview {

class FontMeasure;
class ImageCache;
class TopWindow;

// Actions the user takes on a window outside plain mouse and key input;
// implemented by the input router, which turns them into input messages.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void closeRequested(TopWindow& w) = 0;
  // `stateEvent`: 0, or EVENT::Maximized, Iconized or Restored when the
  // window's state changed with its size.
  virtual void resizedByUser(TopWindow& w, QSize client, int stateEvent) = 0;
  virtual void movedByUser(TopWindow& w, QPoint clientScreenPos) = 0;
  virtual void menuItemChosen(TopWindow& w, int field) = 0;
  virtual void spinStepped(TopWindow& w, int field, int key) = 0;
  virtual void itemChosen(TopWindow& w, int field, int row) = 0;
  virtual void listScrolled(TopWindow& w, int field, int event, int thumb) = 0;
};

struct QtContext {
  FontMeasure& measure;
  ImageCache& images;
  WindowEvents* events = nullptr;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_QT_CONTEXT_H_
