// Number parsing and formatting: any text is parsed or refused; a number that was parsed is
// formatted in the formats the program chooses, and its exponential form parses again.
#include <cmath>

#include "FuzzSupport.h"
#include "support/Numbers.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(talfuzz::Bytes(data, size));
  ParsedReal parsed = ParseReal(text);
  ParsedRealPosition trailing = ParseRealTrailingPoint(text);
  if (parsed.ok && trailing.errorPosition != 0) talfuzz::Fail("a number refused once a trailing point is allowed");
  if (trailing.errorPosition < 0 || static_cast<std::size_t>(trailing.errorPosition) > text.size() + 1)
    talfuzz::Fail("an error position outside the text");
  CheckRealValue(text, 1, -1e10L, 1e10L);
  CheckRealValue(text, 2, 0, 100);
  if (!parsed.ok || !std::isfinite(parsed.value)) return 0;
  for (int sig = 1; sig <= 18; sig += 4) FormatReal(ChooseRealFormat(sig, parsed.value), parsed.value);
  for (std::int16_t decimals : {0, 3, 13}) {
    FormatReal(RealFormat{true, decimals}, parsed.value);
    std::string exponential = FormatReal(RealFormat{false, decimals}, parsed.value);
    // In the top decade of the long double range a few decimals round the mantissa up past the
    // largest value (1.18973E+4932 becomes 1.190E+4932), which no reader can take back; the program
    // holds 1E99 as infinity, so no value it writes comes near.
    const bool roundsPastTheRange = std::fabs(parsed.value) >= 1e4931L;
    if (!IsInfinityValue(parsed.value) && !roundsPastTheRange && !ParseReal(exponential).ok)
      talfuzz::Fail("the exponential form " + exponential + " does not parse");
  }
  return 0;
}
