// The process-wide pool that the point nodes of section borders come from.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/M3dBorder.h"
#include "host/meshops/MNewSlicer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using Border = MNewSlicer::Border;
using Contour = MNewSlicer::Contour;

MStlSlicerBase::MSlicePointData Data(double z) {
  MStlSlicerBase::MSlicePointData d;
  d.point = {0, 0, z};
  return d;
}

M3dBorderNodePoolStats PoolOf(std::size_t nodeSize) {
  for (const M3dBorderNodePoolStats& s : M3dBorderGetNodePoolStats())
    if (s.nodeSize == nodeSize) return s;
  return {};
}
std::size_t LiveNodes(std::size_t nodeSize) { return PoolOf(nodeSize).liveNodes; }

// The size of a slicer border's point nodes: the pool that one new point lands in.
std::size_t SlicePointNodeSize() {
  const std::vector<M3dBorderNodePoolStats> before = M3dBorderGetNodePoolStats();
  Contour c;
  c.AddPoint(1, 2, Data(3));
  for (const M3dBorderNodePoolStats& s : M3dBorderGetNodePoolStats()) {
    std::size_t was = 0;
    for (const M3dBorderNodePoolStats& b : before)
      if (b.nodeSize == s.nodeSize) was = b.liveNodes;
    if (s.liveNodes == was + 1) return s.nodeSize;
  }
  ADD_FAILURE() << "no pool took the point";
  return 0;
}

}  // namespace

TEST(M3dBorderNodePool, ReleasesOnlyBlocksWithoutLiveNodes) {
  const std::size_t nodeSize = SlicePointNodeSize();
  ASSERT_NE(nodeSize, 0u);
  Contour c;  // 97 points: three blocks, the last partly used
  for (int i = 0; i < 97; ++i) c.AddPoint(i, 0, Data(0));
  EXPECT_EQ(LiveNodes(nodeSize), 97u);
  M3dBorderReleaseUnusedNodes();
  EXPECT_EQ(c.GetPoints().back().x, 96);
  c.Clear();
  EXPECT_EQ(LiveNodes(nodeSize), 0u);
  EXPECT_TRUE(M3dBorderReleaseUnusedNodes());
  EXPECT_EQ(PoolOf(nodeSize).nextBlockNodes, 32u) << "all blocks gone: the next is the first";
}

TEST(M3dBorderNodePool, IsOneForTheProcessWhicheverLibraryAllocatesOrFrees) {
  // The slicer's border is filled inside the host library; this program copies it and
  // frees both. All nodes go back to the pool they came from.
  const std::size_t nodeSize = SlicePointNodeSize();
  const std::size_t before = LiveNodes(nodeSize);
  auto sphere = MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 32, 16);
  std::size_t points = 0;
  {
    auto slicer = std::make_unique<MNewSlicer>();
    slicer->SetSliceStl(sphere.get());
    slicer->SetPlaneSliceMode({0, 0, 1, 0}, false);
    ASSERT_TRUE(slicer->Operate());
    points = slicer->GetBorder().GetContour(0).GetNumPoints();
    EXPECT_EQ(LiveNodes(nodeSize), before + points);
    Border copy = slicer->GetBorder();
    EXPECT_EQ(LiveNodes(nodeSize), before + 2 * points);
    slicer.reset();
    EXPECT_EQ(LiveNodes(nodeSize), before + points);
    EXPECT_EQ(copy.GetContour(0).GetNumPoints(), points);
  }
  EXPECT_EQ(LiveNodes(nodeSize), before);
}

TEST(M3dBorderNodePool, ServesTwoThreadsAtOnce) {
  const std::size_t nodeSize = SlicePointNodeSize();
  const std::size_t before = LiveNodes(nodeSize);
  std::atomic<int> failures{0};
  auto work = [&](int seed) {
    for (int round = 0; round < 300; ++round) {
      Border border;
      const int contours = 1 + (round + seed) % 4;
      for (int c = 0; c < contours; ++c) {
        Contour& contour = border.AddContour();
        for (int i = 0; i < 20 + (round * 7 + c + seed) % 50; ++i) contour.AddPoint(seed, i, Data(round));
      }
      Border copy = border;
      border.GetContour(0).Clear();
      for (std::size_t c = 0; c < copy.GetNumContours(); ++c) {
        int i = 0;
        for (const auto& p : copy.GetContour(c).GetPoints())
          if (p.x != seed || p.y != i++ || p.data.point.z != round) ++failures;
      }
      if (round % 50 == 0) M3dBorderReleaseUnusedNodes();
    }
  };
  std::thread a(work, 1), b(work, 2);
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(LiveNodes(nodeSize), before);
}
