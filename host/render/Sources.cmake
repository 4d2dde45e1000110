target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IVDisplaySurface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVRender.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVRenderPlacement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MMaterial.cpp
)
# RGBA images, the frames a renderer's display surface gives back, with PNG reading and writing.
target_sources(vistal_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MImageRGBA.cpp)
find_package(PNG REQUIRED)
target_link_libraries(vistal_host PRIVATE PNG::PNG)
