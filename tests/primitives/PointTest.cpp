// PNT_3D_FLOAT: layout, exact results of its arithmetic, and the exported calling shape.
#include "vistal/frame/PNT_3D_FLOAT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace {

// Compound assignments and operator= hand back a copy, not a reference to the point.
static_assert(std::is_same_v<decltype(std::declval<PNT_3D_FLOAT&>() += std::declval<PNT_3D_FLOAT&>()), PNT_3D_FLOAT>);
static_assert(std::is_same_v<decltype(std::declval<PNT_3D_FLOAT&>() -= std::declval<PNT_3D_FLOAT&>()), PNT_3D_FLOAT>);
static_assert(std::is_same_v<decltype(std::declval<PNT_3D_FLOAT&>() ^= std::declval<PNT_3D_FLOAT&>()), PNT_3D_FLOAT>);
static_assert(std::is_same_v<decltype(std::declval<PNT_3D_FLOAT&>() *= 2.0f), PNT_3D_FLOAT>);
static_assert(std::is_same_v<decltype(std::declval<PNT_3D_FLOAT&>() /= 2.0f), PNT_3D_FLOAT>);
static_assert(std::is_same_v<decltype(std::declval<PNT_3D_FLOAT&>() = std::declval<PNT_3D_FLOAT&>()), PNT_3D_FLOAT>);
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

