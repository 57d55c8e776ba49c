#pragma once
// Number formatting and parsing shared by every window and file format: the texts written into
// decks, tables, plot labels and form fields, and the program's texts for infinity.
#include <cstdint>
#include <string>

namespace tal {

using Real = long double;

// 1e99 stands for plus infinity (and -1e99 for minus infinity): it prints as "inf".
inline constexpr Real InfinityValue = 1e99L;

// fixed = true: plain decimal with exactly `decimals` digits after the point (no point for 0);
// fixed = false: exponential with `decimals` digits after the mantissa's point.
struct RealFormat {
  bool fixed = true;
  std::int16_t decimals = 1;
  bool operator==(const RealFormat&) const = default;
};

// True for +-1e99 (as an extended or as a double constant), the program's infinities.
bool IsInfinityValue(Real x);

std::string FormatReal(RealFormat format, Real x);
RealFormat ChooseRealFormat(int sig, Real x);

struct ParsedReal {
  Real value = 0;
  bool ok = false;
};
// "INF"/"-INF" in any case, or a whole decimal number: [blanks][sign]digits[.digits][E[sign]digits].
ParsedReal ParseReal(const std::string& text);

struct ParsedRealPosition {
  Real value = 0;
  int errorPosition = 0;  // 1-based position of the first character that did not convert; 0 = ok
};
// As ParseReal, but a trailing "." is accepted ("12." reads as 12).
ParsedRealPosition ParseRealTrailingPoint(const std::string& text);

// Range check of a numeric field's text. Kinds: 1 v>low, 2 v>=low, 3 and 6 low<=v<=high,
// 4 v<=high, 5 low<v<high, 65 low<=v<high, other non-negative kinds always valid; a negative kind
// is never valid. An empty text does not convert. value is 0 when not valid.
struct CheckedReal {
  Real value = 0;
  bool valid = false;
};
CheckedReal CheckRealValue(const std::string& text, int kind, Real low, Real high);

Real IntPower(Real base, int n);
Real Log10(Real x);

}  // namespace tal
