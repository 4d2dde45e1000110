// libFuzzer target for the transparency cache: one to three meshes with arbitrary 32-bit
// coordinates (the full range, where the corner sums wrap), arbitrary eye points and
// directions (NaN and infinities included), drawn over several frames with arbitrary
// tolerances, mesh sequences and Clear/ForceReSort calls. Besides memory errors and
// undefined behaviour it checks what callers rely on: every triangle of the frame's meshes
// is drawn exactly once per frame, and with small coordinates and one finite view for all
// meshes they come farthest first.
#include "FuzzSupport.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "testing/RecordingRender.h"
#include "vistal/containers/IVTransparencyCache.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Up to 12 triangles with coordinates from the input; `small` keeps them within a range
// where floats are exact and the centres can be checked.
std::unique_ptr<MStlBase> MakeMesh(FuzzInput& in, bool small) {
  const unsigned triangles = 1 + in.Take<std::uint8_t>() % 12;
  std::vector<std::int32_t> xyz;
  for (unsigned i = 0; i < 9 * triangles; ++i) {
    const std::int32_t v = in.Take<std::int32_t>();
    xyz.push_back(small ? v % 100000 : v);
  }
  std::vector<std::uint32_t> corners;
  for (std::uint32_t i = 0; i < 3 * triangles; ++i) corners.push_back(i);
  MStlBuilder builder;
  builder.AddPointsInUnits(xyz);
  builder.AddSurface(corners);
  return builder.Build();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::uint8_t flags = in.Take<std::uint8_t>();
  const bool small = flags & 1;
  std::vector<std::unique_ptr<MStlBase>> meshes;
  const unsigned numMeshes = 1 + (flags >> 1) % 3;
  for (unsigned i = 0; i < numMeshes; ++i) meshes.push_back(MakeMesh(in, small));

  RecordingRender render;
  IVTransparencyCache cache(&render);
  cache.SetSkipSortTolerance(in.Take<float>());
  for (int frame = 0; frame < 4 && !in.Empty(); ++frame) {
    const std::uint8_t step = in.Take<std::uint8_t>();
    if (step & 1) cache.Clear();
    if (step & 2) cache.ForceReSort();
    float eye[3], direction[3];
    for (float& e : eye) e = in.Take<float>();
    for (float& d : direction) d = in.Take<float>();
    const bool finite = std::isfinite(eye[0] + eye[1] + eye[2] + direction[0] + direction[1] + direction[2]);
    // Which meshes this frame draws, in which order (a mesh may come twice).
    std::size_t expected = 0;
    const unsigned count = step >> 5;
    for (unsigned k = 0; k < count; ++k) {
      MStlBase* mesh = meshes[in.Take<std::uint8_t>() % meshes.size()].get();
      float e[3] = {eye[0], eye[1], eye[2]}, d[3] = {direction[0], direction[1], direction[2]};
      cache.AddSTL(mesh, e, d);
      expected += mesh->GetNumTriangles();
    }
    render.Clear();
    cache.RenderStlTransparentPN(&render);
    std::vector<IVVertexPNC> drawn;
    for (const auto& batch : render.Batches<IVVertexPNC>())
      drawn.insert(drawn.end(), batch.vertices.begin(), batch.vertices.end());
    VISTAL_FUZZ_CHECK(drawn.size() == 3 * expected);
    // Farthest first, when the order was made for this view and floats hold the corners
    // exactly: each depth at most the one before (within the float rounding of a depth).
    if (small && finite && (step & 3) && drawn.size() >= 6) {
      // A direction whose squared length (in float) is finite and above 0.0001 is made a
      // unit vector; a shorter one is scaled by its squared length, which may round it
      // to nothing, and then no order is promised.
      const float squared = direction[0] * direction[0] + direction[1] * direction[1] + direction[2] * direction[2];
      if (!(squared > 0.0001f) || !std::isfinite(squared)) continue;
      double length = 0;
      for (float d : direction) length += double(d) * d;
      auto coordinate = [](const IVVertexPNC& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; };
      double previous = INFINITY;
      for (std::size_t t = 0; t < drawn.size(); t += 3) {
        double depth = 0;
        for (int a = 0; a < 3; ++a) {
          const double sum = double(coordinate(drawn[t], a)) + coordinate(drawn[t + 1], a) + coordinate(drawn[t + 2], a);
          depth += (sum * double(0.33333f) - eye[a]) * direction[a] / std::sqrt(length);
        }
        VISTAL_FUZZ_CHECK(depth <= previous + 1e-3 * (1 + std::fabs(previous)));
        previous = depth;
      }
    }
  }
  return 0;
}
