// The line containers (box edges, frame outline, 3D border, mesh border contour) against
// the recording renderer: which segments, in which order, with which orientation.
#include "ContainerTestSupport.h"
#include "host/framework/MMTransformMatrix.h"
#include "host/mesh/MStlPoint.h"
#include "vistal/containers/IVVertexContainerBoundingBox.h"
#include "vistal/containers/IVVertexContainerFrame.h"
#include "vistal/containers/IVVertexContainerM3dBorder.h"
#include "vistal/containers/IVVertexContainerMStlSurfaceBorderContour.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The twelve edges of the unit box as 24 vertices; corner i has x = bit 0, y = bit 1, z = bit 2.
std::vector<IVVertexP> UnitBoxEdges() {
  auto corner = [](int i) { return IVVertexP{float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)}; };
  std::vector<IVVertexP> v;
  for (int i = 0; i < 8; ++i)
    for (int bit : {1, 2, 4})
      if (!(i & bit)) {
        v.push_back(corner(i));
        v.push_back(corner(i | bit));
      }
  return v;
}

bool HasEnd(const Line& l, float x, float y, float z) {
  return (l[0] == x && l[1] == y && l[2] == z) || (l[3] == x && l[4] == y && l[5] == z);
}

MMTransformMatrix Matrix(std::initializer_list<double> rowMajor) {
  std::vector<double> m(rowMajor);
  return MMTransformMatrix(m.data());
}

TEST(VertexContainerBoundingBox, SplitsEdgesAtTheLowestFaceIntoTwoHalves) {
  RecordingRender render;
  std::vector<IVVertexP> box = UnitBoxEdges();
  const MMTransformMatrix identity;
  IVVertexContainerBoundingBox container;

  container.SetParams(&box, &identity, false);
  DrawNow(container, render);
  const std::vector<Line> lowest = LoggedLines(render);
  ASSERT_EQ(lowest.size(), 8u);
  for (const Line& l : lowest) EXPECT_TRUE(l[2] == 0.0f || l[5] == 0.0f);

  container.SetParams(&box, &identity, true);
  DrawNow(container, render);
  const std::vector<Line> others = LoggedLines(render);
  ASSERT_EQ(others.size(), 4u);
  for (const Line& l : others) EXPECT_TRUE(l[2] == 1.0f && l[5] == 1.0f);
  EXPECT_EQ(render.CountOf(ERenderCall::BeginLines), 1u);
  EXPECT_EQ(render.CountOf(ERenderCall::End), 1u);
}

TEST(VertexContainerBoundingBox, TransformDecidesTheLowestCornerButStoredVerticesAreDrawn) {
  RecordingRender render;
  std::vector<IVVertexP> box = UnitBoxEdges();
  // z' = x + 2y + 4z + 5, shifted in x too: only corner (0, 0, 0) is lowest.
  const MMTransformMatrix tilt = Matrix({1, 0, 0, 100, 0, 1, 0, 0, 1, 2, 4, 5, 0, 0, 0, 1});
  IVVertexContainerBoundingBox container;

  container.SetParams(&box, &tilt, false);
  DrawNow(container, render);
  const std::vector<Line> atCorner = LoggedLines(render);
  ASSERT_EQ(atCorner.size(), 3u);
  for (const Line& l : atCorner) EXPECT_TRUE(HasEnd(l, 0, 0, 0));

  container.SetParams(&box, &tilt, true);
  DrawNow(container, render);
  const std::vector<Line> rest = LoggedLines(render);
  ASSERT_EQ(rest.size(), 9u);
  for (const Line& l : rest) {
    EXPECT_FALSE(HasEnd(l, 0, 0, 0));
    for (float c : l) EXPECT_TRUE(c == 0.0f || c == 1.0f) << "a mapped vertex was drawn";
  }

  // Upside down, the face z = 1 is the lowest.
  const MMTransformMatrix flip = Matrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1});
  container.SetParams(&box, &flip, false);
  DrawNow(container, render);
  const std::vector<Line> top = LoggedLines(render);
  ASSERT_EQ(top.size(), 8u);
  for (const Line& l : top) EXPECT_TRUE(l[2] == 1.0f || l[5] == 1.0f);
}

TEST(VertexContainerBoundingBox, UnsetEmptyAndOddVertexLists) {
  RecordingRender render;
  IVVertexContainerBoundingBox container;
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  std::vector<IVVertexP> empty;
  container.SetParams(&empty, nullptr, false);
  render.Clear();
  container.SetModeDynamic(true);
  EXPECT_THROW(container.RenderTriangles(render, true, false, 0), std::out_of_range);
  EXPECT_EQ(render.Kinds(), std::vector<ERenderCall>{ERenderCall::BeginLines});
  // A recording cut short is not kept: every static render fails the same way.
  container.SetModeDynamic(false);
  for (int attempt = 0; attempt < 2; ++attempt)
    EXPECT_THROW(container.RenderTriangles(render, true, false, 0), std::out_of_range) << attempt;
  EXPECT_EQ(container.GetRecorded(), nullptr);

  // The unpaired last vertex lies lowest but belongs to no edge, so it decides nothing.
  std::vector<IVVertexP> odd = {{0, 0, 1}, {1, 0, 1}, {5, 5, -9}};
  container.SetParams(&odd, nullptr, false);
  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render), (std::vector<Line>{{0, 0, 1, 1, 0, 1}}));
}

