// Slicing closed meshes of one and five million triangles, as a user dragging a clip plane
// makes it happen every frame; the cost of making such a mesh is measured beside it for
// scale. Target: MNewSlicer <= 5 ms per million triangles (median). And the caps of an
// object clipped by eight planes: all of them made anew <= 50 ms per million triangles
// (median).
#include "host/core/UIStlObject.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/MNewSlicer.h"
#include "host/meshops/UISurfaceSection.h"
#include "testing/NullRender.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"
#include "vistal/clipping/UIOperationClipping.h"
#ifdef VISTAL_BENCH_WITH_SCENE
#include "scene/ClippedMeshObject.h"
#endif

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
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

#ifdef VISTAL_BENCH_WITH_SCENE
// The caps of a mesh object clipped by eight planes, drawn by the clipping data's texture
// pass into a renderer that discards them: each cap is the section of its plane closed
// within what the other seven keep, and filled.
namespace {

class CappedSphere : public ClippedMeshObject {
public:
  using ClippedMeshObject::ClippedMeshObject;
  void DrawCaps(IVRender& render) { _RenderTextures(render, MCoordinateSystem()); }
};

// Eight planes 40 mm from the centre of the sphere (radius 50), around it and alternately
// tilted up and down, each keeping the side towards the centre: every cap is a disk cut
// by its neighbours.
struct EightPlanes {
  std::array<MClippingPlane, 8> planes;

  EightPlanes() {
    for (int i = 0; i < 8; ++i) Place(i, 40.0f);
  }
  void Place(int i, float distance) {
    const float a = 0.785398f * float(i);
    const MMPoint3d<float> n(-0.8f * std::cos(a), -0.8f * std::sin(a), i % 2 ? 0.6f : -0.6f);
    const MMPoint3d<float> u = MMPoint3d<float>(0, 0, 1).Cross(n), v = n.Cross(u);
    planes[i].SetClippingPlane(MFrame<float>(n * -distance - (u + v) * 60.0f, u * 120.0f, v * 120.0f, n));
  }
  void Apply(ClippedMeshObject& object, unsigned long action) {
    UIOperationClipping op;
    op.SetAction(action);
    for (MClippingPlane& p : planes) op.AddClippingPlane(&p);
    object.DoOperation(op);
  }
};

struct SurfaceCreatorScope {
  SurfaceCreatorScope() { MClippingData::mp_surface_creator = &UISurfaceSection::Create; }
  ~SurfaceCreatorScope() { MClippingData::mp_surface_creator = nullptr; }
};

// Every cap made anew for a mesh just loaded (two copies of the sphere take turns, so
// nothing of the last round is any use), the cut faces themselves made through the hook.
void BM_CapsOfEightPlanes(benchmark::State& state) {
  SurfaceCreatorScope hook;
  const std::shared_ptr<MStlBase> meshes[2] = {Sphere(0), MStlPrimitives::MakeUvSphere({0, 0, 0}, 50, 1000, 501)};
  CappedSphere object(meshes[0]);
  EightPlanes eight;
  eight.Apply(object, eClippingAddPlanes);
  NullRender render;
  std::size_t round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    object.SetStl(meshes[++round % 2]);
    eight.Apply(object, eClippingInvalidatePlanes);
    state.ResumeTiming();
    object.DrawCaps(render);
  }
  state.counters["cap_vertices_per_round"] = double(render.VerticesSeen()) / double(state.iterations());
  state.SetItemsProcessed(state.iterations() * Triangles(0));
}
BENCHMARK(BM_CapsOfEightPlanes)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One plane dragged: its cap is cut anew, the other seven are closed again along its
// new line without cutting the mesh.
void BM_CapsWhenOneOfEightPlanesMoves(benchmark::State& state) {
  SurfaceCreatorScope hook;
  CappedSphere object(Sphere(0));
  EightPlanes eight;
  eight.Apply(object, eClippingAddPlanes);
  NullRender render;
  object.DrawCaps(render);
  float distance = 40.0f;
  for (auto _ : state) {
    state.PauseTiming();
    distance = distance < 45.0f ? distance + 0.1f : 40.0f;
    eight.Place(0, distance);
    UIOperationClipping changed;
    changed.SetAction(eClippingPlanesChanged);
    changed.AddClippingPlane(&eight.planes[0]);
    object.DoOperation(changed);
    state.ResumeTiming();
    object.DrawCaps(render);
  }
  state.SetItemsProcessed(state.iterations() * Triangles(0));
}
BENCHMARK(BM_CapsWhenOneOfEightPlanesMoves)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
#endif
