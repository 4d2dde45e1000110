#pragma once
#include "host/HostApi.h"
#include "host/framework/MMPoint3d.h"

#include <cstdint>
#include <memory>
#include <vector>

class MStlBase;

struct MStlCompactTriangle {
  // Each points at a corner's integer x; its y and z follow (MStlPoint's layout).
  const std::int32_t* corners[3];
  // The unit normal times 127, rounded.
  std::int8_t normal[3];

  MMPoint3d<float> GetNormal() const { return {normal[0] / 127.0f, normal[1] / 127.0f, normal[2] / 127.0f}; }
};

// All triangles of a mesh, in traversal order, as 32-byte records: half the size of a
// triangle, for passes (depth sort, texturing) that need only positions and a normal.
// Records live in pages of exactly kPageSize so that the array grows without moving.
class VISTAL_HOST_API MStlCompactTriangleArray {
public:
  static constexpr std::uint32_t kPageSize = 8192;

  MStlCompactTriangleArray() = default;
  MStlCompactTriangleArray(const MStlCompactTriangleArray& o);
  MStlCompactTriangleArray& operator=(const MStlCompactTriangleArray& o);
  MStlCompactTriangleArray(MStlCompactTriangleArray&&) noexcept = default;
  MStlCompactTriangleArray& operator=(MStlCompactTriangleArray&&) noexcept = default;
  ~MStlCompactTriangleArray();

  std::uint32_t GetCount() const { return m_count; }
  // Not range-checked.
  const MStlCompactTriangle& At(std::uint32_t i) const { return m_pages[i / kPageSize][i % kPageSize]; }
  std::uint32_t GetNumPages() const { return static_cast<std::uint32_t>(m_pages.size()); }
  const MStlCompactTriangle* GetPage(std::uint32_t p) const { return m_pages[p].get(); }

  // Replaces the contents with the mesh's triangles in traversal order.
  void Build(const MStlBase& mesh);
  void Clear();

  // A normal component in [-1, 1] as a signed byte of 127ths.
  static std::int8_t QuantiseNormal(float component);

private:
  std::uint32_t m_count = 0;
  std::vector<std::unique_ptr<MStlCompactTriangle[]>> m_pages;
};

static_assert(sizeof(MStlCompactTriangle) == 32);
