// Slicing closed meshes of one and five million triangles, as a user dragging a clip plane
// makes it happen every frame; the cost of making such a mesh is measured beside it for
// scale. Target: MNewSlicer <= 5 ms per million triangles (median).
#include "host/core/UIStlObject.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/MNewSlicer.h"
#include "host/meshops/UISurfaceSection.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// 1000 x 501 and 2500 x 1001: exactly 1,000,000 and 5,000,000 triangles.
struct SphereSize {
  unsigned slices, stacks;
};
constexpr SphereSize kSizes[2] = {{1000, 501}, {2500, 1001}};

std::int64_t Triangles(int i) { return 2LL * kSizes[i].slices * (kSizes[i].stacks - 1); }

const std::shared_ptr<MStlBase>& Sphere(int i) {
  static std::shared_ptr<MStlBase> spheres[2];
  if (!spheres[i]) spheres[i] = MStlPrimitives::MakeUvSphere({0, 0, 0}, 50, kSizes[i].slices, kSizes[i].stacks);
  return spheres[i];
}

// A plane through the sphere at a slant, 10 mm off its centre (integer units).
const MMPlaneEq<double> kPlane(0.3, -0.2, 0.93, -10000.0);

void BM_Slice(benchmark::State& state) {
  const int i = state.range(0) == 5 ? 1 : 0;
  MStlBase* mesh = Sphere(i).get();
  std::size_t points = 0;
  for (auto _ : state) {
    MNewSlicer slicer;
    slicer.SetSliceStl(mesh);
    slicer.SetPlaneSliceMode(kPlane, false);
    benchmark::DoNotOptimize(slicer.Operate());
    points = slicer.GetBorder().GetContour(0).GetNumPoints();
  }
  state.counters["contour_points"] = double(points);
  state.SetItemsProcessed(state.iterations() * Triangles(i));
}
BENCHMARK(BM_Slice)->Arg(1)->Arg(5)->ArgName("Mtri")->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Slicing plus filling the section: what a cut face costs when its plane moves.
void BM_CutFace(benchmark::State& state) {
  const int i = state.range(0) == 5 ? 1 : 0;
  UIStlObject object(Sphere(i));
  MFrame<float> frame({-60, -60, 10}, {120, 0, 0}, {0, 120, 0}, {0.3f, -0.2f, 0.93f});
  for (auto _ : state) {
    UISurfaceSection face;
    benchmark::DoNotOptimize(face.Setup(&object, frame, 0));
  }
  state.SetItemsProcessed(state.iterations() * Triangles(i));
}
BENCHMARK(BM_CutFace)->Arg(1)->Arg(5)->ArgName("Mtri")->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// For comparison: making the mesh that is sliced.
void BM_MakeUvSphere(benchmark::State& state) {
  const int i = state.range(0) == 5 ? 1 : 0;
  for (auto _ : state) {
    auto mesh = MStlPrimitives::MakeUvSphere({0, 0, 0}, 50, kSizes[i].slices, kSizes[i].stacks);
    benchmark::DoNotOptimize(mesh.get());
    state.PauseTiming();  // freeing it is not making it
    mesh.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Triangles(i));
}
BENCHMARK(BM_MakeUvSphere)->Arg(1)->Arg(5)->ArgName("Mtri")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

// The whole GetSlicedBorder of a clippable object whose host side makes a new mesh for
// every call (here a copy of the sphere, as a host would from its own data): making
// the mesh plus slicing it plus deleting it.
namespace {
class ClippableSphere : public ISimpleClippableObjectImp {
public:
  explicit ClippableSphere(int size) : ISimpleClippableObjectImp(nullptr), m_size(size) {}

protected:
  void _GetStlToSlice(MStlBase*& mesh, const MMPlaneEq<double>&) override {
    mesh = MStlPrimitives::MakeUvSphere({0, 0, 0}, 50.0f, kSizes[m_size].slices, kSizes[m_size].stacks).release();
  }

private:
  int m_size;
};
}  // namespace

void BM_GetSlicedBorder(benchmark::State& state) {
  ClippableSphere object(state.range(0) == 1 ? 0 : 1);
  std::size_t contours = 0;
  for (auto _ : state) contours += object.GetSlicedBorder(kPlane).GetNumContours();
  benchmark::DoNotOptimize(contours);
}
BENCHMARK(BM_GetSlicedBorder)->Arg(1)->Arg(5)->ArgName("Mtri")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
