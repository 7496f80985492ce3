// Dialogs on the Qt thread: message boxes (icon, buttons, default button),
// popup menus at the mouse ("-" a separator, "~" a disabled item), colour
// and file dialogs, the stop message, and Qt's page setup dialog (when Qt's
// printing is built in; its printer's settings last as long as the view).
//
// A person answers a dialog at leisure: open() shows it without blocking
// the Qt thread and calls back once it is answered (or cancelled). A script
// answers it at once: answer() shows the dialog, then works it as a person
// would (clicks the button, triggers the item, picks the colour or file)
// and returns what the dialog reports. Qt thread only.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_DIALOGS_H_
#define WEVO_PLATFORM_VIEW_QT_QT_DIALOGS_H_

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "platform/view/view.h"
#include "wevo/script.h"

class QPrinter;
class QWidget;

namespace wevo::qtview {

class ImageCache;

// Filters as the toolkit writes them ("Name|*.a;*.b|Other|*.c") in Qt's
// form ("Name (*.a *.b);;Other (*.c)").
QString qtFileFilter(const std::string& filter);

class ShownDialog;

class QtDialogs {
 public:
  explicit QtDialogs(ImageCache& images);
  ~QtDialogs();  // cancels every open dialog
  QtDialogs(const QtDialogs&) = delete;
  QtDialogs& operator=(const QtDialogs&) = delete;

  using Done = std::function<void(const toolkit::DialogResult&)>;
  // Returns an id for cancel().
  int open(const toolkit::DialogRequest& r, QWidget* owner, Done done);
  // Closes the dialog unanswered (its callback gets the unanswered result).
  void cancel(int id);
  toolkit::DialogResult answer(const toolkit::DialogRequest& r, QWidget* owner, const ScriptStep& step);
  // Dialogs open for a person now.
  size_t openCount() const { return open_.size(); }
  // Whether this build has Qt's page setup dialog.
  static bool hasPageSetup();

 private:
  std::unique_ptr<ShownDialog> make(const toolkit::DialogRequest& r, QWidget* owner);
  ImageCache& images_;
  QObject guard_;  // context of deferred clean-ups: they die with this object
  int nextId_ = 1;
  std::map<int, std::unique_ptr<ShownDialog>> open_;
  std::unique_ptr<QPrinter> printer_;  // made with the first page setup
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_QT_DIALOGS_H_
