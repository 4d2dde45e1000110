// Section borders: deep copies, flags, and the process-wide pool their point nodes come from.
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

std::size_t LiveNodes(std::size_t nodeSize) {
  for (const M3dBorderNodePoolStats& s : M3dBorderGetNodePoolStats())
    if (s.nodeSize == nodeSize) return s.liveNodes;
  return 0;
}

M3dBorderNodePoolStats PoolOf(std::size_t nodeSize) {
  for (const M3dBorderNodePoolStats& s : M3dBorderGetNodePoolStats())
    if (s.nodeSize == nodeSize) return s;
  return {};
}

// The size of a slicer border's point nodes: the pool that one new point lands in.
std::size_t SlicePointNodeSize() {
  std::vector<M3dBorderNodePoolStats> before = M3dBorderGetNodePoolStats();
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

TEST(M3dBorder, CopiesAreDeepAndKeepOrderFlagsAndData) {
  Border border;
  Contour& first = border.AddContour();
  for (int i = 0; i < 5; ++i) first.AddPoint(i, -i, Data(i));
  first.SetClosed(true);
  first.SetFlag(3, 7);
  border.AddContour().AddPoint(10, 20, Data(30));

  Border copy = border;
  ASSERT_EQ(copy.GetNumContours(), 2u);
  EXPECT_TRUE(copy.GetContour(0).IsClosed());
  EXPECT_EQ(copy.GetContour(0).GetFlag(3), 7);
  EXPECT_FALSE(copy.GetContour(1).IsClosed());
  int i = 0;
  for (const auto& p : copy.GetContour(0).GetPoints()) {
    EXPECT_EQ(p.x, i);
    EXPECT_EQ(p.y, -i);
    EXPECT_EQ(p.data.point.z, i);
    ++i;
  }
  EXPECT_EQ(i, 5);

  // Changing the copy leaves the source alone, and the other way round.
  copy.GetContour(0).GetPoints().front().x = 99;
  copy.GetContour(0).AddPoint(5, 5, Data(5));
  copy.GetContour(0).SetClosed(false);
  border.GetContour(1).Clear();
  EXPECT_EQ(border.GetContour(0).GetPoints().front().x, 0);
  EXPECT_EQ(border.GetContour(0).GetNumPoints(), 5u);
  EXPECT_TRUE(border.GetContour(0).IsClosed());
  EXPECT_EQ(copy.GetContour(1).GetNumPoints(), 1u);

  copy = border;
  EXPECT_EQ(copy.GetContour(0).GetNumPoints(), 5u);
  EXPECT_TRUE(copy.GetContour(1).IsEmpty());
  EXPECT_EQ(copy.GetContour(0).GetFlag(3), 7);
  copy.Clear();
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_EQ(border.GetNumContours(), 2u);
}

TEST(M3dBorderNodePool, GrowsFromBlocksOf32DoublingAndReleasesThemWhenUnused) {
  const std::size_t nodeSize = SlicePointNodeSize();
  ASSERT_NE(nodeSize, 0u);
  ASSERT_EQ(LiveNodes(nodeSize), 0u);
  M3dBorderReleaseUnusedNodes();
  EXPECT_EQ(PoolOf(nodeSize).nextBlockNodes, 32u);  // all blocks gone: the next is the first

  Contour c;
  c.AddPoint(0, 0, Data(0));
  EXPECT_EQ(PoolOf(nodeSize).nextBlockNodes, 64u);  // one block of 32 taken
  for (int i = 1; i < 32; ++i) c.AddPoint(i, 0, Data(0));
  EXPECT_EQ(PoolOf(nodeSize).nextBlockNodes, 64u);
  c.AddPoint(32, 0, Data(0));
  EXPECT_EQ(PoolOf(nodeSize).nextBlockNodes, 128u);
  for (int i = 33; i < 97; ++i) c.AddPoint(i, 0, Data(0));
  EXPECT_EQ(PoolOf(nodeSize).nextBlockNodes, 256u);  // 32 + 64 + 128 >= 97
  EXPECT_EQ(LiveNodes(nodeSize), 97u);

  // Blocks that still hold live nodes stay.
  M3dBorderReleaseUnusedNodes();
  EXPECT_EQ(c.GetNumPoints(), 97u);
  EXPECT_EQ(c.GetPoints().back().x, 96);

  c.Clear();
  EXPECT_EQ(LiveNodes(nodeSize), 0u);
  EXPECT_TRUE(M3dBorderReleaseUnusedNodes());
  EXPECT_EQ(PoolOf(nodeSize).nextBlockNodes, 32u);
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
