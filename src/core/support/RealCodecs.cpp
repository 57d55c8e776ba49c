#include "support/RealCodecs.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace tal {

// The in-memory long double is the file's 80-bit format (x86-64: 10 significant bytes, padded).
static_assert(std::numeric_limits<Real>::digits == 64 && std::numeric_limits<Real>::max_exponent == 16384,
              "long double must be the 80-bit extended format");

void EncodeExtended(Real value, unsigned char* out) {
  unsigned char raw[sizeof(Real)] = {};
  std::memcpy(raw, &value, sizeof(Real));
  std::memcpy(out, raw, ExtendedSize);
}

Real DecodeExtended(const unsigned char* in) {
  unsigned char raw[sizeof(Real)] = {};
  std::memcpy(raw, in, ExtendedSize);
  Real value;
  std::memcpy(&value, raw, sizeof(Real));
  return value;
}

void AppendExtended(std::string& bytes, Real value) {
  unsigned char raw[ExtendedSize];
  EncodeExtended(value, raw);
  bytes.append(reinterpret_cast<const char*>(raw), ExtendedSize);
}

bool ReadExtended(std::string_view bytes, std::size_t offset, Real& value) {
  if (offset > bytes.size() || bytes.size() - offset < ExtendedSize) return false;
  value = DecodeExtended(reinterpret_cast<const unsigned char*>(bytes.data() + offset));
  return true;
}

namespace {

constexpr int Real48Bias = 129;
constexpr int FractionBits = 39;
constexpr std::uint64_t FractionScale = std::uint64_t{1} << FractionBits;
constexpr std::uint64_t FractionMask = FractionScale - 1;

Real48 Pack(int exponentByte, std::uint64_t fraction, bool negative) {
  Real48 b{};
  b[0] = static_cast<std::uint8_t>(exponentByte);
  for (int i = 0; i < 5; ++i) b[1 + i] = static_cast<std::uint8_t>((fraction >> (8 * i)) & 0xFF);
  if (negative) b[5] |= 0x80;
  return b;
}

}  // namespace

const Real Real48Max = std::ldexp(2.0L - std::ldexp(1.0L, -FractionBits), 126);
const Real Real48Min = std::ldexp(1.0L, -128);

Real48 EncodeReal48(Real value) {
  if (value == 0 || std::isnan(value)) return Real48{};
  bool negative = std::signbit(value);
  Real magnitude = std::fabs(value);
  if (std::isinf(magnitude)) return Pack(255, FractionMask, negative);
  int e = 0;
  Real m = std::frexp(magnitude, &e);  // magnitude = m * 2^e, 0.5 <= m < 1
  Real significand = 2 * m;            // in [1, 2), exponent e - 1
  int exponent = e - 1 + Real48Bias;
  // (significand - 1) * 2^39 is exact in a 64-bit significand; adding one half and cutting
  // rounds to nearest with halves away from zero.
  auto fraction = static_cast<std::uint64_t>(std::floor((significand - 1) * FractionScale + 0.5L));
  if (fraction == FractionScale) {
    fraction = 0;
    ++exponent;
  }
  if (exponent < 1) return Real48{};
  if (exponent > 255) return Pack(255, FractionMask, negative);
  return Pack(exponent, fraction, negative);
}

Real DecodeReal48(const unsigned char* in) {
  if (in[0] == 0) return 0;
  std::uint64_t fraction = 0;
  for (int i = 4; i >= 0; --i) fraction = (fraction << 8) | in[1 + i];
  fraction &= FractionMask;
  Real value = std::ldexp(1 + static_cast<Real>(fraction) / FractionScale, in[0] - Real48Bias);
  return (in[5] & 0x80) ? -value : value;
}

Real DecodeReal48(const Real48& bytes) { return DecodeReal48(bytes.data()); }

Real RoundToReal48(Real value) { return DecodeReal48(EncodeReal48(value)); }

}  // namespace tal
