#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/RealCodecs.h"

using namespace tal;

namespace {

std::string Hex(const unsigned char* bytes, std::size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    if (i) s += ' ';
    s += digits[bytes[i] >> 4];
    s += digits[bytes[i] & 15];
  }
  return s;
}

std::string ExtendedHex(Real value) {
  unsigned char b[ExtendedSize];
  EncodeExtended(value, b);
  return Hex(b, ExtendedSize);
}

std::string Real48Hex(Real value) { return Hex(EncodeReal48(value).data(), Real48Size); }

Real48 FromHex(const std::string& hex) {
  Real48 b{};
  for (std::size_t i = 0; i < Real48Size; ++i) b[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(3 * i, 2), nullptr, 16));
  return b;
}

}  // namespace

TEST(ExtendedReal, TableMarkersHaveTheirFileBytes) {
  EXPECT_EQ(ExtendedHex(NoValue), "1D 07 8D EA 19 F5 27 92 4B 41");
  EXPECT_EQ(ExtendedHex(BlankValue), "27 72 F9 3C 14 75 15 EA 47 41");
  // The trap the long double literals avoid: a double constant has other bytes.
  EXPECT_NE(ExtendedHex(static_cast<Real>(9.99e99)), "1D 07 8D EA 19 F5 27 92 4B 41");
}

