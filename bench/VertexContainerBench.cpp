// The per-frame cost of the mesh containers on a large mesh. "Emit" runs _Optimise into
// a stream that only folds the vertices into a checksum: the containers' own work.
// "Record" is a static-mode render on a renderer that discards the draw: the emission
// plus the render library's recording of every vertex.
#include "BenchSphere.h"

#include "host/framework/MMTransformMatrix.h"
#include "host/mesh/MStlBase.h"
#include "testing/NullRender.h"
#include "vistal/containers/IVVertexContainerStlDataAnimation.h"
#include "vistal/containers/IVVertexContainerTexturedPlane.h"

#include "vistal/masks/MDataMask.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// The mesh's displacement mask with every point moved by (1, 2, 3).
class Displacements : public MStlVectorMaskPoints {
public:
  explicit Displacements(MStlBase& mesh) : MStlVectorMaskPoints(mesh, MMPoint3d<float>(1, 2, 3)) {}
};

template <typename V>
class ChecksumStream final : public IIVVertexStream<V> {
public:
  void BeginTriangles() override {}
  void BeginLines() override {}
  void BeginPoints() override {}
  void End() override {}
  void AddTriangle(const V& a, const V& b, const V& c) override { sum += a.x + b.y + c.z; }
  void AddLine(const V&, const V&) override {}
  void AddPoint(const V&) override {}
  float sum = 0;
};

// One benchmark frame: the container's emission alone, or a static-mode render that
// records it.
template <bool record, typename Container, typename V>
void Frame(Container& container, NullRender& render, ChecksumStream<V>& stream) {
  if (record) {
    container.DestroyRenderOptimisations();
    container.Render(render);
  } else {
    container._Optimise(stream);
  }
  benchmark::DoNotOptimize(stream.sum);
}

struct Animation : IVVertexContainerStlDataAnimation {
  using IVVertexContainerStlDataAnimation::IVVertexContainerStlDataAnimation;
  using IVVertexContainerStlDataAnimation::_Optimise;
};

struct Plane : IVVertexContainerTexturedPlane {
  using IVVertexContainerTexturedPlane::IVVertexContainerTexturedPlane;
  using IVVertexContainerTexturedPlane::_Optimise;
};

template <bool record>
void BM_StlDataAnimation(benchmark::State& state) {
  std::unique_ptr<MStlBase> mesh = SphereOfAbout(double(state.range(0)));
  Displacements d(*mesh);
  Animation container(mesh.get(), &d);
  container.SetAnimationScale(0.5f);
  NullRender render;
  ChecksumStream<IVVertexPN> stream;
  for (auto _ : state) Frame<record>(container, render, stream);
  state.SetItemsProcessed(state.iterations() * mesh->GetNumTriangles());
}
BENCHMARK(BM_StlDataAnimation<false>)->Name("StlDataAnimation/Emit")->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StlDataAnimation<true>)->Name("StlDataAnimation/Record")->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// Every triangle is marked, so each is emitted twice: once marked, once as a record.
template <bool record>
void BM_TexturedPlane(benchmark::State& state) {
  std::unique_ptr<MStlBase> mesh = SphereOfAbout(double(state.range(0)));
  mesh->GetCompactTriangleArray();
  for (unsigned s = 0; s < mesh->GetNumSurfaces(); ++s)
    for (const MStlTriangle* t = mesh->GetSurface(s)->first; t; t = t->next) t->SetMarked(true);
  Plane container(mesh.get());
  const double m[16] = {2, 0, 0, 5, 0, 2, 0, 7, 0, 0, 1, 0, 0, 0, 0, 1};
  container.SetParams(MMTransformMatrix(m), 1, 1, 80, 80, true);
  NullRender render;
  ChecksumStream<IVVertexPNT> stream;
  for (auto _ : state) Frame<record>(container, render, stream);
  state.SetItemsProcessed(state.iterations() * 2 * mesh->GetNumTriangles());
}
BENCHMARK(BM_TexturedPlane<false>)->Name("TexturedPlane/Emit")->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TexturedPlane<true>)->Name("TexturedPlane/Record")->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
