#include "host/mesh/MStlCompactTriangleArray.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlTraversal.h"

#include <algorithm>
#include <cmath>
#include <cstring>

MStlCompactTriangleArray::MStlCompactTriangleArray(const MStlCompactTriangleArray& o) { *this = o; }

MStlCompactTriangleArray& MStlCompactTriangleArray::operator=(const MStlCompactTriangleArray& o) {
  if (this == &o) return *this;
  std::vector<std::unique_ptr<MStlCompactTriangle[]>> pages;
  pages.reserve(o.m_pages.size());
  for (const auto& page : o.m_pages) {
    pages.emplace_back(new MStlCompactTriangle[kPageSize]);
    std::memcpy(pages.back().get(), page.get(), sizeof(MStlCompactTriangle) * kPageSize);
  }
  m_pages = std::move(pages);
  m_count = o.m_count;
  return *this;
}

MStlCompactTriangleArray::~MStlCompactTriangleArray() = default;

void MStlCompactTriangleArray::Clear() {
  m_pages.clear();
  m_count = 0;
}

std::int8_t MStlCompactTriangleArray::QuantiseNormal(float component) {
  const long q = std::lround(component * 127.0f);
  return static_cast<std::int8_t>(std::clamp(q, -127L, 127L));
}

void MStlCompactTriangleArray::Build(const MStlBase& mesh) {
  Clear();
  const std::uint32_t count = mesh.GetNumTriangles();
  const std::uint32_t numPages = (count + kPageSize - 1) / kPageSize;
  m_pages.reserve(numPages);
  for (std::uint32_t p = 0; p < numPages; ++p) m_pages.emplace_back(new MStlCompactTriangle[kPageSize]);

  std::uint32_t i = 0;
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    MStlCompactTriangle& r = m_pages[i / kPageSize][i % kPageSize];
    for (int k = 0; k < 3; ++k) {
      r.corners[k] = &t.points[k]->x;
      r.normal[k] = QuantiseNormal(t.normal[k]);
    }
    ++i;
  });
  m_count = i;
  // Zero the unused tail of the last page so that copies never read indeterminate bytes.
  if (i % kPageSize != 0)
    std::memset(&m_pages.back()[i % kPageSize], 0, sizeof(MStlCompactTriangle) * (kPageSize - i % kPageSize));
}
