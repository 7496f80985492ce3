#include "demo/tour_steps.h"

#include <cstdint>
#include <stdexcept>
#include <utility>

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
constexpr const char* kTransparent = "?FORMMODE:RADIO1:4";

// The design popup menu's items; with several controls selected "Align"'s
// follow: "Lefts", "Rights", "Tops", ...
constexpr int kMenuEdit = 1, kMenuBrowse = 2, kMenuControlList = 3, kMenuReset = 4;
constexpr int kMenuAlignTops = 8;

// The windows the design menu leads to, by caption.
constexpr const char* kButtonForm = "BUTTON ?BUTTON3:2";
constexpr const char* kWindowForm = " WINDOW";
constexpr const char* kControlList = "  All Screen Fields";
constexpr const char* kBrowse = "Processed controls for Main";

// What the tour's property form save gives the "Test" button.
constexpr const char* kSavedText = "Tested";
constexpr int32_t kSavedColor = 0x0000FF;  // red, 0x00BBGGRR

// How far the tour drags things, in pixels.
constexpr int kButtonRight = 30, kButtonDown = 20;
constexpr int kEntryWider = 40;
constexpr int kTitleRight = 40, kTitleDown = 30;
constexpr int kExtrasRight = 40, kExtrasDown = 10;

void leaveSaving(Script& s) { s.key(KEY::Esc).answer("Wevo", BUTTON::Yes); }

// The right button on the control at `r` (or on the window, where no
// control is) opens the design menu; the user chooses `item`.
void menuOn(Script& s, const std::string& win, int x, int y, int item) {
  s.rightPress(x, y, win).choosePopup(item);
}

// A point of the Control Window on no control: left of its OK button.
std::pair<int, int> emptySpot(const TourPlaces& p) {
  const PixelRect ok = p.rect(kControlWindowCaption, "?OKBUTTON");
  return {ok.x - 2 * ok.w, ok.centerY()};
}

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

std::vector<TourStep> designMenuTour() {
  const std::string win = kControlWindowCaption;
  std::vector<TourStep> steps;
  steps.push_back({"menu-edit-button",
                   "In mode TRANSPARENT and design mode, the right button on \"Test\" opens the design menu; "
                   "\"Edit ?BUTTON3:2\" opens the property form \"BUTTON ?BUTTON3:2\" on its General tab.",
                   kButtonForm, {},
                   [win](Script& s, const TourPlaces& p) {
                     openSample(s, "?WEVO", kTransparent);
                     s.key(kDesignHotKey);
                     const PixelRect r = p.rect(win, "?BUTTON3:2");
                     menuOn(s, win, r.centerX(), r.centerY(), kMenuEdit);
                   },
                   {}});
  steps.push_back({"form-color",
                   "The user types the text \"Tested\" and, on the Color tab, picks red as the text colour "
                   "with the \"...\" button.",
                   kButtonForm, {},
                   [](Script& s, const TourPlaces&) {
                     s.clickControl("?WIN:CONTROLTEXT", kButtonForm).type(kSavedText);
                     s.selectTab("?TAB3", kButtonForm).clickControl("?BUTTON3", kButtonForm).pickColor(kSavedColor);
                   },
                   {}});
  steps.push_back({"form-saved",
                   "\"Save\" stores the row, and the live button shows the new text in red at once.", win,
                   {"?BUTTON3:2"}, [](Script& s, const TourPlaces&) { s.clickControl("?OK", kButtonForm); }, {}});
  steps.push_back({"menu-edit-window",
                   "The right button where there is no control opens the menu for WINDOW; \"Edit WINDOW\" "
                   "shows the form laid out for the window itself, with \"Frame Type\".",
                   kWindowForm, {},
                   [win](Script& s, const TourPlaces& p) {
                     const auto [x, y] = emptySpot(p);
                     menuOn(s, win, x, y, kMenuEdit);
                   },
                   [](Script& s, const TourPlaces&) { s.clickControl("?CANCEL", kWindowForm); }});
  steps.push_back({"control-list",
                   "\"Full Field List/Tab Order\" lists every control of the window with its type, text and "
                   "state.",
                   kControlList, {},
                   [win](Script& s, const TourPlaces& p) {
                     const auto [x, y] = emptySpot(p);
                     menuOn(s, win, x, y, kMenuControlList);
                   },
                   {}});
  steps.push_back({"tab-order", "Its \"Tab Order\" tab lists the controls in their tab order, with Up and Down.",
                   kControlList, {}, [](Script& s, const TourPlaces&) { s.selectTab("?TAB2", kControlList); },
                   [](Script& s, const TourPlaces&) { s.clickControl("?CANCEL", kControlList); }});
  steps.push_back({"browse",
                   "\"Show Processed Fields\" lists the window's stored TRANSPARENT rows in label order.",
                   kBrowse, {},
                   [win](Script& s, const TourPlaces& p) {
                     const auto [x, y] = emptySpot(p);
                     menuOn(s, win, x, y, kMenuBrowse);
                   },
                   [](Script& s, const TourPlaces&) { s.clickControl("?CLOSE", kBrowse); }});
  steps.push_back({"reset-original",
                   "\"Reset ?BUTTON3:2 to original\" puts the designed text and colour back on \"Test\".", win,
                   {"?BUTTON3:2"},
                   [win](Script& s, const TourPlaces& p) {
                     const PixelRect r = p.rect(win, "?BUTTON3:2");
                     menuOn(s, win, r.centerX(), r.centerY(), kMenuReset);
                   },
                   {}});
  steps.push_back({"menu-save",
                   "Esc, and Yes to \"Do you want to save your changes?\": the window leaves design mode as the "
                   "reset left it.",
                   win, {"?BUTTON3:2"}, [](Script& s, const TourPlaces&) { leaveSaving(s); },
                   [win](Script& s, const TourPlaces&) { s.clickControl("?OKBUTTON", win); }});
  return steps;
}

