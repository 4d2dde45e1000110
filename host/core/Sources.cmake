# Sources of host/core.
target_sources(vistal_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MImageRGBA.cpp)
find_package(PNG REQUIRED)
target_link_libraries(vistal_host PRIVATE PNG::PNG)
