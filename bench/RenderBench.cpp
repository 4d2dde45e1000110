// Frames per second on this machine's software rasteriser (Mesa llvmpipe through EGL):
// the built-in phantom scene at 800x600, and one transparent mesh of about a million
// triangles re-sorted every frame as the view turns.
#include "scene/SceneRenderer.h"
#include "backends/gl/IVRenderGL.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void Run(benchmark::State& state, Scene scene) {
  IVRenderGL render(scene.view.width, scene.view.height);
  SceneRenderer renderer(std::move(scene));
  renderer.Render(render, render.GetSurface());  // makes cut faces and GPU buffers
  float angle = 0.0f;
  for (auto _ : state) {
    angle += 0.05f;  // a turning view: the transparent table is re-sorted every frame
    renderer.SetViewDirection({-std::cos(angle), -std::sin(angle), -0.6f});
    renderer.Render(render, render.GetSurface());  // StopFrame waits for the picture
  }
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PhantomFrame800x600(benchmark::State& state) { Run(state, MakePhantomScene()); }
BENCHMARK(BM_PhantomFrame800x600)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TransparentMillionTriangles800x600(benchmark::State& state) {
  Scene scene;
  scene.meshes.push_back({"sphere", MStlPrimitives::MakeUvSphere({0, 0, 0}, 50.0f, 1000, 501), 0x40C0F0, 0.5f});
  state.counters["triangles"] = double(scene.meshes[0].mesh->GetNumTriangles());
  Run(state, std::move(scene));
}
BENCHMARK(BM_TransparentMillionTriangles800x600)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