TEST(VertexContainerBoundingBox, NewParametersReplaceWhatWasRecordedAndCopiesKeepThem) {
  RecordingRender render;
  std::vector<IVVertexP> box = UnitBoxEdges();
  IVVertexContainerBoundingBox container;
  container.SetParams(&box, nullptr, false);
  container.Render(render);  // static mode: recorded once, drawn from the record
  EXPECT_EQ(DrawnVertices<IVVertexP>(render).size(), 16u);

  container.SetParams(&box, nullptr, true);
  render.Clear();
  container.Render(render);
  EXPECT_EQ(DrawnVertices<IVVertexP>(render).size(), 8u);

  IVVertexContainerBoundingBox copy(container);
  EXPECT_EQ(copy.GetVertices(), &box);
  EXPECT_TRUE(copy.GetExcludeMinimumZ());
  render.Clear();
  copy.Render(render);
  EXPECT_EQ(DrawnVertices<IVVertexP>(render).size(), 8u);
}

TEST(VertexContainerFrame, DrawsFourEdgesInFixedOrderAndOrientation) {
  RecordingRender render;
  IVVertexContainerFrame container;
  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render), std::vector<Line>(4, Line{}));

  MFrame<float> frame({0, 0, 0}, {1, 0, 0}, {0, 2, 0}, {0, 0, 1});
  container.SetParams(frame);
  frame.O = {9, 9, 9};  // the container keeps its own copy
  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render), (std::vector<Line>{
                                     {0, 0, 0, 1, 0, 0},
                                     {1, 2, 0, 1, 0, 0},
                                     {1, 2, 0, 0, 2, 0},
                                     {0, 0, 0, 0, 2, 0},
                                 }));

  frame = MFrame<float>({1, 2, 3}, {0.5f, 0, 0}, {0, 0, 0.25f}, {0, -1, 0});
  frame.carried = 42;
  container.SetParams(frame);
  EXPECT_EQ(container.GetFrame(), frame);
  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render), (std::vector<Line>{
                                     {1, 2, 3, 1.5f, 2, 3},
                                     {1.5f, 2, 3.25f, 1.5f, 2, 3},
                                     {1.5f, 2, 3.25f, 1, 2, 3.25f},
                                     {1, 2, 3, 1, 2, 3.25f},
                                 }));
}

TEST(VertexContainerM3dBorder, DrawsEveryContourOpenOrClosedInChainOrder) {
  RecordingRender render;
  IVVertexContainerM3dBorder container;
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  M3dBorder<float, float> border;
  container.SetBorder(&border);
  DrawNow(container, render);
  EXPECT_EQ(render.Kinds(), (std::vector<ERenderCall>{ERenderCall::BeginLines, ERenderCall::End}));

  auto& triangle = border.AddContour();  // the payload is z
  triangle.AddPoint(0, 0, 1);
  triangle.AddPoint(1, 0, 1);
  triangle.AddPoint(1, 1, 1);
  triangle.SetClosed(true);
  auto& path = border.AddContour();
  path.AddPoint(5, 5, 0);
  path.AddPoint(6, 5, 0);
  path.AddPoint(7, 5, 0);
  border.AddContour();  // empty
  border.AddContour().AddPoint(8, 8, 8);  // one open point: nothing to join
  auto& dot = border.AddContour();
  dot.AddPoint(9, 9, 9);
  dot.SetClosed(true);

  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render), (std::vector<Line>{
                                     {0, 0, 1, 1, 0, 1},
                                     {1, 0, 1, 1, 1, 1},
                                     {1, 1, 1, 0, 0, 1},
                                     {5, 5, 0, 6, 5, 0},
                                     {6, 5, 0, 7, 5, 0},
                                     {9, 9, 9, 9, 9, 9},
                                 }));
  EXPECT_EQ(render.CountOf(ERenderCall::BeginLines), 1u);
}

TEST(VertexContainerMStlSurfaceBorderContour, JoinsPointsInRingOrderInSceneUnits) {
  RecordingRender render;
  IVVertexContainerMStlSurfaceBorderContour container;
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  ScopedIE scale(1000);
  const MStlPoint a(1500, -250, 0), b(2000, 0, 0), c(0, 1000, 500);
  const MStlPoint* abc[] = {&a, &b, &c};
  MStlSurfaceBorderContour closed(abc, true);
  container.SetParams(&closed);
  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render), (std::vector<Line>{
                                     {1.5f, -0.25f, 0, 2, 0, 0},
                                     {2, 0, 0, 0, 1, 0.5f},
                                     {0, 1, 0.5f, 1.5f, -0.25f, 0},
                                 }));

  MStlSurfaceBorderContour open(abc, false);
  container.SetParams(&open);
  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render).size(), 2u);
  EXPECT_EQ(LoggedLines(render).back(), (Line{2, 0, 0, 0, 1, 0.5f}));

  {
    ScopedIE coarse(4);
    DrawNow(container, render);
    EXPECT_EQ(LoggedLines(render).front(), (Line{375, -62.5f, 0, 500, 0, 0}));
  }

  const MStlPoint* one[] = {&b};
  MStlSurfaceBorderContour dot(one, true);
  container.SetParams(&dot);
  DrawNow(container, render);
  EXPECT_EQ(LoggedLines(render), (std::vector<Line>{{2, 0, 0, 2, 0, 0}}));

  dot.SetClosed(false);
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  MStlSurfaceBorderContour none({}, true);
  container.SetParams(&none);
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());
}

}  // namespace
