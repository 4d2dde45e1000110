target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IVTransparencyCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/IVVertexContainerTransparency.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/IVTwoPartWork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/IVDepthOrder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerBoundingBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerM3dBorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerMStlSurfaceBorderContour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerSTLData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerStlDataAnimation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerStlDataTexturedAnimation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerTexturedPlane.cpp
)
