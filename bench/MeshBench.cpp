// Mesh loading and traversal at the size the transparency sort and the slicer meet:
// a million triangles. Targets (medians): reading the binary STL file, welded, oriented
// and built into a mesh, takes at most twice as long as reading its bytes into memory
// (BM_ReadFileBytes1M), and so does importing it (which adds telling the format); one
// traversal <= 5 ms.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlImport.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/mesh/MStlReader.h"
#include "host/mesh/MStlTraversal.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// 1000 slices x 501 stacks: exactly 1,000,000 triangles and 499,002 points.
constexpr unsigned kSlices = 1000, kStacks = 501;
constexpr std::int64_t kTriangles = 2LL * kSlices * (kStacks - 1);

std::filesystem::path g_dir;

// Written once per run into a scratch directory that is removed at exit.
const std::string& MillionTriangleStl() {
  static const std::string path = [] {
    g_dir = std::filesystem::temp_directory_path() / ("vistal-mesh-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_dir);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(g_dir, ec);
    });
    const std::string file = (g_dir / "sphere-1m.stl").string();
    WriteStlBinary(*MStlPrimitives::MakeUvSphere({0, 0, 0}, 50, kSlices, kStacks), file);
    return file;
  }();
  return path;
}

// The yardstick: the file's bytes read into memory, as a program that only wanted them
// would (a vector the size of the file, one read).
void BM_ReadFileBytes1M(benchmark::State& state) {
  const std::string& path = MillionTriangleStl();
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes(std::filesystem::file_size(path));
    in.read(bytes.data(), std::streamsize(bytes.size()));
    if (in.gcount() != std::streamsize(bytes.size())) state.SkipWithError("short read");
    benchmark::DoNotOptimize(bytes.data());
    state.PauseTiming();  // as below: freeing is not reading
    bytes = {};
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadFileBytes1M)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_ReadBinaryStl1M(benchmark::State& state) {
  const std::string& path = MillionTriangleStl();
  for (auto _ : state) {
    auto mesh = ReadStl(path);
    benchmark::DoNotOptimize(mesh.get());
    state.PauseTiming();  // freeing the mesh is not loading it
    mesh.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(BM_ReadBinaryStl1M)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The program's way in: the format chosen by content, then the orientation check.
void BM_ImportBinaryStl1M(benchmark::State& state) {
  const std::string& path = MillionTriangleStl();
  for (auto _ : state) {
    auto mesh = ImportMesh(path);
    benchmark::DoNotOptimize(mesh.get());
    state.PauseTiming();
    mesh.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(BM_ImportBinaryStl1M)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// Reads only the triangles: the sweep the transparency cache makes to fill its table.
void BM_TraverseSumNormals1M(benchmark::State& state) {
  const auto mesh = ReadStl(MillionTriangleStl());
  for (auto _ : state) {
    float sum = 0;
    ForEachTriangle(*mesh, [&](const MStlTriangle& t) { sum += t.normal[2]; });
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(BM_TraverseSumNormals1M)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// Also dereferences the corners, as a depth sort does.
void BM_TraverseSumCorners1M(benchmark::State& state) {
  const auto mesh = ReadStl(MillionTriangleStl());
  for (auto _ : state) {
    std::int64_t sum = 0;
    ForEachTriangle(*mesh, [&](const MStlTriangle& t) {
      sum += std::int64_t(t.points[0]->z) + t.points[1]->z + t.points[2]->z;
    });
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(BM_TraverseSumCorners1M)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace
