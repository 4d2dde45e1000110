# Common per-target settings. Everything is target-scoped: no global flags.

option(VISTAL_WERROR "Treat compiler warnings as errors in the project's own targets" OFF)

# Warnings and language level for every target of the project.
function(vistal_configure_target target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES
    CXX_EXTENSIONS OFF
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  if(VISTAL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(VISTAL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# The include root of one layer (a top-level folder: host, vistal, backends, scene). It
# holds only a link to that folder, so a target sees the headers of its own layer and,
# through the targets it links, of the layers below, never those above: an #include
# that climbs a layer does not compile.
function(vistal_layer_root target layer)
  set(root ${PROJECT_BINARY_DIR}/layers/${layer})
  if(NOT EXISTS ${root}/${layer})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${root}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
endfunction()

# A shared library of the package: versioned SONAME, every symbol resolved at link
# time, and a run path that finds its sibling libraries wherever the package is put.
function(vistal_shared_library target)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    INSTALL_RPATH "$ORIGIN")
  # The sanitizer runtimes of clang are not linked into shared libraries.
  if(NOT VISTAL_SANITIZE)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# An installed program finds the package's libraries from its own place.
function(vistal_installed_program target)
  file(RELATIVE_PATH to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${to_lib}")
endfunction()
