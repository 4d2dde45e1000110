// CClipPolyToBoundingBox: frames clipped to boxes. Expected values are worked out by
// hand from the clipping rules; the comments give the surviving polygon of each case.
#include "vistal/clipping/CClipPolyToBoundingBox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

using P3f = MMPoint3d<float>;
using P3d = MMPoint3d<double>;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Opens the protected state and helpers to the tests.
class ClipProbe : public CClipPolyToBoundingBox {
public:
  using CClipPolyToBoundingBox::_ClipPolyToFrustum;
  using CClipPolyToBoundingBox::_FindParallelPair;
  std::vector<double> Polygon() const { return {m_polygon, m_polygon + 20}; }
};

// Every input frame carries an integer, which the clipped frame must not take over.
MFrame<float> Frame(P3f o, P3f u, P3f v) {
  MFrame<float> f(o, u, v, P3f(0, 0, 1));
  f.carried = 7;
  return f;
}

const M3DBoundingBox<float> kUnitBox(-1, 1, -1, 1, -1, 1);
const MFrame<float> kInside = Frame({-0.5f, -0.5f, 0}, {1, 0, 0}, {0, 1, 0});

// A clipper holding the result of kInside, so that a frame left unwritten shows.
CClipPolyToBoundingBox AfterInside() {
  CClipPolyToBoundingBox clip;
  clip.SetParams(kUnitBox, &kInside);
  EXPECT_TRUE(clip.Operate());
  return clip;
}

MMLine Edge(P3d direction) { return MMLine(P3d(0, 0, 0), direction); }

TEST(ClipPolyToBoundingBox, RebuildsAParallelogramFromThePolygonLeftInTheBox) {
  const struct {
    const char* what;
    M3DBoundingBox<float> box;
    MFrame<float> frame;
    P3f o, u, v;
    float tolerance;
  } cases[] = {
      // clang-format off
      // All five points survive; L0 || L2 and L1 || L3, so the origin is L0 meeting L1.
      {"inside", kUnitBox, Frame({-0.5f, -0.25f, 0.5f}, {1, 0, 0}, {0, 0.5f, 0}),
       {0.5f, -0.25f, 0.5f}, {-1, 0, 0}, {0, 0.5f, 0}, 0},
      {"a slanted parallelogram in an off-centre box", M3DBoundingBox<float>(2, 6, 10, 20, -3, 5),
       Frame({3, 12, -1}, {2, 1, 0.5f}, {-0.5f, 4, 2}), {5, 13, -0.5f}, {-2, -1, -0.5f}, {-0.5f, 4, 2}, 1e-5f},
      // x + y + z = 2.5 cuts the corner (1, 1, 1) off the cube. Polygon (0,0,2.5) (2,0,0.5)
      // (2,2,-1.5) (0,2,0.5); x <= 1 gives (0,0,2.5) (1,0,1.5) (1,2,-0.5) (0,2,0.5); y <= 1
      // gives (0,0,2.5) (1,0,1.5) (1,1,0.5) (0,1,1.5); z <= 1 leaves p0 = (1,0.5,1),
      // p1 = (1,1,0.5), p2 = (0.5,1,1): a triangle gives the frame from its middle point.
      {"a triangle", kUnitBox, Frame({0, 0, 2.5f}, {2, 0, -2}, {0, 2, -2}),
       {1, 1, 0.5f}, {0, -0.5f, 0.5f}, {-0.5f, 0, 0.5f}, 0},
      // Quadrilaterals: p0 = (1,-1) K, p1 on x = 1 E1, p2 the frame corner c2, p3 on y = -1
      // E2, at z = 0. Here E1 = (1,0), c2 = (-0.5,0.5), E2 = (-0.3125,-1). |L2| = 1.51 >
      // |L0| = 1 and |L3| = 1.31 < |L1| = 1.58: pairs (2,0) and (1,3), origin c2.
      {"a quadrilateral, origin where L2 meets L1", kUnitBox, Frame({3, -4.5f, 0}, {-0.5f, 4, 0}, {-3, 1, 0}),
       {-0.5f, 0.5f, 0}, {0.1875f, -1.5f, 0}, {1.5f, -0.5f, 0}, 1e-5f},
      // E1 = (1,0.5), c2 = (0,0), E2 = (-0.25,-1); the corner (-1,-4) lies on the face x = -1
      // and stays. |L0| = 1.5 > |L2| = 1.03 and |L3| = 1.25 > |L1| = 1.12: origin K.
      {"a quadrilateral, origin where L0 meets L3", kUnitBox, Frame({3, -2, 0}, {1, 4, 0}, {-4, -2, 0}),
       {1, -1, 0}, {0, 1.5f, 0}, {-1.25f, 0, 0}, 1e-5f},
      // The last one stretched by (10, 20) into a box of extents 20, 40, 60: the same
      // normalised polygon, but the sides are measured in the box's coordinates, where
      // |L3| = 12.5 < |L1| = 14.1: pairs (0,2) and (1,3), origin E1 = (10,10,5).
      {"side lengths in box coordinates", M3DBoundingBox<float>(-10, 10, -20, 20, -30, 30),
       Frame({30, -40, 5}, {10, 80, 0}, {-40, -40, 0}), {10, 10, 5}, {0, -30, 0}, {-10, -10, 0}, 1e-4f},
      {"a frame in the face z = 1: points on faces are inside", kUnitBox, Frame({-1, -1, 1}, {2, 0, 0}, {0, 2, 0}),
       {1, -1, 1}, {-2, 0, 0}, {0, 2, 0}, 0},
      // Lines that do not meet leave the corners at the origin, and the frame still comes.
      {"a point: every edge has zero length and counts as parallel", kUnitBox,
       Frame({0.25f, 0.5f, -0.25f}, {0, 0, 0}, {0, 0, 0}), {}, {}, {}, 0},
      // The parallel test sums the cross product's components: with the normal (1,-1,0)
      // that sum is zero for every pair of edges.
      {"a plane whose normal is (1,-1,0)", kUnitBox, Frame({-0.5f, -0.5f, -0.5f}, {1, 1, 0}, {0, 0, 1}),
       {}, {}, {}, 0},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CClipPolyToBoundingBox clip = AfterInside();
    clip.SetParams(c.box, &c.frame);
    ASSERT_TRUE(clip.Operate());
    const MFrame<float>& f = *clip.GetClippedFrame();
    const P3f got[3] = {f.O, f.U, f.V}, expected[3] = {c.o, c.u, c.v};
    for (int i = 0; i < 3; ++i)
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[i][k], expected[i][k], c.tolerance) << "OUV"[i] << "[" << k << "]";
    EXPECT_EQ(f.carried, 0) << "the integer is never written";
    EXPECT_EQ(f.N, P3f(0, 0, 0)) << "the normal is never written";
  }
}

