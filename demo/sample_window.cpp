#include "demo/sample_window.h"

#include "demo/demo_settings.h"
#include "demo/install_layout.h"
#include "demo/select_mode.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::demo {

SampleVars::SampleVars() {
  text::blank(entry);
  text::assign(text, "This is TEXT control");
  text::blank(spin);
}

void RunSampleWindow(DemoState& state, const SampleKind& kind, const std::string& mode) {
  WEVOSETTINGS settings;
  clearSettings(settings);
  SampleVars vars;
  char marker[40];
  text::assign(marker, mode);
  const std::string uniqueMarker(text::field(marker));

  Window window(kind.decl(vars));
  window.open();
  Noted noted(state, window, kind.caption);
  if (!noted) return;
  state.activateSample(window);
  setSampleSettings(settings);
  // The place the user named, else where the install puts the store. A
  // server's address carries the role's password, which wins over the
  // sample's PASSWORD.
  if (std::string named = state.store(); !named.empty())
    text::assign(settings.WEVOPATH, named);
  else if (std::string folder = storeFolder(command(0)); !folder.empty())
    text::assign(settings.WEVOPATH, folder);
  WEVO::SETWINDOWCONTROLS(window, kind.procedure, uniqueMarker, settings);
  window.display();
  window.set(0, PROP::Alrt, 255, kDesignHotKey);

  const int designButton = window.fieldOf(kind.designButton);
  const int ok = window.fieldOf("?OKBUTTON"), cancel = window.fieldOf("?CANCELBUTTON");
  const int sheet = kind.sheet.empty() ? 0 : window.fieldOf(kind.sheet);
  while (window.accept()) {
    switch (event()) {
      case EVENT::AlertKey:
        if (keyCode() == kDesignHotKey)
          WEVO::PROCESSWINDOW(window, field(), kind.procedure, uniqueMarker, settings);
        break;
      case EVENT::Accepted:
        if (field() == designButton)
          WEVO::PROCESSWINDOW(window, designButton, kind.procedure, uniqueMarker, settings);
        else if (field() == ok || field() == cancel)
          window.post(EVENT::CloseWindow);
        break;
      case EVENT::NewSelection:
        if (sheet != 0 && field() == sheet) window.display();
        break;
      case EVENT::GainFocus:
        state.activateSample(window);
        window.display();
        break;
      case EVENT::OpenWindow: case EVENT::Sized:
        window.display();
        break;
      case EVENT::Rejected:
        beep();
        window.select(field());
        break;
      default:
        break;
    }
  }
}

void StartSampleWindow(DemoState& state, const SampleKind& kind) {
  const std::string mode = SelectMode(state);
  if (mode.empty() || mode == "QUIT" || state.closing()) return;
  RunSampleWindow(state, kind, mode);
}

}  // namespace wevo::demo
