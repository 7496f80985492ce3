// The sample window procedure both sample windows share: open the window,
// apply the customisations of its form mode, and enter design mode on
// Ctrl+Alt+D or its design button.
#ifndef WEVO_DEMO_SAMPLE_WINDOW_H_
#define WEVO_DEMO_SAMPLE_WINDOW_H_

#include <cstdint>
#include <functional>
#include <string>

#include "demo/demo_state.h"
#include "wevo/window_decl.h"

namespace wevo::demo {

// Ctrl+Alt+D: Alt 0x400 + Ctrl 0x200 + 'D' 0x44.
inline constexpr int kDesignHotKey = KEY::Alt + KEY::Ctrl + KEY::letter('D');
static_assert(kDesignHotKey == 1604);

// The field variables of one open sample window. The entries share `entry`,
// the check boxes `check`.
struct SampleVars {
  SampleVars();
  char entry[20];
  char text[512];
  int32_t check = 0;
  char spin[20];
  int32_t option = 1;
};

struct SampleKind {
  std::string procedure;     // the store's procedure name: "Main" or "Main20"
  std::string caption;       // as the declaration has it
  std::string designButton;  // the button that starts design mode
  std::string sheet;         // a sheet whose tab changes redisplay the window ("": none)
  std::function<WindowDecl(SampleVars&)> decl;
};

// Runs the sample window on the calling thread in form mode `mode` until
// it closes. Nothing opens once the program is closing.
void RunSampleWindow(DemoState& state, const SampleKind& kind, const std::string& mode);

// A thread procedure: the mode window, then (unless the mode is "QUIT" or
// blank, or the program is closing) the sample window in that mode.
void StartSampleWindow(DemoState& state, const SampleKind& kind);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_SAMPLE_WINDOW_H_
