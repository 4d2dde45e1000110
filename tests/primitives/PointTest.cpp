// PNT_3D_FLOAT: layout, exact results of its arithmetic, and the exported calling shape.
#include "vistal/frame/PNT_3D_FLOAT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

namespace {

static_assert(std::is_standard_layout_v<PNT_3D_FLOAT> && sizeof(PNT_3D_FLOAT) == 3 * sizeof(float));

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
// 1 + 2^-12: its square, 1 + 2^-11 + 2^-24, lies exactly halfway between two floats.
constexpr float kOnePlus = 1.0f + 0x1p-12f;

void ExpectPoint(const PNT_3D_FLOAT& p, float x, float y, float z) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.z, z);
}

TEST(Point, ConstructsAndComputesComponentwiseWithTheArgumentSubtracted) {
  ExpectPoint(PNT_3D_FLOAT(), 0.0f, 0.0f, 0.0f);
  float a4[4] = {4.0f, 5.0f, 6.0f, 99.0f};
  ExpectPoint(PNT_3D_FLOAT(a4), 4.0f, 5.0f, 6.0f);
  const float ca[3] = {-7.0f, 8.5f, -0.25f};
  ExpectPoint(PNT_3D_FLOAT(ca), -7.0f, 8.5f, -0.25f);

  PNT_3D_FLOAT a(1.0f, 2.0f, 3.0f), b(4.0f, 5.0f, 6.0f);
  ExpectPoint(a + b, 5.0f, 7.0f, 9.0f);
  ExpectPoint(a - b, -3.0f, -3.0f, -3.0f);
  EXPECT_EQ(a * b, 32.0f);
  EXPECT_EQ(a.SQR_LENGTH(), 14.0f);
  ExpectPoint(a ^ b, -3.0f, 6.0f, -3.0f);
  ExpectPoint(b ^ a, 3.0f, -6.0f, 3.0f);
  PNT_3D_FLOAT ex(1, 0, 0), ey(0, 1, 0);
  ExpectPoint(ex ^ ey, 0.0f, 0.0f, 1.0f);  // right-handed
}

TEST(Point, ProductsRoundOnceFromDouble) {
  // Each square is 1 + 2^-11 + 2^-24 exactly. Float arithmetic rounds each one down to
  // 1 + 2^-11 (a tie, to even) and sums to 3 + 3*2^-11. Summed exactly, the three
  // excess 2^-24 make 0.75 of an ulp at 3 (2^-22), which rounds up by one ulp.
  PNT_3D_FLOAT p(kOnePlus, kOnePlus, kOnePlus);
  const float once = 3.0f + 3.0f * 0x1p-11f + 0x1p-22f;
  EXPECT_EQ(p.SQR_LENGTH(), once);
  PNT_3D_FLOAT q = p;
  EXPECT_EQ(p * q, once);

  // Products that overflow float cancel in double instead of giving inf - inf.
  PNT_3D_FLOAT big(1e20f, 1e20f, 0.0f), bigFlip(1e20f, -1e20f, 0.0f);
  EXPECT_EQ(big * bigFlip, 0.0f);
  // A result beyond float's range becomes infinity at the final rounding.
  EXPECT_EQ(PNT_3D_FLOAT(3e38f, 0.0f, 0.0f).SQR_LENGTH(), kInf);

  // x = (1 + 2^-12)^2 - 1 = 2^-11 + 2^-24 exactly; rounding the square to float first
  // would lose the 2^-24.
  PNT_3D_FLOAT c(0.0f, kOnePlus, 1.0f), d(0.0f, 1.0f, kOnePlus);
  ExpectPoint(c ^ d, 0x1p-11f + 0x1p-24f, 0.0f, 0.0f);
}

