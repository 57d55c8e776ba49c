#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>

#include "TestSupport.h"
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

// ---------------------------------------------------------------------------------------------

namespace {

struct FormatCase {
  RealFormat format;
  Real value;
  const char* text;
};

}  // namespace

TEST(FormatReal, FixedNotation) {
  const FormatCase cases[] = {
      {{true, 2}, 3.14159L, "3.14"},
      {{true, 0}, 12345, "12345"},
      {{true, 3}, -0.5L, "-0.500"},
      {{true, 2}, 0, "0.00"},
      {{true, 0}, 0, "0"},
      {{true, 0}, 0.5L, "1"},        // halves round away from zero
      {{true, 0}, -0.5L, "-1"},
      {{true, 0}, 2.5L, "3"},
      {{true, 2}, 0.125L, "0.13"},
      {{true, 2}, -0.125L, "-0.13"},
      {{true, 2}, 2.675L, "2.67"},   // 2.675 is held a little below the half
      {{true, 2}, 9.999L, "10.00"},  // the carry makes a new leading digit
      {{true, 0}, 99.5L, "100"},
      {{true, 1}, 1234567.25L, "1234567.3"},
      {{true, 2}, 1e20L, "100000000000000000000.00"},
      {{true, 4}, 1e-9L, "0.0000"},
      {{true, -2}, 3.7L, "4"},  // a negative count of decimals shows none
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatReal(c.format, c.value), c.text) << static_cast<double>(c.value) << " with " << c.format.decimals;
}

TEST(FormatReal, ExponentialNotationTrimsTheExponent) {
  const FormatCase cases[] = {
      {{false, 3}, 1234.5L, "1.235E+03"},
      {{false, 3}, -1234.5L, "-1.235E+03"},
      {{false, 2}, 1e-300L, "1.00E-300"},
      {{false, 2}, 1.5e123L, "1.50E+123"},
      {{false, 2}, 1e-12L, "1.00E-12"},
      {{false, 2}, 1e-5L, "1.00E-05"},
      {{false, 4}, 25, "2.5000E+01"},
      {{false, 4}, -0.001L, "-1.0000E-03"},
      {{false, 2}, 0, "0.00E+00"},
      {{false, 2}, 9.999L, "1.00E+01"},  // rounding up moves the exponent
      {{false, 1}, 1e4000L, "1.0E+4000"},
      {{false, 2}, 9.99e99L, "9.99E+99"},
      {{false, 20}, 1, "1.00000000000000000E+00"},  // at most 17 decimals
      {{false, -1}, 1234, "1.2E+03"},                // at least one
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatReal(c.format, c.value), c.text) << static_cast<double>(c.value) << " with " << c.format.decimals;
}

TEST(FormatReal, NoDecimalsDropsTheDigitAfterRounding) {
  EXPECT_EQ(FormatReal({false, 0}, 5600), "5E+03");  // 5.6 loses its 6, it is not rounded to 6
  EXPECT_EQ(FormatReal({false, 0}, 5960), "6E+03");  // the mantissa was rounded to 6.0 first
  EXPECT_EQ(FormatReal({false, 0}, -0.0042L), "-4E-03");
  EXPECT_EQ(FormatReal({false, 0}, 1e-300L), "1E-300");
}

TEST(FormatReal, OnlyTheExactInfinityValuesPrintAsInf) {
  EXPECT_EQ(FormatReal({true, 2}, static_cast<Real>(1e99)), "inf") << "1e99 that passed through a double";
  EXPECT_EQ(FormatReal({false, 2}, 1e98L), "1.00E+98");
  EXPECT_EQ(FormatReal({false, 2}, 1.0000001e99L), "1.00E+99");
  EXPECT_EQ(FormatReal({false, 2}, -9.99e99L), "-9.99E+99");
  EXPECT_EQ(FormatReal({true, 0}, -1e100L).size(), 101u) << "a plain number, not -inf";
}

