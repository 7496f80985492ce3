// Popup menus as text: items, separators, disabled items and submenus, and
// how a chosen item is numbered and written in the transcript.
#include "platform/toolkit/dialog_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/testing/run_scripted.h"
#include "wevo/toolkit.h"

namespace wevo::toolkit {
namespace {

std::string shape(const std::vector<PopupEntry>& entries) {
  std::string out;
  for (const PopupEntry& e : entries) {
    switch (e.kind) {
      case PopupEntry::Item: out += std::to_string(e.number) + (e.enabled ? "" : "~") + e.text + " "; break;
      case PopupEntry::Separator: out += "- "; break;
      case PopupEntry::SubmenuStart: out += e.text + "{ "; break;
      case PopupEntry::SubmenuEnd: out += "} "; break;
    }
  }
  return out;
}

TEST(PopupEntries, SubmenusNestAndTheirItemsAreNumberedInOrderWithTheRest) {
  EXPECT_EQ(shape(popupEntries("Edit|-|~Copy|Quit")), "1Edit - 2~Copy 3Quit ");
  EXPECT_EQ(shape(popupEntries("Quit|-|Align{Lefts|~Rights|More{Deep}}|Last")),
            "1Quit - Align{ 2Lefts 3~Rights More{ 4Deep } } 5Last ");
  EXPECT_EQ(shape(popupEntries("A{B}")), "A{ 1B } ");
  // Empty items stay items, as they always were.
  EXPECT_EQ(shape(popupEntries("a||b|")), "1a 2 3b 4 ");
  EXPECT_EQ(shape(popupEntries("")), "1 ");

  const std::vector<PopupItem> items = popupItems("Quit|-|Align{Lefts|~Rights}|Last");
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[1].text, "Lefts");
  EXPECT_FALSE(items[2].enabled);
  EXPECT_EQ(items[3].text, "Last");
}

TEST(PopupEntries, AnItemOfASubmenuIsChosenByItsNumberAndNamedInTheTranscript) {
  Script script;
  script.choosePopup(3).choosePopup(2);
  int first = -1, second = -1;
  ProgramResult r = testing::runScripted(script, [&] {
    first = popup("One|-|Sub{Two|Three}|Four");
    second = popup("One|-|Sub{~Two|Three}|Four");
  });
  EXPECT_TRUE(testing::failedWith(r, "item 2 of the popup menu \"One|-|Sub{~Two|Three}|Four\" is disabled"));
  EXPECT_EQ(first, 3);
  EXPECT_TRUE(testing::transcriptHas(r, "popup \"One|-|Sub{Two|Three}|Four\" -> 3 \"Three\""));
}

}  // namespace
}  // namespace wevo::toolkit
