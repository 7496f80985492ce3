// The model behind a Window: the window's own properties, its controls with
// their properties and screen state, coordinates, tab order and focus, bound
// values, and the changes not yet sent to the view.
//
// A model is used only on the host thread that owns its window (the handle
// and owner fields are atomics because other threads read them to post).
// Geometry is held in pixels as doubles, so that whole numbers written in
// either coordinate mode read back unchanged in that mode; reads round to the
// nearest whole number, halves upwards.
#ifndef WEVO_PLATFORM_TOOLKIT_WINDOW_MODEL_H_
#define WEVO_PLATFORM_TOOLKIT_WINDOW_MODEL_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit/control.h"
#include "platform/view/view.h"
#include "wevo/window.h"
#include "wevo/window_decl.h"

namespace wevo::toolkit {

struct LoopState;

struct RectD {
  double x = 0, y = 0, w = 0, h = 0;
};

// Rounds a pixel or unit value to the whole number a property read gives.
int64_t roundUnits(double v);

class WindowModel {
 public:
  WindowModel(Window* window, WindowDecl decl);
  ~WindowModel();
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  Window* window() const { return window_; }
  const WindowDecl& decl() const { return decl_; }

  // ---- Life (the event side is in event_loop.cpp) ----
  // Builds the controls from the declaration with `view` measuring fonts.
  // Positions come from the declaration (dialog units); a window without a
  // declared position goes to (screenX, screenY).
  void build(View* view, double screenX, double screenY);
  // Drops the controls and every pending change.
  void teardown();
  View* view() const { return view_; }

  std::atomic<int64_t> handle{0};
  std::atomic<int64_t> clientHandle{0};
  std::atomic<int> ownerThread{0};
  int64_t openOrder = 0;
  bool open = false;

  // ---- Controls ----
  Control* find(int field);
  const Control* find(int field) const;
  int firstField() const;
  int lastField() const;
  std::string label(int field) const;
  int fieldOf(std::string_view label) const;
  int create(int field, int type, int parent);
  void destroy(int field);
  // Fields in number order.
  std::vector<int> fields() const;
  // Children of a control (0: top-level controls), in number order.
  std::vector<int> children(int parent) const;
  size_t controlCount() const { return controls_.size(); }

  // ---- Properties (index -1: none) ----
  Value get(int field, int32_t prop, int index = -1) const;
  void set(int field, int32_t prop, int index, const Value& value);

  // ---- Geometry, pixels ----
  bool pixelsMode() const { return pixels_; }
  double dluX() const { return dluX_; }
  double dluY() const { return dluY_; }
  RectD rect(const Control& c) const;  // effective, client-relative
  RectD clientRect() const { return {0, 0, clientW_, clientH_}; }
  double screenX() const { return screenX_; }
  double screenY() const { return screenY_; }
  void moveTo(double sx, double sy);
  // A size the user asks for, kept within the minimum and maximum size.
  void resizeByUser(double w, double h);
  void getPosition(int field, int& x, int& y, int& w, int& h) const;
  void setPosition(int field, int x, int y, int w, int h);
  // The control's natural size (default width and height), pixels.
  void naturalSize(const Control& c, double& w, double& h) const;
  FontDesc effectiveFont(const Control& c) const;
  const FontDesc& font() const { return font_; }
  FontMetrics metricsOf(const FontDesc& f) const;
  // List geometry: the height of one row and of the header.
  double rowHeight(const Control& c) const;
  double headerHeight(const Control& c) const;
  int visibleRows(const Control& c) const;
  // The control under a client point: the smallest visible one, later ones
  // winning ties; 0 when none.
  int controlAt(double x, double y) const;
  // The row of a list under a client point (1-based), 0 when none.
  int rowAt(const Control& list, double y) const;

  // ---- Visibility and state ----
  bool visible(const Control& c) const;
  bool enabled(const Control& c) const;  // not disabled itself or in a disabled container
  bool hidden() const { return hidden_; }
  const std::string& caption() const { return caption_; }