TEST(Point, ConstructsZeroFromComponentsAndFromArrays) {
  PNT_3D_FLOAT zero;
  ExpectPoint(zero, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(zero.SQR_LENGTH(), 0.0f);

  ExpectPoint(PNT_3D_FLOAT(1.0f, 2.0f, 3.0f), 1.0f, 2.0f, 3.0f);

  float a[4] = {4.0f, 5.0f, 6.0f, 99.0f};
  const float ca[3] = {-7.0f, 8.5f, -0.25f};
  ExpectPoint(PNT_3D_FLOAT(a), 4.0f, 5.0f, 6.0f);
  ExpectPoint(PNT_3D_FLOAT(ca), -7.0f, 8.5f, -0.25f);

  PNT_3D_FLOAT p(1.5f, -2.5f, 3.5f);
  float read[3];
  std::memcpy(read, &p, sizeof read);
  EXPECT_EQ(read[0], 1.5f);
  EXPECT_EQ(read[1], -2.5f);
  EXPECT_EQ(read[2], 3.5f);
}

TEST(Point, AddsAndSubtractsComponentwiseWithTheArgumentSubtracted) {
  PNT_3D_FLOAT a(1.0f, 2.0f, 3.0f), b(4.0f, 5.0f, 6.0f);
  ExpectPoint(a + b, 5.0f, 7.0f, 9.0f);
  ExpectPoint(a - b, -3.0f, -3.0f, -3.0f);
  ExpectPoint(b - a, 3.0f, 3.0f, 3.0f);
  ExpectPoint(a, 1.0f, 2.0f, 3.0f);
}

TEST(Point, DotProductAndSquaredLength) {
  PNT_3D_FLOAT a(1.0f, 2.0f, 3.0f), b(4.0f, 5.0f, 6.0f);
  EXPECT_EQ(a * b, 32.0f);
  EXPECT_EQ(b * a, 32.0f);
  EXPECT_EQ(a.SQR_LENGTH(), 14.0f);
}

TEST(Point, DotProductRoundsOnceFromDouble) {
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
}

TEST(Point, CrossProductIsRightHandedAndRoundsOnce) {
  PNT_3D_FLOAT ex(1.0f, 0.0f, 0.0f), ey(0.0f, 1.0f, 0.0f);
  ExpectPoint(ex ^ ey, 0.0f, 0.0f, 1.0f);
  ExpectPoint(ey ^ ex, 0.0f, 0.0f, -1.0f);

  PNT_3D_FLOAT a(1.0f, 2.0f, 3.0f), b(4.0f, 5.0f, 6.0f);
  ExpectPoint(a ^ b, -3.0f, 6.0f, -3.0f);

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
  ExpectPoint(b, 4.0f, 5.0f, 6.0f);

  // Squares of these overflow float; in double they cancel exactly.
  PNT_3D_FLOAT p(1e30f, -2e30f, 3e30f);
  p ^= p;
  ExpectPoint(p, 0.0f, 0.0f, 0.0f);
  PNT_3D_FLOAT q(0.1f, 7.0f, -1e-30f);
  q ^= q;
  ExpectPoint(q, 0.0f, 0.0f, 0.0f);
}

TEST(Point, CompoundAssignmentsReturnCopiesOfTheUpdatedPoint) {
  PNT_3D_FLOAT p(1.0f, 2.0f, 3.0f), q(10.0f, 20.0f, 30.0f);

  PNT_3D_FLOAT r = (p += q);
  ExpectPoint(r, 11.0f, 22.0f, 33.0f);
  r.x = 100.0f;
  ExpectPoint(p, 11.0f, 22.0f, 33.0f);

  PNT_3D_FLOAT r2 = (p -= q);
  ExpectPoint(r2, 1.0f, 2.0f, 3.0f);
  ExpectPoint(p, 1.0f, 2.0f, 3.0f);

  PNT_3D_FLOAT r3 = (p *= 2.0f);
  ExpectPoint(p, 2.0f, 4.0f, 6.0f);
  r3 += q;
  EXPECT_EQ(r3.y, 24.0f);
  EXPECT_EQ(p.y, 4.0f);

  PNT_3D_FLOAT r4 = (p /= 4.0f);
  ExpectPoint(p, 0.5f, 1.0f, 1.5f);
  ExpectPoint(r4, 0.5f, 1.0f, 1.5f);

  PNT_3D_FLOAT s = (p = q);
  ExpectPoint(p, 10.0f, 20.0f, 30.0f);
  s *= 0.5f;
  EXPECT_EQ(s.z, 15.0f);
  EXPECT_EQ(p.z, 30.0f);
  EXPECT_EQ(q.z, 30.0f);
}

TEST(Point, DivisionIsCorrectlyRoundedNotAReciprocalProduct) {
  // x * (1/s) rounds twice; these three give a different float that way.
  PNT_3D_FLOAT p(5.0f, 9.0f, 3.0f);
  p /= 3.0f;
  ExpectPoint(p, 0x1.aaaaaap+0f, 3.0f, 1.0f);  // 5/3 is 0x1.aaaaacp+0 via the reciprocal
  PNT_3D_FLOAT q(9.0f, 3.0f, 9.0f);
  q /= 10.0f;
  EXPECT_EQ(q.x, 0.9f);  // 0.90000004 via the reciprocal
  PNT_3D_FLOAT t(3.0f, 1.0f, 0.0f);
  t /= 7.0f;
  EXPECT_EQ(t.x, 0x1.b6db6ep-2f);  // 3/7; the reciprocal gives 0x1.b6db70p-2

  PNT_3D_FLOAT r(1.0f, 2.0f, 3.0f);
  r /= 0.0f;
  ExpectPoint(r, kInf, kInf, kInf);
  PNT_3D_FLOAT s(-1.0f, 0.0f, 1.0f);
  s /= 0.0f;
  EXPECT_EQ(s.x, -kInf);
  EXPECT_TRUE(std::isnan(s.y));
  EXPECT_EQ(s.z, kInf);
}

TEST(Point, EqualityIsExactWithNaNUnequalAndSignedZerosEqual) {
  PNT_3D_FLOAT a(1.0f, 2.0f, 3.0f), same(1.0f, 2.0f, 3.0f);
  EXPECT_TRUE(a == same);
  PNT_3D_FLOAT nearZ(1.0f, 2.0f, std::nextafter(3.0f, 4.0f));
  EXPECT_FALSE(a == nearZ);
  PNT_3D_FLOAT otherX(-1.0f, 2.0f, 3.0f);
  EXPECT_FALSE(a == otherX);

  PNT_3D_FLOAT zero, negZero(-0.0f, 0.0f, -0.0f);
  EXPECT_TRUE(zero == negZero);
  EXPECT_TRUE(negZero == zero);

  PNT_3D_FLOAT nanY(0.0f, kNaN, 0.0f);
  EXPECT_FALSE(nanY == nanY);
  PNT_3D_FLOAT nanZ(1.0f, 2.0f, kNaN);
  EXPECT_FALSE(nanZ == a);
  EXPECT_FALSE(a == nanZ);
}

}  // namespace
