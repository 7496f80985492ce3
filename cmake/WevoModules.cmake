# Where each target finds headers. A target sees include/ (the public
# headers) and the header trees of what it links, never the whole
# repository: a header tree holds links to the headers of a module's own
# folders under their repository paths ("platform/toolkit/window_model.h"),
# so that an include of a module the target does not link fails to compile.
set(WEVO_HEADERS ${CMAKE_BINARY_DIR}/headers)

# wevo_find(VAR pattern [FLAT] dir...): the files matching the pattern below
# the folders (FLAT: in the folders themselves only). A new file makes CMake
# configure again.
function(wevo_find var pattern)
  cmake_parse_arguments(F "FLAT" "" "" ${ARGN})
  set(result)
  foreach(dir IN LISTS F_UNPARSED_ARGUMENTS)
    if(F_FLAT)
      file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/${pattern})
    else()
      file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/${pattern})
    endif()
    list(APPEND result ${found})
  endforeach()
  set(${var} ${result} PARENT_SCOPE)
endfunction()

# wevo_header_tree(name [FLAT] DIRS dir...): the tree ${WEVO_HEADERS}/<name>
# of the headers below the folders (FLAT: in the folders themselves only),
# made again at every configure.
function(wevo_header_tree name)
  cmake_parse_arguments(H "FLAT" "" "DIRS" ${ARGN})
  set(root ${WEVO_HEADERS}/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  set(flat)
  if(H_FLAT)
    set(flat FLAT)
  endif()
  wevo_find(headers *.h ${flat} ${H_DIRS})
  foreach(header IN LISTS headers)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${header})
    get_filename_component(folder ${root}/${rel} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${header} ${root}/${rel} SYMBOLIC)
  endforeach()
endfunction()

# wevo_glob(VAR [FLAT] dir...): the library sources (not tests) below the
# given folders (FLAT: in the folders themselves only).
function(wevo_glob var)
  wevo_find(result *.cpp ${ARGN})
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

# wevo_test_program(name [FLAT] [MODULE] DIRS dir... LIBS lib...): one
# GoogleTest program from the *_test.cpp files in the folders (FLAT) or below
# them, registered test by test with CTest. It sees the headers of what it
# links and, unless the folders are a module's (MODULE), the headers in its
# own folders. Nothing without BUILD_TESTING.
function(wevo_test_program name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "FLAT;MODULE" "" "DIRS;LIBS" ${ARGN})
  set(flat)
  if(T_FLAT)
    set(flat FLAT)
  endif()
  wevo_find(files *_test.cpp ${flat} ${T_DIRS})
  if(NOT files)
    return()
  endif()
  add_executable(${name} ${files})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS} wevo_testing GTest::gtest_main)
  if(NOT T_MODULE)
    wevo_header_tree(${name} DIRS ${T_DIRS})
    target_include_directories(${name} PRIVATE ${WEVO_HEADERS}/${name})
  endif()
  wevo_strict_warnings(${name})
  wevo_test_flags(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# wevo_module(name [FLAT] DIRS dir... [DEPS module...] [LINK_ONLY module...]
#             [PRIVATE_LIBS lib...] [TEST_LIBS lib...]):
# a static library wevo_<name> from the folders' sources (FLAT: the folders
# themselves only), linking the modules below it, and a test program
# <name>_tests from the folders' *_test.cpp files. DEPS are modules whose
# headers it uses (and hands on to what links it); LINK_ONLY modules are
# linked without their headers being seen. TEST_LIBS: what the test program
# links besides the module.
function(wevo_module name)
  cmake_parse_arguments(M "FLAT" "" "DIRS;DEPS;LINK_ONLY;PRIVATE_LIBS;TEST_LIBS" ${ARGN})
  set(flat)
  if(M_FLAT)
    set(flat FLAT)
  endif()
  wevo_glob(sources ${flat} ${M_DIRS})
  add_library(wevo_${name} STATIC ${sources} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  set_target_properties(wevo_${name} PROPERTIES AUTOMOC ON)
  target_compile_definitions(wevo_${name} PUBLIC WEVO_BUILDING_LIBRARY)
  wevo_header_tree(${name} ${flat} DIRS ${M_DIRS})
  target_include_directories(wevo_${name} PUBLIC ${CMAKE_SOURCE_DIR}/include ${WEVO_HEADERS}/${name})
  target_link_libraries(wevo_${name} PUBLIC Threads::Threads)
  foreach(dep IN LISTS M_DEPS)
    target_link_libraries(wevo_${name} PUBLIC wevo_${dep})
  endforeach()
  foreach(dep IN LISTS M_LINK_ONLY)
    target_link_libraries(wevo_${name} PRIVATE $<LINK_ONLY:wevo_${dep}>)
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
    wevo_find(files *_test.cpp ${M_DIRS})
    if(files)
      add_executable(${name}_tests ${files})
      target_link_libraries(${name}_tests PRIVATE wevo_${name} wevo_testing_base
        PkgConfig::SQLCIPHER PkgConfig::LIBPQ GTest::gtest_main)
      wevo_strict_warnings(${name}_tests)
      wevo_test_flags(${name}_tests)
      gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
    endif()
  else()
    wevo_test_program(${name}_tests ${flat} MODULE DIRS ${M_DIRS} LIBS ${libs} ${M_TEST_LIBS})
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
    PkgConfig::SQLCIPHER PkgConfig::LIBPQ OpenSSL::Crypto Qt6::Widgets Qt6::Gui Threads::Threads
    $<TARGET_NAME_IF_EXISTS:Qt6::PrintSupport>)
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include>)
  set_target_properties(${name} PROPERTIES PREFIX "lib" OUTPUT_NAME ${name})
endfunction()
