// The per-vertex read the animation containers make: every point of a mesh moved by its
// displacement, read from a point mask through GetInfo, against the same loop over a plain
// std::vector indexed by the point's slot. Target: mask loop <= 1.3x the vector loop.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "vistal/masks/MDataMask.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// A 999 x 1000-cell patch: 1000 x 1001 = 1,001,000 points, laid out in one block.
constexpr unsigned kCellsU = 999, kCellsV = 1000;

struct Scene {
  std::unique_ptr<MStlBase> mesh =
      MStlPrimitives::MakePlanePatch({0, 0, 0}, {100, 0, 0}, {0, 100, 0}, kCellsU, kCellsV);
  std::uint32_t numPoints = mesh->GetNumPoints();
  const MStlPoint* points = &mesh->GetPoint(0);  // one build: the points are contiguous
  std::vector<MMPoint3d<float>> out = std::vector<MMPoint3d<float>>(numPoints);
};

MMPoint3d<float> Displacement(std::uint32_t i) { return {float(i % 7), float(i % 11), float(i % 13)}; }

void BM_DisplacePointsThroughMask(benchmark::State& state) {
  Scene s;
  MStlVectorMaskPoints mask(*s.mesh);
  for (std::uint32_t i = 0; i < s.numPoints; ++i) mask.SetInfo(s.points[i], Displacement(i));
  const float scale = 0.5f;
  for (auto _ : state) {
    for (std::uint32_t i = 0; i < s.numPoints; ++i) {
      const MStlPoint& p = s.points[i];
      s.out[i] = p.ToFloat() + mask.GetInfo(p) * scale;
    }
    benchmark::DoNotOptimize(s.out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * s.numPoints);
}
BENCHMARK(BM_DisplacePointsThroughMask)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_DisplacePointsThroughVector(benchmark::State& state) {
  Scene s;
  std::vector<MMPoint3d<float>> field(s.numPoints);
  for (std::uint32_t i = 0; i < s.numPoints; ++i) field[s.points[i].GetMaskIndex()] = Displacement(i);
  const float scale = 0.5f;
  for (auto _ : state) {
    for (std::uint32_t i = 0; i < s.numPoints; ++i) {
      const MStlPoint& p = s.points[i];
      s.out[i] = p.ToFloat() + field[p.GetMaskIndex()] * scale;
    }
    benchmark::DoNotOptimize(s.out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * s.numPoints);
}
BENCHMARK(BM_DisplacePointsThroughVector)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace
