// A frame of the transparency cache: depth pass, sort and streaming of all triangles,
// against a renderer that discards the vertices, so only the CPU work is measured. The
// std::sort baseline sorts a deque of the same entries with the greater-depth comparator.
#include "BenchSphere.h"

#include "testing/NullRender.h"
#include "vistal/containers/IVTransparencyCache.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <deque>
#include <memory>
#include <random>
#include <vector>

namespace {

// Three overlapping spheres of about a third of the triangles each.
struct Scene {
  std::vector<std::unique_ptr<MStlBase>> meshes;
  std::size_t triangles = 0;

  explicit Scene(std::size_t total) {
    for (int i = 0; i < 3; ++i) {
      meshes.push_back(SphereOfAbout(double(total) / 3.0, {float(i) * 20.0f, 0.0f, 0.0f}));
      triangles += meshes.back()->GetNumTriangles();
    }
  }

  static Scene& Get(std::size_t total) {
    static std::unique_ptr<Scene> scenes[2];
    auto& s = scenes[total > 2000000 ? 1 : 0];
    if (!s) s = std::make_unique<Scene>(total);
    return *s;
  }
};

void Frame(IVTransparencyCache& cache, NullRender& render, Scene& scene, float angle) {
  float direction[3] = {std::sin(angle), 0.3f, std::cos(angle)};
  for (auto& mesh : scene.meshes) {
    // The eye far out along the reversed direction, in integer units.
    float eye[3] = {-direction[0] * 1e6f, -direction[1] * 1e6f, -direction[2] * 1e6f};
    float d[3] = {direction[0], direction[1], direction[2]};
    cache.AddSTL(mesh.get(), eye, d);
  }
  cache.RenderStlTransparentPN(&render);
}

// Kilobytes of the process's resident memory now, or at its peak since ResetPeak.
long ResidentKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_ReSortingFrame(benchmark::State& state) {
  Scene& scene = Scene::Get(std::size_t(state.range(0)));
  NullRender render;
  ResetPeak();
  const long before = ResidentKb("VmRSS:");
  {
    IVTransparencyCache cache(&render);
    float angle = 0.0f;
    Frame(cache, render, scene, angle);  // builds the table
    for (auto _ : state) {
      angle += 0.02f;  // the view turns every frame; tolerance 0 re-sorts every frame
      Frame(cache, render, scene, angle);
    }
  }
  // What the cache took at its peak beside the meshes, as the kernel counts it.
  const long peak = ResidentKb("VmHWM:");
  state.counters["triangles"] = double(scene.triangles);
  if (before > 0 && peak > 0) state.counters["peak_bytes_per_triangle"] = double(peak - before) * 1024.0 / double(scene.triangles);
  benchmark::DoNotOptimize(render.VerticesSeen());
}
BENCHMARK(BM_ReSortingFrame)->Arg(1000000)->Arg(5000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SkippedSortFrame(benchmark::State& state) {
  Scene& scene = Scene::Get(std::size_t(state.range(0)));
  NullRender render;
  IVTransparencyCache cache(&render);
  cache.SetSkipSortTolerance(10.0f);
  Frame(cache, render, scene, 0.0f);
  // The view turns back and forth by a degree, within half the tolerance of the direction
  // of the last sort: every frame skips the sort but makes and streams all vertices.
  float angle = 0.0f;
  for (auto _ : state) {
    angle = angle == 0.0f ? 0.0175f : 0.0f;
    Frame(cache, render, scene, angle);
  }
  state.counters["triangles"] = double(scene.triangles);
  benchmark::DoNotOptimize(render.VerticesSeen());
}
BENCHMARK(BM_SkippedSortFrame)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: std::sort of a deque of table entries by greater depth.
void BM_StdSortBaseline(benchmark::State& state) {
  struct Entry {
    const void* triangle;
    float depth;
  };
  std::mt19937 random(7);
  std::uniform_real_distribution<float> depth(-1e6f, 1e6f);
  std::deque<Entry> source;
  for (long i = 0; i < state.range(0); ++i) source.push_back({nullptr, depth(random)});
  for (auto _ : state) {
    state.PauseTiming();
    std::deque<Entry> table = source;
    state.ResumeTiming();
    std::sort(table.begin(), table.end(), [](const Entry& a, const Entry& b) { return a.depth > b.depth; });
    benchmark::DoNotOptimize(table.front());
  }
}
BENCHMARK(BM_StdSortBaseline)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
