#pragma once
#include "host/HostApi.h"
#include "host/framework/MMPoint3d.h"
#include "host/framework/MMTransformException.h"

#include <array>
#include <cstddef>
#include <new>
#include <vector>

class SizeMappedAllocator;

// Routes the allocation of every transform object through the process-wide transform allocator.
// The sized delete matters: the virtual destructor passes the dynamic type's size, which picks
// the free list the block came from.
class VISTAL_HOST_API MMTransformAllocator {
public:
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size) noexcept;
  // Placement forms stay available (a class operator new hides the global ones).
  static void* operator new(std::size_t, void* where) noexcept { return where; }
  static void operator delete(void*, void*) noexcept {}

  // The allocator behind operator new; never destroyed, so transforms released by static
  // destructors late in process exit still find it.
  static SizeMappedAllocator& Allocator();
};

// Three points mapped together, such as the origin and two edge ends of a frame.
using MMPointTriple = std::array<MMPoint3d<double>, 3>;

// The framework's abstract 3D transform: maps points (positions or vectors) and point lists,
// hands out its 4 x 4 matrix and inverts itself.
class VISTAL_HOST_API MMTransform : public MMTransformAllocator {
public:
  constexpr MMTransform() = default;
  MMTransform(const MMTransform&) = default;
  MMTransform& operator=(const MMTransform&) = default;

  // Maps `in` into `out`; a vector (asVector true) takes no translation. False when the point
  // does not map. `out` may be `in`.
  virtual bool TransformPoint(MMPoint3d<double>& out, const MMPoint3d<double>& in, bool asVector) const = 0;
  virtual bool InverseTransformPoint(MMPoint3d<double>& out, const MMPoint3d<double>& in, bool asVector) const = 0;
  virtual ~MMTransform() = default;
  // A copy from the transform allocator; the caller deletes it.
  virtual MMTransform* Clone() const = 0;
  // The forward matrix, row by row.
  virtual void GetMatrixFloat(float m[16]) const = 0;
  virtual void GetMatrixDouble(double m[16]) const;

  // Refills `out` with one zero point per point of `in` and maps positions in rising order; at the
  // first point that does not map it stops, leaving the rest zero, and answers false.
  virtual bool TransformPoints(std::vector<MMPoint3d<double>>& out, const std::vector<MMPoint3d<double>>& in) const;
  // Maps every point onto itself as a position; always true (a point that does not map keeps
  // whatever TransformPoint left in it).
  virtual bool TransformPointsInPlace(std::vector<MMPoint3d<double>>& points) const;
  // Convenience mappings that throw MMTransformException::eNotMapped instead of answering false.
  virtual MMPoint3d<float>& TransformPointFloat(MMPoint3d<float>& out, const MMPoint3d<float>& in, bool asVector) const;
  virtual MMPoint3d<double> TransformedPoint(const MMPoint3d<double>& in, bool asVector) const;
  // A second entry to TransformPoints; an override of TransformPoints serves both.
  virtual bool TransformPointList(std::vector<MMPoint3d<double>>& out, const std::vector<MMPoint3d<double>>& in) const;
  // Maps three positions in order (out may be in); stops at the first that does not map and
  // answers true only when all three map.
  virtual bool TransformPointTriple(MMPointTriple& out, const MMPointTriple& in) const;
  // Makes this transform its own inverse; false (and unchanged) when it has none.
  virtual bool Invert() = 0;
  virtual bool IsIdentity() const = 0;
};
