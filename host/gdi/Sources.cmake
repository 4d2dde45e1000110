# Sources of host/gdi: device contexts over drawing devices, GDI objects, the GDI32 and
# USER32 drawing functions and MFC's CDC and GDI object classes.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Blits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDC.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CGdiObject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceContext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DrawText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GdiObjects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinUser.cpp)
