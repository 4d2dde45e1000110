// libFuzzer target for CClipPolyToBoundingBox: arbitrary boxes and frames (every float
// bit pattern, NaN and infinities included), and arbitrary homogeneous polygons for the
// clipper and edge lists for the parallel search underneath. Besides memory errors it
// checks what callers rely on: a failed Operate keeps the previous frame, Operate is
// repeatable, a copy clips the same, and the search answers indices inside the list.
#include "vistal/clipping/CClipPolyToBoundingBox.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class Probe : public CClipPolyToBoundingBox {
public:
  using CClipPolyToBoundingBox::_ClipPolyToFrustum;
  using CClipPolyToBoundingBox::_FindParallelPair;
};

void Check(bool condition) {
  if (!condition) std::abort();
}

// Bitwise, so that NaN results compare equal to themselves.
bool SameBits(const MFrame<float>& a, const MFrame<float>& b) {
  const MMPoint3d<float>* pa[4] = {&a.O, &a.U, &a.V, &a.N};
  const MMPoint3d<float>* pb[4] = {&b.O, &b.U, &b.V, &b.N};
  for (int i = 0; i < 4; ++i) {
    const float fa[3] = {pa[i]->x, pa[i]->y, pa[i]->z};
    const float fb[3] = {pb[i]->x, pb[i]->y, pb[i]->z};
    if (std::memcmp(fa, fb, sizeof fa) != 0) return false;
  }
  return a.carried == b.carried;
}

class Reader {
public:
  Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  template <typename T>
  T Next() {
    T value{};
    const std::size_t n = std::min(sizeof(T), m_size);
    std::memcpy(&value, m_data, n);
    m_data += n;
    m_size -= n;
    return value;
  }
  std::size_t Left() const { return m_size; }

private:
  const std::uint8_t* m_data;
  std::size_t m_size;
};

MMPoint3d<float> NextPoint(Reader& in) {
  const float x = in.Next<float>(), y = in.Next<float>(), z = in.Next<float>();
  return {x, y, z};
}

void FuzzFrames(Reader& in) {
  Probe clip;
  MFrame<float> previous;
  while (in.Left() >= 18 * sizeof(float)) {
    M3DBoundingBox<float> box;
    box.xmin = in.Next<float>(), box.xmax = in.Next<float>();
    box.ymin = in.Next<float>(), box.ymax = in.Next<float>();
    box.zmin = in.Next<float>(), box.zmax = in.Next<float>();
    MFrame<float> frame;
    frame.O = NextPoint(in);
    frame.U = NextPoint(in);
    frame.V = NextPoint(in);
    frame.N = NextPoint(in);

    clip.SetParams(box, &frame);
    const Probe copy(clip);
    const bool ok = clip.Operate();
    const MFrame<float> result = *clip.GetClippedFrame();
    if (!ok) Check(SameBits(result, previous));
    Check(result.carried == 0);

    Check(clip.Operate() == ok);
    Check(SameBits(*clip.GetClippedFrame(), result));
    Probe again(copy);
    Check(again.Operate() == ok);
    if (ok) Check(SameBits(*again.GetClippedFrame(), result));
    previous = result;
  }
}

void FuzzClipper(Reader& in) {
  const int count = in.Next<std::uint8_t>() % 64;
  std::vector<double> points(4 * std::size_t(count));
  for (double& v : points) v = in.Next<double>();
  Probe clip;
  double* raw = nullptr;
  const int n = clip._ClipPolyToFrustum(points.data(), count, raw);
  const std::unique_ptr<double[]> out(raw);
  Check(n >= 0 && out != nullptr);
  volatile double sink = 0;
  for (int i = 0; i < 4 * n; ++i) sink = sink + out[i];
}

void FuzzSearch(Reader& in) {
  const std::size_t m = in.Next<std::uint8_t>() % 16;
  std::vector<MMLine> lines;
  for (std::size_t i = 0; i < m; ++i) {
    const MMPoint3d<double> s(NextPoint(in)), e(NextPoint(in));
    lines.emplace_back(s, e);
  }
  unsigned first = in.Next<std::uint8_t>() % 20, second = in.Next<std::uint8_t>() % 20;
  Probe clip;
  if (clip._FindParallelPair(first, second, lines)) Check(first + 3 < m && second < m);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Reader in(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0: FuzzFrames(in); break;
    case 1: FuzzClipper(in); break;
    default: FuzzSearch(in); break;
  }
  return 0;
}
