// Running programs in tests: a program on the headless view, driven by a
// script, and assertions on how it ended.
//
//   wevo::Script script;
//   script.clickControl("?OK").answer("Wevo", wevo::BUTTON::Yes);
//   wevo::ProgramResult r = wevo::testing::runScripted(script, [&] { ...open windows, loop... });
//   EXPECT_TRUE(wevo::testing::endedNormally(r));
//   EXPECT_TRUE(wevo::testing::transcriptHas(r, "message \"Wevo\""));
#ifndef WEVO_TESTS_TESTING_RUN_SCRIPTED_H_
#define WEVO_TESTS_TESTING_RUN_SCRIPTED_H_

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/toolkit/screen.h"
#include "wevo/program.h"
#include "wevo/script.h"

namespace wevo::testing {

// Runs `main` on the headless view driven by `script` (a copy is taken) and
// returns how it ended. A run that fails prints its result and transcript.
// The watchdog stops a run in which nothing happens for 20 s.
ProgramResult runScripted(const Script& script, std::function<void()> main, RunOptions options = {});

// Assertions that print the result and transcript when they fail.
::testing::AssertionResult endedNormally(const ProgramResult& r);
::testing::AssertionResult failedWith(const ProgramResult& r, std::string_view part);  // failure names `part`
::testing::AssertionResult haltedWith(const ProgramResult& r, std::string_view text);  // exact halt text
// Some transcript line starts with `prefix`.
::testing::AssertionResult transcriptHas(const ProgramResult& r, std::string_view prefix);

// What the running program has sent its view, for assertions from inside a
// program (a call step or the main procedure). Empty when no program runs
// or the window or control is not on screen.
std::optional<toolkit::WindowSnapshot> shownWindow(std::string_view caption);
std::optional<toolkit::ControlSnapshot> shownControl(std::string_view caption, std::string_view label);
// The window with this handle as on screen, with the updates sent for it and
// the repaints asked of it.
std::optional<toolkit::ScreenWindow> screenWindow(int64_t handle);

}  // namespace wevo::testing

#endif  // WEVO_TESTS_TESTING_RUN_SCRIPTED_H_
