// MMTransformMatrix::TransformPoint per call, through the base interface as callers use it.
#include "host/framework/MMTransformMatrix.h"

#include <benchmark/benchmark.h>

namespace {

void MapPoints(benchmark::State& state, const MMTransform& t) {
  MMPoint3d<double> in(1.25, -2.5, 3.75), out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(in);
    t.TransformPoint(out, in, false);
    benchmark::DoNotOptimize(out);
  }
}

void BM_TransformPointGeneral(benchmark::State& state) {
  // A projective matrix: the costliest path, with the division by the weight.
  const double m[16] = {2, 1, 0, 3, 0, 1, 4, 0, 1, 0, 1, 2, 0.1, 0, 0, 1};
  MapPoints(state, MMTransformMatrix(m));
}
BENCHMARK(BM_TransformPointGeneral);

void BM_TransformPointRigid(benchmark::State& state) {
  MMTransformMatrix rigid;
  rigid.SetRotation({1, 2, 3}, 0.7, {4, 5, 6});
  MapPoints(state, rigid);
}
BENCHMARK(BM_TransformPointRigid);

}  // namespace
