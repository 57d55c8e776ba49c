// Find in a viewed file: any text in any bytes, with and without match case, comparing 16 or 32
// bytes at once, is found where a plain search of the folded bytes finds it, first and last.
#include <algorithm>

#include "FuzzSupport.h"
#include "shell/TextFileSearch.h"
#include "shell/TextFinder.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte chooses match case (its low bit) and the text's length (1 to 16).
  const bool matchCase = data[0] & 1;
  const std::size_t length = std::min<std::size_t>(1 + (data[0] >> 1) % 16, size - 1);
  if (length == 0) return 0;
  const std::string text(talfuzz::Bytes(data + 1, length));
  const std::string hay(talfuzz::Bytes(data + 1 + length, size - 1 - length));
  auto folded = [&](std::string s) {
    if (!matchCase) std::transform(s.begin(), s.end(), s.begin(), FoldLatin1);
    return s;
  };
  const std::string plainHay = folded(hay), plainText = folded(text);
  const char* begin = hay.data();
  auto offset = [&](const char* hit) { return hit ? static_cast<std::size_t>(hit - begin) : std::string::npos; };
  for (ByteLanes lanes : {ByteLanes::Baseline, ByteLanes::Avx2}) {
    TextFinder finder(text, matchCase, lanes);
    const char* first = finder.FindFirst(begin, begin + hay.size());
    const char* last = finder.FindLast(begin, begin + hay.size());
    if (offset(first) != plainHay.find(plainText)) talfuzz::Fail("the first match differs from a plain search's");
    if (offset(last) != plainHay.rfind(plainText)) talfuzz::Fail("the last match differs from a plain search's");
  }
  return 0;
}
