target_sources(vistal PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LibraryMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PNT_3D_FLOAT.cpp
)
# Point and colour arithmetic rounds at fixed steps; a fused multiply-add would skip one of them.
target_compile_options(vistal PRIVATE -ffp-contract=off)
