# Debian packages with CPack, one per install component (cmake/WevoInstall.cmake):
#   libwevolib<major>   the shared library (component runtime)
#   libwevolib-dev      headers, CMake package, wevo.pc (component dev)
#   <program>           each program installed with wevo_install_program
# What the library and the programs need of the system comes from
# dpkg-shlibdeps; what they need of each other from the components' order.
# scripts/package builds them.
set(CPACK_PACKAGE_NAME wevo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "wevo")
set(CPACK_PACKAGE_CONTACT "wevo maintainers <wevo@localhost>" CACHE STRING "the Maintainer of the Debian packages")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The library's package says which versions of it serve a program (shlibs),
# so packages of hosts built elsewhere get their dependency from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# dpkg-shlibdeps runs in each component's staging folder; the programs' copy
# of libwevolib is in the runtime component's one beside it.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "../runtime${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libwevolib${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libwevolib-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)

get_property(WEVO_PACKAGED_PROGRAMS GLOBAL PROPERTY WEVO_INSTALLED_PROGRAMS)
set(CPACK_COMPONENTS_ALL runtime dev ${WEVO_PACKAGED_PROGRAMS})
foreach(program IN LISTS WEVO_PACKAGED_PROGRAMS)
  string(TOUPPER ${program} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${program})
  set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION misc)
endforeach()

include(CPack)

cpack_add_component(runtime
  DISPLAY_NAME "wevo library"
  DESCRIPTION "run-time customisation of a host program's windows (library)
wevo lets the end users of a desktop business program rearrange and restyle
its windows while it runs, and keeps the changes in one encrypted store per
program. This package holds the shared library.")
cpack_add_component(dev
  DISPLAY_NAME "wevo development files"
  DEPENDS runtime
  DESCRIPTION "run-time customisation of a host program's windows (development files)
The headers, the CMake package (find_package(wevo)) and wevo.pc that host
programs build against.")
foreach(program IN LISTS WEVO_PACKAGED_PROGRAMS)
  get_property(description GLOBAL PROPERTY WEVO_INSTALLED_PROGRAM_DESCRIPTION_${program})
  cpack_add_component(${program} DISPLAY_NAME ${program} DEPENDS runtime DESCRIPTION "${description}")
endforeach()
