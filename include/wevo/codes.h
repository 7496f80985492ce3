// Codes of the toolkit: events, key codes, message-box buttons, stock icons
// and cursors, control types and colours.
#ifndef WEVO_CODES_H_
#define WEVO_CODES_H_

#include <cstdint>

namespace wevo {

namespace EVENT {
// Field events: the field is the control concerned.
inline constexpr int Accepted = 1;      // a control's value was accepted (button pressed, entry left, ...)
inline constexpr int NewSelection = 2;  // a list, drop list, option or sheet selection changed
inline constexpr int ScrollUp = 3;      // list scrolling
inline constexpr int ScrollDown = 4;
inline constexpr int PageUp = 5;
inline constexpr int PageDown = 6;
inline constexpr int ScrollTop = 7;
inline constexpr int ScrollBottom = 8;
inline constexpr int Locate = 9;        // a printable key typed on a list; keyChar() tells which
inline constexpr int ScrollDrag = 13;   // list thumb dragged; the list's VScrollPos tells where
inline constexpr int AlertKey = 15;     // an alerted key; keyCode() tells which
inline constexpr int TabChanging = 16;  // sheet: its selection is about to change
inline constexpr int Selected = 17;     // a control got the focus
inline constexpr int Rejected = 0x1A;   // a control's input failed its picture
// Window events: the field is 0.
inline constexpr int CloseWindow = 0x201;  // 513: the window closes after this event unless the loop cycles
inline constexpr int CloseDown = 0x202;    // the program is ending
inline constexpr int OpenWindow = 0x203;   // 515: first event after the window opened
inline constexpr int LoseFocus = 0x205;    // 517
inline constexpr int GainFocus = 0x206;    // 518
inline constexpr int Resumed = 0x222;      // 546: a window that left design mode gets it
inline constexpr int Completed = 0x225;    // the accept-all pass has ended
inline constexpr int Moved = 0x230;
inline constexpr int Sized = 0x231;        // 561
inline constexpr int Restored = 0x232;
inline constexpr int Maximized = 0x233;
inline constexpr int Iconized = 0x234;
inline constexpr int User = 0x3FF;         // 1023: posted by programs to themselves
}  // namespace EVENT

namespace KEY {
inline constexpr int Shift = 0x100;  // added to the key code
inline constexpr int Ctrl = 0x200;
inline constexpr int Alt = 0x400;
inline constexpr int MouseLeft = 1;
inline constexpr int MouseRight = 2;
inline constexpr int MouseLeft2 = 5;  // double click of the left button
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Esc = 27;
inline constexpr int Space = 32;
inline constexpr int PgUp = 33;
inline constexpr int PgDn = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Apps = 93;
inline constexpr int F1 = 112;  // F2 ... F12 follow: F8 119, F9 120, F10 121
inline constexpr int F8 = 119;
inline constexpr int F9 = 120;
inline constexpr int F10 = 121;
// A letter or digit key is its upper-case character code: 'D' is 0x44.
inline constexpr int letter(char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
}  // namespace KEY

namespace BUTTON {
inline constexpr int Ok = 1;
inline constexpr int Yes = 2;
inline constexpr int No = 4;
inline constexpr int Abort = 8;
inline constexpr int Retry = 16;
inline constexpr int Ignore = 32;
inline constexpr int Cancel = 64;
}  // namespace BUTTON

// Stock icons for message boxes, as the 4-byte identifiers windows and
// controls also accept as icon names.
namespace ICON {
inline constexpr const char* None = "";
inline constexpr const char* Application = "\xFF\x01\x00\x7F";
inline constexpr const char* Hand = "\xFF\x01\x01\x7F";
inline constexpr const char* Asterisk = "\xFF\x01\x02\x7F";     // information
inline constexpr const char* Question = "\xFF\x01\x03\x7F";
inline constexpr const char* Error = "\xFF\x01\x04\x7F";        // the store's error messages
inline constexpr const char* Exclamation = "\xFF\x01\x05\x7F";  // warning
}  // namespace ICON

// The 17 standard mouse cursors (an empty name is the default cursor).
namespace CURSOR {
inline constexpr const char* Default = "";
inline constexpr const char* None = "\xFF\x01\x00\x00";
inline constexpr const char* Arrow = "\xFF\x01\x01\x7F";
inline constexpr const char* IBeam = "\xFF\x01\x02\x7F";
inline constexpr const char* Wait = "\xFF\x01\x03\x7F";
inline constexpr const char* Cross = "\xFF\x01\x04\x7F";
inline constexpr const char* UpArrow = "\xFF\x01\x05\x7F";
inline constexpr const char* Size = "\xFF\x01\x81\x7F";
inline constexpr const char* Icon = "\xFF\x01\x82\x7F";
inline constexpr const char* SizeNWSE = "\xFF\x01\x83\x7F";
inline constexpr const char* SizeNESW = "\xFF\x01\x84\x7F";
inline constexpr const char* SizeWE = "\xFF\x01\x85\x7F";
inline constexpr const char* SizeNS = "\xFF\x01\x86\x7F";
inline constexpr const char* DragWE = "\xFF\x02\x01\x7F";
inline constexpr const char* Drop = "\xFF\x02\x02\x7F";
inline constexpr const char* NoDrop = "\xFF\x02\x03\x7F";
inline constexpr const char* Zoom = "\xFF\x02\x04\x7F";
}  // namespace CURSOR

// Control type codes, as PROP::Type reports them.
namespace TYPE {
inline constexpr int Window = 0;
inline constexpr int SString = 1;  // a string without a variable; drawn as STRING
inline constexpr int String = 2;
inline constexpr int Image = 3;
inline constexpr int Region = 4;
inline constexpr int Line = 5;
inline constexpr int Box = 6;
inline constexpr int Ellipse = 7;
inline constexpr int Entry = 8;
inline constexpr int Button = 9;
inline constexpr int Prompt = 10;
inline constexpr int Option = 11;
inline constexpr int Check = 12;
inline constexpr int Group = 13;
inline constexpr int List = 14;
inline constexpr int Combo = 15;
inline constexpr int Spin = 16;
inline constexpr int Text = 17;
inline constexpr int Custom = 18;
inline constexpr int Menu = 19;
inline constexpr int Item = 20;
inline constexpr int Radio = 21;
inline constexpr int MenuBar = 22;
inline constexpr int DropList = 33;
inline constexpr int DropCombo = 34;
inline constexpr int Sheet = 37;
inline constexpr int Tab = 38;
inline constexpr int Panel = 39;
inline constexpr int Rtf = 40;
inline constexpr int Toolbar = 128;
}  // namespace TYPE

namespace COLOR {
inline constexpr int32_t None = -1;  // the system default
inline constexpr int32_t Black = 0x000000;
inline constexpr int32_t Red = 0x0000FF;
inline constexpr int32_t Green = 0x008000;
inline constexpr int32_t Blue = 0xFF0000;
inline constexpr int32_t White = 0xFFFFFF;
}  // namespace COLOR

}  // namespace wevo

#endif  // WEVO_CODES_H_
