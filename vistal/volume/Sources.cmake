# Sources of vistal/volume.
target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/UIVolumeRendering.cpp
)
