#include "editor/form_layout.h"

#include <initializer_list>
#include <string_view>
#include <vector>

#include "editor/form_decl.h"
#include "platform/toolkit/choices.h"
#include "wevo/codes.h"
#include "wevo/props.h"

namespace wevo::editor {
namespace {

using Labels = std::vector<std::string_view>;

// A control's new place, in dialog units: a position left at kDefault stays;
// `dy` moves it from where it is.
struct Move {
  std::string_view label;
  int x = kDefault;
  int y = kDefault;
  int dy = 0;
};

// One row of the layout table.
struct TypeLayout {
  int choices = 0;  // 0: the justification choices stay as they are
  Labels hide;
  Labels show;
  std::vector<Move> moves;
};

const Labels kIconRow = {"?WIN:ICON:Prompt", "?WIN:ICON", FORM::IconLookup};
const Labels kWallpaperRow = {"?WIN:WALLPAPER:Prompt", "?WIN:WALLPAPER", FORM::WallpaperLookup};
const Labels kDelayRow = {"?WIN:DELAY:Prompt", "?WIN:DELAY", "?WIN:REPEAT:Prompt", "?WIN:REPEAT"};
const Labels kCaseAndEntryMode = {"?WIN:WORDCASE:Prompt", "?WIN:WORDCASE", "?WIN:ENTRYMODE:Prompt", "?WIN:ENTRYMODE"};
const Labels kWallpaperRadios = {"?WIN:WALLPAPERMODE:Radio1", "?WIN:WALLPAPERMODE:Radio2",
                                 "?WIN:WALLPAPERMODE:Radio3"};
const Labels kModeChecks = {"?WIN:HIDE", "?WIN:DISABLE", "?WIN:SKIP", "?WIN:SCROLL", "?WIN:TRANSPARENT"};
const Labels kRangeControls = {"?WIN:UPPER:Prompt", "?WIN:UPPER", "?WIN:LOWER:Prompt",
                               "?WIN:LOWER",        "?WIN:STEP:Prompt", "?WIN:STEP"};
const Labels kDropRows = {"?WIN:DROP:Prompt", "?WIN:DROP", "?WIN:DROPWIDTH:Prompt", "?WIN:DROPWIDTH"};
const Labels kGridColorRow = {"?WIN:ANGLE:Prompt", "?WIN:ANGLE", "?BUTTON3:5", "?BOX1:5"};

Labels join(std::initializer_list<Labels> parts) {
  Labels out;
  for (const Labels& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<Move> movesY(const Labels& labels, int y) {
  std::vector<Move> out;
  for (std::string_view l : labels) out.push_back(Move{l, kDefault, y, 0});
  return out;
}

std::vector<Move> joinMoves(std::initializer_list<std::vector<Move>> parts) {
  std::vector<Move> out;
  for (const std::vector<Move>& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// What the window and the toolbar hide, and where both move things.
Labels windowHidden() {
  return join({{"?WIN:JUSTIFICATION", "?WIN:OFFSET", "?WIN:OFFSET:Prompt", "?GROUP1", "?GROUPOPTIONS"},
               kCaseAndEntryMode,
               {"?WIN:READONLY", "?WIN:PASSWORD"}});
}

std::vector<Move> windowMoves() {
  return joinMoves({{Move{"?WIN:FRAMETYPE", 66, 82, 0}},
                    movesY(kWallpaperRow, 120),
                    {Move{"?WIN:WALLPAPERMODE", kDefault, 136, 0}},
                    movesY(kWallpaperRadios, 146),
                    movesY(kIconRow, 46)});
}

// Case and entry mode with their prompts, read-only and password: what the
// types without typed input hide.
Labels noTypingHidden() { return join({kCaseAndEntryMode, {"?WIN:READONLY", "?WIN:PASSWORD"}}); }

TypeLayout layoutFor(const store::WindowControls& record) {
  if (record.FEQ == 0) {
    TypeLayout l;
    l.hide = windowHidden();
    l.show = join({kIconRow, kWallpaperRow, {"?WIN:WALLPAPERMODE", "?WIN:FRAMETYPE"}});
    l.moves = windowMoves();
    return l;
  }
  switch (record.TYPE) {
    case TYPE::Entry: {
      TypeLayout l;
      l.moves = joinMoves({movesY({"?WIN:JUSTIFICATION:Prompt", "?WIN:JUSTIFICATION", "?WIN:OFFSET:Prompt",
                                   "?WIN:OFFSET"},
                                  62),
                           movesY({"?WIN:LAYOUT:Prompt", "?WIN:LAYOUT"}, 81),
                           movesY({"?GROUP1"}, 97),
                           movesY(kModeChecks, 109)});
      return l;
    }
    case TYPE::Button:
      return TypeLayout{3, noTypingHidden(), join({kIconRow, kDelayRow}),
                        joinMoves({movesY(kIconRow, 46), movesY(kDelayRow, 110)})};
    case TYPE::Prompt:
      return TypeLayout{4, {FORM::TabExtra, "?WIN:SKIP"}, {}, {}};
    case TYPE::Option:
    case TYPE::Group:
      return TypeLayout{0, join({noTypingHidden(), {"?WIN:FLAT", "?WIN:REQUIRED"}}), {"?BEVELGROUP", "?WIN:BOXED"}, {}};
    case TYPE::Check:
    case TYPE::Radio:
      return TypeLayout{3, join({noTypingHidden(), {"?WIN:REQUIRED"}}), kIconRow, movesY(kIconRow, 46)};
    case TYPE::List:
    case TYPE::Combo:
      return TypeLayout{0, {}, join({kDropRows, kGridColorRow}), {}};
    case TYPE::Spin: {
      TypeLayout l;
      l.hide = {"?WIN:PASSWORD"};
      l.show = join({{"?RANGES", "?SCROLLBARS"}, kDelayRow});
      l.moves = {Move{"?RANGES", kDefault, 128, 0}};
      for (std::string_view c : kRangeControls) l.moves.push_back(Move{c, kDefault, kDefault, -17});
      const std::vector<Move> delay = movesY(kDelayRow, 170);
      l.moves.insert(l.moves.end(), delay.begin(), delay.end());
      return l;
    }
    case TYPE::Text:
      return TypeLayout{4, {"?WIN:PASSWORD"}, {"?WIN:SINGLE", "?WIN:BOXED", "?SCROLLBARS"}, {}};
    case TYPE::DropList:
      return TypeLayout{0, {}, kDropRows, {}};
    case TYPE::Toolbar:
      return TypeLayout{0, join({windowHidden(), {"?WIN:JUSTIFICATION:Prompt"}}),
                        join({kWallpaperRow, {"?WIN:WALLPAPERMODE"}}), windowMoves()};
    default:
      return TypeLayout{};
  }
}

}  // namespace

std::string JustificationChoices(int count) {
  const std::vector<toolkit::Choice> all = toolkit::parseChoices(kJustificationChoices);
  if (count < 1 || count > static_cast<int>(all.size())) count = static_cast<int>(all.size());
  std::string out;
  for (int i = 0; i < count; ++i) {
    if (!out.empty()) out += "|";
    out += all[static_cast<size_t>(i)].text + "|#" + all[static_cast<size_t>(i)].value;
  }
  return out;
}

void LayOutForRecord(Window& form, const store::WindowControls& record) {
  const TypeLayout l = layoutFor(record);
  const int justification = form.fieldOf("?WIN:JUSTIFICATION");
  form.set(justification, PROP::From, Value(JustificationChoices(l.choices)));
  form.display(justification);

  for (std::string_view label : l.hide) form.hide(form.fieldOf(label));
  for (std::string_view label : l.show) form.unhide(form.fieldOf(label));
  for (const Move& m : l.moves) {
    const int f = form.fieldOf(m.label);
    if (f == 0) continue;
    if (m.x != kDefault) form.set(f, PROP::XPos, Value(m.x));
    if (m.y != kDefault) form.set(f, PROP::YPos, Value(m.y));
    if (m.dy != 0) form.set(f, PROP::YPos, Value(form.get(f, PROP::YPos).num() + m.dy));
  }

  const bool window = record.FEQ == 0;
  if (window)
    form.set(form.fieldOf("?WIN:JUSTIFICATION:Prompt"), PROP::Text, Value("Frame Type"));
  if (!window && record.TYPE == TYPE::Entry) {
    form.set(form.fieldOf("?WIN:CONTROLTEXT:Prompt"), PROP::Text, Value("Picture:"));
    const int text = form.fieldOf("?WIN:CONTROLTEXT");
    form.set(text, PROP::Height, Value(10));
    form.set(text, PROP::Single, Value(1));
  }
  if (!window && (record.TYPE == TYPE::List || record.TYPE == TYPE::Combo))
    form.set(form.fieldOf("?GROUP3"), PROP::Height, Value(94));
}

}  // namespace wevo::editor
