// The colour transfer function: interpolation between control points, clamping outside
// them, and a lookup table that agrees with both.
#include "host/framework/MColorTransferFunction.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

namespace {

using Function = MColorTransferFunction<unsigned short>;

TEST(ColorTransferFunction, InterpolatesEachChannelAndClampsOutsideThePoints) {
  Function f;
  EXPECT_EQ(f.GetColor(500), 0u);  // no points: transparent black

  f.SetPoint(2000, 0x80FF0000);  // half-opaque blue, given out of order
  f.SetPoint(1000, 0xFF0000FF);  // opaque red
  EXPECT_EQ(f.GetNumPoints(), 2u);
  // Half-way every channel lands on .5 and rounds up: red 127.5, blue 127.5, alpha 191.5.
  // A quarter of the way: red 191.25, blue 63.75, alpha 223.25.
  const std::pair<unsigned short, COLORREF> expected[] = {{0, 0xFF0000FF},    {999, 0xFF0000FF},  {1000, 0xFF0000FF},
                                                          {1250, 0xDF4000BF}, {1500, 0xC0800080}, {2000, 0x80FF0000},
                                                          {2001, 0x80FF0000}, {65535, 0x80FF0000}};
  for (auto [value, colour] : expected) EXPECT_EQ(f.GetColor(value), colour) << value;

  f.SetPoint(1000, 0xFF00FF00);  // replaces
  EXPECT_EQ(f.GetNumPoints(), 2u);
  EXPECT_EQ(f.GetColor(0), 0xFF00FF00u);

  Function single;
  single.SetPoint(7, 0x11223344);
  EXPECT_EQ(single.GetColor(0), 0x11223344u);
  EXPECT_EQ(single.GetColor(60000), 0x11223344u);
}

TEST(ColorTransferFunction, TableAgreesWithInterpolationAndFollowsChanges) {
  Function f;
  f.SetPoint(0, 0x00000000);
  f.SetPoint(3, 0xFF102030);
  f.SetPoint(40000, 0x7F00FF00);
  f.SetPoint(40001, 0x00FFFFFF);
  f.SetPoint(50000, 0xFFFFFFFF);
  std::vector<COLORREF> expected(65536);
  for (unsigned v = 0; v < 65536; ++v) expected[v] = f.GetColor(static_cast<unsigned short>(v));

  ASSERT_FALSE(f.IsTableBuilt());
  const COLORREF* table = f.GetTable();
  ASSERT_TRUE(f.IsTableBuilt());
  for (unsigned v = 0; v < 65536; ++v) ASSERT_EQ(table[v], expected[v]) << "value " << v;
  EXPECT_EQ(f.GetColor(45000), expected[45000]);

  EXPECT_TRUE(f.RemovePoint(50000));
  EXPECT_FALSE(f.RemovePoint(50000));
  EXPECT_FALSE(f.IsTableBuilt());  // a change drops the table
  EXPECT_EQ(f.GetTable()[60000], 0x00FFFFFFu);
  f.Clear();
  EXPECT_EQ(f.GetTable()[60000], 0u);
}

TEST(ColorTransferFunction, WorksOverFloatsWithoutATable) {
  MColorTransferFunction<float> f;
  f.SetPoint(0.0f, 0x00000000);
  f.SetPoint(1.0f, 0x000000FF);
  f.SetPoint(std::numeric_limits<float>::quiet_NaN(), 0xFFFFFFFF);
  EXPECT_EQ(f.GetNumPoints(), 2u);
  EXPECT_EQ(f.GetColor(0.5f), 0x00000080u);
  EXPECT_EQ(f.GetColor(-3.0f), 0u);
  EXPECT_EQ(f.GetColor(2.0f), 0xFFu);

  MColorTransferFunction<short> s;  // signed values index from the lowest
  s.SetPoint(-100, 0x000000FF);
  s.SetPoint(100, 0x0000FF00);
  EXPECT_EQ(s.GetTable()[0], 0x000000FFu);
  EXPECT_EQ(s.GetTable()[32768], s.GetColor(0));
  EXPECT_EQ(s.GetColor(0), 0x00008080u);
}

}  // namespace
