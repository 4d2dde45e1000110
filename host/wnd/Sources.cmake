# Sources of host/wnd: windows, message maps and the desktop under them.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CCmdTarget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CImageList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CObject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IWndDesktop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageList.cpp)
