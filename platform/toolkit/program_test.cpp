#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "platform/toolkit/accessibility.h"
#include "platform/toolkit/program_state.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using testing::TestWindow;

// Sets a flag when destroyed: shows that a thread unwound.
struct Unwound {
  explicit Unwound(std::atomic<bool>& f) : flag(f) {}
  ~Unwound() { flag = true; }
  std::atomic<bool>& flag;
};

TEST(Program, EveryDialogIsInTheTranscriptWithItsAnswer) {
  Script script;
  script.answer("Wevo", BUTTON::No)
      .answer("", 0)  // the default button
      .choosePopup(3)
      .choosePopup(0)
      .pickColor(0xFF0000)
      .cancelColor()
      .pickFile("/tmp/a.ico")
      .cancelFile()
      .stopChoice(false);
  int m1 = 0, m2 = 0, p1 = -1, p2 = -1;
  int32_t c1 = 255, c2 = 7;
  bool picked1 = false, picked2 = true, f1 = false, f2 = true;
  std::string path1 = "start.ico", path2 = "keep";
  bool afterStop = false;
  ProgramResult r = testing::runScripted(script, [&] {
    m1 = message("Do you want to save your changes?", "Wevo", ICON::Question, BUTTON::Yes | BUTTON::No,
                 BUTTON::Yes);
    m2 = message("Record Can't be created!");
    p1 = popup("Edit ?OK|-|~Copy|Show Processed Fields|Quit Editing Mode");
    p2 = popup("One|Two");
    picked1 = colorDialog("Text Color", c1);
    picked2 = colorDialog("Background Color", c2);
    f1 = fileDialog("Select Icon", path1, "ICO Files|*.ico|All Files|*.*", 16);
    f2 = fileDialog("Choose a File", path2, "All Files|*.*", 16);
    stop("Disk almost full");
    afterStop = true;
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(m1, BUTTON::No);
  EXPECT_EQ(m2, BUTTON::Ok);
  EXPECT_EQ(p1, 3);
  EXPECT_EQ(p2, 0);
  EXPECT_TRUE(picked1);
  EXPECT_EQ(c1, 0xFF0000);
  EXPECT_FALSE(picked2);
  EXPECT_EQ(c2, 7);
  EXPECT_TRUE(f1);
  EXPECT_EQ(path1, "/tmp/a.ico");
  EXPECT_FALSE(f2);
  EXPECT_EQ(path2, "keep");
  EXPECT_TRUE(afterStop);
  std::vector<std::string> want = {
      "message \"Wevo\" \"Do you want to save your changes?\" icon=question buttons=Yes|No default=Yes -> No",
      "message \"\" \"Record Can't be created!\" icon=none buttons=OK default=OK -> OK",
      "popup \"Edit ?OK|-|~Copy|Show Processed Fields|Quit Editing Mode\" -> 3 \"Show Processed Fields\"",
      "popup \"One|Two\" -> 0",
      "color \"Text Color\" 255 -> 16711680",
      "color \"Background Color\" 7 -> cancel",
      "file \"Select Icon\" \"start.ico\" filter=\"ICO Files|*.ico|All Files|*.*\" flags=16 -> \"/tmp/a.ico\"",
      "file \"Choose a File\" \"keep\" filter=\"All Files|*.*\" flags=16 -> cancel",
      "stop \"Disk almost full\" -> go on"};
  EXPECT_EQ(r.transcript, want);
}

TEST(Program, HaltEndsEveryThreadAndIsObservable) {
  TestWindow one("One");
  TestWindow two("Two");
  two.button("?HALT", "Halt", {10, 10, 40, 14});
  Script script;
  script.clickControl("?HALT", "Two");
  std::atomic<bool> mainUnwound{false}, secondUnwound{false}, afterLoop{false}, afterHalt{false};
  ProgramResult r = testing::runScripted(script, [&] {
    Unwound guard(mainUnwound);
    Window w1(one.decl());
    w1.open();
    start([&] {
      Unwound guard2(secondUnwound);
      Window w2(two.decl());
      w2.open();
      while (w2.accept())
        if (event() == EVENT::Accepted) {
          halt("Disk Error");
          afterHalt = true;
        }
    });
    while (w1.accept()) {
    }
    afterLoop = true;  // a halted program does not go on after its loops
  });
  EXPECT_TRUE(testing::haltedWith(r, "Disk Error"));
  EXPECT_TRUE(mainUnwound);
  EXPECT_TRUE(secondUnwound);
  EXPECT_FALSE(afterHalt);
  EXPECT_FALSE(afterLoop);
  EXPECT_EQ(r.transcript, std::vector<std::string>{"halt \"Disk Error\""});
}

TEST(Program, StopMessageEndsTheProgramWhenTheUserSaysSo) {
  Script script;
  script.stopChoice(true);
  bool after = false;
  ProgramResult r = testing::runScripted(script, [&] {
    stop("Invalid Key!");
    after = true;
  });
  EXPECT_TRUE(testing::haltedWith(r, "Invalid Key!"));
  EXPECT_FALSE(after);
  EXPECT_TRUE(testing::transcriptHas(r, "stop \"Invalid Key!\" -> end"));
}

TEST(Program, AnExceptionOutOfAHostThreadFailsTheProgram) {
  ProgramResult r = testing::runScripted(Script{}, [] { throw std::runtime_error("boom"); });
  EXPECT_TRUE(testing::failedWith(r, "host thread 1 ended with an exception: boom"));
}

TEST(Program, CommandLineAndOneProgramAtATime) {
  RunOptions options;
  options.args = {"/apps/SALES.EXE", "first"};
  std::string item0, item1, item2;
  bool nestedRefused = false;
  ProgramResult r = testing::runScripted(
      Script{},
      [&] {
        item0 = command(0);
        item1 = command(1);
        item2 = command(2);
        try {
          run([] {});
        } catch (const std::logic_error&) {
          nestedRefused = true;
        }
      },
      options);
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(item0, "/apps/SALES.EXE");
  EXPECT_EQ(item1, "first");
  EXPECT_EQ(item2, "");
  EXPECT_TRUE(nestedRefused);
  // Without arguments item 0 is this process's own path.
  std::string self;
  run([&] { self = command(0); });
  EXPECT_NE(self.find("toolkit_tests"), std::string::npos);
}

TEST(Program, AnAttachedProgramRunsWhatIsStartedUntilDetached) {
  std::shared_ptr<toolkit::Program> p = toolkit::Program::attach(RunOptions{});
  // One program at a time, attached or run.
  EXPECT_THROW(toolkit::Program::attach(RunOptions{}), std::logic_error);
  EXPECT_THROW(run([] {}), std::logic_error);
  std::atomic<int> opened{0};
  std::atomic<bool> unwound{false};
  for (int i = 0; i < 2; ++i)
    start([&] {
      Unwound u(unwound);
      Window w(TestWindow("Attached").decl());
      w.open();
      if (w.isOpen()) ++opened;
    });
  for (int i = 0; i < 500 && opened.load() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ProgramResult r = p->detach();
  EXPECT_EQ(opened.load(), 2);
  EXPECT_TRUE(unwound.load());
  EXPECT_FALSE(r.failed || r.halted) << describe(r);
  EXPECT_EQ(toolkit::Program::current(), nullptr);
  EXPECT_THROW(start([] {}), std::logic_error);
  // Another program may come after it.
  bool ran = false;
  run([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(Program, WatchdogEndsAProgramInWhichNothingHappens) {
  RunOptions options;
  options.stallSeconds = 1;
  ProgramResult r = testing::runScripted(
      Script{},
      [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        message("too late");  // the program has ended: this unwinds the thread
      },
      options);
  EXPECT_TRUE(testing::failedWith(r, "no host thread got anything done for 1 s"));
  EXPECT_TRUE(r.transcript.empty());
}

TEST(Program, ChangesReachTheViewWhenTheThreadWaitsAndFrozenDrawingHoldsThem) {
  TestWindow d("Main");
  d.string("?S", "before", {10, 10});
  Script script;
  std::string shownWhileFrozen, shownAfterRelease, shownBeforeWait;
  int invalidations = 0;
  script
      .call([&] {
        Window* w = target();
        lockWindowUpdate(w->handle());
        w->set(w->fieldOf("?S"), PROP::Text, "during");
      })
      .call([&] {
        shownWhileFrozen = testing::shownControl("Main", "?S")->text;
        lockWindowUpdate(0);
        shownAfterRelease = testing::shownControl("Main", "?S")->text;
        Window* w = target();
        w->set(w->fieldOf("?S"), PROP::Text, "late");
        shownBeforeWait = testing::shownControl("Main", "?S")->text;
        invalidate(w->handle(), false);
        invalidations = testing::screenWindow(w->handle())->invalidations;
      })
      .closeWindow();
  std::string shownAtEnd;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept()) {
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(shownWhileFrozen, "before");
  EXPECT_EQ(shownAfterRelease, "during");
  EXPECT_EQ(shownBeforeWait, "during");  // nothing goes out before the thread waits...
  EXPECT_EQ(invalidations, 1);           // ...or a repaint is asked for, which shows the change first
}

// What a view may ask of the program: a window as the view was last sent
// it, and a flush of the calling host thread's changes (of nobody's on a
// thread that is not a host thread).
TEST(Program, AViewReadsWindowsAsSentAndFlushesTheCallingHostThread) {
  TestWindow d("Main");
  d.string("?S", "before", {10, 10});
  auto shown = [](int64_t handle) -> std::string {
    std::optional<toolkit::ShownWindow> w = toolkit::Program::current()->window(handle);
    if (!w) return "(none)";
    return w->window.caption + ": " + w->controls.at(1).text;
  };
  std::vector<std::string> seen;
  int64_t handle = 0;
  bool scripted = false;
  Script script;
  script
      .call([&] {
        toolkit::ViewHost& host = *toolkit::Program::current();
        scripted = host.scripted();
        Window* w = target();
        w->set(1, PROP::Text, "after");
        seen.push_back(shown(handle));
        std::thread([&] { host.flush(); }).join();
        seen.push_back(shown(handle));
        host.flush();
        seen.push_back(shown(handle));
        seen.push_back(shown(handle + 2));
      })
      .closeWindow();
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    handle = w.handle();
    while (w.accept()) {
    }
    seen.push_back(shown(handle));
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_TRUE(scripted);
  EXPECT_EQ(seen, (std::vector<std::string>{"Main: before", "Main: before", "Main: after", "(none)", "(none)"}));
}

TEST(Program, HandlesIdentifyOpenWindowsOnly) {
  TestWindow d("Main");
  int64_t handle = 0, client = 0;
  bool found = false, goneAfterClose = false;
  ProgramResult r = testing::runScripted(Script{}, [&] {
    Window w(d.decl());
    EXPECT_EQ(w.handle(), 0);
    w.open();
    handle = w.get(0, PROP::Handle).num();
    client = w.get(0, PROP::ClientHandle).num();
    found = Window::fromHandle(handle) == &w && Window::fromHandle(client) == &w;
    Window other(d.decl());
    other.open();
    EXPECT_NE(other.handle(), handle);
    EXPECT_NE(other.get(0, PROP::ClientHandle).num(), client);
    w.close();
    goneAfterClose = Window::fromHandle(handle) == nullptr && w.get(0, PROP::Handle).num() == 0;
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_NE(handle, 0);
  EXPECT_NE(client, 0);
  EXPECT_NE(handle, client);
  EXPECT_TRUE(found);
  EXPECT_TRUE(goneAfterClose);
}

TEST(Program, CallAndScreenshotStepsRunOnTheWindowsThread) {
  TestWindow one("One");
  TestWindow two("Two");
  std::thread::id ranOn, twoThread;
  Script script;
  script.call([&] { ranOn = std::this_thread::get_id(); }, "Two").screenshot("two.png", "Two").closeWindow("Two")
      .closeWindow("One");
  ProgramResult r = testing::runScripted(script, [&] {
    Window w1(one.decl());
    w1.open();
    start([&] {
      twoThread = std::this_thread::get_id();
      Window w2(two.decl());
      w2.open();
      while (w2.accept()) {
      }
    });
    while (w1.accept()) {
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_TRUE(ranOn == twoThread);
  EXPECT_EQ(r.transcript, std::vector<std::string>{"screenshot \"two.png\" \"Two\""});
}

TEST(Program, FontsAndTheDesktopDragSettingComeFromTheView) {
  std::vector<FontFace> fonts;
  bool drag = true;
  std::string cursorSet;
  ProgramResult r = testing::runScripted(Script{}, [&] {
    fonts = enumerateFonts();
    setDragFullWindows(true);  // a desktop without the setting ignores it
    drag = dragFullWindows();
    setCursor(CURSOR::SizeNWSE);
    cursorSet = cursor();
    setCursor("");
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_FALSE(drag);
  EXPECT_EQ(cursorSet, CURSOR::SizeNWSE);
  ASSERT_EQ(fonts.size(), 9u);
  int arial = 0, rasterFaces = 0;
  for (const FontFace& f : fonts) {
    if (f.face == "Arial") ++arial;
    if (!f.scalable) ++rasterFaces;
    EXPECT_EQ(f.aveCharWidth, 6);
    EXPECT_EQ(f.height, 13);
  }
  EXPECT_EQ(arial, 3);  // one face in three character sets
  EXPECT_EQ(rasterFaces, 1);
}

TEST(Program, BeepIsRecorded) {
  ProgramResult r = testing::runScripted(Script{}, [] { beep(); });
  EXPECT_EQ(r.transcript, std::vector<std::string>{"beep"});
}

}  // namespace
}  // namespace wevo

namespace wevo::toolkit {
namespace {

// What assistive tools are told reaches the program's record of the screen:
// the window's control and its description, withdrawn by an empty one; a
// handle of no window tells nobody.
TEST(Program, KeepsWhatAssistiveToolsWereToldOfEachWindow) {
  wevo::testing::TestWindow d("Main", 100, 60);
  d.button("?OK", "OK", {10, 10, 40, 14});
  std::optional<ScreenWindow> told, withdrawn;
  ProgramResult r = run([&] {
    Window w(d.decl());
    w.open();
    announce(w.handle(), w.fieldOf("?OK"), "?OK, BUTTON, at x 10, y 10");
    announce(w.handle() + 1000, 1, "no such window");
    told = wevo::testing::screenWindow(w.handle());
    announce(w.handle(), w.fieldOf("?OK"), "");
    withdrawn = wevo::testing::screenWindow(w.handle());
  });
  ASSERT_FALSE(r.failed || r.halted) << describe(r);
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->announcedField, 1);
  EXPECT_EQ(told->announcement, "?OK, BUTTON, at x 10, y 10");
  ASSERT_TRUE(withdrawn.has_value());
  EXPECT_EQ(withdrawn->announcedField, 0);
  EXPECT_EQ(withdrawn->announcement, "");
}

}  // namespace
}  // namespace wevo::toolkit
