# Sources of vistal/masks.
target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MDataMaskBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MDataMask.cpp
)
