target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IVTransparencyCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IVVertexContainerTransparency.cpp
)
