#include "support/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <system_error>

#include "support/Text.h"

namespace tal {

bool IsInfinityValue(Real x) {
  Real a = std::fabs(x);
  return a == InfinityValue || a == static_cast<Real>(1e99);
}

namespace {

// Rounds the decimal digit string `digits` to its first `keep` digits, half away from zero, as
// the program's number texts always have (1234.5 with three decimals is 1.235E+03). Returns true
// when the carry ran out of the front ("999" -> "000", the caller adds the leading 1).
bool RoundDigitsHalfUp(std::string& digits, std::size_t keep) {
  bool up = keep < digits.size() && digits[keep] >= '5';
  digits.resize(keep);
  if (!up) return false;
  for (std::size_t i = keep; i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  return true;
}

// Decimal digits after the point that show |x| exactly: a long double has a 64-bit significand,
// so its lowest bit is worth 2^(exponent - 64) and needs that many fraction digits.
int ExactFractionDigits(Real x) {
  int exponent = 0;
  std::frexp(x, &exponent);
  return std::max(0, 64 - exponent);
}

// Digits before the point of |x| (at least 1), with room to spare.
int IntegerDigitsBound(Real x) {
  int exponent = 0;
  std::frexp(x, &exponent);
  return exponent > 0 ? exponent * 30103 / 100000 + 2 : 1;
}

// std::to_chars never looks at the locale: under a desktop locale with a decimal comma the
// program's files must still say "1.5".
std::string ToChars(Real x, std::chars_format format, int precision) {
  std::string buf(static_cast<std::size_t>(IntegerDigitsBound(x)) + static_cast<std::size_t>(precision) + 16, '\0');
  auto result = std::to_chars(buf.data(), buf.data() + buf.size(), x, format, precision);
  buf.resize(result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - buf.data()) : 0);
  return buf;
}

std::string NonFinite(Real x) {
  if (std::isnan(x)) return "nan";
  return x < 0 ? "-inf" : "inf";
}

std::string FormatFixed(int decimals, Real x) {
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(x)) return NonFinite(x);
  // All the digits of |x|, so that the decision to round up is the exact one.
  std::string s = ToChars(std::fabs(x), std::chars_format::fixed, std::max(decimals, ExactFractionDigits(x)));
  std::size_t point = s.find('.');
  std::size_t intDigits = point == std::string::npos ? s.size() : point;
  std::string digits = s.substr(0, intDigits) + (point == std::string::npos ? "" : s.substr(point + 1));
  if (RoundDigitsHalfUp(digits, intDigits + static_cast<std::size_t>(decimals))) {
    digits.insert(digits.begin(), '1');
    ++intDigits;
  }
  std::string text = digits.substr(0, intDigits);
  if (decimals > 0) text += "." + digits.substr(intDigits);
  return (x < 0 ? "-" : "") + text;
}

// Mantissa with `decimals` decimals and a four-digit signed exponent: "1.235E+0003".
std::string FormatExponential(int decimals, Real x) {
  if (!std::isfinite(x)) return NonFinite(x);
  // Enough significant digits to show |x| exactly: the integer digits and the fraction digits.
  int exact = IntegerDigitsBound(x) + ExactFractionDigits(x);
  std::string s = ToChars(std::fabs(x), std::chars_format::scientific, std::max(decimals, exact));
  std::size_t e = s.find('e');
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  long exponent = std::strtol(s.c_str() + e + 1, nullptr, 10);
  if (RoundDigitsHalfUp(digits, static_cast<std::size_t>(decimals) + 1)) {
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    if (x != 0) ++exponent;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "E%c%04ld", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
  return (x < 0 ? "-" : "") + digits.substr(0, 1) + "." + digits.substr(1) + buf;
}

}  // namespace

std::string FormatReal(RealFormat format, Real x) {
  std::string text;
  if (format.fixed) {
    text = FormatFixed(format.decimals, x);
  } else {
    int digits = format.decimals < 1 ? 1 : (format.decimals > 17 ? 17 : format.decimals);
    text = FormatExponential(digits, x);
    std::size_t e = text.find('E');
    if (e != std::string::npos) {
      // Trim the four-digit exponent to at least two digits: E+0003 -> E+03, E+0123 -> E+123.
      for (int pass = 0; pass < 2; ++pass)
        if (e + 2 < text.size() && text[e + 2] == '0') text.erase(e + 2, 1);
      // No decimals wanted: drop the point and the one digit (dropped, not rounded).
      if (format.decimals == 0 && e >= 2) text.erase(e - 2, 2);
    }
  }
  if (IsInfinityValue(x)) text = x < 0 ? "-inf" : "inf";
  return text;
}

RealFormat ChooseRealFormat(int sig, Real x) {
  RealFormat f{true, 1};
  if (x == 0) return f;
  Real a = std::fabs(x);
  if (!std::isfinite(a)) return {false, static_cast<std::int16_t>(sig - 1)};
  if (a <= 1e-5L) return {false, static_cast<std::int16_t>(sig - 1)};
  // The divisor 2.3025 (not ln 10) is part of the program's behaviour: keep it.
  long long d = static_cast<long long>(std::trunc(sig - std::log(a) / 2.3025L));
  if (d >= 0 && d <= sig) return {true, static_cast<std::int16_t>(d)};
  if (a > IntPower(10, sig)) return {true, 0};
  if (a <= IntPower(10, sig - 1)) return {false, static_cast<std::int16_t>(sig - 1)};
  return {true, static_cast<std::int16_t>(sig)};
}

namespace {

// Scans [blanks][sign]digits[.digits][E[sign]digits] from the start of `s`.
// Returns the number of characters that form a valid number and whether the scan stopped at a
// valid end; `stop` is the 0-based index of the first character that broke the form.
struct Scan {
  bool valid = false;
  std::size_t stop = 0;
};

Scan ScanNumber(const std::string& s) {
  std::size_t i = 0, n = s.size();
  auto digits = [&]() {
    std::size_t start = i;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i;
    return i - start;
  };
  while (i < n && s[i] == ' ') ++i;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  if (digits() == 0) return {false, i};
  if (i < n && s[i] == '.') {
    ++i;
    if (digits() == 0) return {false, i};
  }
  if (i < n && s[i] == 'E') {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    if (digits() == 0) return {false, i};
  }
  return {i == n, i};
}

// Converts a text ScanNumber accepted. The "C" locale keeps "." the decimal point whatever the
// desktop's locale says. Overflow is not a number; underflow gives 0 or the nearest tiny value.
bool ConvertScanned(const std::string& s, Real& value) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  value = strtold_l(s.c_str(), nullptr, cLocale);
  return std::isfinite(value);
}

}  // namespace

