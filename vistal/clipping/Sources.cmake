# Sources of vistal/clipping.
target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CClipPolyToBoundingBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MClippingPlane.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIOperationClipping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MClippingData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MClippingDataRender.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MClippingDataUndo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IClippableObject.cpp
)
