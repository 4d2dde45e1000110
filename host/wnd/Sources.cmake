# Sources of host/wnd: windows, message maps and the desktop under them.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CCmdTarget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CObject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IWndDesktop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/WndState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WndClasses.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WndLoop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WndPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WndResources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WndWindows.cpp)
