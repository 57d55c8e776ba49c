#include "UnitTypes.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace talpix {
namespace {

std::string Written(double x) {
  char out[40];
  return std::string(out, static_cast<std::size_t>(FormatResultNumber(x, out)));
}

// The text result files have always held: the library's scientific form with six decimals, an
// upper-case E and no "-0".
std::string LibraryText(double x) {
  if (x == 0) x = 0;
  char buf[40];
  std::string text(buf, std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 6).ptr);
  for (char& c : text) c = c == 'e' ? 'E' : c;
  return text;
}

TEST(ResultNumber, KnownNumbersKeepTheirText) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.000000E+00"},          {-0.0, "0.000000E+00"},          {28.549074, "2.854907E+01"},
      {-0.15, "-1.500000E-01"},       {1.0000005, "1.000001E+00"},     {9.9999995, "9.999999E+00"},
      {9999999.5, "1.000000E+07"},    {99999995, "1.000000E+08"},      {0.016666666666666666, "1.666667E-02"},
      {-1e99, "-1.000000E+99"},       {1e-300, "1.000000E-300"},       {1.2345678901234568e29, "1.234568E+29"},
      {5e-324, "4.940656E-324"},      {0.000123456749999, "1.234567E-04"}, {2.5e-7, "2.500000E-07"},
  };
  for (const auto& c : cases) EXPECT_EQ(Written(c.value), c.text) << c.text;
}

TEST(ResultNumber, EveryNumberIsWrittenAsTheLibraryWritesIt) {
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<double> plain(-1000, 1000);
  for (int k = 0; k < 200000; ++k) {
    const std::uint64_t bits = random();
    double any = 0;
    std::memcpy(&any, &bits, sizeof any);
    // Halves of the seventh digit and their neighbours, where rounding is decided by the last bits.
    const double half = (1e6 + k + 0.5) / std::pow(10.0, k % 24 - 6);
    for (double x : {any, plain(random), half, std::nextafter(half, 0.0), std::nextafter(half, HUGE_VAL)})
      ASSERT_EQ(Written(x), LibraryText(x)) << std::hexfloat << x;
  }
}

}  // namespace
}  // namespace talpix
