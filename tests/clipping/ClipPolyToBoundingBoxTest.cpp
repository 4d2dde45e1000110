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
  const double* Polygon() const { return m_polygon; }
  const double* Scale() const { return m_scale; }
  const double* Centre() const { return m_centre; }
};

MFrame<float> Frame(P3f o, P3f u, P3f v) { return MFrame<float>(o, u, v, P3f(0, 0, 1)); }

const M3DBoundingBox<float> kUnitBox(-1, 1, -1, 1, -1, 1);

// Clips and answers the result; fails the test when Operate does.
MFrame<float> Clip(const M3DBoundingBox<float>& box, const MFrame<float>& frame) {
  CClipPolyToBoundingBox clip;
  clip.SetParams(box, &frame);
  EXPECT_TRUE(clip.Operate());
  return *clip.GetClippedFrame();
}

void ExpectNear(const P3f& actual, const P3f& expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectFrame(const MFrame<float>& f, P3f o, P3f u, P3f v, float tolerance = 1e-5f) {
  ExpectNear(f.O, o, tolerance);
  ExpectNear(f.U, u, tolerance);
  ExpectNear(f.V, v, tolerance);
}

MMLine Edge(P3d start, P3d direction) { return MMLine(start, start + direction); }

TEST(ClipPolyToBoundingBox, FreshObjectHasZeroFrameAndCannotOperate) {
  ClipProbe clip;
  EXPECT_EQ(*clip.GetClippedFrame(), MFrame<float>());
  EXPECT_EQ(clip.Scale()[0], 0.0);
  EXPECT_EQ(clip.Scale()[2], 0.0);
  EXPECT_FALSE(clip.Operate());
  EXPECT_EQ(*clip.GetClippedFrame(), MFrame<float>());
}

TEST(ClipPolyToBoundingBox, SetParamsStoresScaleCentreAndNormalisedCorners) {
  ClipProbe clip;
  const MFrame<float> frame = Frame({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
  clip.SetParams(M3DBoundingBox<float>(-10, 10, -20, 20, -30, 30), &frame);
  EXPECT_EQ(clip.Scale()[0], 0.1);
  EXPECT_EQ(clip.Scale()[1], 0.05);
  EXPECT_EQ(clip.Scale()[2], 1.0 / 30.0);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(clip.Centre()[k], 0.0);

  clip.SetParams(M3DBoundingBox<float>(2, 6, 10, 20, -3, 5), &frame);
  EXPECT_EQ(clip.Centre()[0], 4.0);
  EXPECT_EQ(clip.Centre()[1], 15.0);
  EXPECT_EQ(clip.Centre()[2], 1.0);
  EXPECT_EQ(clip.Scale()[0], 0.5);
  EXPECT_EQ(clip.Scale()[1], 0.2);
  EXPECT_EQ(clip.Scale()[2], 0.25);

  // Box 0..2 maps by p - 1. The corners are summed in float: 2^24 + 1 rounds back to
  // 2^24, so the second corner lands on x = 2^24 - 1, not 2^24.
  const MFrame<float> big = Frame({16777216.0f, 0, 0}, {1, 0, 0}, {0, 1, 0});
  clip.SetParams(M3DBoundingBox<float>(0, 2, 0, 2, 0, 2), &big);
  const double expected[20] = {16777215, -1, -1, 1, 16777215, -1, -1, 1, 16777215, 0, -1, 1,
                               16777215, 0,  -1, 1, 16777215, -1, -1, 1};
  for (int i = 0; i < 20; ++i) EXPECT_EQ(clip.Polygon()[i], expected[i]) << "index " << i;
}

TEST(ClipPolyToBoundingBox, FrameInsideComesBackFromItsSecondCorner) {
  // All five points survive; L0 || L2 and L1 || L3, so the origin is L0 meeting L1.
  MFrame<float> input = Frame({-0.5f, -0.25f, 0.5f}, {1, 0, 0}, {0, 0.5f, 0});
  input.carried = 7;
  const MFrame<float> f = Clip(kUnitBox, input);
  EXPECT_EQ(f.O, P3f(0.5f, -0.25f, 0.5f));
  EXPECT_EQ(f.U, P3f(-1, 0, 0));
  EXPECT_EQ(f.V, P3f(0, 0.5f, 0));
  EXPECT_EQ(f.carried, 0) << "the integer is never written";
  EXPECT_EQ(f.N, P3f(0, 0, 0)) << "the normal is never written";

  // A slanted parallelogram in an off-centre box, mapped there and back.
  ExpectFrame(Clip(M3DBoundingBox<float>(2, 6, 10, 20, -3, 5), Frame({3, 12, -1}, {2, 1, 0.5f}, {-0.5f, 4, 2})),
              {5, 13, -0.5f}, {-2, -1, -0.5f}, {-0.5f, 4, 2});
}

TEST(ClipPolyToBoundingBox, FrameOutsideFailsAndKeepsThePreviousFrame) {
  CClipPolyToBoundingBox clip;
  const MFrame<float> inside = Frame({-0.5f, -0.5f, 0}, {1, 0, 0}, {0, 1, 0});
  clip.SetParams(kUnitBox, &inside);
  ASSERT_TRUE(clip.Operate());
  const MFrame<float>* result = clip.GetClippedFrame();
  const MFrame<float> before = *result;

  const MFrame<float> above = Frame({-0.5f, -0.5f, 5}, {1, 0, 0}, {0, 1, 0});
  clip.SetParams(kUnitBox, &above);
  EXPECT_FALSE(clip.Operate());
  EXPECT_EQ(clip.GetClippedFrame(), result);
  EXPECT_EQ(*result, before);

  clip.SetParams(kUnitBox, nullptr);
  EXPECT_FALSE(clip.Operate());
  EXPECT_EQ(*result, before);
}

TEST(ClipPolyToBoundingBox, TriangleSectionGivesParallelogramFromItsMiddlePoint) {
  // The plane x + y + z = 2.5 cuts the corner (1, 1, 1) off the cube; the frame covers
  // that section. Polygon (0,0,2.5) (2,0,0.5) (2,2,-1.5) (0,2,0.5); x <= 1 gives
  // (0,0,2.5) (1,0,1.5) (1,2,-0.5) (0,2,0.5) (0,0,2.5); y <= 1 gives
  // (0,0,2.5) (1,0,1.5) (1,1,0.5) (0,1,1.5) (0,0,2.5); z <= 1 leaves
  // p0 = (1,0.5,1), p1 = (1,1,0.5), p2 = (0.5,1,1).
  const MFrame<float> f = Clip(kUnitBox, Frame({0, 0, 2.5f}, {2, 0, -2}, {0, 2, -2}));
  EXPECT_EQ(f.O, P3f(1, 1, 0.5f));
  EXPECT_EQ(f.U, P3f(0, -0.5f, 0.5f));
  EXPECT_EQ(f.V, P3f(-0.5f, 0, 0.5f));
}

TEST(ClipPolyToBoundingBox, QuadrilateralOriginIsWhereTheLongerOppositeSidesMeet) {
  // Both frames leave p0 = (1,-1) K, p1 on x = 1 E1, p2 the frame corner c2, p3 on
  // y = -1 E2, at z = 0.
  // First: E1 = (1,0), c2 = (-0.5,0.5), E2 = (-0.3125,-1). |L2| = 1.51 > |L0| = 1 and
  // |L3| = 1.31 < |L1| = 1.58: pairs (2,0) and (1,3), origin c2 = L2 meeting L1.
  ExpectFrame(Clip(kUnitBox, Frame({3, -4.5f, 0}, {-0.5f, 4, 0}, {-3, 1, 0})), {-0.5f, 0.5f, 0},
              {0.1875f, -1.5f, 0}, {1.5f, -0.5f, 0});
  // Second: E1 = (1,0.5), c2 = (0,0), E2 = (-0.25,-1); the third corner (-1,-4) lies on
  // the face x = -1 and stays. |L0| = 1.5 > |L2| = 1.03 and |L3| = 1.25 > |L1| = 1.12:
  // pairs (0,2) and (3,1), origin K = L0 meeting L3.
  ExpectFrame(Clip(kUnitBox, Frame({3, -2, 0}, {1, 4, 0}, {-4, -2, 0})), {1, -1, 0}, {0, 1.5f, 0},
              {-1.25f, 0, 0});
}

TEST(ClipPolyToBoundingBox, SideLengthsAreMeasuredInTheBoxCoordinates) {
  // The second frame above stretched by (10, 20) into a box of extents 20, 40, 60: the
  // same normalised polygon, but now |L3| = 12.5 < |L1| = 14.1, so the pairs are (0,2)
  // and (1,3) and the origin is E1 = (10,10,5), where L0 meets L1.
  ExpectFrame(Clip(M3DBoundingBox<float>(-10, 10, -20, 20, -30, 30), Frame({30, -40, 5}, {10, 80, 0}, {-40, -40, 0})),
              {10, 10, 5}, {0, -30, 0}, {-10, -10, 0}, 1e-4f);
}

TEST(ClipPolyToBoundingBox, PointsOnTheFacesCountAsInside) {
  // A frame lying in the face z = 1, corners on the cube's edges: all five points stay.
  ExpectFrame(Clip(kUnitBox, Frame({-1, -1, 1}, {2, 0, 0}, {0, 2, 0})), {1, -1, 1}, {-2, 0, 0}, {0, 2, 0}, 0);

  CClipPolyToBoundingBox clip;
  const MFrame<float> offFace = Frame({-1, -1, std::nextafter(1.0f, 2.0f)}, {2, 0, 0}, {0, 2, 0});
  clip.SetParams(kUnitBox, &offFace);
  EXPECT_FALSE(clip.Operate());
}

TEST(ClipPolyToBoundingBox, NonFiniteFramesFailAndKeepThePreviousFrame) {
  CClipPolyToBoundingBox clip;
  const MFrame<float> inside = Frame({-0.5f, -0.5f, 0}, {1, 0, 0}, {0, 1, 0});
  clip.SetParams(kUnitBox, &inside);
  ASSERT_TRUE(clip.Operate());
  const MFrame<float> before = *clip.GetClippedFrame();

  // NaN or infinity in the origin puts every corner outside.
  for (float bad : {kNaN, kInf, -kInf}) {
    const MFrame<float> frame = Frame({bad, -0.5f, 0}, {1, 0, 0}, {0, 1, 0});
    clip.SetParams(kUnitBox, &frame);
    EXPECT_FALSE(clip.Operate()) << bad;
    EXPECT_EQ(*clip.GetClippedFrame(), before);
  }
  // NaN in U.y: two corners become NaN crossings that survive as points, so five points
  // come back but no two of their edges are parallel; the frame cannot be rebuilt.
  const MFrame<float> frame = Frame({-0.5f, -0.5f, 0}, {1, kNaN, 0}, {0, 1, 0});
  clip.SetParams(kUnitBox, &frame);
  EXPECT_FALSE(clip.Operate());
  EXPECT_EQ(*clip.GetClippedFrame(), before);
}

TEST(ClipPolyToBoundingBox, DegenerateBoxesRejectEveryFrame) {
  // Zero extent in x: infinite scale, so x becomes +-inf or NaN and never lies within.
  const M3DBoundingBox<float> flat(0, 0, -1, 1, -1, 1);
  // Infinite extent: the centre is inf * 0.5 - inf, NaN.
  const M3DBoundingBox<float> infinite(-kInf, kInf, -1, 1, -1, 1);
  for (const auto& box : {flat, infinite}) {
    for (const MFrame<float>& frame : {Frame({-0.5f, -0.5f, 0}, {1, 0, 0}, {0, 1, 0}),
                                       Frame({0, -0.5f, -0.5f}, {0, 1, 0}, {0, 0, 1})}) {
      CClipPolyToBoundingBox clip;
      clip.SetParams(box, &frame);
      EXPECT_FALSE(clip.Operate());
      EXPECT_EQ(*clip.GetClippedFrame(), MFrame<float>());
    }
  }
}

TEST(ClipPolyToBoundingBox, FailedIntersectionsLeaveCornersAtTheOrigin) {
  CClipPolyToBoundingBox clip;
  const MFrame<float> inside = Frame({-0.5f, -0.5f, 0}, {1, 0, 0}, {0, 1, 0});
  clip.SetParams(kUnitBox, &inside);
  ASSERT_TRUE(clip.Operate());

  // A frame collapsed to a point: every edge has zero length, so every pair counts as
  // parallel and no two lines meet.
  const MFrame<float> point = Frame({0.25f, 0.5f, -0.25f}, {0, 0, 0}, {0, 0, 0});
  clip.SetParams(kUnitBox, &point);
  EXPECT_TRUE(clip.Operate());
  ExpectFrame(*clip.GetClippedFrame(), {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0);

  // The parallel test sums the cross product's components: in a plane whose normal is
  // (1,-1,0) that sum is zero for every pair of edges, so again no corner is found.
  clip.SetParams(kUnitBox, &inside);
  ASSERT_TRUE(clip.Operate());
  const MFrame<float> diagonal = Frame({-0.5f, -0.5f, -0.5f}, {1, 1, 0}, {0, 0, 1});
  clip.SetParams(kUnitBox, &diagonal);
  EXPECT_TRUE(clip.Operate());
  ExpectFrame(*clip.GetClippedFrame(), {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0);
}

TEST(ClipPolyToBoundingBox, CopiesCarryTheWholeStateAndOwnTheirFrame) {
  CClipPolyToBoundingBox source;
  const MFrame<float> trapezoid = Frame({3, -2, 0}, {1, 4, 0}, {-4, -2, 0});
  source.SetParams(kUnitBox, &trapezoid);

  CClipPolyToBoundingBox copy(source);
  CClipPolyToBoundingBox assigned;
  const MFrame<float> other = Frame({3, 12, -1}, {2, 1, 0.5f}, {-0.5f, 4, 2});
  assigned.SetParams(M3DBoundingBox<float>(2, 6, 10, 20, -3, 5), &other);
  ASSERT_TRUE(assigned.Operate());
  assigned = source;
  EXPECT_EQ(*assigned.GetClippedFrame(), MFrame<float>()) << "the clipped frame is copied too";

  ASSERT_TRUE(source.Operate());
  ASSERT_TRUE(copy.Operate());
  ASSERT_TRUE(assigned.Operate());
  EXPECT_EQ(*copy.GetClippedFrame(), *source.GetClippedFrame());
  EXPECT_EQ(*assigned.GetClippedFrame(), *source.GetClippedFrame());
  EXPECT_NE(copy.GetClippedFrame(), source.GetClippedFrame());

  const CClipPolyToBoundingBox later(source);
  EXPECT_EQ(*later.GetClippedFrame(), *source.GetClippedFrame());
}

TEST(ClipPolyToFrustum, ClipsHomogeneousPointsAndInterpolatesW) {
  ClipProbe clip;
  // (5,0,0,2) lies beyond x <= w; the crossings are at t = 3/4 towards (0,0,0,1) and
  // t = 1/4 from (0,0.5,0,1), with w interpolated like the other components.
  double triangle[12] = {0, 0, 0, 1, 5, 0, 0, 2, 0, 0.5, 0, 1};
  double* out = nullptr;
  const int n = clip._ClipPolyToFrustum(triangle, 3, out);
  const std::unique_ptr<double[]> owned(out);
  ASSERT_EQ(n, 4);
  const double expected[16] = {0, 0, 0, 1, 1.25, 0, 0, 1.25, 1.25, 0.375, 0, 1.25, 0, 0.5, 0, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(out[i], expected[i]) << "index " << i;

  double* none = nullptr;
  EXPECT_EQ(clip._ClipPolyToFrustum(triangle, 0, none), 0);
  delete[] none;
  EXPECT_EQ(clip._ClipPolyToFrustum(nullptr, -3, none), 0);
  delete[] none;
}

TEST(ClipPolyToFrustum, HandsBackEveryPointOfAPolygonThatOutgrowsItsRoom) {
  // A comb of eight points alternating x = -2 and x = 2: x <= w turns it into 12 points,
  // x >= -w into 16, more than the usual room of count + 6 = 14.
  double comb[32];
  for (int i = 0; i < 8; ++i) {
    comb[4 * i + 0] = (i % 2 == 0) ? -2.0 : 2.0;
    comb[4 * i + 1] = i / 8.0;
    comb[4 * i + 2] = 0.0;
    comb[4 * i + 3] = 1.0;
  }
  ClipProbe clip;
  double* out = nullptr;
  const int n = clip._ClipPolyToFrustum(comb, 8, out);
  const std::unique_ptr<double[]> owned(out);
  ASSERT_EQ(n, 16);
  for (int i = 0; i < n; ++i) EXPECT_NEAR(std::fabs(out[4 * i]), 1.0, 1e-12) << "point " << i;
}

TEST(FindParallelPair, SearchesNonAdjacentPairsInOrder) {
  ClipProbe clip;
  const P3d o(0, 0, 0);
  // L1 || L2 is skipped as they are neighbours; L1 || L4 is found.
  const std::vector<MMLine> lines = {Edge(o, {1, 0, 0}), Edge(o, {0, 1, 0}), Edge(o, {0, 3, 0}),
                                     Edge(o, {1, 1, 0}), Edge(o, {0, -1, 0}), Edge(o, {1, 0, 0})};
  unsigned first = 0, second = 2;
  EXPECT_TRUE(clip._FindParallelPair(first, second, lines));
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(second, 4u);

  // No pair: the search ends at (m - 3, m - 1).
  const std::vector<MMLine> skew = {Edge(o, {1, 0, 0}), Edge(o, {0, 1, 0}), Edge(o, {-1, 1, 0}),
                                    Edge(o, {-1, -2, 0}), Edge(o, {2, -1, 0}), Edge(o, {1, 0, 0})};
  first = 0, second = 2;
  EXPECT_FALSE(clip._FindParallelPair(first, second, skew));
  EXPECT_EQ(first, 3u);
  EXPECT_EQ(second, 5u);
  // A start beyond the list is not read.
  first = 0, second = 1000;
  EXPECT_FALSE(clip._FindParallelPair(first, second, skew));

  // Starting at or past m - 3, or with too few edges, changes nothing.
  first = 3, second = 9;
  EXPECT_FALSE(clip._FindParallelPair(first, second, skew));
  EXPECT_EQ(first, 3u);
  EXPECT_EQ(second, 9u);
  for (std::size_t m = 0; m < 4; ++m) {
    first = 0, second = 2;
    EXPECT_FALSE(clip._FindParallelPair(first, second, std::vector<MMLine>(lines.begin(), lines.begin() + m)));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(second, 2u);
  }
}

TEST(FindParallelPair, ParallelMeansTheComponentSumOfTheCrossProductIsSmall) {
  ClipProbe clip;
  const P3d o(0, 0, 0);
  unsigned first = 0, second = 2;
  // (1,1,0) x (0,0,1) = (1,-1,0): the components cancel, so these count as parallel.
  EXPECT_TRUE(clip._FindParallelPair(
      first, second, {Edge(o, {1, 1, 0}), Edge(o, {0, 1, 0}), Edge(o, {0, 0, 1}), Edge(o, {1, 1, 0})}));
  // A zero-length edge is parallel to anything; 0.0009 off parallel after normalising
  // is inside the tolerance, 0.0011 is not.
  first = 0, second = 2;
  EXPECT_TRUE(clip._FindParallelPair(
      first, second, {Edge(o, {1, 0, 0}), Edge(o, {0, 1, 0}), Edge(o, {0, 0, 0}), Edge(o, {1, 0, 0})}));
  first = 0, second = 2;
  EXPECT_TRUE(clip._FindParallelPair(first, second,
                                     {Edge(o, {1, 0, 0}), Edge(o, {0, 1, 0}),
                                      Edge(o, {std::sqrt(1 - 0.0009 * 0.0009), 0.0009, 0}), Edge(o, {1, 0, 0})}));
  first = 0, second = 2;
  EXPECT_FALSE(clip._FindParallelPair(first, second,
                                      {Edge(o, {1, 0, 0}), Edge(o, {0, 1, 0}),
                                       Edge(o, {std::sqrt(1 - 0.0011 * 0.0011), 0.0011, 0}), Edge(o, {1, 0, 0})}));
}

}  // namespace
