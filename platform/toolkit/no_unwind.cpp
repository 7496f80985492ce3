#include "platform/toolkit/no_unwind.h"

#include <exception>
#include <memory>
#include <string>

#include "platform/toolkit/host_thread.h"
#include "platform/toolkit/program_state.h"

namespace wevo::toolkit {

namespace {

void endCallersProgram(const std::string& why) noexcept {
  try {
    HostThread* t = thisThread();
    std::shared_ptr<Program> current = t == nullptr ? Program::current() : nullptr;
    Program* p = t != nullptr ? t->program : current.get();
    if (p != nullptr) p->endFailed(why);
  } catch (...) {
    // Out of memory while ending: the program cannot be told; the entry
    // still returns.
  }
}

}  // namespace

void runWithoutUnwinding(const char* entry, const std::function<void()>& work) noexcept {
  try {
    work();
  } catch (const ProgramEnd&) {
    // The program is ending; the thread's next toolkit call unwinds it.
  } catch (const std::exception& e) {
    endCallersProgram(std::string(entry) + " ended with an exception: " + e.what());
  } catch (...) {
    endCallersProgram(std::string(entry) + " ended with an unknown exception");
  }
}

}  // namespace wevo::toolkit
