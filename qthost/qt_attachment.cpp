// wevo inside a Qt Widgets program (wevo/qt.h), and the C entries that
// take a QWidget's address.
#include "wevo/qt.h"
#include "wevo/design_options.h"

#include <QApplication>
#include <QPointer>
#include <QShortcut>
#include <QTabWidget>
#include <QThread>
#include <cstdio>
#include <stdexcept>

#include "apply/host_window.h"
#include "apply/set_window_controls.h"
#include "platform/toolkit/program_state.h"
#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/window_binder.h"
#include "qthost/form_scan.h"
#include "qthost/form_state.h"
#include "qthost/host_call.h"
#include "qthost/model_window.h"
#include "wevo/qt_view.h"

namespace wevo {

namespace {

QtAttachment* gAttachment = nullptr;  // GUI thread only

bool onGuiThread() { return qApp != nullptr && QThread::currentThread() == qApp->thread(); }

// What the host thread works from: the form's declaration and where its
// controls are, copied off the widgets.
qthost::FormModel modelOf(const qthost::ScannedForm& form) {
  qthost::FormModel m;
  m.decl = form.decl;
  m.screenPos = form.screenPos;
  m.size = form.size;
  for (size_t i = 0; i < form.controls.size(); ++i) {
    const qthost::ScannedControl& c = form.controls[i];
    m.places.push_back({c.rect.x(), c.rect.y(), c.rect.width(), c.rect.height(), c.sheet != nullptr});
    if (c.sheet != nullptr && c.sheet->currentIndex() == c.tabIndex) {
      const int sheetField = form.fieldOf(c.sheet);
      if (sheetField != 0) m.tabs.emplace_back(sheetField, static_cast<int>(i) + 1);
    }
  }
  return m;
}

// Whether a control the design knows stands elsewhere now.
bool moved(const qthost::UnitRects& now, const qthost::UnitRects& designed) {
  for (const auto& [label, r] : now) {
    auto d = designed.find(label);
    if (d != designed.end() && !(d->second == r)) return true;
  }
  return false;
}

// Marks the form worked on for the length of a call. The program may
// delete the form while the call waits (its state goes with it).
class Busy {
 public:
  explicit Busy(qthost::FormState& s) : s_(&s) { s_->busy = true; }
  ~Busy() {
    if (s_ != nullptr) s_->busy = false;
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;
  // Whether the form outlived the call so far.
  bool alive() const { return s_ != nullptr; }

 private:
  QPointer<qthost::FormState> s_;
};

}  // namespace

struct QtAttachment::Impl {
  std::shared_ptr<toolkit::Program> program;
  qtview::QtView* view = nullptr;
  bool ended = false;

  // Whether a call on `form` may go ahead.
  bool usable(const QWidget* form) {
    if (ended || form == nullptr || !onGuiThread() || !program) return false;
    checkEnded();
    return !ended;
  }

