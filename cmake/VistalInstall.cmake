# Install rules and the exported CMake package `vistal` (find_package(vistal CONFIG)).
include(CMakePackageConfigHelpers)

install(TARGETS vistal_host vistal
  EXPORT vistalTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(DIRECTORY host vistal
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

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
