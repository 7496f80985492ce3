# wevo_glob(VAR dir...): the library sources (not tests) below the given folders.
function(wevo_glob var)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  list(FILTER result EXCLUDE REGEX "_test\\.cpp$")
  set(${var} ${result} PARENT_SCOPE)
endfunction()

# wevo_test_flags(target): how test programs compile. Test code is built
# without optimisation (the code under test keeps its own flags): optimising
# GoogleTest's assertions doubles the build for nothing the tests measure.
# GoogleTest's header is compiled once per program.
function(wevo_test_flags target)
  target_compile_options(${target} PRIVATE -O0)
  target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <string> <vector> <map> <memory> <functional>)
endfunction()

# wevo_test_program(name DIRS dir... LIBS lib...): one GoogleTest program from the
# *_test.cpp files below the folders, registered test by test with CTest.
# Nothing without BUILD_TESTING.
function(wevo_test_program name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "" "" "DIRS;LIBS" ${ARGN})
  set(files)
  foreach(dir IN LISTS T_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*_test.cpp)
    list(APPEND files ${found})
  endforeach()
  if(NOT files)
    return()
  endif()
  add_executable(${name} ${files})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS} wevo_testing GTest::gtest_main)
  wevo_strict_warnings(${name})
  wevo_test_flags(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# wevo_module(name DIRS dir... [DEPS module...] [PRIVATE_LIBS lib...]):
# a static library wevo_<name> from the folders' sources, linking the modules
# below it, and a test program <name>_tests from the folders' *_test.cpp files.
function(wevo_module name)
  cmake_parse_arguments(M "" "" "DIRS;DEPS;PRIVATE_LIBS" ${ARGN})
  wevo_glob(sources ${M_DIRS})
  add_library(wevo_${name} STATIC ${sources} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  set_target_properties(wevo_${name} PROPERTIES AUTOMOC ON)
  target_compile_definitions(wevo_${name} PUBLIC WEVO_BUILDING_LIBRARY)
  target_include_directories(wevo_${name} PUBLIC ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR})
  target_link_libraries(wevo_${name} PUBLIC Threads::Threads)
  foreach(dep IN LISTS M_DEPS)
    target_link_libraries(wevo_${name} PUBLIC wevo_${dep})
  endforeach()
  if(M_PRIVATE_LIBS)
    target_link_libraries(wevo_${name} PRIVATE ${M_PRIVATE_LIBS})
  endif()
  wevo_strict_warnings(wevo_${name})
  set(libs wevo_${name})
  if(NOT BUILD_TESTING)
    return()
  endif()
  if(name STREQUAL "keyedfile")
    # Keyed-file tests need nothing of the toolkit.
    set(files)
    foreach(dir IN LISTS M_DIRS)
      file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*_test.cpp)
      list(APPEND files ${found})
    endforeach()
    if(files)
      add_executable(${name}_tests ${files})
      target_link_libraries(${name}_tests PRIVATE wevo_${name} wevo_testing_base
        PkgConfig::SQLCIPHER GTest::gtest_main)
      wevo_strict_warnings(${name}_tests)
      wevo_test_flags(${name}_tests)
      gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
    endif()
  else()
    wevo_test_program(${name}_tests DIRS ${M_DIRS} LIBS ${libs})
  endif()
endfunction()

# wevo_shared_library(name module...): the shared library hosts link.
function(wevo_shared_library name)
  set(objects)
  foreach(m IN LISTS ARGN)
    list(APPEND objects $<TARGET_OBJECTS:wevo_${m}>)
  endforeach()
  add_library(${name} SHARED ${objects})
  target_link_libraries(${name} PRIVATE
    PkgConfig::SQLCIPHER OpenSSL::Crypto Qt6::Widgets Qt6::Gui Threads::Threads
    $<TARGET_NAME_IF_EXISTS:Qt6::PrintSupport>)
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include>)
  set_target_properties(${name} PROPERTIES PREFIX "lib" OUTPUT_NAME ${name})
endfunction()