TEST(Point, CrossAssignReadsBothOperandsBeforeWriting) {
  PNT_3D_FLOAT a(1.0f, 2.0f, 3.0f), b(4.0f, 5.0f, 6.0f);
  // Writing x before computing y would give y = 3*4 - (-3)*6 = 30.
  PNT_3D_FLOAT r = (a ^= b);
  ExpectPoint(a, -3.0f, 6.0f, -3.0f);
  ExpectPoint(r, -3.0f, 6.0f, -3.0f);

  // Squares of these overflow float; in double they cancel exactly.
  for (PNT_3D_FLOAT p : {PNT_3D_FLOAT(1e30f, -2e30f, 3e30f), PNT_3D_FLOAT(0.1f, 7.0f, -1e-30f)}) {
    p ^= p;
    ExpectPoint(p, 0.0f, 0.0f, 0.0f);
  }
}

TEST(Point, CompoundAssignmentsReturnCopiesOfTheUpdatedPoint) {
  PNT_3D_FLOAT p(1.0f, 2.0f, 3.0f), q(10.0f, 20.0f, 30.0f);
  // Copies, as the exported operators have always returned.
  static_assert(!std::is_reference_v<decltype(p += q)> && !std::is_reference_v<decltype(p -= q)> &&
                !std::is_reference_v<decltype(p *= 2.0f)> && !std::is_reference_v<decltype(p /= 2.0f)> &&
                !std::is_reference_v<decltype(p ^= q)> && !std::is_reference_v<decltype(p = q)>);
  ExpectPoint(p += q, 11.0f, 22.0f, 33.0f);
  ExpectPoint(p -= q, 1.0f, 2.0f, 3.0f);
  ExpectPoint(p *= 2.0f, 2.0f, 4.0f, 6.0f);
  ExpectPoint(p = q, 10.0f, 20.0f, 30.0f);
}

TEST(Point, DivisionIsCorrectlyRoundedNotAReciprocalProduct) {
  // x * (1/s) rounds twice; these give a different float that way.
  PNT_3D_FLOAT p(5.0f, 9.0f, 3.0f);
  ExpectPoint(p /= 3.0f, 0x1.aaaaaap+0f, 3.0f, 1.0f);  // 5/3 is 0x1.aaaaacp+0 via the reciprocal
  EXPECT_EQ((PNT_3D_FLOAT(9.0f, 3.0f, 9.0f) /= 10.0f).x, 0.9f);  // 0.90000004 via the reciprocal
  EXPECT_EQ((PNT_3D_FLOAT(3.0f, 1.0f, 0.0f) /= 7.0f).x, 0x1.b6db6ep-2f);  // the reciprocal gives 0x1.b6db70p-2

  ExpectPoint(PNT_3D_FLOAT(1.0f, 2.0f, 3.0f) /= 0.0f, kInf, kInf, kInf);
  PNT_3D_FLOAT s(-1.0f, 0.0f, 1.0f);
  s /= 0.0f;
  EXPECT_EQ(s.x, -kInf);
  EXPECT_TRUE(std::isnan(s.y));
  EXPECT_EQ(s.z, kInf);
}

TEST(Point, EqualityIsExactWithNaNUnequalAndSignedZerosEqual) {
  const PNT_3D_FLOAT a(1.0f, 2.0f, 3.0f);
  struct {
    PNT_3D_FLOAT p, q;
    bool equal;
  } cases[] = {
      {a, PNT_3D_FLOAT(1.0f, 2.0f, 3.0f), true},
      {a, PNT_3D_FLOAT(1.0f, 2.0f, std::nextafter(3.0f, 4.0f)), false},
      {a, PNT_3D_FLOAT(-1.0f, 2.0f, 3.0f), false},
      {PNT_3D_FLOAT(), PNT_3D_FLOAT(-0.0f, 0.0f, -0.0f), true},
      {PNT_3D_FLOAT(0.0f, kNaN, 0.0f), PNT_3D_FLOAT(0.0f, kNaN, 0.0f), false},
      {a, PNT_3D_FLOAT(1.0f, 2.0f, kNaN), false},
  };
  for (auto& c : cases) {
    EXPECT_EQ(c.p == c.q, c.equal) << c.q.x << ", " << c.q.y << ", " << c.q.z;
    EXPECT_EQ(c.q == c.p, c.equal) << c.q.x << ", " << c.q.y << ", " << c.q.z;
  }
}

}  // namespace
