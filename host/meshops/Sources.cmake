# Sources of host/meshops: section borders, the mesh slicer, and the cut face built on it
# with the outline that closes its section and the sections its siblings share.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ICutFaceParent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/M3dBorderNodePool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MNewSlicer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MSectionCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MSectionCap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlSlicerBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UISurfaceSection.cpp
)
# A point's side of the plane must come out the same at every evaluation; contracted
# multiply-adds on FMA targets could round one evaluation differently from another.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/MNewSlicer.cpp PROPERTIES COMPILE_OPTIONS -ffp-contract=off)
# Cut faces are tessellated by the GLU tessellator; it needs no GL context.
find_package(OpenGL REQUIRED)
if(NOT OPENGL_GLU_FOUND)
  message(FATAL_ERROR "The GLU tessellator (libglu1-mesa-dev) is needed for cut faces")
endif()
target_link_libraries(vistal_host PRIVATE OpenGL::GLU)
