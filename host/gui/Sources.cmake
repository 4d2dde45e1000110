# Sources of host/gui.
target_sources(vistal_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Gdi.cpp)