// The desktop's locale must not change the program's number texts: QApplication takes the user's
// locale, and a German one has a decimal comma for printf and strtod.
namespace {

// Switches the process to a German locale (decimal comma) built in a temporary folder, and back
// to "C" when it goes out of scope, also when a test body throws.
class GermanLocale {
 public:
  GermanLocale() {
    std::string command = "localedef -i de_DE -f ISO-8859-1 " + folder_.file("de_DE") + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    ::setenv("LOCPATH", folder_.path().c_str(), 1);
    active_ = std::setlocale(LC_ALL, "de_DE") != nullptr;
  }
  ~GermanLocale() {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
  }
  bool active() const { return active_; }

 private:
  taltest::TempDir folder_;
  bool active_ = false;
};

}  // namespace

// The desktop's locale must not change the program's number texts: QApplication takes the user's
// locale, and a German one has a decimal comma for printf and strtod.
TEST(Numbers, TextsDoNotFollowTheDesktopLocale) {
  GermanLocale german;
  ASSERT_TRUE(german.active()) << "needs localedef and the locales data";
  EXPECT_EQ(FormatReal({true, 3}, 1.5L), "1.500");
  EXPECT_EQ(FormatReal({false, 2}, 1234.5L), "1.23E+03");
  ParsedReal parsed = ParseReal("1.5");
  EXPECT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.value, 1.5L);
  EXPECT_FALSE(ParseReal("1,5").ok);
  ParsedRealPosition trailing = ParseRealTrailingPoint("2.");
  EXPECT_EQ(trailing.errorPosition, 0);
  EXPECT_EQ(trailing.value, 2);
}

TEST(ChooseRealFormat, AboutSigSignificantDigits) {
  struct Case {
    Real value;
    RealFormat format;
    const char* text;
  };
  const Case cases[] = {
      {0.5L, {true, 3}, "0.500"},   {5, {true, 2}, "5.00"},          {50, {true, 1}, "50.0"},
      {500, {true, 0}, "500"},      {5000, {true, 0}, "5000"},       {50000, {true, 0}, "50000"},
      {0.05L, {false, 2}, "5.00E-02"}, {1e-5L, {false, 2}, "1.00E-05"}, {1e-300L, {false, 2}, "1.00E-300"},
      {0, {true, 1}, "0.0"},        {-5, {true, 2}, "-5.00"},        {-0.05L, {false, 2}, "-5.00E-02"},
  };
  for (const auto& c : cases) {
    RealFormat f = ChooseRealFormat(3, c.value);
    EXPECT_EQ(f, c.format) << static_cast<double>(c.value);
    EXPECT_EQ(FormatReal(f, c.value), c.text) << static_cast<double>(c.value);
  }
}

TEST(ChooseRealFormat, DividesByTwoPointThreeZeroTwoFive) {
  // Just below 10, ln|x| / 2.3025 already passes 1 where ln|x| / ln 10 does not.
  EXPECT_EQ(ChooseRealFormat(3, 9.9995L), (RealFormat{true, 1}));
  // Just above 0.1 it passes -1 the other way and the value goes exponential.
  EXPECT_EQ(ChooseRealFormat(3, 0.100004L), (RealFormat{false, 2}));
  EXPECT_EQ(ChooseRealFormat(4, 25), (RealFormat{true, 2}));
}

