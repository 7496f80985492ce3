// Dialogs as text: button and icon names, popup items, and the transcript
// line every dialog leaves, e.g.
//   message "Wevo" "Do you want to save your changes?" icon=question buttons=Yes|No default=Yes -> Yes
//   popup "Edit ?OK|-|Quit Editing Mode" -> 2 "Quit Editing Mode"
//   color "Text Color" 255 -> 16711680        (or -> cancel)
//   file "Select Icon" "" filter="ICO Files|*.ico" flags=16 -> "/tmp/a.ico"   (or -> cancel)
//   stop "Disk full" -> end                   (or -> go on)
#ifndef WEVO_PLATFORM_TOOLKIT_DIALOG_TEXT_H_
#define WEVO_PLATFORM_TOOLKIT_DIALOG_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/view/popup_text.h"
#include "platform/view/view.h"

namespace wevo::toolkit {

// BUTTON:: codes in the order boxes show them.
const std::vector<int>& buttonOrder();
std::string buttonName(int button);  // "OK", "Yes", "No", "Abort", "Retry", "Ignore", "Cancel"
std::string buttonNames(int buttons);  // "Yes|No"
// The default button: the one asked for when the box has it, else its first.
int normalDefaultButton(int buttons, int defaultButton);
// "question", "error", "exclamation", "information", "hand", "application",
// "none", or the icon's own name.
std::string iconName(std::string_view icon);


std::string transcriptLine(const DialogRequest& request, const DialogResult& result);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_DIALOG_TEXT_H_