std::vector<TourStep> designerExtrasTour() {
  const std::string win = kControlWindowCaption;
  std::vector<TourStep> steps;
  steps.push_back({"extras-design", "In mode FLAT, Ctrl+Alt+D: design mode, with the host's snapping turned on.",
                   win, {}, [](Script& s, const TourPlaces&) {
                     openSample(s, "?WEVO", kFlat);
                     s.key(kDesignHotKey);
                   },
                   {}});
  steps.push_back({"extras-drag", "\"Test\" is dragged 40 pixels right and 10 down; its FLAT row takes the place.",
                   win, {"?BUTTON3:2"},
                   [win](Script& s, const TourPlaces& p) {
                     const PixelRect r = p.rect(win, "?BUTTON3:2");
                     s.holding(KEY::Alt);  // no snapping: exactly where the mouse goes
                     s.drag(r.centerX(), r.centerY(), r.centerX() + kExtrasRight, r.centerY() + kExtrasDown, win);
                     s.holding(0);
                   },
                   {}});
  steps.push_back({"extras-undo", "Ctrl+Z puts \"Test\" back, on the screen and in its row.", win, {"?BUTTON3:2"},
                   [](Script& s, const TourPlaces&) { s.key(KEY::Ctrl + 'Z'); }, {}});
  steps.push_back({"extras-select-several",
                   "A click selects \"OK\"; Ctrl+click adds \"Press to start\" and \"Check 1\": white handles "
                   "mark them, the red ones \"OK\".",
                   win, {}, [win](Script& s, const TourPlaces& p) {
                     const PixelRect ok = p.rect(win, "?OKBUTTON"), start = p.rect(win, "?BUTTON3");
                     const PixelRect check = p.rect(win, "?TESTCHECK");
                     s.click(ok.centerX(), ok.centerY(), win).holding(KEY::Ctrl);
                     s.click(start.centerX(), start.centerY(), win).click(check.centerX(), check.centerY(), win);
                     s.holding(0);
                   },
                   {}});
  steps.push_back({"extras-align-tops",
                   "The right button on \"OK\" offers \"Align\"; \"Tops\" puts the other two on its top edge, "
                   "one row each.",
                   win, {"?OKBUTTON", "?BUTTON3", "?TESTCHECK"},
                   [win](Script& s, const TourPlaces& p) {
                     const PixelRect r = p.rect(win, "?OKBUTTON");
                     menuOn(s, win, r.centerX(), r.centerY(), kMenuAlignTops);
                   },
                   {}});
  steps.push_back({"extras-snap",
                   "Esc keeps only \"OK\" selected; \"Cancel\" dragged a little left and down snaps to the top "
                   "of \"OK\", and a guide line shows it.",
                   win, {"?OKBUTTON", "?CANCELBUTTON"},
                   [win](Script& s, const TourPlaces& p) {
                     const PixelRect r = p.rect(win, "?CANCELBUTTON");
                     s.key(KEY::Esc).press(r.centerX(), r.centerY(), win);
                     s.move(r.centerX() - 10, r.centerY() + 1, win).move(r.centerX() - 20, r.centerY() + 2, win);
                   },
                   [win](Script& s, const TourPlaces& p) {
                     const PixelRect r = p.rect(win, "?CANCELBUTTON");
                     s.release(r.centerX() - 20, r.centerY() + 2, win);
                   }});
  steps.push_back({"extras-save", "Esc, and Yes to \"Do you want to save your changes?\".", win,
                   {"?BUTTON3:2", "?CANCELBUTTON"}, [](Script& s, const TourPlaces&) { leaveSaving(s); },
                   [win](Script& s, const TourPlaces&) { s.clickControl("?OKBUTTON", win); }});
  return steps;
}

std::vector<TourStep> tourSteps(bool designerExtras) {
  std::vector<TourStep> steps;
  for (auto section : {controlWindowTour, demoWindowTour, designMenuTour}) {
    std::vector<TourStep> more = section();
    steps.insert(steps.end(), more.begin(), more.end());
  }
  if (designerExtras) {
    std::vector<TourStep> more = designerExtrasTour();
    steps.insert(steps.end(), more.begin(), more.end());
  }
  return steps;
}

void tourEnding(Script& script) { script.clickControl("?EXIT", kFrameCaption); }

}  // namespace wevo::demo