  // The program ended under a call (the store could not be used): the
  // host program ends too, as a toolkit program would.
  void checkEnded() {
    if (ended || !program || !program->ending()) return;
    ended = true;
    std::vector<std::string> lines = program->transcript();
    std::fprintf(stderr, "wevo: the program ends%s%s\n", lines.empty() ? "" : ": ",
                 lines.empty() ? "" : lines.back().c_str());
    QCoreApplication::exit(1);
  }
};

QtAttachment::QtAttachment(QtAttachmentOptions options) : impl_(std::make_unique<Impl>()) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    throw std::logic_error("wevo::QtAttachment needs the program's QApplication");
  if (!onGuiThread()) throw std::logic_error("wevo::QtAttachment is made on the QApplication's thread");
  if (gAttachment != nullptr) throw std::logic_error("one wevo::QtAttachment at a time");
  // The program's own choice stays: the view would keep the application
  // running with no window open, as wevo::run needs.
  const bool quitOnLastWindow = QApplication::quitOnLastWindowClosed();
  RunOptions run;
  run.view = qtView(QtViewOptions{std::string(), options.imageDir});
  impl_->program = toolkit::Program::attach(run);
  QApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
  impl_->view = qtview::QtView::running();
  setSnappingByDefault(options.snapping);
  gAttachment = this;
}

QtAttachment::~QtAttachment() {
  if (gAttachment == this) gAttachment = nullptr;
  setSnappingByDefault(false);
  if (impl_->program) impl_->program->detach();
  impl_->program.reset();
}

QtAttachment* QtAttachment::current() { return onGuiThread() ? gAttachment : nullptr; }

bool QtAttachment::ended() const { return impl_->ended; }

void QtAttachment::customise(QWidget* form, const std::string& procedureName, const std::string& uniqueMarker,
                             WEVOSETTINGS& settings) {
  if (!impl_->usable(form) || impl_->view == nullptr) return;
  if (apply::IsOriginalMarker(uniqueMarker)) return;
  qthost::FormState& state = qthost::FormState::of(form);
  if (state.busy) return;
  Busy busy(state);
  if (state.customised) state.restoreDesigned();
  state.layOut();
  const qthost::ScannedForm scanned = qthost::scanForm(form);
  const qthost::FormModel model = modelOf(scanned);
  std::unique_ptr<qtview::BoundWindow> binding = impl_->view->binder().prepare(form, scanned.bindings(), state.looks);
  const FontSpec font = state.knowsDesign ? state.designedFont : scanned.decl.font;
  qthost::UnitRects before, after;
  qtview::QtView& view = *impl_->view;
  const bool ran = qthost::runOnHostThread(view, [&] {
    qthost::ModelWindow m(view, model, *binding);
    m.open();
    before = m.unitRects(font);
    WEVO::SETWINDOWCONTROLS(m.window(), procedureName, uniqueMarker, settings);
    after = m.unitRects(font);
    m.finish();
  });
  impl_->checkEnded();
  if (!ran || impl_->ended || !busy.alive()) return;
  if (!state.knowsDesign && !before.empty()) {
    state.designedUnits = before;
    state.designedFont = font;
    state.knowsDesign = true;
  }
  state.customised = true;
  if (moved(after, state.designedUnits)) state.place(scanned, *binding, after);
}

void QtAttachment::design(QWidget* form, const std::string& procedureName, const std::string& uniqueMarker,
                          WEVOSETTINGS& settings, QWidget* selected) {
  if (!impl_->usable(form) || impl_->view == nullptr) return;
  qthost::FormState& state = qthost::FormState::of(form);
  if (state.busy) return;
  state.layOut();
  // What the user places is placed relative to the designed size.
  state.toDesignedSize();
  Busy busy(state);
  const qthost::ScannedForm scanned = qthost::scanForm(form);
  const qthost::FormModel model = modelOf(scanned);
  std::unique_ptr<qtview::BoundWindow> binding = impl_->view->binder().prepare(form, scanned.bindings(), state.looks);
  state.layoutsOff(scanned);
  binding->setPlaced(true);
  binding->setRouting(true);
  const int field = scanned.fieldOf(selected != nullptr ? selected : form->focusWidget());
  const FontSpec font = state.knowsDesign ? state.designedFont : scanned.decl.font;
  const bool knew = state.knowsDesign;
  qthost::UnitRects before, after;
  qtview::QtView& view = *impl_->view;
  const bool ran = qthost::runOnHostThread(view, [&] {
    qthost::ModelWindow m(view, model, *binding);
    m.open();
    if (!knew) before = m.unitRects(font);
    WEVO::PROCESSWINDOW(m.window(), field, procedureName, uniqueMarker, settings);
    after = m.unitRects(font);
    m.finish();
  });
  binding->setRouting(false);
  impl_->checkEnded();
  if (!busy.alive()) return;
  if (!knew && !before.empty()) {
    state.designedUnits = before;
    state.designedFont = font;
    state.knowsDesign = true;
  }
  if (ran && !impl_->ended && moved(after, state.designedUnits))
    state.place(scanned, *binding, after);
  else
    state.layoutsOn();
}

QShortcut* QtAttachment::bindDesignKey(QWidget* form, const std::string& procedureName,
                                       const std::string& uniqueMarker, const WEVOSETTINGS& settings,
                                       const QKeySequence& key) {
  if (form == nullptr || !onGuiThread()) return nullptr;
  auto* shortcut = new QShortcut(key, form);
  shortcut->setContext(Qt::WindowShortcut);
  auto kept = std::make_shared<WEVOSETTINGS>(settings);
  QPointer<QWidget> target(form);
  QObject::connect(shortcut, &QShortcut::activated, form, [target, procedureName, uniqueMarker, kept] {
    QtAttachment* a = QtAttachment::current();
    if (a != nullptr && target != nullptr)
      a->design(target, procedureName, uniqueMarker, *kept, target->focusWidget());
  });
  return shortcut;
}

}  // namespace wevo

// ---- The C entries ----------------------------------------------------------------------

namespace {

// The program's attachment; for a host that has none (a program reaching
// wevo through C), one made now that lives until the application quits.
wevo::QtAttachment* attachmentForC() {
  if (!wevo::onGuiThread()) return nullptr;
  if (wevo::QtAttachment* a = wevo::QtAttachment::current()) return a;
  static std::unique_ptr<wevo::QtAttachment> own;
  try {
    own = std::make_unique<wevo::QtAttachment>();
  } catch (const std::logic_error&) {
    return nullptr;
  }
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { own.reset(); });
  return own.get();
}

// The widget at this address, if one lives there: an address from another
// language is not trusted to be one.
QWidget* widgetAt(void* address) {
  if (address == nullptr) return nullptr;
  const QWidgetList all = QApplication::allWidgets();
  for (QWidget* w : all)
    if (w == address) return w;
  return nullptr;
}

// The attachment and the widget a C call is for; nullptr when the call may
// not go ahead.
wevo::QtAttachment* attachmentFor(void* form, const WEVOSETTINGS* settings, QWidget*& widget) {
  if (settings == nullptr || !wevo::onGuiThread()) return nullptr;
  widget = widgetAt(form);
  return widget != nullptr ? attachmentForC() : nullptr;
}

}  // namespace

extern "C" WEVO_API void WEVO_QT_SETWINDOWCONTROLS(void* form, const char* procedureName, const char* uniqueMarker,
                                                   WEVOSETTINGS* settings) {
  QWidget* w = nullptr;
  if (wevo::QtAttachment* a = attachmentFor(form, settings, w))
    a->customise(w, wevo::apply::TextArgument(procedureName), wevo::apply::TextArgument(uniqueMarker), *settings);
}

extern "C" WEVO_API void WEVO_QT_PROCESSWINDOW(void* form, const char* procedureName, const char* uniqueMarker,
                                               WEVOSETTINGS* settings) {
  QWidget* w = nullptr;
  if (wevo::QtAttachment* a = attachmentFor(form, settings, w))
    a->design(w, wevo::apply::TextArgument(procedureName), wevo::apply::TextArgument(uniqueMarker), *settings);
}
