target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZelLibraryVersion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SizeMappedAllocator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MMTransform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MMTransformMatrix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MTransformRepository.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MCoordinateSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MClipRegion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MCamera.cpp)
# Scene objects, scenes and operations.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MOperation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MScene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIObject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UISlice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIOperation.cpp)
