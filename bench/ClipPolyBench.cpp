// Cost of clipping one frame to a box: SetParams plus Operate, as a view pays it per
// frame it draws.
#include "vistal/clipping/CClipPolyToBoundingBox.h"

#include <benchmark/benchmark.h>

namespace {

using P3f = MMPoint3d<float>;

const M3DBoundingBox<float> kBox(-10, 10, -20, 20, -30, 30);

void Run(benchmark::State& state, const MFrame<float>& frame) {
  CClipPolyToBoundingBox clip;
  for (auto _ : state) {
    clip.SetParams(kBox, &frame);
    benchmark::DoNotOptimize(clip.Operate());
    benchmark::DoNotOptimize(clip.GetClippedFrame()->O.x);
  }
}

// A slanted frame whose corner pokes into the box: clipped to a quadrilateral by four
// of the six faces.
void BM_ClipFrameCuttingThroughBox(benchmark::State& state) {
  Run(state, MFrame<float>(P3f(30, -40, 5), P3f(10, 80, 0), P3f(-40, -40, 0), P3f(0, 0, 1)));
}
BENCHMARK(BM_ClipFrameCuttingThroughBox);

// A frame wholly inside: all five points survive and the parallel-edge search runs.
void BM_ClipFrameInsideBox(benchmark::State& state) {
  Run(state, MFrame<float>(P3f(-5, -10, 3), P3f(8, 2, 1), P3f(-1, 12, 4), P3f(0, 0, 1)));
}
BENCHMARK(BM_ClipFrameInsideBox);

}  // namespace
