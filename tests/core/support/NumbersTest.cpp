#include <gtest/gtest.h>

#include "support/Numbers.h"

using namespace tal;

TEST(FormatReal, WorkedExamples) {
  EXPECT_EQ(FormatReal({true, 2}, 3.14159L), "3.14");
  EXPECT_EQ(FormatReal({true, 0}, 12345), "12345");
  EXPECT_EQ(FormatReal({true, 3}, -0.5L), "-0.500");
  EXPECT_EQ(FormatReal({false, 3}, 1234.5L), "1.235E+03");
  EXPECT_EQ(FormatReal({false, 0}, 5600), "5E+03");
  EXPECT_EQ(FormatReal({false, 2}, 1e-300L), "1.00E-300");
  EXPECT_EQ(FormatReal({false, 2}, 1e-12L), "1.00E-12");
}

TEST(FormatReal, InfinityInEveryFormat) {
  for (RealFormat f : {RealFormat{true, 0}, RealFormat{true, 4}, RealFormat{false, 0}, RealFormat{false, 5}}) {
    EXPECT_EQ(FormatReal(f, 1e99L), "inf");
    EXPECT_EQ(FormatReal(f, -1e99L), "-inf");
  }
}

TEST(ParseReal, InfinityAndWholeText) {
  for (const char* t : {"inf", "Inf", "INF"}) {
    auto p = ParseReal(t);
    EXPECT_TRUE(p.ok) << t;
    EXPECT_EQ(p.value, InfinityValue);
  }
  EXPECT_FALSE(ParseReal(" INF").ok);
  EXPECT_FALSE(ParseReal("12.").ok);
  EXPECT_FALSE(ParseReal("").ok);
  EXPECT_FALSE(ParseReal("1.5x").ok);
  auto p = ParseReal("  -2.5e3");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.value, -2500);
}

TEST(ParseRealTrailingPoint, AcceptsTrailingPoint) {
  auto p = ParseRealTrailingPoint("12.");
  EXPECT_EQ(p.errorPosition, 0);
  EXPECT_EQ(p.value, 12);
  EXPECT_NE(ParseRealTrailingPoint("12a").errorPosition, 0);
}
