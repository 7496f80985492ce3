#include "editor/form_decl.h"

#include <string>
#include <utility>

#include "wevo/props.h"

namespace wevo::editor {
namespace {

constexpr const char* kLayoutChoices = "Default|#0|Left to Right|#1|Right to Left|#2";
constexpr const char* kFrameChoices = "Single|#0|Double|#1|Resizable|#2|None|#3|";
constexpr const char* kCaseChoices = "Default|#0|Uppercase|#1|Capitalize|#2";
constexpr const char* kEntryModeChoices = "Default|#0|Insert|#1|Overwrite|#2";
constexpr const char* kSizeChoices = "8|9|10|11|12|14|16|18|20|22|24|26|28|36|48|72";
constexpr const char* kScriptChoices =
    "ANSI|#0|DEFAULT|#1|SYMBOL|#2|MAC|#77|SHIFTJIS|#128|HANGEUL|#129|JOHAB|#130|GB2312|#134|CHINESEBIG5|#136|"
    "GREEK|#161|TURKISH|#162|HEBREW|#177|ARABIC|#178|BALTIC|#186|CYRILLIC|#204|THAI|#222|EASTEUROPE|#238|OEM|#255";

// Rows of one line: the height of entries, spins, drop lists and buttons.
constexpr int kLine = 10;

std::string fieldUse(std::string_view fieldName) { return "?WIN:" + std::string(fieldName); }
std::string promptUse(std::string_view fieldName) { return fieldUse(fieldName) + ":Prompt"; }

// Adds controls to the declaration in tab order.
class Builder {
 public:
  Builder(WindowDecl& decl, store::WindowControls& record) : decl_(decl), record_(record) {}

  ControlDecl& add(int type, std::string use, std::string text, std::string parent, At at) {
    ControlDecl c;
    c.type = type;
    c.use = std::move(use);
    c.text = std::move(text);
    c.parent = std::move(parent);
    c.at = at;
    decl_.controls.push_back(std::move(c));
    return decl_.controls.back();
  }

  ControlDecl& prompt(std::string_view fieldName, std::string text, const std::string& parent, int x, int y) {
    return add(TYPE::Prompt, promptUse(fieldName), std::move(text), parent, At{x, y, kDefault, kDefault});
  }

  // A control bound to the record field it is named after.
  ControlDecl& field(int type, std::string_view fieldName, std::string text, const std::string& parent, At at) {
    ControlDecl& c = add(type, fieldUse(fieldName), std::move(text), parent, at);
    c.bind = RecordBinding(record_, fieldName);
    return c;
  }

  ControlDecl& entry(std::string_view fieldName, std::string picture, const std::string& parent, At at) {
    return field(TYPE::Entry, fieldName, std::move(picture), parent, at);
  }

  // A control named `use` that edits the record field `fieldName` besides the
  // control named after it.
  ControlDecl& second(int type, std::string use, std::string_view fieldName, std::string text,
                      const std::string& parent, At at) {
    ControlDecl& c = add(type, std::move(use), std::move(text), parent, at);
    c.bind = RecordBinding(record_, fieldName);
    return c;
  }

  ControlDecl& spin(std::string_view fieldName, const std::string& parent, At at) {
    ControlDecl& c = field(TYPE::Spin, fieldName, "n-14", parent, at);
    c.rangeLow = 0;
    c.rangeHigh = 0;  // no range: any number
    return c;
  }

  ControlDecl& dropList(std::string_view fieldName, std::string from, int rows, const std::string& parent, At at) {
    ControlDecl& c = field(TYPE::DropList, fieldName, "", parent, at);
    c.from = std::move(from);
    c.drop = rows;
    return c;
  }

  // Check boxes and radios get a width of their own: a view's box beside the
  // text may need more room than the toolkit's natural width allows.
  ControlDecl& check(std::string_view fieldName, std::string text, const std::string& parent, int x, int y,
                     int width) {
    ControlDecl& c = field(TYPE::Check, fieldName, std::move(text), parent, At{x, y, width, kDefault});
    c.value = "1";
    c.falseValue = "";
    return c;
  }

