#include "tests/testing/run_scripted.h"

#include <iostream>

#include "platform/toolkit/program_state.h"

namespace wevo::testing {

ProgramResult runScripted(const Script& script, std::function<void()> main, RunOptions options) {
  Script copy = script;
  options.script = &copy;
  if (options.stallSeconds == 0) options.stallSeconds = 20;
  ProgramResult r = run(std::move(main), options);
  if (r.failed) std::cerr << describe(r);
  return r;
}

::testing::AssertionResult endedNormally(const ProgramResult& r) {
  if (!r.failed && !r.halted) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << describe(r);
}

::testing::AssertionResult failedWith(const ProgramResult& r, std::string_view part) {
  if (r.failed && r.failure.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected a failure naming \"" << part << "\"; " << describe(r);
}

::testing::AssertionResult haltedWith(const ProgramResult& r, std::string_view text) {
  if (r.halted && !r.failed && r.haltText == text) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected a halt with \"" << text << "\"; " << describe(r);
}

::testing::AssertionResult transcriptHas(const ProgramResult& r, std::string_view prefix) {
  for (const std::string& line : r.transcript)
    if (line.compare(0, prefix.size(), prefix) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no transcript line starts with \"" << prefix << "\"; " << describe(r);
}

std::optional<toolkit::WindowSnapshot> shownWindow(std::string_view caption) {
  std::shared_ptr<toolkit::Program> p = toolkit::Program::current();
  if (!p) return std::nullopt;
  return p->published().find(caption);
}

std::optional<toolkit::ControlSnapshot> shownControl(std::string_view caption, std::string_view label) {
  std::shared_ptr<toolkit::Program> p = toolkit::Program::current();
  if (!p) return std::nullopt;
  std::optional<toolkit::WindowSnapshot> w = p->published().find(caption);
  if (!w) return std::nullopt;
  return p->published().control(w->handle, label);
}

std::optional<toolkit::ScreenWindow> screenWindow(int64_t handle) {
  std::shared_ptr<toolkit::Program> p = toolkit::Program::current();
  if (!p) return std::nullopt;
  return p->published().window(handle);
}

}  // namespace wevo::testing
