#pragma once
// STL files: binary and ASCII reading, binary writing.
//
// ReadStl gives one surface under the root feature with the file's triangles in file
// order. Corners with the same coordinates, after conversion to integer units (times IE,
// rounded to nearest), become one point, so a closed model comes back closed. Normals are
// recomputed from the welded points; the file's normals are often wrong and are ignored.
// A file is ASCII when it starts with "solid" and parses as ASCII through its last
// "endsolid"; otherwise it is binary (binary headers may start with "solid" too).
#include "host/HostApi.h"

#include <memory>
#include <span>
#include <stdexcept>
#include <string>

class MStlBase;

// Why a file could not be read; what() names the file and the problem.
class VISTAL_HOST_API MStlReadError : public std::runtime_error {
public:
  MStlReadError(const std::string& path, const std::string& problem);
  const std::string& GetPath() const { return m_path; }
  const std::string& GetProblem() const { return m_problem; }

private:
  std::string m_path;
  std::string m_problem;
};

// Reads a whole file, or throws MStlReadError: never a partial mesh.
VISTAL_HOST_API std::unique_ptr<MStlBase> ReadStl(const std::string& path);
// The same for bytes already in memory; `name` stands for the file in error messages.
VISTAL_HOST_API std::unique_ptr<MStlBase> ReadStlFromMemory(std::span<const char> bytes, const std::string& name);

// Writes the mesh's triangles in traversal order as binary STL, coordinates in scene
// units. Throws std::runtime_error naming the file when it cannot be written.
VISTAL_HOST_API void WriteStlBinary(const MStlBase& mesh, const std::string& path);
