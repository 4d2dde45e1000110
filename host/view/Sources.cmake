# Sources of host/view: the framework's views and their camera navigation.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MCameraInteraction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MPickerBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIWnd3D.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MOperationView.cpp)
