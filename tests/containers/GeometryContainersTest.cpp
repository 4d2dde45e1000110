// The line containers (box edges, frame outline, 3D border, mesh border contour) against
// the recording renderer: which segments, in which order, with which orientation.
#include "ContainerTestSupport.h"
#include "host/mesh/MStlPoint.h"
#include "vistal/containers/IVVertexContainerBoundingBox.h"
#include "vistal/containers/IVVertexContainerFrame.h"
#include "vistal/containers/IVVertexContainerM3dBorder.h"
#include "vistal/containers/IVVertexContainerMStlSurfaceBorderContour.h"

#include <gtest/gtest.h>

#include <array>
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

// With excludeMinimumZ false a box draws the edges that touch its lowest face (or corner)
// after the transform, else all the others; always the stored vertices, in one batch. One
// container in static mode runs every case: new parameters must replace the recording.
TEST(VertexContainerBoundingBox, DrawsTheEdgesAtTheLowestFaceOrAllTheOthers) {
  const MMTransformMatrix identity;
  // z' = x + 2y + 4z + 5, shifted in x too: only corner (0, 0, 0) is lowest.
  const MMTransformMatrix tilt = Matrix({1, 0, 0, 100, 0, 1, 0, 0, 1, 2, 4, 5, 0, 0, 0, 1});
  // Upside down, the face z = 1 is the lowest.
  const MMTransformMatrix flip = Matrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1});
  struct Case {
    const char* what;
    const MMTransformMatrix* transform;
    bool excludeMinimumZ;
    std::size_t count;
    bool (*expected)(const Line&);
  };
  const Case cases[] = {
      {"lowest face", &identity, false, 8, [](const Line& l) { return l[2] == 0.0f || l[5] == 0.0f; }},
      {"all but the lowest face", &identity, true, 4, [](const Line& l) { return l[2] == 1.0f && l[5] == 1.0f; }},
      {"lowest corner, tilted", &tilt, false, 3, [](const Line& l) { return HasEnd(l, 0, 0, 0); }},
      {"all but the lowest corner, tilted", &tilt, true, 9, [](const Line& l) { return !HasEnd(l, 0, 0, 0); }},
      {"lowest face, upside down", &flip, false, 8, [](const Line& l) { return l[2] == 1.0f || l[5] == 1.0f; }},
  };
  RecordingRender render;
  std::vector<IVVertexP> box = UnitBoxEdges();
  IVVertexContainerBoundingBox container;
  for (const Case& c : cases) {
    container.SetParams(&box, c.transform, c.excludeMinimumZ);
    render.Clear();
    container.Render(render);
    const std::vector<Line> lines = DrawnLines(render);
    EXPECT_EQ(lines.size(), c.count) << c.what;
    EXPECT_EQ(render.CountOf(ERenderCall::DrawVertices), 1u) << c.what;
    for (const Line& l : lines) {
      EXPECT_TRUE(c.expected(l)) << c.what;
      for (float x : l) EXPECT_TRUE(x == 0.0f || x == 1.0f) << c.what << ": a mapped vertex was drawn";
    }
  }
}

TEST(VertexContainerBoundingBox, UnsetEmptyAndOddVertexLists) {
  RecordingRender render;
  IVVertexContainerBoundingBox container;
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  std::vector<IVVertexP> empty;
  container.SetParams(&empty, nullptr, false);
  EXPECT_THROW(container.RenderTriangles(render, true, false, 0), std::out_of_range);
  // A recording cut short is not kept: every static render fails the same way.
  container.SetModeDynamic(false);
  for (int attempt = 0; attempt < 2; ++attempt)
    EXPECT_THROW(container.RenderTriangles(render, true, false, 0), std::out_of_range) << attempt;
  EXPECT_EQ(container.GetRecorded(), nullptr);

  // The unpaired last vertex lies lowest but belongs to no edge, so it decides nothing.
  std::vector<IVVertexP> odd = {{0, 0, 1}, {1, 0, 1}, {5, 5, -9}};
  container.SetParams(&odd, nullptr, false);
  DrawNow(container, render);
  EXPECT_EQ(DrawnLines(render), (std::vector<Line>{{0, 0, 1, 1, 0, 1}}));
}