ParsedReal ParseReal(const std::string& text) {
  std::string up = UpperShort(text);
  if (up == "INF") return {InfinityValue, true};
  if (up == "-INF") return {-InfinityValue, true};
  Scan scan = ScanNumber(up);
  if (!scan.valid) return {0, false};
  Real value = 0;
  if (!ConvertScanned(up, value)) return {0, false};
  return {value, true};
}

ParsedRealPosition ParseRealTrailingPoint(const std::string& text) {
  std::string s = text;
  if (!s.empty() && s.back() == '.') s += '0';
  std::string up = UpperShort(s);
  if (up == "INF") return {InfinityValue, 0};
  if (up == "-INF") return {-InfinityValue, 0};
  Scan scan = ScanNumber(up);
  if (!scan.valid) return {0, static_cast<int>(scan.stop) + 1};
  Real value = 0;
  if (!ConvertScanned(up, value)) return {0, static_cast<int>(up.size())};
  return {value, 0};
}

CheckedReal CheckRealValue(const std::string& text, int kind, Real low, Real high) {
  if (kind < 0) return {0, false};
  ParsedReal p = ParseReal(text.empty() ? std::string(" ") : text);
  if (!p.ok) return {0, false};
  Real v = p.value;
  bool valid = true;
  switch (kind) {
    case 1: valid = v > low; break;
    case 2: valid = v >= low; break;
    case 3: case 6: valid = low <= v && v <= high; break;
    case 4: valid = v <= high; break;
    case 5: valid = low < v && v < high; break;
    case 65: valid = low <= v && v < high; break;
    default: break;
  }
  return valid ? CheckedReal{v, true} : CheckedReal{0, false};
}

Real IntPower(Real base, int n) {
  Real r = 1;
  if (n >= 0) {
    for (int i = 0; i < n; ++i) r *= base;
  } else {
    for (int i = 0; i < -static_cast<long long>(n); ++i) r /= base;
  }
  return r;
}

Real Log10(Real x) { return std::log10(x); }

}  // namespace tal
