#pragma once
// Helpers shared by the mesh tests: scratch files and raw STL bytes.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlTraversal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace mesh_test {

// A directory of its own per test, removed afterwards.
class ScratchDir {
public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_path = std::filesystem::temp_directory_path() /
             ("vistal-mesh-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_path);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  std::string File(const std::string& name) const { return (m_path / name).string(); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
  }

private:
  std::filesystem::path m_path;
};

// Binary STL bytes: an 80-byte header, the given count, then one record per triangle
// (9 floats each: three corners). `count` may lie about the records that follow.
inline std::string BinaryStl(const std::vector<float>& corners, std::uint32_t count, const std::string& header = "") {
  std::string bytes(80, '\0');
  std::memcpy(bytes.data(), header.data(), std::min<std::size_t>(header.size(), 80));
  bytes.append(reinterpret_cast<const char*>(&count), 4);
  for (std::size_t t = 0; t + 9 <= corners.size(); t += 9) {
    const float normal[3] = {0, 0, 0};
    bytes.append(reinterpret_cast<const char*>(normal), sizeof normal);
    bytes.append(reinterpret_cast<const char*>(&corners[t]), 9 * sizeof(float));
    bytes.append(2, '\0');
  }
  return bytes;
}
inline std::string BinaryStl(const std::vector<float>& corners) {
  return BinaryStl(corners, std::uint32_t(corners.size() / 9));
}

inline std::vector<const MStlTriangle*> TraversalOrder(const MStlBase& mesh) {
  std::vector<const MStlTriangle*> order;
  ForEachTriangle(mesh, [&](const MStlTriangle& t) { order.push_back(&t); });
  return order;
}

}  // namespace mesh_test
