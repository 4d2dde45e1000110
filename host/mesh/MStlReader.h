#pragma once
// STL files: binary and ASCII reading, binary writing. Programs read meshes through
// ImportMesh (MStlImport.h), which reads other formats too.
//
// ReadStl gives one surface under the root feature with the file's triangles in file
// order. Corners with the same coordinates, after conversion to integer units (times IE,
// rounded to nearest), become one point, so a closed model comes back closed. A closed
// mesh whose triangles face inward is turned outward (every triangle's winding reversed,
// see MStlOrientation.h); an open one keeps the file's winding. Normals are recomputed
// from the welded points and the winding; the file's normals are often wrong and are
// ignored.
// A file is ASCII when it starts with "solid" and parses as ASCII through its last
// "endsolid"; otherwise it is binary (binary headers may start with "solid" too).
//
// Coordinates must lie within +-INT32_MAX / 3 integer units (+-715.8 m at IE = 1000):
// the sum of a triangle's three corners, which the transparency cache takes for its
// centre, then stays inside 32 bits.
#include "host/HostApi.h"

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

class MStlBase;

// Why a mesh file could not be read; what() is one line naming the file and the problem.
class VISTAL_HOST_API MStlReadError : public std::runtime_error {
public:
  MStlReadError(const std::string& path, const std::string& problem);
  // The file's content is none of the formats that ImportMesh reads.
  static MStlReadError NotAMesh(const std::string& path);

  const std::string& GetPath() const { return m_path; }
  const std::string& GetProblem() const { return m_problem; }

private:
  MStlReadError(const std::string& path, const std::string& problem, const std::string& message);

  std::string m_path;
  std::string m_problem;
};

// The largest file ReadStl reads unless told otherwise: 4 GiB, some 85 million binary
// triangles. The whole file is held while the mesh is built, and the mesh takes more
// again, so a bigger file would exhaust the memory of most machines.
inline constexpr std::uint64_t kStlMaxFileBytes = std::uint64_t(4) << 30;

// Reads a whole file, or throws MStlReadError: never a partial mesh. Only regular files
// are read (a device or a pipe could feed it without end), of at most maxBytes bytes;
// running out of memory is reported as an MStlReadError too.
VISTAL_HOST_API std::unique_ptr<MStlBase> ReadStl(const std::string& path,
                                                  std::uint64_t maxBytes = kStlMaxFileBytes);
// The same for bytes already in memory; `name` stands for the file in error messages.
VISTAL_HOST_API std::unique_ptr<MStlBase> ReadStlFromMemory(std::span<const char> bytes, const std::string& name);

// Writes the mesh's triangles in traversal order as binary STL, coordinates in scene
// units. Throws std::runtime_error naming the file when it cannot be written.
VISTAL_HOST_API void WriteStlBinary(const MStlBase& mesh, const std::string& path);
