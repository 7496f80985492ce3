// Windows driven only through the scripted user on the headless view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/toolkit/input.h"
#include "platform/toolkit/program_state.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using testing::TestWindow;

struct Seen {
  int event, field, key;
  friend bool operator==(const Seen&, const Seen&) = default;
};
std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << "{" << s.event << ", " << s.field << ", " << s.key << "}";
}

std::string blanks(size_t n) { return std::string(n, ' '); }

TEST(Input, TypingIntoABoundEntryUpdatesTheVariableAndRaisesAccepted) {
  char name[20];
  std::memset(name, ' ', sizeof name);
  int32_t number = 5;
  TestWindow d("Main");
  d.entry("?NAME", "s20", Binding::text(name), {10, 10});
  d.entry("?NUM", "n-5", Binding::long32(&number), {10, 30});
  d.button("?OK", "OK", {10, 50, 40, 14});
  Script script;
  script.type("Alice").key(KEY::Tab).type("12x").type("-42").clickControl("?OK");
  std::vector<Seen> seen;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept()) {
      if (event() == EVENT::Accepted || event() == EVENT::Rejected) seen.push_back({event(), field(), 0});
      if (event() == EVENT::Accepted && field() == w.fieldOf("?OK")) break;
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(std::string(name, 20), "Alice" + blanks(15));
  EXPECT_EQ(number, -42);
  std::vector<Seen> want = {
      {EVENT::Accepted, 1, 0}, {EVENT::Rejected, 2, 0}, {EVENT::Accepted, 2, 0}, {EVENT::Accepted, 3, 0}};
  EXPECT_EQ(seen, want);
}

TEST(Input, AlertedKeysAndButtonsRaiseAlertKeyWithTheirCode) {
  char a[10], hist[10];
  TestWindow d("Main");
  d.decl().alerts = {1604};
  d.entry("?A", "s10", Binding::text(a), {10, 10});
  d.entry("?HIST", "s10", Binding::text(hist), {10, 30}).alerts = {584};
  ControlDecl& list = d.list("?L", "", {10, 60, 100, 50});
  list.from = "one|two|three";
  list.alerts = {KEY::MouseRight, KEY::MouseLeft2};
  d.button("?OK", "OK", {150, 10, 40, 14});
  Script script;
  script.key(1604)                // alerted on the window: field is the focused control
      .key(584)                   // alerted only on ?HIST, which has no focus yet
      .key(KEY::F9)               // not alerted anywhere
      .clickControl("?HIST")
      .key(584)
      .doubleClick(30, 104)       // on the list: alerted double click
      .rightClick(30, 120)        // row 2: alerted right button
      .clickControl("?OK");
  std::vector<Seen> alerts;
  int downRow = 0;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept()) {
      if (event() == EVENT::AlertKey) {
        alerts.push_back({event(), field(), keyCode()});
        if (keyCode() == KEY::MouseRight) downRow = w.get(field(), PROP::MouseDownRow).i32();
      }
      if (event() == EVENT::Accepted && field() == w.fieldOf("?OK")) break;
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  std::vector<Seen> want = {{EVENT::AlertKey, 1, 1604},
                            {EVENT::AlertKey, 2, 584},
                            {EVENT::AlertKey, 3, KEY::MouseLeft2},
                            {EVENT::AlertKey, 3, KEY::MouseRight}};
  EXPECT_EQ(alerts, want);
  EXPECT_EQ(downRow, 2);
}