  // ---- Tab order and focus ----
  const std::vector<int>& tabOrder() const { return tabOrder_; }
  void follows(int field, int after);
  // The next focusable control after `from` in tab order (backwards when
  // `back`), wrapping; 0 when none.
  int nextFocusable(int from, bool back) const;
  int firstFocusable() const;
  bool canFocus(const Control& c) const;
  int focus() const { return focus_; }
  void setFocusField(int field);  // no events; switches a sheet to the control's tab

  // ---- Values ----
  void display(int field);  // 0: every control
  // Copies screen to variable; returns false (variable unchanged) when the
  // screen text fails the control's picture.
  bool update(int field);   // one control
  void updateAll();
  bool isInput(const Control& c) const;  // takes part in the accept-all pass
  void bind(int field, Binding b);
  void setList(int field, const ListSource* source);
  int selection(int field) const;
  void setSelection(int field, int row);
  // The user's edits, before events: each returns what changed.
  void setScreenText(Control& c, std::string text);
  void toggleCheck(Control& c);
  void chooseRadio(Control& radio);
  bool selectRow(Control& c, int row);  // list, drop list, choices: moves the selection (and variable)
  void selectTab(Control& tab);
  int rowCount(const Control& c) const;
  std::string cellText(const Control& c, int row, const ListColumn& col) const;
  std::string choiceValue(const Control& c, int item) const;

  // ---- Window runtime state kept here for the loop ----
  std::unique_ptr<LoopState> loop;  // event_loop.h
  bool acceptAllFlag = false;
  int64_t wndProc = 0;
  int64_t clientWndProc = 0;
  std::vector<int>& alerts() { return alerts_; }
  const std::vector<int>& alerts() const { return alerts_; }

  // ---- Changes for the view ----
  bool hasChanges() const { return pendingOpen_ || windowDirty_ || allDirty_ || !dirty_.empty() || !destroyed_.empty(); }
  // Builds the update for the view and clears the pending changes. Returns
  // false when nothing changed.
  bool takeUpdate(ViewUpdate& out);
  WindowSnapshot snapshot() const;
  ControlSnapshot snapshot(const Control& c, int tabPos) const;
  void markDirty(Control& c);
  void markAllDirty() { allDirty_ = true; windowDirty_ = true; }
  void markWindowDirty() { windowDirty_ = true; }
  bool blockedFlag = false;  // mirrored into snapshots by the program

 private:
  Control* make(int field, int type, int parent);
  void applyDecl(Control& c, const ControlDecl& d);
  void setWindowProp(int32_t prop, int index, const Value& v);
  Value getWindowProp(int32_t prop, int index) const;
  void setControlProp(Control& c, int32_t prop, int index, const Value& v);
  Value getControlProp(const Control& c, int32_t prop, int index) const;
  double toPxX(const Value& v) const;
  double toPxY(const Value& v) const;
  int64_t fromPxX(double px) const;
  int64_t fromPxY(double px) const;
  void refreshMetrics();
  void invalidateNatural();
  RectD containerRect(const Control& c) const;
  void setJustify(Control& c, Justify j, bool on);
  void displayControl(Control& c);
  void syncChoiceFromVariable(Control& c);
  Value alertGet(const std::vector<int>& a, int index) const;
  void alertSet(std::vector<int>& a, int index, const Value& v);
  void setHidden(Control& c, bool on);

  Window* window_;
  WindowDecl decl_;
  View* view_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;  // sorted by field
  std::vector<int> tabOrder_;
  int64_t createSeq_ = 0;

  std::string caption_;
  double screenX_ = 0, screenY_ = 0, clientW_ = 0, clientH_ = 0;
  double minW_ = 0, minH_ = 0, maxW_ = 0, maxH_ = 0;
  bool pixels_ = false;
  FontDesc font_;
  FontMetrics metrics_;
  double dluX_ = 1, dluY_ = 1;
  bool maximized_ = false, iconized_ = false, hidden_ = false, rightToLeft_ = false;
  bool tiled_ = false, centered_ = false;
  std::string icon_, wallpaper_;
  int32_t background_ = COLOR::None;
  std::vector<int> alerts_;
  KeptProps kept_;
  int focus_ = 0;

  bool pendingOpen_ = false;
  bool windowDirty_ = false;
  bool allDirty_ = false;
  std::vector<int> dirty_;
  std::vector<int> destroyed_;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_WINDOW_MODEL_H_
