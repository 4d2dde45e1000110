target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IVRender.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVRenderPlacement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MMaterial.cpp
)
