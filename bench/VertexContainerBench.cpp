// The per-frame cost of the mesh containers on a large mesh: one _Optimise into the
// recorded batches that a static-mode render keeps, drawn on a renderer that discards
// the vertices, so only the CPU work of the containers is measured.
#include "host/framework/MMTransformMatrix.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "testing/NullRender.h"
#include "vistal/containers/IVVertexContainerStlDataAnimation.h"
#include "vistal/containers/IVVertexContainerTexturedPlane.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<MStlBase> Sphere(std::size_t triangles) {
  const unsigned slices = unsigned(std::sqrt(double(triangles) / 2.0 * 1.6));
  const unsigned stacks = unsigned(double(triangles) / 2.0 / slices) + 1;
  return MStlPrimitives::MakeUvSphere({0.0f, 0.0f, 0.0f}, 40.0f, slices, stacks);
}

class Displacements : public IVDisplacementSource {
public:
  explicit Displacements(const MStlBase& mesh) : m_values(mesh.GetNumPoints(), MMPoint3d<float>(1, 2, 3)) {}
  const MMPoint3d<float>& GetInfo(const MStlPoint& p) const override { return m_values[p.GetMaskIndex()]; }

private:
  std::vector<MMPoint3d<float>> m_values;
};

void BM_StlDataAnimation(benchmark::State& state) {
  std::unique_ptr<MStlBase> mesh = Sphere(std::size_t(state.range(0)));
  Displacements d(*mesh);
  IVVertexContainerStlDataAnimation container(mesh.get(), &d);
  container.SetAnimationScale(0.5f);
  NullRender render;
  for (auto _ : state) {
    container.DestroyRenderOptimisations();
    container.Render(render);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * mesh->GetNumTriangles());
}
BENCHMARK(BM_StlDataAnimation)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Every triangle is marked, so each is drawn twice: once marked, once as a record.
void BM_TexturedPlane(benchmark::State& state) {
  std::unique_ptr<MStlBase> mesh = Sphere(std::size_t(state.range(0)));
  mesh->GetCompactTriangleArray();
  for (unsigned s = 0; s < mesh->GetNumSurfaces(); ++s)
    for (const MStlTriangle* t = mesh->GetSurface(s)->first; t; t = t->next) t->SetMarked(true);
  IVVertexContainerTexturedPlane container(mesh.get());
  const double m[16] = {2, 0, 0, 5, 0, 2, 0, 7, 0, 0, 1, 0, 0, 0, 0, 1};
  container.SetParams(MMTransformMatrix(m), 1, 1, 80, 80, true);
  NullRender render;
  for (auto _ : state) {
    container.DestroyRenderOptimisations();
    container.Render(render);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * mesh->GetNumTriangles());
}
BENCHMARK(BM_TexturedPlane)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
