# Strict warnings on our own code; third-party headers come in as system includes.
function(wevo_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wformat=2 -Wimplicit-fallthrough
    # Locking is checked by the compiler (platform/base/mutex.h).
    $<$<CXX_COMPILER_ID:Clang>:-Wthread-safety>)
endfunction()