TEST(ExtendedReal, OrdinaryValues) {
  EXPECT_EQ(ExtendedHex(0), "00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(ExtendedHex(1), "00 00 00 00 00 00 00 80 FF 3F");
  EXPECT_EQ(ExtendedHex(-2), "00 00 00 00 00 00 00 80 00 C0");
  EXPECT_EQ(ExtendedHex(0.5L), "00 00 00 00 00 00 00 80 FE 3F");
}

TEST(ExtendedReal, DecodesBitForBit) {
  for (Real v : {NoValue, BlankValue, -BlankValue, 0.1L, -123.456e-200L, 1e4000L,
                 std::numeric_limits<Real>::denorm_min(), std::numeric_limits<Real>::max()}) {
    unsigned char b[ExtendedSize];
    EncodeExtended(v, b);
    EXPECT_EQ(DecodeExtended(b), v);
  }
  const unsigned char noValue[] = {0x1D, 0x07, 0x8D, 0xEA, 0x19, 0xF5, 0x27, 0x92, 0x4B, 0x41};
  EXPECT_EQ(DecodeExtended(noValue), NoValue);
}

TEST(ExtendedReal, ReadingStaysInsideTheBytes) {
  std::string bytes = "xy";
  AppendExtended(bytes, BlankValue);
  AppendExtended(bytes, 42);
  ASSERT_EQ(bytes.size(), 22u);
  Real v = 7;
  ASSERT_TRUE(ReadExtended(bytes, 2, v));
  EXPECT_EQ(v, BlankValue);
  ASSERT_TRUE(ReadExtended(bytes, 12, v));
  EXPECT_EQ(v, 42);
  for (std::size_t offset : {std::size_t{13}, std::size_t{22}, std::size_t{23}, std::numeric_limits<std::size_t>::max()}) {
    v = 7;
    EXPECT_FALSE(ReadExtended(bytes, offset, v)) << offset;
    EXPECT_EQ(v, 7) << offset;
  }
  EXPECT_FALSE(ReadExtended(std::string(9, '\0'), 0, v));
}

TEST(SixByteReal, EncodesBitForBit) {
  struct Case {
    Real value;
    const char* bytes;
  };
  const Case cases[] = {
      {0, "00 00 00 00 00 00"},
      {-0.0L, "00 00 00 00 00 00"},
      {1, "81 00 00 00 00 00"},
      {-1, "81 00 00 00 00 80"},
      {2, "82 00 00 00 00 00"},
      {0.5L, "80 00 00 00 00 00"},
      {-1.5L, "81 00 00 00 00 C0"},
      {0.1L, "7D CD CC CC CC 4C"},
      {3.14159265358979L, "82 21 A2 DA 0F 49"},
      {123456.789L, "91 F4 FD 64 20 71"},
      {1e38L, "FF B5 50 99 76 16"},
      {-3e-20L, "40 6E 4B C6 AB 8D"},
  };
  for (const auto& c : cases) EXPECT_EQ(Real48Hex(c.value), c.bytes) << static_cast<double>(c.value);
}

TEST(SixByteReal, RoundsToNearestWithHalvesUpInMagnitude) {
  const Real ulp = std::ldexp(1.0L, -39);  // last place of a value in [1, 2)
  EXPECT_EQ(Real48Hex(1 + ulp / 2), "81 01 00 00 00 00");
  EXPECT_EQ(Real48Hex(-(1 + ulp / 2)), "81 01 00 00 00 80");
  EXPECT_EQ(Real48Hex(1 + ulp / 2 - std::ldexp(1.0L, -62)), "81 00 00 00 00 00");
  EXPECT_EQ(Real48Hex(1 + 1.5L * ulp), "81 02 00 00 00 00");
  EXPECT_EQ(Real48Hex(1 + 2.5L * ulp), "81 03 00 00 00 00");
  EXPECT_EQ(Real48Hex(2 - ulp / 2), "82 00 00 00 00 00") << "the carry moves into the exponent";
  EXPECT_EQ(Real48Hex(-(2 - ulp / 2)), "82 00 00 00 00 80");
}

TEST(SixByteReal, TinyValuesBecomeZero) {
  EXPECT_EQ(Real48Hex(Real48Min), "01 00 00 00 00 00");
  EXPECT_EQ(Real48Hex(-Real48Min), "01 00 00 00 00 80");
  EXPECT_EQ(Real48Hex(std::ldexp(1.0L, -129)), "00 00 00 00 00 00");
  EXPECT_EQ(Real48Hex(1e-40L), "00 00 00 00 00 00");
  EXPECT_EQ(Real48Hex(-1e-300L), "00 00 00 00 00 00");
  // Nearer to the smallest 6-byte real than to anything below it: it rounds up to that.
  EXPECT_EQ(Real48Hex(Real48Min * (1 - std::ldexp(1.0L, -41))), "01 00 00 00 00 00");
  EXPECT_NEAR(static_cast<double>(Real48Min), 2.9387e-39, 1e-42);
}

TEST(SixByteReal, HugeValuesStopAtTheLargest) {
  EXPECT_EQ(Real48Hex(Real48Max), "FF FF FF FF FF 7F");
  EXPECT_EQ(Real48Hex(1e39L), "FF FF FF FF FF 7F");
  EXPECT_EQ(Real48Hex(-1e300L), "FF FF FF FF FF FF");
  EXPECT_EQ(Real48Hex(std::numeric_limits<Real>::infinity()), "FF FF FF FF FF 7F");
  EXPECT_EQ(Real48Hex(-std::numeric_limits<Real>::infinity()), "FF FF FF FF FF FF");
  EXPECT_EQ(Real48Hex(std::numeric_limits<Real>::quiet_NaN()), "00 00 00 00 00 00");
  EXPECT_NEAR(static_cast<double>(Real48Max), 1.7014118346e38, 1e28);
}

TEST(SixByteReal, Decodes) {
  EXPECT_EQ(DecodeReal48(FromHex("81 00 00 00 00 00")), 1);
  EXPECT_EQ(DecodeReal48(FromHex("81 00 00 00 00 C0")), -1.5L);
  EXPECT_EQ(DecodeReal48(FromHex("00 12 34 56 78 9A")), 0) << "exponent byte 0 is zero whatever follows";
  EXPECT_EQ(DecodeReal48(FromHex("FF FF FF FF FF 7F")), Real48Max);
  EXPECT_EQ(DecodeReal48(FromHex("01 00 00 00 00 00")), Real48Min);
  for (const char* hex : {"7D CD CC CC CC 4C", "82 21 A2 DA 0F 49", "40 6E 4B C6 AB 8D", "FF B5 50 99 76 16"}) {
    Real48 b = FromHex(hex);
    EXPECT_EQ(EncodeReal48(DecodeReal48(b)), b) << hex;
    EXPECT_EQ(DecodeReal48(b.data()), DecodeReal48(b)) << hex;
  }
}

TEST(SixByteReal, RoundToReal48KeepsAboutTwelveDigits) {
  Real r = RoundToReal48(0.1L);
  EXPECT_NE(r, 0.1L);
  EXPECT_NEAR(static_cast<double>(r), 0.1, 1e-12);
  EXPECT_EQ(RoundToReal48(1e-40L), 0);
  EXPECT_EQ(RoundToReal48(-12.5L), -12.5L);
}
