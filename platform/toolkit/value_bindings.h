// The values a window's controls show: what the screen shows of a bound
// variable (display), what goes back into it (update), the selections of
// lists, options and sheets, and the user's edits of the screen state.
#ifndef WEVO_PLATFORM_TOOLKIT_VALUE_BINDINGS_H_
#define WEVO_PLATFORM_TOOLKIT_VALUE_BINDINGS_H_

#include <string>

#include "platform/toolkit/change_log.h"
#include "platform/toolkit/control.h"
#include "platform/toolkit/control_set.h"
#include "platform/view/view.h"

namespace wevo::toolkit {

class ValueBindings {
 public:
  ValueBindings(ControlSet& controls, ChangeLog& changes) : controls_(controls), changes_(changes) {}

  void display(int field);  // 0: every control
  void display(Control& c);
  // Copies screen to variable; returns false (variable unchanged) when the
  // screen text fails the control's picture.
  bool update(int field);   // one control
  void updateAll();
  bool isInput(const Control& c) const;  // takes part in the accept-all pass
  void bind(int field, Binding b);
  void setList(int field, const ListSource* source);
  int selection(int field) const;
  void setSelection(int field, int row);
  // A list's selection follows its variable (its choices changed).
  void syncChoiceFromVariable(Control& c);

  // The user's edits, before events.
  void setScreenText(Control& c, std::string text);
  void toggleCheck(Control& c);
  void chooseRadio(Control& radio);
  bool selectRow(Control& c, int row);  // list, drop list, choices: moves the selection (and variable)
  void selectTab(Control& tab);

  std::string cellText(const Control& c, int row, const ListColumn& col) const;
  std::string choiceValue(const Control& c, int item) const;

 private:
  ControlSet& controls_;
  ChangeLog& changes_;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_VALUE_BINDINGS_H_
