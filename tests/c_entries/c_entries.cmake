# The C entries called from C: c_host.c is compiled as C11 (strict, no
# extensions) and linked with the shared library the way a host links it;
# the test program sees only the public headers.
if(BUILD_TESTING)
  add_executable(c_entries_tests
    ${CMAKE_CURRENT_LIST_DIR}/c_host.c
    ${CMAKE_CURRENT_LIST_DIR}/c_entries_test.cpp)
  set_target_properties(c_entries_tests PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/c_host.c PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  wevo_header_tree(c_entries DIRS tests/c_entries)
  target_include_directories(c_entries_tests PRIVATE ${WEVO_HEADERS}/c_entries)
  target_link_libraries(c_entries_tests PRIVATE wevolib wevo_testing_base GTest::gtest_main)
  target_compile_options(c_entries_tests PRIVATE
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic -Werror>)
  wevo_strict_warnings(c_entries_tests)
  wevo_test_flags(c_entries_tests)
  gtest_discover_tests(c_entries_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endif()
