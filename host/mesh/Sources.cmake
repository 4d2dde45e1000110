# Sources of host/mesh.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/AssimpImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/MeshFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/PlyLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Implementation/StlAsciiParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlBaseProperties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlBuilder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlCompactTriangleArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlFeature.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlLargeAllocator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlOrientation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlPrimitives.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlSurfaceBorderContour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlTexture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlTextureFactory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStlUnits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MValidityField.cpp
)

# OBJ and PLY are read through assimp, which only the importer's implementation sees.
find_package(assimp REQUIRED)
target_link_libraries(vistal_host PRIVATE assimp::assimp)
