# What `cmake --install` puts where, and the CMake package and pkg-config file
# hosts find wevo through.
#
# Components (one Debian package each, cmake/WevoPackage.cmake):
#   runtime   libwevolib.so.<major> and its versioned file
#   dev       the public headers, the libwevolib.so link, the CMake package, wevo.pc and wevo-qt.pc
#   <program> each program installed with wevo_install_program (wevodemo, ...)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(WEVO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/wevo)
set(WEVO_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# wevo_install_relative(VAR from to): the path from the installed folder `from`
# to the installed folder `to` (both relative to the prefix), so that installed
# files can find each other wherever the prefix is.
function(wevo_install_relative var from to)
  get_filename_component(from /prefix/${from} ABSOLUTE)
  get_filename_component(to /prefix/${to} ABSOLUTE)
  file(RELATIVE_PATH rel ${from} ${to})
  string(REGEX REPLACE "/$" "" rel "${rel}")  # "../../" to an enclosing folder
  if(rel STREQUAL "")
    set(rel .)
  endif()
  set(${var} ${rel} PARENT_SCOPE)
endfunction()

# wevo_install_library(target): the shared library with its SONAME
# (lib<target>.so.<major>), the public headers, and the exported target
# wevo::<target> with wevoConfig.cmake, its version file and wevo.pc.
function(wevo_install_library target)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    EXPORT_NAME ${target})
  add_library(wevo::${target} ALIAS ${target})
  # Hosts compile the public headers as C++20 (wevo.h also as C), and their
  # procedures run on threads the library starts (run, start).
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_link_libraries(${target} PUBLIC Threads::Threads)
  # Only the libraries it calls become its dependencies (and its package's):
  # Qt's link interface brings OpenGL, which the library never uses.
  target_link_options(${target} PRIVATE LINKER:--as-needed)

  install(TARGETS ${target} EXPORT wevoTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
      COMPONENT runtime
      NAMELINK_COMPONENT dev
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/wevo
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT dev
    FILES_MATCHING PATTERN "*.h")

  install(EXPORT wevoTargets
    NAMESPACE wevo::
    DESTINATION ${WEVO_INSTALL_CMAKEDIR}
    COMPONENT dev)
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/wevoConfig.cmake.in
    ${PROJECT_BINARY_DIR}/wevoConfig.cmake
    INSTALL_DESTINATION ${WEVO_INSTALL_CMAKEDIR})
  # Within one major version a newer wevo serves a host built for an older one.
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/wevoConfigVersion.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/wevoConfig.cmake ${PROJECT_BINARY_DIR}/wevoConfigVersion.cmake
    DESTINATION ${WEVO_INSTALL_CMAKEDIR}
    COMPONENT dev)

  # wevo.pc names its folders relative to itself (${pcfiledir}), so an
  # installed tree can be moved or unpacked anywhere.
  wevo_install_relative(WEVO_PC_PREFIX ${WEVO_INSTALL_PKGCONFIGDIR} .)
  set(WEVO_PC_LIBRARY ${target})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wevo.pc.in ${PROJECT_BINARY_DIR}/wevo.pc @ONLY)
  # wevo-qt.pc: the same for a Qt Widgets program (wevo/qt.h), with Qt's flags.
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wevo-qt.pc.in ${PROJECT_BINARY_DIR}/wevo-qt.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/wevo.pc ${PROJECT_BINARY_DIR}/wevo-qt.pc
    DESTINATION ${WEVO_INSTALL_PKGCONFIGDIR}
    COMPONENT dev)
endfunction()

# wevo_install_program(target [DESCRIPTION text] [DATA file...]): a program
# installed to bin/ as an install component (and Debian package) of its own,
# named after it, finding the library in lib/ wherever the prefix is. DATA
# files go to share/<target>/. DESCRIPTION: the package's summary line, then
# its longer description.
function(wevo_install_program target)
  cmake_parse_arguments(P "" "DESCRIPTION" "DATA" ${ARGN})
  wevo_install_relative(libdir ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${libdir}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${target})
  if(P_DATA)
    install(FILES ${P_DATA} DESTINATION ${CMAKE_INSTALL_DATADIR}/${target} COMPONENT ${target})
  endif()
  set_property(GLOBAL APPEND PROPERTY WEVO_INSTALLED_PROGRAMS ${target})
  set_property(GLOBAL PROPERTY WEVO_INSTALLED_PROGRAM_DESCRIPTION_${target} "${P_DESCRIPTION}")
endfunction()

# wevo_program_data_dir(VAR target): where an installed program's DATA files
# are, relative to the program's own folder.
function(wevo_program_data_dir var target)
  wevo_install_relative(rel ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_DATADIR}/${target})
  set(${var} ${rel} PARENT_SCOPE)
endfunction()
