# Sources of vistal/render.
target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IVRenderExColor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVRenderExGdi.cpp
)
target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IVRenderEx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVRenderExBoundingBox.cpp
)
