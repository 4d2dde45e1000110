#pragma once
// Internal to the mesh importer: OBJ and PLY files through the Open Asset Import Library,
// which stays out of every public header.
#include <memory>
#include <span>

class MStlBase;

namespace stl_detail {

enum class EAssimpFormat { eObj, ePly };

// The file's triangles in file order, polygons split into triangles of their winding,
// the corners welded as the STL reader welds them; points, lines and the file's normals
// are left out. Throws StlProblem saying what is
// wrong. Reads nothing but `bytes`: files that the file names (an OBJ material library)
// are not opened.
std::unique_ptr<MStlBase> ImportWithAssimp(std::span<const char> bytes, EAssimpFormat format);

}  // namespace stl_detail
