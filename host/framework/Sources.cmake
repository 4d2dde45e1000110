target_sources(vistal_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ZelLibraryVersion.cpp)