TEST(ClipPolyToBoundingBox, RefusedFramesKeepThePreviousFrame) {
  const M3DBoundingBox<float> flat(0, 0, -1, 1, -1, 1);             // infinite scale in x
  const M3DBoundingBox<float> infinite(-kInf, kInf, -1, 1, -1, 1);  // a NaN centre in x
  const MFrame<float> inX0 = Frame({0, -0.5f, -0.5f}, {0, 1, 0}, {0, 0, 1});
  const struct {
    const char* what;
    M3DBoundingBox<float> box;
    MFrame<float> frame;
  } cases[] = {
      {"above the box", kUnitBox, Frame({-0.5f, -0.5f, 5}, {1, 0, 0}, {0, 1, 0})},
      {"just above the face z = 1", kUnitBox, Frame({-1, -1, std::nextafter(1.0f, 2.0f)}, {2, 0, 0}, {0, 2, 0})},
      {"a NaN origin", kUnitBox, Frame({kNaN, -0.5f, 0}, {1, 0, 0}, {0, 1, 0})},
      {"an infinite origin", kUnitBox, Frame({kInf, -0.5f, 0}, {1, 0, 0}, {0, 1, 0})},
      {"a minus infinite origin", kUnitBox, Frame({-kInf, -0.5f, 0}, {1, 0, 0}, {0, 1, 0})},
      // Two corners become NaN crossings that survive as points: five points, but no two
      // of their edges are parallel, so no frame can be rebuilt.
      {"NaN in U.y", kUnitBox, Frame({-0.5f, -0.5f, 0}, {1, kNaN, 0}, {0, 1, 0})},
      {"a box of zero extent", flat, kInside},
      {"a box of zero extent, the frame at x = 0", flat, inX0},
      {"an infinite box", infinite, kInside},
      {"an infinite box, the frame at x = 0", infinite, inX0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CClipPolyToBoundingBox clip = AfterInside();
    const MFrame<float> before = *clip.GetClippedFrame();
    clip.SetParams(c.box, &c.frame);
    EXPECT_FALSE(clip.Operate());
    EXPECT_EQ(*clip.GetClippedFrame(), before);
  }
  CClipPolyToBoundingBox clip = AfterInside();
  const MFrame<float> before = *clip.GetClippedFrame();
  clip.SetParams(kUnitBox, nullptr);
  EXPECT_FALSE(clip.Operate());
  EXPECT_EQ(*clip.GetClippedFrame(), before);
  EXPECT_FALSE(CClipPolyToBoundingBox().Operate()) << "nothing set";
}

TEST(ClipPolyToBoundingBox, CornersAreSummedInFloatBeforeTheyAreNormalised) {
  // Box 0..2 maps by p - 1; 2^24 + 1 rounds back to 2^24, so the second corner lands on
  // x = 2^24 - 1, not 2^24.
  ClipProbe clip;
  const MFrame<float> big = Frame({16777216.0f, 0, 0}, {1, 0, 0}, {0, 1, 0});
  clip.SetParams(M3DBoundingBox<float>(0, 2, 0, 2, 0, 2), &big);
  EXPECT_EQ(clip.Polygon(), (std::vector<double>{16777215, -1, -1,       1, 16777215, -1, -1,       1,  16777215, 0,
                                                 -1,       1,  16777215, 0, -1,       1,  16777215, -1, -1,       1}));
}

// The crossings themselves are checked through the frames above, whose points all have w = 1.
TEST(ClipPolyToFrustum, HandsBackEveryPointOfAPolygonThatOutgrowsItsRoom) {
  // A comb of eight points alternating x = -2 and x = 2: x <= w turns it into 12 points,
  // x >= -w into 16, more than the usual room of count + 6 = 14.
  double comb[32];
  for (int i = 0; i < 8; ++i) {
    const double point[4] = {(i % 2 == 0) ? -2.0 : 2.0, i / 8.0, 0.0, 1.0};
    std::copy(point, point + 4, comb + 4 * i);
  }
  ClipProbe clip;
  double* out = nullptr;
  const int n = clip._ClipPolyToFrustum(comb, 8, out);
  const std::unique_ptr<double[]> owned(out);
  ASSERT_EQ(n, 16);
  for (int i = 0; i < n; ++i) EXPECT_NEAR(std::fabs(out[4 * i]), 1.0, 1e-12) << "point " << i;
}

TEST(FindParallelPair, SearchesNonAdjacentPairsInOrderWithinTheTolerance) {
  const std::vector<MMLine> found = {Edge({1, 0, 0}), Edge({0, 1, 0}),  Edge({0, 3, 0}),
                                     Edge({1, 1, 0}), Edge({0, -1, 0}), Edge({1, 0, 0})};
  const std::vector<MMLine> skew = {Edge({1, 0, 0}),   Edge({0, 1, 0}),  Edge({-1, 1, 0}),
                                    Edge({-1, -2, 0}), Edge({2, -1, 0}), Edge({1, 0, 0})};
  auto slanted = [](double off) {  // off parallel to L0 by `off` after normalising
    return std::vector<MMLine>{Edge({1, 0, 0}), Edge({0, 1, 0}), Edge({std::sqrt(1 - off * off), off, 0}),
                               Edge({1, 0, 0})};
  };
  const struct {
    const char* what;
    std::vector<MMLine> lines;
    unsigned first, second;  // where the search starts
    bool found;
    unsigned endFirst, endSecond;  // the pair found, or where the search ended
  } cases[] = {
      {"neighbours L1 || L2 are skipped, L1 || L4 is found", found, 0, 2, true, 1, 4},
      {"no pair: the search ends at (m - 3, m - 1)", skew, 0, 2, false, 3, 5},
      {"a start beyond the list is not read", skew, 0, 1000, false, 3, 5},
      {"three edges are too few", {skew.begin(), skew.begin() + 3}, 0, 2, false, 0, 2},
      {"0.0009 off parallel is within the tolerance", slanted(0.0009), 0, 2, true, 0, 2},
      {"0.0011 off parallel is not", slanted(0.0011), 0, 2, false, 1, 3},
  };
  ClipProbe clip;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    unsigned first = c.first, second = c.second;
    EXPECT_EQ(clip._FindParallelPair(first, second, c.lines), c.found);
    EXPECT_EQ(std::pair(first, second), std::pair(c.endFirst, c.endSecond));
  }
}

}  // namespace
