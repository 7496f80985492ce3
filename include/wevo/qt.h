// wevo for the windows a Qt Widgets program builds itself: Designer forms
// and forms made in code, in layouts, on the program's own event loop.
//
//   QApplication app(argc, argv);
//   wevo::QtAttachment wevo;                       // one for the program
//   OrderForm form;                                // a QWidget from a .ui file
//   WEVOSETTINGS settings = ...;
//   wevo.customise(&form, "OrderForm", "STANDARD", settings);
//   wevo.bindDesignKey(&form, "OrderForm", "STANDARD", settings);  // Ctrl+Alt+D
//   form.show();
//   return app.exec();
//
// The program keeps its QApplication and its exec(); the attachment starts
// wevo inside that application. A form's controls are its named widgets
// (label "?" + object name; see the README for the types by class); the
// store, its rows and its messages are those of WEVO::SETWINDOWCONTROLS and
// WEVO::PROCESSWINDOW. wevo reads and writes only how the widgets look and
// where they are, never the program's data: what a user typed or chose
// stays the program's.
//
// Layouts: a form whose stored rows move or size nothing keeps its layouts
// and behaves exactly as the program made it. A form with moved or resized
// controls shows them where the user put them: its layouts (and those of
// its group boxes, frames and tab pages) are switched off, and when the
// form's size changes each control keeps its place by the window resizer's
// rules, inside the container that holds it.
//
// Everything here is called on the QApplication's thread (the GUI thread).
// The library's own work runs on a thread of its own while the call waits
// in a nested event loop, as QDialog::exec() does: the program's windows
// keep drawing meanwhile.
#ifndef WEVO_QT_H_
#define WEVO_QT_H_

#include <QKeySequence>
#include <memory>
#include <string>

#include "wevo/export.h"
#include "wevo/wevo.h"

class QShortcut;
class QWidget;

namespace wevo {

struct QtAttachmentOptions {
  // A folder where pictures and icons that stored rows name without a
  // folder are looked for (after the current folder, before the program's).
  std::string imageDir;
  // Whether design mode snaps dragged controls to their neighbours with
  // guide lines where the program set no design options of its own
  // (wevo/design_options.h). On: users of Qt programs know it from Qt
  // Designer. Holding Alt turns it off for a drag.
  bool snapping = true;
};

class WEVO_API QtAttachment {
 public:
  // Needs the QApplication, on its thread. One attachment at a time per
  // process (a second one throws std::logic_error), and no wevo::run
  // program meanwhile.
  explicit QtAttachment(QtAttachmentOptions options = {});
  // Ends wevo's part of the program: nothing of it is left running.
  ~QtAttachment();
  QtAttachment(const QtAttachment&) = delete;
  QtAttachment& operator=(const QtAttachment&) = delete;

  // The attachment of the program, or nullptr.
  static QtAttachment* current();

  // Call before the form is first shown. Records how the form is designed
  // (its original rows, the first time), applies the rows stored for
  // (procedureName, uniqueMarker) to its widgets and restores their tab
  // order. A marker of "ORIGINAL" (any case) does nothing at all. Calling
  // it again on the same form (another marker) starts from the form as
  // designed.
  void customise(QWidget* form, const std::string& procedureName, const std::string& uniqueMarker,
                 WEVOSETTINGS& settings);

  // Puts the form into design mode, with `selected` selected first
  // (nullptr: the control that has the focus, else the form), and returns
  // when the user leaves it. The form is first brought back to its
  // designed size. Meanwhile its widgets receive no clicks or keys. Does
  // nothing while the form is already being worked on, or while another
  // window of the program is in design mode.
  void design(QWidget* form, const std::string& procedureName, const std::string& uniqueMarker,
              WEVOSETTINGS& settings, QWidget* selected = nullptr);

  // A shortcut on the form that calls design() with the widget that has
  // the focus. `settings` is copied. The shortcut belongs to the form.
  QShortcut* bindDesignKey(QWidget* form, const std::string& procedureName, const std::string& uniqueMarker,
                           const WEVOSETTINGS& settings,
                           const QKeySequence& key = QKeySequence(QStringLiteral("Ctrl+Alt+D")));

  // The store could not be used and wevo ended ("Disk Error", a refused
  // password...): the application was told to quit with exit code 1, and
  // every later call does nothing.
  bool ended() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace wevo

#endif  // WEVO_QT_H_