// Design-mode style: a hidden overlay takes the mouse capture, its client
// procedure is replaced by one that turns raw mouse messages into events and
// passes them on, and a drag moves a control of the window under it.
TEST(Input, PressDragAndReleaseSeenThroughACapturedOverlayWithAReplacedProcedure) {
  TestWindow d("Host", 300, 200);
  d.decl().alerts = {1604};
  d.button("?MOVE", "Move me", {20, 20, 40, 14});
  Script script;
  script.key(1604).drag(40, 40, 52, 47, "Host", 5).closeWindow("Host");
  int hostAccepts = 0, moves = 0, passedOn = 0;
  int pressScreenX = 0, pressScreenY = 0, hostScreenX = 0, hostScreenY = 0;
  int startX = 0, startY = 0, endX = 0, endY = 0;
  bool captureDuring = false, captureAfter = true;
  ProgramResult r = testing::runScripted(script, [&] {
    Window host(d.decl());
    host.open();
    int moveField = host.fieldOf("?MOVE");
    while (host.accept()) {
      if (event() == EVENT::Accepted && field() == moveField) ++hostAccepts;
      if (event() != EVENT::AlertKey || keyCode() != 1604) continue;
      host.set(0, PROP::Pixels, 1);
      hostScreenX = host.get(0, PROP::XPos).i32();
      hostScreenY = host.get(0, PROP::YPos).i32();
      host.getPosition(moveField, startX, startY, endX, endY);
      WindowDecl od;
      od.caption = "Overlay";
      od.hidden = true;
      od.at = {0, 0, 10, 10};
      for (auto [use, feq] : {std::pair{"?DOWN", 1020}, {"?MOUSEMOVE", 1030}, {"?UP", 1050}}) {
        ControlDecl c;
        c.type = TYPE::Button;
        c.use = use;
        c.feq = feq;
        od.controls.push_back(c);
      }
      Window overlay(od);
      overlay.open();
      overlay.set(0, PROP::Pixels, 1);
      setCapture(overlay.handle());
      int64_t saved = overlay.get(0, PROP::ClientWndProc).num();
      int64_t mine = registerWindowProc([&passedOn, saved](Window& w, const RawMessage& m) -> int64_t {
        if (m.kind == RawMessage::MouseMove) {
          setTarget(&w);
          w.post(EVENT::Accepted, 1030);
        } else if (m.kind == RawMessage::LeftDown) {
          w.post(EVENT::Accepted, 1020);
          setTarget(&w);
        } else if (m.kind == RawMessage::LeftUp) {
          w.post(EVENT::Accepted, 1050);
          setTarget(&w);
        }
        ++passedOn;
        return callWindowProc(saved, w, m);
      });
      overlay.set(0, PROP::ClientWndProc, mine);
      int oldX = 0, oldY = 0;
      bool down = false;
      while (overlay.accept()) {
        if (event() != EVENT::Accepted) continue;
        if (field() == 1020) {
          down = true;
          oldX = mouseX();
          oldY = mouseY();
          pressScreenX = overlay.get(0, PROP::XPos).i32() + mouseX();
          pressScreenY = overlay.get(0, PROP::YPos).i32() + mouseY();
          captureDuring = capture() == overlay.handle();
        } else if (field() == 1030 && down) {
          int dx = mouseX() - oldX, dy = mouseY() - oldY;
          oldX += dx;
          oldY += dy;
          if (dx == 0 && dy == 0) continue;
          ++moves;
          host.set(moveField, PROP::XPos, host.get(moveField, PROP::XPos).i32() + dx);
          host.set(moveField, PROP::YPos, host.get(moveField, PROP::YPos).i32() + dy);
        } else if (field() == 1050) {
          releaseCapture();
          overlay.post(EVENT::CloseWindow);
        }
      }
      captureAfter = capture() != 0;
      int w2, h2;
      host.getPosition(moveField, endX, endY, w2, h2);
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_TRUE(captureDuring);
  EXPECT_FALSE(captureAfter);
  EXPECT_EQ(pressScreenX, hostScreenX + 40);  // the overlay sees the same point of the screen
  EXPECT_EQ(pressScreenY, hostScreenY + 40);
  EXPECT_EQ(endX - startX, 12);
  EXPECT_EQ(endY - startY, 7);
  EXPECT_EQ(moves, 3);         // 12 px in steps of at most 5
  EXPECT_EQ(passedOn, 5);      // press, three moves, release
  EXPECT_EQ(hostAccepts, 0);   // the press over the button went to the overlay
}

TEST(Input, AModalWindowOpenedFromAnotherWindowsLoopClosesAndTheLoopGoesOn) {
  char text[10];
  std::memset(text, ' ', sizeof text);
  TestWindow host("Host");
  host.button("?OPEN", "Open", {10, 10, 40, 14});
  host.button("?OK", "OK", {10, 30, 40, 14});
  TestWindow form("Form");
  form.entry("?E", "s10", Binding::text(text), {10, 10});
  form.button("?CLOSE", "Close", {10, 30, 40, 14});
  Script script;
  script.clickControl("?OPEN", "Host").type("xyz").clickControl("?CLOSE", "Form").clickControl("?OK", "Host");
  std::vector<std::string> log;
  bool hostBlocked = false, hostFree = false;
  ProgramResult r = testing::runScripted(script, [&] {
    Window h(host.decl());
    h.open();
    while (h.accept()) {
      if (event() == EVENT::User) log.push_back("host user");
      if (event() != EVENT::Accepted) continue;
      if (field() == h.fieldOf("?OK")) {
        log.push_back("host ok");
        break;
      }
      if (field() != h.fieldOf("?OPEN")) continue;
      log.push_back("host open");
      h.post(EVENT::User);  // waits in the host's queue while the form runs
      Window f(form.decl());
      f.open();
      while (f.accept()) {
        if (event() == EVENT::OpenWindow) log.push_back("form opened");
        if (event() == EVENT::User) log.push_back("form user");
        if (event() == EVENT::Accepted && field() == f.fieldOf("?E")) {
          log.push_back("form entry");
          hostBlocked = testing::shownWindow("Host")->blocked;
        }
        if (event() == EVENT::Accepted && field() == f.fieldOf("?CLOSE")) {
          log.push_back("form close");
          f.post(EVENT::CloseWindow);
        }
      }
      EXPECT_FALSE(f.isOpen());
    }
    hostFree = !testing::shownWindow("Host")->blocked;
  });
  ASSERT_TRUE(testing::endedNormally(r));
  std::vector<std::string> want = {"host open",  "form opened", "form entry",
                                   "form close", "host user",   "host ok"};
  EXPECT_EQ(log, want);
  EXPECT_EQ(std::string(text, 3), "xyz");
  EXPECT_TRUE(hostBlocked);
  EXPECT_TRUE(hostFree);
}

TEST(Input, TwoHostThreadsEachWithAWindowAndTheirOwnQueue) {
  TestWindow one("One");
  one.button("?B1", "B1", {10, 10, 40, 14});
  TestWindow two("Two");
  two.button("?B2", "B2", {10, 10, 40, 14});
  Script script;
  script.clickControl("?B2", "Two").clickControl("?B1", "One").closeWindow("Two").closeWindow("One");
  std::vector<Seen> seenOne, seenTwo;
  std::atomic<Window*> windowOne{nullptr};
  std::thread::id idOne, idTwo;
  ProgramResult r = testing::runScripted(script, [&] {
    idOne = std::this_thread::get_id();
    Window w1(one.decl());
    w1.open();
    windowOne = &w1;
    start([&] {
      idTwo = std::this_thread::get_id();
      Window w2(two.decl());
      w2.open();
      windowOne.load()->post(EVENT::User, 7);  // to the other thread's window
      postToThread(EVENT::User + 1);          // to this thread's own window
      while (w2.accept())
        if (event() != EVENT::OpenWindow) seenTwo.push_back({event(), field(), 0});
    });
    while (w1.accept())
      if (event() != EVENT::OpenWindow) seenOne.push_back({event(), field(), 0});
    windowOne = nullptr;
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_FALSE(idOne == idTwo);
  // One loses the focus to Two (another thread) and gets it back when it is
  // clicked; each sees only its own input and what was posted to it.
  std::vector<Seen> wantOne = {{EVENT::LoseFocus, 0, 0}, {EVENT::User, 7, 0}, {EVENT::GainFocus, 0, 0},
                               {EVENT::Accepted, 1, 0}, {EVENT::CloseWindow, 0, 0}};
  std::vector<Seen> wantTwo = {{EVENT::GainFocus, 0, 0}, {EVENT::User + 1, 0, 0}, {EVENT::Accepted, 1, 0},
                               {EVENT::LoseFocus, 0, 0}, {EVENT::CloseWindow, 0, 0}};
  EXPECT_EQ(seenOne, wantOne);
  EXPECT_EQ(seenTwo, wantTwo);
}

TEST(Input, SelectingATabShowsItsControlsAndRaisesSheetEvents) {
  TestWindow d("Main", 300, 200);
  d.sheet("?SHEET", {0, 0, 300, 170});
  d.tab("?TAB1", "One", "?SHEET");
  d.button("?ON1", "On one", {10, 30, 50, 14}).parent = "?TAB1";
  d.tab("?TAB2", "Two", "?SHEET");
  d.button("?ON2", "On two", {10, 30, 50, 14}).parent = "?TAB2";
  d.button("?OK", "OK", {10, 180, 40, 14});
  Script script;
  script.selectTab("?TAB2").clickControl("?ON2").click(15, 8).clickControl("?OK");
  std::vector<Seen> seen;
  std::vector<int> visibleOn2;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    visibleOn2.push_back(w.get(w.fieldOf("?ON2"), PROP::Visible).i32());
    while (w.accept()) {
      if (event() == EVENT::TabChanging || event() == EVENT::NewSelection || event() == EVENT::Accepted)
        seen.push_back({event(), field(), 0});
      if (event() == EVENT::NewSelection) visibleOn2.push_back(w.get(w.fieldOf("?ON2"), PROP::Visible).i32());
      if (event() == EVENT::Accepted && field() == w.fieldOf("?OK")) break;
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  // A click on the strip at x 15 (the first tab's button) goes back to tab one.
  std::vector<Seen> want = {{EVENT::TabChanging, 1, 0}, {EVENT::NewSelection, 1, 0}, {EVENT::Accepted, 5, 0},
                            {EVENT::TabChanging, 1, 0}, {EVENT::NewSelection, 1, 0}, {EVENT::Accepted, 6, 0}};
  EXPECT_EQ(seen, want);
  EXPECT_EQ(visibleOn2, (std::vector<int>{0, 1, 0}));
}

TEST(Input, FollowsSetsTheTabOrderAndSelectMovesTheFocus) {
  char x[4], y[4], z[4];
  TestWindow d("Main");
  d.entry("?X", "s4", Binding::text(x), {10, 10});
  d.entry("?Y", "s4", Binding::text(y), {10, 30});
  d.entry("?Z", "s4", Binding::text(z), {10, 50});
  d.decl().alerts = {KEY::F10};
  Script script;
  script.key(KEY::Tab).key(KEY::Tab).key(KEY::Tab | KEY::Shift).key(KEY::F10);
  std::vector<int> selected;
  int firstFocus = 0;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    int X = w.fieldOf("?X"), Y = w.fieldOf("?Y"), Z = w.fieldOf("?Z");
    w.set(Y, PROP::Follows, 0);  // y first, then z, then x
    w.set(Z, PROP::Follows, Y);
    w.set(X, PROP::Follows, Z);
    w.select(0);  // the first control in tab order
    firstFocus = w.focused();
    while (w.accept()) {
      if (event() == EVENT::Selected) selected.push_back(field());
      if (event() == EVENT::AlertKey) break;
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(firstFocus, 2);
  // select(0) raised Selected for y; Tab: z; Tab: x; Shift+Tab: z.
  EXPECT_EQ(selected, (std::vector<int>{2, 3, 1, 3}));
}

TEST(Input, AcceptAllPassAcceptsEveryInputInTabOrderThenCompletes) {
  char a[5], b[5];
  int32_t n = 0;
  std::memset(a, ' ', 5);
  std::memset(b, ' ', 5);
  TestWindow d("Main");
  d.entry("?A", "s5", Binding::text(a), {10, 10});
  d.entry("?N", "n3", Binding::long32(&n), {10, 30}).props = {{PROP::Req, Value(1)}};
  d.entry("?B", "s5", Binding::text(b), {10, 50});
  d.button("?OK", "OK", {10, 70, 40, 14});
  Script script;
  script.type("aa").clickControl("?OK").clickControl("?N").type("7").clickControl("?OK");
  std::vector<std::string> log;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    w.set(w.fieldOf("?B"), PROP::Follows, w.fieldOf("?A"));  // tab order a, b, n
    while (w.accept()) {
      int flag = w.get(0, PROP::AcceptAll).i32();
      switch (event()) {
        case EVENT::Accepted:
          if (field() == w.fieldOf("?OK")) {
            log.push_back("ok");
            w.acceptAll();
          } else {
            log.push_back("accepted " + w.label(field()) + " " + std::to_string(flag));
          }
          break;
        case EVENT::Rejected: log.push_back("rejected " + w.label(field())); break;
        case EVENT::Completed: log.push_back("completed " + std::to_string(flag)); break;
        default: break;
      }
      if (event() == EVENT::Completed) break;
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  std::vector<std::string> want = {"accepted ?A 0", "ok",          "accepted ?A 1", "accepted ?B 1",
                                   "rejected ?N",   "accepted ?N 0", "ok",          "accepted ?A 1",
                                   "accepted ?B 1", "accepted ?N 1", "completed 0"};
  EXPECT_EQ(log, want);
  EXPECT_EQ(n, 7);
}

TEST(Input, UserResizeKeepsTheMinimumSizeAndRaisesSized) {
  TestWindow d("Main", 200, 100);
  Script script;
  script.resizeWindow(100, 100).resizeWindow(600, 400).closeWindow();
  std::vector<std::pair<int, int>> sizes;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    w.set(0, PROP::Pixels, 1);
    w.set(0, PROP::MinWidth, 300);
    w.set(0, PROP::MinHeight, 150);
    while (w.accept())
      if (event() == EVENT::Sized) sizes.emplace_back(w.get(0, PROP::Width).i32(), w.get(0, PROP::ClientHeight).i32());
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(sizes, (std::vector<std::pair<int, int>>{{300, 150}, {600, 400}}));
}

TEST(Input, ListsMoveTheirSelectionAndRaiseScrollAndLocateEvents) {
  TestWindow d("Main");
  d.list("?L", "", {10, 10, 80, 40}).from = "alpha|beta|gamma";
  Script script;
  script.selectRow("?L", 2)
      .key(KEY::Down)
      .key(KEY::Down)   // past the last row
      .key(KEY::Up)
      .key(KEY::PgUp)
      .key(KEY::PgUp)   // at the top
      .scroll("?L", EVENT::ScrollDrag, 40)
      .type("gh")  // two characters queued at once: each event reports its own
      .closeWindow();
  std::vector<std::string> log;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    int L = w.fieldOf("?L");
    while (w.accept()) {
      switch (event()) {
        case EVENT::NewSelection: log.push_back("row " + std::to_string(w.selection(L))); break;
        case EVENT::ScrollDown: log.push_back("down"); break;
        case EVENT::PageUp: log.push_back("page up"); break;
        case EVENT::ScrollDrag: log.push_back("drag " + w.get(L, PROP::VScrollPos).str()); break;
        case EVENT::Locate: log.push_back(std::string("locate ") + keyChar()); break;
        default: break;
      }
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  std::vector<std::string> want = {"row 2", "row 3", "down", "row 2", "row 1", "page up", "drag 40", "locate g", "locate h"};
  EXPECT_EQ(log, want);
}

TEST(Input, ChecksAndRadiosStoreTheirValuesWhenClicked) {
  int32_t flag = 0;
  char mode[8];
  std::memcpy(mode, "FLAT    ", 8);
  TestWindow d("Main", 200, 150);
  d.check("?FLAG", "Flag", Binding::long32(&flag), {10, 10, 60, 10});
  d.option("?MODE", "Mode", Binding::text(mode), {10, 30, 100, 60});
  d.radio("?MODE:1", "Original", "ORIGINAL", "?MODE", {20, 40, 60, 10});
  d.radio("?MODE:2", "Flat", "FLAT", "?MODE", {20, 55, 60, 10});
  d.radio("?MODE:3", "Quit", "QUIT", "?MODE", {20, 70, 60, 10});
  Script script;
  script.clickControl("?FLAG").clickControl("?MODE:3").clickControl("?MODE:3").clickControl("?FLAG").closeWindow();
  std::vector<Seen> seen;
  int initialChoice = 0;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    initialChoice = w.selection(w.fieldOf("?MODE"));
    while (w.accept())
      if (event() == EVENT::Accepted || event() == EVENT::NewSelection) seen.push_back({event(), field(), 0});
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(initialChoice, 2);
  EXPECT_EQ(flag, 0);  // checked, then cleared again
  EXPECT_EQ(std::string(mode, 8), "QUIT    ");
  // The second click on the chosen radio changes nothing.
  std::vector<Seen> want = {
      {EVENT::Accepted, 1, 0}, {EVENT::NewSelection, 2, 0}, {EVENT::Accepted, 2, 0}, {EVENT::Accepted, 1, 0}};
  EXPECT_EQ(seen, want);
}

TEST(Input, SwitchingToAnotherApplicationAndBackMovesTheFocus) {
  TestWindow d("Main");
  Script script;
  script.switchAway().activate("Main").closeWindow();
  std::vector<int> events;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept())
      if (event() == EVENT::LoseFocus || event() == EVENT::GainFocus) events.push_back(event());
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(events, (std::vector<int>{EVENT::LoseFocus, EVENT::GainFocus}));
}

TEST(Input, CycleRefusesACloseAndHandlersCanConsumeEvents) {
  TestWindow d("Main");
  Script script;
  script.closeWindow().closeWindow().closeWindow();
  int closes = 0, handled = 0;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    int id = w.registerHandler(EVENT::CloseWindow, [&](Window&, int) {
      ++handled;
      return handled > 1;  // the first close never reaches the loop
    });
    while (w.accept()) {
      if (event() != EVENT::CloseWindow) continue;
      ++closes;
      if (closes == 1) {
        w.cycle();  // refused: the window stays open
        w.unregisterHandler(id);
      }
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(closes, 2);
}

TEST(Input, MenuItemsSpinsDropListsAndWindowStates) {
  int32_t spin = 5, mode = 0;
  TestWindow d("Main", 200, 150);
  d.add(TYPE::MenuBar, "?BAR");
  d.add(TYPE::Menu, "?FILE", "&File").parent = "?BAR";
  d.add(TYPE::Item, "?EXIT", "E&xit").parent = "?FILE";
  d.spin("?SP", "n3", Binding::long32(&spin), 1, 10, {10, 20}).step = 3;
  d.dropList("?DL", "Default|#0|Insert|#1|Overwrite|#2", Binding::long32(&mode), {10, 40, 60, 10});
  Script script;
  script.clickControl("?EXIT")
      .clickControl("?SP")
      .key(KEY::Up)
      .key(KEY::Up)     // 11 is out of range: 10
      .type("0")        // below the range
      .type("4")
      .clickControl("?DL")
      .key(KEY::Down)
      .maximizeWindow(800, 600)
      .restoreWindow(300, 200)
      .closeWindow();
  std::vector<std::string> log;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept()) {
      std::string name = w.label(field());
      switch (event()) {
        case EVENT::Accepted: log.push_back("accepted " + name); break;
        case EVENT::Rejected: log.push_back("rejected " + name); break;
        case EVENT::NewSelection:
          log.push_back("new " + name + " " + std::to_string(name == "?SP" ? spin : mode));
          break;
        case EVENT::Sized: log.push_back("sized " + w.get(0, PROP::Maximize).str()); break;
        case EVENT::Maximized: log.push_back("maximized"); break;
        case EVENT::Restored: log.push_back("restored"); break;
        default: break;
      }
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  std::vector<std::string> want = {"accepted ?EXIT", "new ?SP 8",   "new ?SP 10", "rejected ?SP",
                                   "accepted ?SP",   "new ?DL 1",   "sized 1",    "maximized",
                                   "sized 0",        "restored"};
  EXPECT_EQ(log, want);
  EXPECT_EQ(spin, 4);
  EXPECT_EQ(mode, 1);
}

struct Person {
  std::string name;
  int age;
};

TEST(Input, AListOverAVectorSetsItsVariableFromTheChosenRow) {
  std::vector<Person> people = {{"Ann", 31}, {"Bob", 45}, {"Cy", 7}};
  VectorListSource<Person> source(people, [](const Person& p, int f) {
    return f == 1 ? p.name : std::to_string(p.age);
  });
  char chosen[10];
  std::memcpy(chosen, "Cy        ", 10);
  TestWindow d("Main", 200, 150);
  ControlDecl& list = d.list("?PEOPLE", "60L(2)|M~Name~@s10@#1#30R(2)|M~Age~@n3@#2#", {10, 10, 120, 80});
  list.bind = Binding::text(chosen);
  Script script;
  script.selectRow("?PEOPLE", 2).closeWindow();
  int initial = 0;
  std::optional<toolkit::ControlSnapshot> shown;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    w.setList(w.fieldOf("?PEOPLE"), &source);
    initial = w.selection(w.fieldOf("?PEOPLE"));
    while (w.accept())
      if (event() == EVENT::NewSelection) shown = testing::shownControl("Main", "?PEOPLE");
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(initial, 3);  // the variable's value picks the row
  EXPECT_EQ(std::string(chosen, 10), "Bob       ");
  ASSERT_TRUE(shown.has_value());
  ASSERT_EQ(shown->rows.size(), 3u);
  EXPECT_EQ(shown->rows[1], (std::vector<std::string>{"Bob", "45"}));
  EXPECT_EQ(shown->columns[1].align, 'R');
  EXPECT_EQ(shown->selected, 3);  // shown before this event's change reached the screen
}

TEST(Input, SetFocusByHandleMovesTheFocusAcrossThreads) {
  TestWindow one("One");
  TestWindow two("Two");
  two.button("?GIVE", "Give", {10, 10, 40, 14});
  Script script;
  script.clickControl("?GIVE", "Two").closeWindow("Two").closeWindow("One");
  std::vector<std::string> log;
  std::mutex logMu;
  auto note = [&](std::string s) {
    std::lock_guard<std::mutex> lock(logMu);
    log.push_back(std::move(s));
  };
  std::atomic<int64_t> oneClient{0};
  ProgramResult r = testing::runScripted(script, [&] {
    Window w1(one.decl());
    w1.open();
    oneClient = w1.get(0, PROP::ClientHandle).num();
    start([&] {
      Window w2(two.decl());
      w2.open();
      while (w2.accept()) {
        if (event() == EVENT::LoseFocus) note("two lost");
        if (event() == EVENT::Accepted) setFocus(oneClient.load());
      }
    });
    while (w1.accept())
      if (event() == EVENT::GainFocus) note("one gained");
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(std::count(log.begin(), log.end(), "two lost"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "one gained"), 1);
}

TEST(Input, EventsPostedToTheThreadGoToItsNewestWindow) {
  TestWindow host("Host");
  host.button("?OPEN", "Open", {10, 10, 40, 14});
  TestWindow form("Form");
  Script script;
  script.clickControl("?OPEN", "Host").resizeWindow(300, 200, "Form").closeWindow("Form").closeWindow("Host");
  std::vector<std::string> log;
  ProgramResult r = testing::runScripted(script, [&] {
    Window h(host.decl());
    h.open();
    while (h.accept()) {
      if (event() == EVENT::User) log.push_back("host user");
      if (event() != EVENT::Accepted) continue;
      Window f(form.decl());
      f.open();
      while (f.accept()) {
        // The usual handling of a sized window: a refresh posted to the thread.
        if (event() == EVENT::Sized) postToThread(EVENT::User);
        if (event() == EVENT::User) log.push_back("form user");
      }
      postToThread(EVENT::User);  // now the host is the newest
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(log, (std::vector<std::string>{"form user", "host user"}));
}

TEST(Input, TypingIntoTextBoxesFollowsTheirCaseSwitches) {
  char notes[30], code[8];
  std::memset(notes, ' ', sizeof notes);
  std::memset(code, ' ', sizeof code);
  TestWindow d("Main");
  d.text("?NOTES", Binding::text(notes), {10, 10, 100, 30}).props = {{PROP::Cap, Value(1)}};
  d.entry("?CODE", "s8", Binding::text(code), {10, 50}).props = {{PROP::Upr, Value(1)}};
  Script script;
  script.type("hello wide world").key(KEY::Tab).type("ab-12").key(KEY::Backspace).key(KEY::Enter).closeWindow();
  std::vector<std::string> accepted;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept())
      if (event() == EVENT::Accepted) accepted.push_back(w.get(field(), PROP::Text).str() + "|" + w.label(field()));
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(std::string(notes, 16), "Hello Wide World");
  EXPECT_EQ(std::string(code, 8), "AB-1    ");  // typed, accepted; then one character taken back and accepted again
  EXPECT_EQ(accepted, (std::vector<std::string>{"Hello Wide World|?NOTES", "s8|?CODE", "s8|?CODE"}));
}

// Shift, Ctrl and Alt held during mouse input: the client procedure gets
// them with each mouse message, and each event the input raised reports
// the keys of its own input, even when later input was queued before the
// event was taken.
TEST(Input, KeysHeldDuringMouseInputReachTheProcedureAndTheEventsTheyRaise) {
  TestWindow d("Pad", 200, 100);
  d.button("?GO", "Go", {10, 10, 40, 14});  // pixels 15,16 60x23
  std::vector<std::pair<int, int>> raw;     // kind, keys
  std::vector<int> acceptedWith;
  Script script;
  script.holding(KEY::Ctrl).click(30, 25).holding(KEY::Shift | KEY::Alt).move(100, 80).holding(0).click(30, 25);
  script.call([&] {
    // Two clicks queued at once: each Accepted keeps its own keys.
    Window* w = target();
    ASSERT_NE(w, nullptr);
    const int sx = w->get(0, PROP::XPos).i32(), sy = w->get(0, PROP::YPos).i32();
    for (int keys : {KEY::Shift, 0})
      for (auto kind : {toolkit::InputMessage::LeftDown, toolkit::InputMessage::LeftUp}) {
        toolkit::InputMessage m;
        m.kind = kind;
        m.window = w->handle();
        m.x = sx + 30;
        m.y = sy + 25;
        m.key = keys;
        ASSERT_TRUE(toolkit::Program::require().postInput(m));
      }
  });
  script.closeWindow("Pad");
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    w.set(0, PROP::Pixels, 1);
    const int64_t client = w.get(0, PROP::ClientWndProc).num();
    w.set(0, PROP::ClientWndProc, registerWindowProc([&, client](Window& win, const RawMessage& m) {
            raw.emplace_back(static_cast<int>(m.kind), m.key);
            return callWindowProc(client, win, m);
          }));
    while (w.accept())
      if (event() == EVENT::Accepted) acceptedWith.push_back(keyState());
  });
  ASSERT_TRUE(testing::endedNormally(r)) << describe(r);
  using K = RawMessage;
  const std::vector<std::pair<int, int>> want = {
      {K::LeftDown, KEY::Ctrl}, {K::LeftUp, KEY::Ctrl},   {K::MouseMove, KEY::Shift | KEY::Alt},
      {K::LeftDown, 0},         {K::LeftUp, 0},           {K::LeftDown, KEY::Shift},
      {K::LeftUp, KEY::Shift},  {K::LeftDown, 0},         {K::LeftUp, 0}};
  EXPECT_EQ(raw, want);
  EXPECT_EQ(acceptedWith, (std::vector<int>{KEY::Ctrl, 0, KEY::Shift, 0}));
}

}  // namespace
}  // namespace wevo