TEST(VertexContainerFrame, DrawsFourEdgesInFixedOrderAndOrientation) {
  RecordingRender render;
  IVVertexContainerFrame container;
  DrawNow(container, render);
  EXPECT_EQ(DrawnLines(render), std::vector<Line>(4, Line{}));

  MFrame<float> frame({0, 0, 0}, {1, 0, 0}, {0, 2, 0}, {0, 0, 1});
  container.SetParams(frame);
  frame.O = {9, 9, 9};  // the container keeps its own copy
  DrawNow(container, render);
  EXPECT_EQ(DrawnLines(render),
            (std::vector<Line>{{0, 0, 0, 1, 0, 0}, {1, 2, 0, 1, 0, 0}, {1, 2, 0, 0, 2, 0}, {0, 0, 0, 0, 2, 0}}));

  frame = MFrame<float>({1, 2, 3}, {0.5f, 0, 0}, {0, 0, 0.25f}, {0, -1, 0});
  container.SetParams(frame);
  DrawNow(container, render);
  EXPECT_EQ(DrawnLines(render), (std::vector<Line>{{1, 2, 3, 1.5f, 2, 3}, {1.5f, 2, 3.25f, 1.5f, 2, 3},
                                                 {1.5f, 2, 3.25f, 1, 2, 3.25f}, {1, 2, 3, 1, 2, 3.25f}}));
}

TEST(VertexContainerM3dBorder, DrawsEveryContourOpenOrClosedInChainOrder) {
  RecordingRender render;
  IVVertexContainerM3dBorder container;
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  M3dBorder<float, float> border;
  container.SetBorder(&border);

  // A closed triangle, an open path, an empty contour, one open point (nothing to join) and
  // one closed point; the payload is z.
  const struct {
    std::vector<std::array<float, 3>> points;
    bool closed;
  } contours[] = {{{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}}, true}, {{{5, 5, 0}, {6, 5, 0}, {7, 5, 0}}, false},
                  {{}, false}, {{{8, 8, 8}}, false}, {{{9, 9, 9}}, true}};
  for (const auto& c : contours) {
    auto& contour = border.AddContour();
    for (const auto& p : c.points) contour.AddPoint(p[0], p[1], p[2]);
    contour.SetClosed(c.closed);
  }

  DrawNow(container, render);
  EXPECT_EQ(DrawnLines(render), (std::vector<Line>{{0, 0, 1, 1, 0, 1}, {1, 0, 1, 1, 1, 1}, {1, 1, 1, 0, 0, 1},
                                                 {5, 5, 0, 6, 5, 0}, {6, 5, 0, 7, 5, 0}, {9, 9, 9, 9, 9, 9}}));
  EXPECT_EQ(render.CountOf(ERenderCall::DrawVertices), 1u);
}

// Points are in integer units, lines in scene units (divided by IE).
TEST(VertexContainerMStlSurfaceBorderContour, JoinsPointsInRingOrderInSceneUnits) {
  RecordingRender render;
  IVVertexContainerMStlSurfaceBorderContour container;
  DrawNow(container, render);
  EXPECT_TRUE(render.Calls().empty());

  const MStlPoint a(1500, -250, 0), b(2000, 0, 0), c(0, 1000, 500);
  const struct {
    const char* what;
    std::vector<const MStlPoint*> points;
    bool closed;
    long ie;
    std::vector<Line> lines;
  } cases[] = {
      {"closed", {&a, &b, &c}, true, 1000, {{1.5, -.25, 0, 2, 0, 0}, {2, 0, 0, 0, 1, .5}, {0, 1, .5, 1.5, -.25, 0}}},
      {"open", {&a, &b, &c}, false, 1000, {{1.5f, -.25f, 0, 2, 0, 0}, {2, 0, 0, 0, 1, .5f}}},
      {"coarse", {&a, &b}, false, 4, {{375, -62.5f, 0, 500, 0, 0}}},
      {"one point, closed", {&b}, true, 1000, {{2, 0, 0, 2, 0, 0}}},
      {"one point, open", {&b}, false, 1000, {}},
      {"no points", {}, true, 1000, {}},
  };
  for (const auto& k : cases) {
    ScopedIE scale(k.ie);
    MStlSurfaceBorderContour contour(k.points, k.closed);
    container.SetParams(&contour);
    DrawNow(container, render);
    EXPECT_EQ(DrawnLines(render), k.lines) << k.what;
    EXPECT_EQ(render.CountOf(ERenderCall::DrawVertices), k.lines.empty() ? 0u : 1u) << k.what;
  }
}

}  // namespace
