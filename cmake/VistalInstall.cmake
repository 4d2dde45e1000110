# Install rules, the exported CMake package `vistal` (find_package(vistal CONFIG)) and a
# pkg-config file beside it.
include(CMakePackageConfigHelpers)

set(vistal_installed_libraries vistal_host vistal)
if(TARGET vistal_gl)
  list(APPEND vistal_installed_libraries vistal_gl vistal_scene)
endif()
if(TARGET vistal_cairo)
  list(APPEND vistal_installed_libraries vistal_cairo)
endif()
if(TARGET vistal_sdl)
  list(APPEND vistal_installed_libraries vistal_sdl)
endif()
install(TARGETS ${vistal_installed_libraries}
  EXPORT vistalTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# Public headers only: what sits in an Implementation folder stays private.
set(vistal_header_folders host vistal)
if(TARGET vistal_gl OR TARGET vistal_cairo)
  list(APPEND vistal_header_folders backends)
endif()
if(TARGET vistal_gl)
  list(APPEND vistal_header_folders scene)
endif()
install(DIRECTORY ${vistal_header_folders}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h"
  PATTERN "Implementation" EXCLUDE)

install(EXPORT vistalTargets
  NAMESPACE vistal::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vistal)

configure_package_config_file(cmake/vistalConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/vistalConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vistal)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vistalConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/vistalConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/vistalConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vistal)

file(RELATIVE_PATH vistal_pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(cmake/vistal.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vistal.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vistal.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
