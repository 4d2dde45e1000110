#pragma once
// Internal to the mesh library: the orientation checks on a mesh's arrays, which the
// readers run before the mesh is built (see MStlOrientation.h).
#include <cstdint>
#include <span>

namespace stl_detail {

// Six times the signed volume in cubic integer units; xyz holds x y z per point, corners
// three point numbers per triangle.
double SixTimesSignedVolume(std::span<const std::int32_t> xyz, std::span<const std::uint32_t> corners);

// Every edge shared by exactly two triangles that run along it in opposite directions.
bool IsClosed(std::uint32_t numPoints, std::span<const std::uint32_t> corners);

// Reverses the winding of a closed mesh whose triangles face inward; answers whether it did.
bool OrientOutward(std::span<const std::int32_t> xyz, std::span<std::uint32_t> corners);

}  // namespace stl_detail
