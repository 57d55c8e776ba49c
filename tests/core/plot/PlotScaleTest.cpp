#include <gtest/gtest.h>

#include "plot/PlotScale.h"

using namespace tal;

namespace {

TEST(PlotScaleTest, ScaleMinMaxProposesRoundRanges) {
  struct Case {
    Real dataMin, dataMax;
    Real min, max;
    int ticks, digits;
  } cases[] = {
      {0.3L, 8.7L, 0, 9, 9, 1},
      {0, 1, 0, 1, 10, 2},
      {-7.2L, 3.1L, -8, 4, 6, 0},
      {0, 0.03L, 0, 0.03L, 6, 3},
      {0, 10, 0, 10, 10, 1},
      {0, 16, 0, 16, 8, 0},  // the trimmed top meets the data's maximum exactly
  };
  for (const Case& c : cases) {
    AxisProposal p = ScaleMinMax(c.dataMin, c.dataMax);
    EXPECT_TRUE(p.HasTicks);
    EXPECT_NEAR(static_cast<double>(p.Min), static_cast<double>(c.min), 1e-12) << static_cast<double>(c.dataMin);
    EXPECT_NEAR(static_cast<double>(p.Max), static_cast<double>(c.max), 1e-12) << static_cast<double>(c.dataMax);
    EXPECT_EQ(p.Ticks, c.ticks) << static_cast<double>(c.dataMax);
    EXPECT_EQ(p.Digits, c.digits) << static_cast<double>(c.dataMax);
  }
}

TEST(PlotScaleTest, DegenerateRangesKeepTheirTicks) {
  AxisProposal constant = ScaleMinMax(5, 5);
  EXPECT_FALSE(constant.HasTicks);
  EXPECT_EQ(constant.Min, 4.5L);
  EXPECT_EQ(constant.Max, 5.5L);
  AxisProposal none = ScaleMinMax(1.0e60L, -1.0e60L);
  EXPECT_FALSE(none.HasTicks);
  EXPECT_EQ(none.Min, 1.0e60L);
  AxisProposal infinite = ScaleMinMax(-1e99L, 0);
  EXPECT_FALSE(infinite.HasTicks);
}

TEST(PlotScaleTest, RangeFieldsShowDigitsPlusOne) {
  EXPECT_EQ(ProposedRangeText(9, 1), "9.0");
  EXPECT_EQ(ProposedRangeText(0.03L, 3), "3.000E-02");
  EXPECT_EQ(ProposedRangeText(0, 0), "0.0");
  EXPECT_EQ(ProposedRangeText(-8, 0), "-8");
}

}  // namespace
