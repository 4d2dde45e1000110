# Sources of the preview: the preview control, its navigation and its view.
target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MCtrl3DPreview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PreviewBoxes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIWnd3DPreview.cpp)
