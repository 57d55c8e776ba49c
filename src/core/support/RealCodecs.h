#pragma once
// Binary number formats of the program's files: the 10-byte extended real of table files and the
// 6-byte real in which plot data is held and stored in plot description files.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/Numbers.h"

namespace tal {

// Table cell markers, compared for exact equality. They must be long double literals: 9.99e99
// as a double widened to long double is a different number with different bytes.
inline constexpr Real NoValue = 9.99e99L;  // not yet set, shown as "Enter value"
inline constexpr Real BlankValue = 1e99L;  // left empty by the user, shown as " "

// 80-bit extended real: 64-bit significand with explicit integer bit, then 16 bits of sign and
// exponent, little-endian; 10 bytes.
inline constexpr std::size_t ExtendedSize = 10;

// Writes the 10 bytes of `value` at `out`; the caller provides the room.
void EncodeExtended(Real value, unsigned char* out);
// Reads the 10 bytes at `in`; the caller guarantees they are there.
Real DecodeExtended(const unsigned char* in);
// Appends the 10 bytes of `value` to `bytes`.
void AppendExtended(std::string& bytes, Real value);
// Reads the value at `offset` of `bytes`; false (and `value` untouched) when fewer than 10
// bytes remain there.
bool ReadExtended(std::string_view bytes, std::size_t offset, Real& value);

// 6-byte real: byte 0 the exponent biased by 129 (0 means the value 0); bytes 1..5 the 39-bit
// fraction, least significant byte first, in bits 0..38; bit 7 of byte 5 the sign.
// The value is (1 + fraction / 2^39) * 2^(exponent - 129).
inline constexpr std::size_t Real48Size = 6;
using Real48 = std::array<std::uint8_t, Real48Size>;

// The largest magnitude a 6-byte real holds, (2 - 2^-39) * 2^126 (about 1.7e38), and the
// smallest one, 2^-128 (about 2.9e-39).
extern const Real Real48Max;
extern const Real Real48Min;

// Rounds to the nearest 6-byte real, a half unit of the last place away from zero. What rounds to
// a magnitude below Real48Min becomes 0; what lies beyond Real48Max (infinities included) becomes
// Real48Max with the value's sign, so a huge value still draws at the edge instead of wrapping
// round. NaN becomes 0.
Real48 EncodeReal48(Real value);
Real DecodeReal48(const Real48& bytes);
Real DecodeReal48(const unsigned char* in);  // the caller guarantees 6 bytes at `in`
// The value as a 6-byte real holds it: DecodeReal48(EncodeReal48(value)).
Real RoundToReal48(Real value);

}  // namespace tal