TEST(ParseReal, AcceptsWholeNumbersOnly) {
  struct Case {
    const char* text;
    Real value;
  };
  const Case good[] = {
      {"12", 12},       {"-12.5", -12.5L}, {"+3", 3},           {"  7", 7},        {"1e3", 1000},
      {"1E-2", 1e-2L},  {"2.5E+3", 2500},  {"0", 0},            {"-0.125", -0.125L},
      {"inf", InfinityValue}, {"-Inf", -InfinityValue}, {"-INF", -InfinityValue},
      {"1e-5000", 0},  // too small for the format: it reads as zero
  };
  for (const auto& c : good) {
    ParsedReal p = ParseReal(c.text);
    EXPECT_TRUE(p.ok) << c.text;
    EXPECT_EQ(p.value, c.value) << c.text;
  }
  const char* bad[] = {"", " ", " INF", "INF ", "+INF", "12.", ".5", "12 ", "1,5", "1.5D+03", "1e", "--1",
                       "abc", "1e99999", "nan", "infinity", "1.2.3", "\t5", "0x10", "1e+"};
  for (const char* t : bad) EXPECT_FALSE(ParseReal(t).ok) << '"' << t << '"';
}

TEST(ParseRealTrailingPoint, ReportsWhereConversionStopped) {
  struct Case {
    const char* text;
    Real value;
    int position;
  };
  const Case cases[] = {
      {"12.", 12, 0}, {"-3.", -3, 0}, {"12", 12, 0}, {"0.5", 0.5L, 0}, {"INF", InfinityValue, 0},
      {"12a", 0, 3},  {"1.5x", 0, 4}, {"a", 0, 1},   {"1..", 0, 3},
  };
  for (const auto& c : cases) {
    ParsedRealPosition p = ParseRealTrailingPoint(c.text);
    EXPECT_EQ(p.errorPosition, c.position) << c.text;
    if (c.position == 0) {
      EXPECT_EQ(p.value, c.value) << c.text;
    }
  }
  EXPECT_NE(ParseRealTrailingPoint("").errorPosition, 0);
  EXPECT_NE(ParseRealTrailingPoint(".").errorPosition, 0);
}

TEST(CheckRealValue, EveryKind) {
  struct Case {
    int kind;
    const char* text;
    bool valid;
  };
  // Bounds 0 and 10 throughout.
  const Case cases[] = {
      {1, "0", false},   {1, "0.1", true},    {1, "-1", false},
      {2, "0", true},    {2, "-0.1", false},  {2, "1e6", true},
      {3, "0", true},    {3, "10", true},     {3, "10.1", false}, {3, "-0.1", false},
      {4, "10", true},   {4, "10.1", false},  {4, "-100", true},
      {5, "0", false},   {5, "10", false},    {5, "5", true},
      {6, "0", true},    {6, "10", true},     {6, "10.5", false},
      {65, "0", true},   {65, "9.99", true},  {65, "10", false},  {65, "-1", false},
      {0, "1e6", true},  {7, "-1e6", true},   {64, "99", true},   {66, "99", true},
      {-1, "5", false},  {-65, "5", false},
      {0, "", false},    {0, " ", false},     {0, "abc", false},  {3, "5 ", false},
      {3, "INF", false}, {2, "inf", true},
  };
  for (const auto& c : cases) {
    CheckedReal r = CheckRealValue(c.text, c.kind, 0, 10);
    EXPECT_EQ(r.valid, c.valid) << "kind " << c.kind << " text \"" << c.text << '"';
    if (!r.valid) {
      EXPECT_EQ(r.value, 0) << "kind " << c.kind << " text \"" << c.text << '"';
    }
  }
  EXPECT_EQ(CheckRealValue("7.25", 3, 0, 10).value, 7.25L);
}

TEST(IntPower, RepeatedMultiplicationAndDivision) {
  EXPECT_EQ(IntPower(10, 0), 1);
  EXPECT_EQ(IntPower(0, 0), 1);
  EXPECT_EQ(IntPower(10, 3), 1000);
  EXPECT_EQ(IntPower(-2, 3), -8);
  EXPECT_EQ(IntPower(2, -3), 0.125L);
  EXPECT_EQ(IntPower(-2, -2), 0.25L);
  EXPECT_EQ(IntPower(10, -1), 1 / 10.0L);
  EXPECT_TRUE(std::isinf(IntPower(0, -1)));
  EXPECT_NEAR(static_cast<double>(Log10(1000.0L)), 3.0, 1e-15);
}
