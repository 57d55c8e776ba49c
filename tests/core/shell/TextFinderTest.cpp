#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "shell/TextFileSearch.h"
#include "shell/TextFinder.h"

using namespace tal;

namespace {

std::string Folded(std::string s, bool matchCase) {
  if (!matchCase)
    for (char& c : s) c = FoldLatin1(c);
  return s;
}

// The answer by folding both sides and searching plainly: offsets into `hay`.
std::optional<std::size_t> Naive(const std::string& hay, const std::string& text, bool matchCase, bool first) {
  const std::string h = Folded(hay, matchCase), t = Folded(text, matchCase);
  std::size_t at = first ? h.find(t) : h.rfind(t);
  if (at == std::string::npos) return std::nullopt;
  return at;
}

std::optional<std::size_t> Found(const TextFinder& finder, const std::string& hay, bool first) {
  const char* begin = hay.data();
  const char* hit = first ? finder.FindFirst(begin, begin + hay.size()) : finder.FindLast(begin, begin + hay.size());
  if (!hit) return std::nullopt;
  return static_cast<std::size_t>(hit - begin);
}

}  // namespace

// Random texts over letters of both cases, accented letters, digits and signs that are not
// letters, at every length around the blocks the finder looks at together, comparing 16 or 32
// bytes at once, compared with a plain search of the folded bytes. Texts begin or end with bytes
// common in output files (blanks, digits, E) or with rarer ones, in either order.
TEST(TextFinder, FindsWhatAPlainSearchOfTheFoldedBytesFinds) {
  const std::string alphabet = "aAbBeE0 \n\xE9\xC9\xD7\xF7\xDF\xFF";
  std::mt19937 random(7);
  auto pick = [&](std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 4000; ++round) {
    const std::string hay = pick(random() % 300), text = pick(1 + random() % 4);
    for (bool matchCase : {false, true}) {
      for (ByteLanes lanes : {ByteLanes::Baseline, ByteLanes::Avx2}) {
        TextFinder finder(text, matchCase, lanes);
        for (bool first : {true, false})
          ASSERT_EQ(Found(finder, hay, first), Naive(hay, text, matchCase, first))
              << "round " << round << " match case " << matchCase << " first " << first << " lanes "
              << static_cast<int>(lanes);
      }
    }
  }
}

TEST(TextFinder, EveryByteFoldsAsFoldLatin1Says) {
  std::string every;
  for (int c = 0; c < 256; ++c) every += static_cast<char>(c);
  for (int c = 0; c < 256; ++c) {
    const std::string text(1, static_cast<char>(c));
    for (bool matchCase : {false, true}) {
      TextFinder finder(text, matchCase);
      EXPECT_EQ(Found(finder, every, true), Naive(every, text, matchCase, true)) << "byte " << c << " case " << matchCase;
      EXPECT_EQ(Found(finder, every, false), Naive(every, text, matchCase, false)) << "byte " << c << " case " << matchCase;
    }
  }
}

TEST(TextFinder, AnEmptyTextOrAShortBlockFindsNothing) {
  const std::string hay = "abc";
  EXPECT_EQ(Found(TextFinder("", false), hay, true), std::nullopt);
  EXPECT_EQ(Found(TextFinder("abcd", false), hay, true), std::nullopt);
  EXPECT_EQ(Found(TextFinder("abcd", false), hay, false), std::nullopt);
  EXPECT_EQ(Found(TextFinder("ABC", false), hay, false), 0u);
}
