#include "store/control_type_names.h"

namespace wevo::store {

std::string_view ControlTypeName(int code, TypeNames set) {
  switch (code) {
    case 1: case 2: return "STRING";
    case 3: return "IMAGE";
    case 4: return "REGION";
    case 5: return "LINE";
    case 6: return "BOX";
    case 7: return "ELLIPSE";
    case 8: return "ENTRY";
    case 9: return "BUTTON";
    case 10: return "PROMPT";
    case 11: return "OPTION";
    case 12: return "CHECK";
    case 13: return "GROUP";
    case 14: case 33: return "LIST";
    case 15: case 34: return "COMBO";
    case 16: return "SPIN";
    case 17: return "TEXT";
    case 18: return "CUSTOM";
    case 19: return "MENU";
    case 20: return "ITEM";
    case 21: return "RADIO";
    case 40: return "RTF TEXT control";
    case 128: return "TOOLBAR";
    default: break;
  }
  if (set == TypeNames::kControlList) {
    switch (code) {
      case 0: return "WINDOW";
      case 37: return "SHEET";
      case 38: return "TAB";
      default: break;
    }
  }
  return "";
}

}  // namespace wevo::store
