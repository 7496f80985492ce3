# The install checks (CTest label "install"): cmake --install into a
# temporary prefix, the Debian packages unpacked into a temporary root, each
# checked by building and running the examples against it; and a configure
# of the library alone without the test packages. They run in the normal
# build only: hosts built against a sanitized library would need its
# sanitizers too, and the sanitizer builds test the library itself.
if(BUILD_TESTING AND NOT WEVO_SANITIZE AND NOT WEVO_BUILD_FUZZ)
  set(check ${CMAKE_CURRENT_LIST_DIR}/check_install.sh)
  add_test(NAME install.Prefix COMMAND ${check} prefix ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  add_test(NAME install.DebianPackages COMMAND ${check} packages ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  add_test(NAME install.LibraryAlone COMMAND ${check} alone ${CMAKE_SOURCE_DIR}
    ${CMAKE_GENERATOR} ${CMAKE_C_COMPILER} ${CMAKE_CXX_COMPILER})
  set_tests_properties(install.Prefix install.DebianPackages install.LibraryAlone PROPERTIES
    LABELS install
    TIMEOUT 600
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
