#include "demo/tour_steps.h"

#include <stdexcept>

#include "demo/control_window.h"
#include "demo/demo_window.h"
#include "demo/frame.h"
#include "demo/sample_window.h"
#include "demo/select_mode.h"
#include "wevo/codes.h"

namespace wevo::demo {

namespace {

constexpr const char* kFlat = "?FORMMODE:RADIO1:2";
constexpr const char* kColors = "?FORMMODE:RADIO1:3";

// How far the tour drags things, in pixels.
constexpr int kButtonRight = 30, kButtonDown = 20;
constexpr int kEntryWider = 40;
constexpr int kTitleRight = 40, kTitleDown = 30;

void leaveSaving(Script& s) { s.key(KEY::Esc).answer("Wevo", BUTTON::Yes); }

}  // namespace

void TourPlaces::set(const std::string& caption, const std::string& label, PixelRect rect) {
  rects_[{caption, label}] = rect;
}

PixelRect TourPlaces::rect(const std::string& caption, const std::string& label) const {
  auto it = rects_.find({caption, label});
  if (it == rects_.end()) throw std::out_of_range("no place measured for " + label + " in " + caption);
  return it->second;
}

void openSample(Script& script, const std::string& menuItem, const std::string& radio) {
  script.clickControl(menuItem, kFrameCaption).clickControl(radio, kSelectModeCaption);
  script.clickControl("?OKBUTTON", kSelectModeCaption);
}

std::vector<TourStep> controlWindowTour() {
  const std::string win = kControlWindowCaption;
  std::vector<TourStep> steps;
  steps.push_back({"frame", "The application frame \"Application\" with its menu bar.", kFrameCaption, {},
                   [](Script&, const TourPlaces&) {}, {}});
  steps.push_back({"select-mode",
                   "\"&Wevo\" starts a thread that shows \"Select Mode\"; the user picks \"Colors\".",
                   kSelectModeCaption, {},
                   [](Script& s, const TourPlaces&) {
                     s.clickControl("?WEVO", kFrameCaption).clickControl(kColors, kSelectModeCaption);
                   },
                   {}});
  steps.push_back({"control-window",
                   "\"&Select\" opens \"Control Window\" in mode COLORS; wevo records every control's "
                   "designed properties as its original row.",
                   win, {"?BUTTON3:2", "?TESTENTRY"},
                   [](Script& s, const TourPlaces&) { s.clickControl("?OKBUTTON", kSelectModeCaption); }, {}});
  steps.push_back({"design-mode",
                   "Ctrl+Alt+D puts the window in design mode: red grab handles mark the control that had "
                   "the focus, and every control gets a COLORS row.",
                   win, {}, [](Script& s, const TourPlaces&) { s.key(kDesignHotKey); }, {}});
  steps.push_back({"drag-test-button",
                   "The \"Test\" button (?BUTTON3:2) is dragged 30 pixels right and 20 down; on release its "
                   "COLORS row takes the new X and Y.",
                   win, {"?BUTTON3:2"},
                   [win](Script& s, const TourPlaces& p) {
                     PixelRect r = p.rect(win, "?BUTTON3:2");
                     s.drag(r.centerX(), r.centerY(), r.centerX() + kButtonRight, r.centerY() + kButtonDown, win);
                   },
                   {}});
  steps.push_back({"widen-entry",
                   "?TESTENTRY is selected and widened 40 pixels by its right-middle grab handle; its row "
                   "takes the new WIDTH.",
                   win, {"?TESTENTRY"},
                   [win](Script& s, const TourPlaces& p) {
                     PixelRect r = p.rect(win, "?TESTENTRY");
                     s.click(r.centerX(), r.centerY(), win);
                     const int hx = r.x + r.w - 3, hy = r.y + r.h / 2;  // the middle of handle 4
                     s.drag(hx, hy, hx + kEntryWider, hy, win);
                   },
                   {}});
  steps.push_back({"save-changes",
                   "Esc leaves design mode; \"Do you want to save your changes?\" is answered Yes. The handles "
                   "are gone, the changes stay.",
                   win, {"?BUTTON3:2", "?TESTENTRY"}, [](Script& s, const TourPlaces&) { leaveSaving(s); }, {}});
  steps.push_back({"closed", "\"&OK\" closes the Control Window; its thread ends.", kFrameCaption, {},
                   [win](Script& s, const TourPlaces&) { s.clickControl("?OKBUTTON", win); }, {}});
  steps.push_back({"reopen-colors",
                   "Opened again in mode COLORS, the Control Window shows the moved button and the wider entry.",
                   win, {"?BUTTON3:2", "?TESTENTRY"},
                   [](Script& s, const TourPlaces&) { openSample(s, "?WEVO", kColors); }, {}});
  steps.push_back({"flat-beside",
                   "A second Control Window, opened at the same time in mode FLAT on a thread of its own, shows "
                   "the designed layout: the changes belong to COLORS.",
                   win, {"?BUTTON3:2", "?TESTENTRY"},
                   [](Script& s, const TourPlaces&) { openSample(s, "?WEVO", kFlat); },
                   [win](Script& s, const TourPlaces&) { s.closeWindow(win).closeWindow(win); }});
  return steps;
}

std::vector<TourStep> demoWindowTour() {
  const std::string win = kDemoWindowCaption;
  std::vector<TourStep> steps;
  steps.push_back({"demo-window",
                   "\"Wevo+\" opens the \"Wevo Demo Window\" (procedure Main20) in mode COLORS, on its lavender "
                   "wallpaper.",
                   win, {}, [](Script& s, const TourPlaces&) { openSample(s, "?WEVO2", kColors); }, {}});
  steps.push_back({"red-tab", "The user selects \"Tab 2 - Red\".", win, {"?STRING:TITLE2"},
                   [win](Script& s, const TourPlaces&) { s.selectTab("?TAB2", win); }, {}});
  steps.push_back({"demo-design",
                   "\"Enter Wevo Edit Mode\" starts design mode with that button selected.", win, {},
                   [win](Script& s, const TourPlaces&) { s.clickControl("?BUTTON:ENTEREDITMODE", win); }, {}});
  steps.push_back({"move-red-title",
                   "The red tab's title (?STRING:TITLE2) is dragged 40 pixels right and 30 down.", win,
                   {"?STRING:TITLE2"},
                   [win](Script& s, const TourPlaces& p) {
                     PixelRect r = p.rect(win, "?STRING:TITLE2");
                     s.drag(r.centerX(), r.centerY(), r.centerX() + kTitleRight, r.centerY() + kTitleDown, win);
                   },
                   {}});
  steps.push_back({"demo-save", "Esc, and Yes to \"Do you want to save your changes?\".", win, {"?STRING:TITLE2"},
                   [](Script& s, const TourPlaces&) { leaveSaving(s); }, {}});
  steps.push_back({"demo-reopen",
                   "Closed and opened again in mode COLORS, \"Tab 2 - Red\" shows its title where it was left.",
                   win, {"?STRING:TITLE2"},
                   [win](Script& s, const TourPlaces&) {
                     s.clickControl("?OKBUTTON", win);
                     openSample(s, "?WEVO2", kColors);
                     s.selectTab("?TAB2", win);
                   },
                   [win](Script& s, const TourPlaces&) { s.clickControl("?OKBUTTON", win); }});
  return steps;
}

std::vector<TourStep> tourSteps() {
  std::vector<TourStep> steps;
  for (auto section : {controlWindowTour, demoWindowTour}) {
    std::vector<TourStep> more = section();
    steps.insert(steps.end(), more.begin(), more.end());
  }
  return steps;
}

void tourEnding(Script& script) { script.clickControl("?EXIT", kFrameCaption); }

}  // namespace wevo::demo
