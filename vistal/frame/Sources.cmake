target_sources(vistal PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LibraryMain.cpp)