  ControlDecl& group(std::string use, std::string text, const std::string& parent, At at, bool hidden) {
    ControlDecl& c = add(TYPE::Group, std::move(use), std::move(text), parent, at);
    c.hidden = hidden;
    return c;
  }

  ControlDecl& lookupButton(std::string use, const std::string& parent, int x, int y) {
    return add(TYPE::Button, std::move(use), "...", parent, At{x, y, 14, kLine});
  }

  // A colour row of the Color tab: prompt, entry, "..." button and swatch.
  void colorRow(std::string_view fieldName, std::string text, std::string suffix, const std::string& parent, int y,
                bool hidden) {
    prompt(fieldName, std::move(text), parent, 18, y).hidden = hidden;
    entry(fieldName, "n-14b", parent, At{84, y, 60, kLine}).hidden = hidden;
    lookupButton("?BUTTON3" + suffix, parent, 148, y).hidden = hidden;
    ControlDecl& box = add(TYPE::Box, "?BOX1" + suffix, "", parent, At{166, y, 36, kLine});
    box.hidden = hidden;
    box.background = COLOR::Black;
  }

 private:
  WindowDecl& decl_;
  store::WindowControls& record_;
};

void generalTab(Builder& b, FormVars& vars) {
  const std::string tab = FORM::TabGeneral;
  ControlDecl& info = b.add(TYPE::String, FORM::InfoMessage, "", tab, At{10, 22, 276, kLine});
  info.bind = Binding::text(vars.INFOMESSAGE);
  info.font.style = kBoldWeight;

  b.prompt("DESCRIPTION", "Description:", tab, 10, 35);
  b.entry("DESCRIPTION", "s100", tab, At{66, 35, 220, kLine});
  b.prompt("CONTROLTEXT", "Control Text:", tab, 10, 48);
  b.field(TYPE::Text, "CONTROLTEXT", "", tab, At{66, 48, 220, 28});
  b.prompt("JUSTIFICATION", "Justification:", tab, 10, 82);
  b.dropList("JUSTIFICATION", std::string(kJustificationChoices), 5, tab, At{66, 82, 90, kLine});
  b.prompt("OFFSET", "Offset:", tab, 172, 82);
  b.spin("OFFSET", tab, At{204, 82, 48, kLine});
  b.prompt("LAYOUT", "Layout:", tab, 10, 98);
  b.dropList("LAYOUT", kLayoutChoices, 3, tab, At{66, 98, 90, kLine});

  b.group("?GROUP1", "Mode", tab, At{10, 114, 276, 26}, false);
  b.check("HIDE", "Hide", "?GROUP1", 18, 126, 46);
  b.check("DISABLE", "Disable", "?GROUP1", 70, 126, 50);
  b.check("SKIP", "Skip", "?GROUP1", 126, 126, 42);
  b.check("SCROLL", "Scroll", "?GROUP1", 172, 126, 44);
  b.check("TRANSPARENT", "Transparent", "?GROUP1", 220, 126, 62);

  b.prompt("DROP", "Drop:", tab, 10, 148).hidden = true;
  b.spin("DROP", tab, At{66, 148, 48, kLine}).hidden = true;
  b.prompt("DROPWIDTH", "Width:", tab, 130, 148).hidden = true;
  b.spin("DROPWIDTH", tab, At{160, 148, 48, kLine}).hidden = true;

  b.lookupButton(FORM::WallpaperLookup, tab, 272, 162).hidden = true;
  ControlDecl& mode = b.field(TYPE::Option, "WALLPAPERMODE", "Wallpaper Mode", tab, At{10, 174, 276, 22});
  mode.hidden = true;
  mode.props.push_back({PROP::Boxed, Value(1)});
  const std::string modeUse = mode.use;
  b.add(TYPE::Radio, "?WIN:WALLPAPERMODE:Radio1", "Stretched", modeUse, At{18, 184, 70, kDefault}).value = "0";
  b.add(TYPE::Radio, "?WIN:WALLPAPERMODE:Radio2", "Centered", modeUse, At{96, 184, 70, kDefault}).value = "1";
  b.add(TYPE::Radio, "?WIN:WALLPAPERMODE:Radio3", "Tiled", modeUse, At{174, 184, 70, kDefault}).value = "2";
  b.prompt("WALLPAPER", "Wallpaper:", tab, 10, 162).hidden = true;
  b.entry("WALLPAPER", "s255", tab, At{66, 162, 204, kLine}).hidden = true;
  b.dropList("FRAMETYPE", kFrameChoices, 4, tab, At{172, 98, 90, kLine}).hidden = true;
}

void extraTab(Builder& b) {
  const std::string tab = FORM::TabExtra;
  b.group("?BEVELGROUP", "Bevel", tab, At{152, 24, 134, 50}, true);
  b.prompt("OUTER", "Outer:", "?BEVELGROUP", 160, 35);
  b.spin("OUTER", "?BEVELGROUP", At{194, 35, 48, kLine});
  b.prompt("INNER", "Inner:", "?BEVELGROUP", 160, 47);
  b.spin("INNER", "?BEVELGROUP", At{194, 47, 48, kLine});
  b.prompt("STYLE", "Style:", "?BEVELGROUP", 160, 59);
  b.entry("STYLE", "n-14", "?BEVELGROUP", At{194, 59, 48, kLine});

  b.prompt("WORDCASE", "Case:", tab, 10, 30);
  b.dropList("WORDCASE", kCaseChoices, 3, tab, At{58, 30, 84, kLine});
  b.prompt("ENTRYMODE", "Entry Mode:", tab, 10, 46);
  b.dropList("ENTRYMODE", kEntryModeChoices, 3, tab, At{58, 46, 84, kLine});

  b.group("?GROUPOPTIONS", "Options", tab, At{10, 62, 132, 44}, false);
  b.check("FLAT", "Flat", "?GROUPOPTIONS", 18, 73, 58);
  b.check("REQUIRED", "Required", "?GROUPOPTIONS", 18, 83, 58);
  b.check("READONLY", "Read Only ", "?GROUPOPTIONS", 18, 93, 58);
  b.check("SINGLE", "Single", "?GROUPOPTIONS", 80, 73, 56).hidden = true;
  b.check("PASSWORD", "Password", "?GROUPOPTIONS", 80, 83, 56);
  b.check("BOXED", "Boxed", "?GROUPOPTIONS", 80, 93, 56).hidden = true;

  b.group("?SCROLLBARS", "Scroll Bars", tab, At{152, 80, 134, 26}, true);
  b.check("HORIZONTAL", "Horizontal", "?SCROLLBARS", 160, 92, 58);
  b.check("VERTICAL", "Vertical", "?SCROLLBARS", 222, 92, 58);

  b.group("?RANGES", "Range", tab, At{10, 145, 132, 40}, true);
  b.prompt("UPPER", "Upper:", "?RANGES", 18, 157);
  b.entry("UPPER", "s10", "?RANGES", At{44, 157, 30, kLine});
  b.prompt("LOWER", "Lower:", "?RANGES", 80, 157);
  b.entry("LOWER", "s10", "?RANGES", At{106, 157, 30, kLine});
  b.prompt("STEP", "Step:", "?RANGES", 18, 170);
  b.entry("STEP", "s10", "?RANGES", At{44, 170, 30, kLine});

  b.prompt("ICON", "Icon:", tab, 10, 120).hidden = true;
  b.entry("ICON", "s128", tab, At{58, 120, 66, kLine}).hidden = true;
  b.lookupButton(FORM::IconLookup, tab, 128, 120).hidden = true;
  b.prompt("DELAY", "Delay:", tab, 10, 188).hidden = true;
  b.spin("DELAY", tab, At{40, 188, 34, kLine}).hidden = true;
  b.prompt("REPEAT", "Repeat:", tab, 80, 188).hidden = true;
  b.spin("REPEAT", tab, At{108, 188, 34, kLine}).hidden = true;
}

void colorTab(Builder& b) {
  const std::string tab = FORM::TabColor;
  b.group("?GROUP3", "Colors", tab, At{10, 24, 200, 78}, false);
  b.colorRow("TEXTCOLOR", "Text Color:", "", "?GROUP3", 36, false);
  b.colorRow("BACKGROUND", "Background:", ":2", "?GROUP3", 52, false);
  b.colorRow("SELECTEDTEXT", "Selected Text:", ":3", "?GROUP3", 68, false);
  b.colorRow("SELECTEDFILL", "Selected Fill:", ":4", "?GROUP3", 84, false);
  b.colorRow("ANGLE", "Grid Color:", ":5", "?GROUP3", 100, true);
}

void helpTab(Builder& b, FormVars& vars) {
  const std::string tab = FORM::TabHelp;
  b.add(TYPE::Prompt, "?CURSORDESCR:Prompt", "Cursor:", tab, At{10, 27, kDefault, kDefault});
  ControlDecl& cursor = b.add(TYPE::DropList, FORM::CursorList, "", tab, At{66, 26, 100, kLine});
  cursor.format = "80L(2)@s20@";
  cursor.drop = 10;
  cursor.bind = Binding::text(vars.CURSORDESCR);
  b.prompt("HELP", "Help ID:", tab, 10, 42);
  b.entry("HELP", "s40", tab, At{66, 42, 160, kLine});
  b.prompt("MESSAGE", "Message:", tab, 10, 58);
  b.entry("MESSAGE", "s128", tab, At{66, 58, 220, kLine});
  b.prompt("TIP", "Tip:", tab, 10, 74);
  b.field(TYPE::Text, "TIP", "", tab, At{66, 74, 220, 28});
}

void sizeOption(Builder& b, std::string_view fieldName, std::string text, std::string lastRadio,
                std::string_view sizeField, const std::string& tab, int x) {
  ControlDecl& option = b.field(TYPE::Option, fieldName, std::move(text), tab, At{x, 62, 134, 50});
  option.props.push_back({PROP::Boxed, Value(1)});
  const std::string use = option.use;
  b.add(TYPE::Radio, use + ":Radio1", "Full", use, At{x + 8, 74, 46, kDefault}).value = "0";
  b.add(TYPE::Radio, use + ":Radio2", "Default", use, At{x + 8, 86, 46, kDefault}).value = "1";
  b.add(TYPE::Radio, use + ":Radio3", std::move(lastRadio), use, At{x + 8, 98, 46, kDefault}).value = "2";
  b.spin(sizeField, use, At{x + 56, 98, 50, kLine});
}

void positionTab(Builder& b) {
  const std::string tab = FORM::TabPosition;
  b.group("?GROUP4", "Top Left Corner", tab, At{10, 24, 276, 30}, false);
  b.prompt("X", "X:", "?GROUP4", 18, 37);
  b.spin("X", "?GROUP4", At{32, 37, 50, kLine});
  b.prompt("Y", "Y:", "?GROUP4", 160, 37);
  b.spin("Y", "?GROUP4", At{174, 37, 50, kLine});
  sizeOption(b, "WIDTHTYPE", "Width", "Width", "WIDTH", tab, 10);
  sizeOption(b, "HEIGHTTYPE", "Height", "Height", "HEIGHT", tab, 152);
}

void fontTab(Builder& b, FormVars& vars) {
  const std::string tab = FORM::TabFont;
  b.prompt("TYPEFACE", "Font:", tab, 10, 23);
  b.entry("TYPEFACE", "s31", tab, At{10, 34, 124, kLine});
  ControlDecl& faces = b.add(TYPE::List, FORM::FaceList, "", tab, At{10, 46, 124, 100});
  faces.format = "120L(2)@s31@";
  faces.props.push_back({PROP::VScroll, Value(1)});

  b.prompt("FONTSIZE", "Size:", tab, 142, 23);
  b.second(TYPE::Entry, FORM::SizeEntry, "FONTSIZE", "n-14", tab, At{142, 34, 36, kLine});
  ControlDecl& sizes = b.field(TYPE::List, "FONTSIZE", "", tab, At{142, 46, 36, 100});
  sizes.from = kSizeChoices;
  sizes.format = "32R(4)@n3@";
  sizes.props.push_back({PROP::VScroll, Value(1)});

  struct Style {
    const char* use;
    const char* text;
    int32_t* flag;
    int y;
  };
  const Style styles[] = {{FORM::Strikeout, "  Strikeout", &vars.STYLE.STRIKEOUT, 34},
                          {FORM::Underline, "  Underline", &vars.STYLE.UNDERLINE, 46},
                          {FORM::Bold, "  Bold", &vars.STYLE.BOLD, 58},
                          {FORM::Italic, "  Italic", &vars.STYLE.ITALIC, 70}};
  for (const Style& s : styles) {
    ControlDecl& c = b.add(TYPE::Check, s.use, s.text, tab, At{188, s.y, 70, kDefault});
    c.bind = Binding::long32(s.flag);
    c.value = "1";
    c.falseValue = "0";
  }

  b.add(TYPE::Prompt, "?BOX5:Prompt", "Text Color:", tab, At{188, 87, kDefault, kDefault});
  ControlDecl& swatch = b.add(TYPE::Box, FORM::FontColorBox, "", tab, At{188, 98, 60, kLine});
  swatch.background = COLOR::Black;
  b.lookupButton(FORM::FontColorButton, tab, 252, 98);
  b.prompt("CHARSET", "Script:", tab, 188, 113);
  b.dropList("CHARSET", kScriptChoices, 10, tab, At{188, 124, 98, kLine});

  b.group("?SAMPLEGROUP", "Sample", tab, At{10, 150, 276, 44}, false);
  ControlDecl& sample = b.add(TYPE::String, FORM::Sample, SampleText(), "?SAMPLEGROUP", At{18, 160, 260, 30});
  sample.props.push_back({PROP::Center, Value(1)});
}

void buttons(Builder& b) {
  ControlDecl& reset = b.add(TYPE::Button, FORM::Reset, "&Reset", "", At{4, 204, 56, 15});
  reset.icon = "UNDO.ico";
  ControlDecl& ok = b.add(TYPE::Button, FORM::Ok, "&Save", "", At{184, 204, 54, 15});
  ok.icon = "save.ico";
  ok.tip = "Accept data and close the window";
  ControlDecl& cancel = b.add(TYPE::Button, FORM::Cancel, "&Cancel", "", At{242, 204, 54, 15});
  cancel.icon = "delete1.ico";
  cancel.tip = "Cancel operation";
}

}  // namespace

Binding RecordBinding(store::WindowControls& record, std::string_view fieldName) {
  const kf::FileDecl& decl = store::winDecl();
  const int index = decl.fieldIndex(fieldName);
  if (index < 0) return {};
  const kf::FieldDecl& f = decl.fields[static_cast<size_t>(index)];
  char* at = reinterpret_cast<char*>(&record) + f.offset;
  switch (f.type) {
    case kf::FieldType::String: return Binding::text(at, f.width);
    case kf::FieldType::Long: return Binding::long32(at);
    case kf::FieldType::ULong: return Binding::ulong32(at);
    default: return {};
  }
}

WindowDecl PropertyFormDecl(store::WindowControls& record, FormVars& vars) {
  WindowDecl d;
  d.at = At{kDefault, kDefault, 300, 223};
  d.font.face = "Arial";
  d.font.size = 8;
  d.icon = "app.ico";
  d.frameType = 2;  // resizable: the window resizer keeps it laid out
  d.modal = true;

  Builder b(d, record);
  b.add(TYPE::Sheet, FORM::Sheet, "", "", At{4, 4, 292, 196});
  b.add(TYPE::Tab, FORM::TabGeneral, "General", FORM::Sheet, {});
  generalTab(b, vars);
  b.add(TYPE::Tab, FORM::TabExtra, "Extra", FORM::Sheet, {});
  extraTab(b);
  b.add(TYPE::Tab, FORM::TabColor, "Color", FORM::Sheet, {});
  colorTab(b);
  b.add(TYPE::Tab, FORM::TabHelp, "Help", FORM::Sheet, {});
  helpTab(b, vars);
  b.add(TYPE::Tab, FORM::TabPosition, "Position", FORM::Sheet, {});
  positionTab(b);
  b.add(TYPE::Tab, FORM::TabFont, "Font", FORM::Sheet, {});
  fontTab(b, vars);
  buttons(b);
  return d;
}

}  // namespace wevo::editor
