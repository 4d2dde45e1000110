#pragma once
#include "host/HostApi.h"
#include "host/mesh/MDataMaskIndex.h"

#include <cstdint>

class MStlPoint;
class MStlSurface;

// A mesh triangle. Triangles of one surface lie next to each other in memory in list
// order, so following `next` is a forward sweep; 64 bytes make one triangle one cache line.
class VISTAL_HOST_API MStlTriangle : public MDataMaskIndex {
public:
  // Bit of `flags` that hosts use to select triangles (the textured plane draws them).
  static constexpr std::uint32_t kMarkerBit = 0x80000000u;

  float normal[3] = {0.0f, 0.0f, 0.0f};  // unit length; zero for a degenerate triangle
  MStlPoint* points[3] = {nullptr, nullptr, nullptr};
  // Annotations such as the marker bit: no cache depends on them, so a holder of a
  // constant triangle may set them, as with the mask slot.
  mutable std::uint32_t flags = 0;
  MStlSurface* surface = nullptr;
  MStlTriangle* next = nullptr;  // the surface's next triangle; null after the last

  bool IsMarked() const { return (flags & kMarkerBit) != 0; }
  void SetMarked(bool marked) const { flags = marked ? (flags | kMarkerBit) : (flags & ~kMarkerBit); }
};

static_assert(sizeof(MStlTriangle) == 64, "one triangle per cache line keeps traversals memory-bound");
