#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "TestSupport.h"
#include "shell/TextFileIndex.h"
#include "shell/TextFileSearch.h"

using namespace tal;

namespace {

std::optional<std::uint64_t> Search(const TextFileIndex& index, const std::string& text, bool forward,
                                    std::uint64_t from, bool matchCase, std::size_t budget) {
  TextFileSearch search(index, {text, matchCase, forward, from});
  TextFileSearch::State state;
  while ((state = search.Step(budget)) == TextFileSearch::State::Running) {
  }
  if (state == TextFileSearch::State::NotFound) return std::nullopt;
  return search.foundOffset();
}

// The answer by brute force, to compare the sliced search against.
std::optional<std::uint64_t> Naive(const std::string& hay, const std::string& needle, bool forward, std::uint64_t from) {
  if (forward) {
    std::size_t at = hay.find(needle, from);
    if (at == std::string::npos) return std::nullopt;
    return at;
  }
  if (from == 0) return std::nullopt;
  std::size_t at = hay.rfind(needle, from - 1);
  if (at == std::string::npos) return std::nullopt;
  return at;
}

}  // namespace

TEST(TextFileSearch, SlicedSearchFindsWhatAWholeSearchFinds) {
  std::mt19937 random(11);
  std::string hay;
  for (int i = 0; i < 3000; ++i) hay += "ab\n"[random() % 3];
  taltest::TempDir dir;
  TextFileIndex index;
  ASSERT_EQ(index.Open(dir.write("A.OUT", hay)), "");
  for (const std::string& needle : std::vector<std::string>{"aba", "b", "bab\nab", "aaaa"}) {
    for (std::size_t budget : {1u, 2u, 5u, 64u, 100000u}) {
      for (std::uint64_t from : {0u, 1u, 17u, 1499u, 2998u, 3000u}) {
        for (bool forward : {true, false}) {
          EXPECT_EQ(Search(index, needle, forward, from, true, budget), Naive(hay, needle, forward, from))
              << "needle " << needle << " budget " << budget << " from " << from << " forward " << forward;
        }
      }
    }
  }
}

TEST(TextFileSearch, MatchCaseAndLatin1Letters) {
  taltest::TempDir dir;
  std::string hay = "Temperature\nTEMPERATURE\nd\xC9" "bit d\xE9" "bit\n";
  TextFileIndex index;
  ASSERT_EQ(index.Open(dir.write("A.OUT", hay)), "");
  EXPECT_EQ(Search(index, "temperature", true, 0, false, 4), 0u);
  EXPECT_EQ(Search(index, "temperature", true, 1, false, 4), 12u);
  EXPECT_EQ(Search(index, "temperature", true, 0, true, 4), std::nullopt);
  EXPECT_EQ(Search(index, "TEMPERATURE", true, 0, true, 4), 12u);
  EXPECT_EQ(Search(index, "d\xE9" "bit", true, 0, false, 4), 24u);  // É and é are one letter
  EXPECT_EQ(Search(index, "d\xE9" "bit", true, 0, true, 4), 30u);
  EXPECT_EQ(Search(index, "temperature", false, hay.size(), false, 3), 12u);
  EXPECT_EQ(Search(index, "temperature", false, 12, false, 3), 0u);
  EXPECT_EQ(Search(index, "", true, 0, false, 4), std::nullopt);
}

TEST(TextFileSearch, FoldLatin1KeepsSignsAndSmallLetters) {
  EXPECT_EQ(FoldLatin1('A'), 'a');
  EXPECT_EQ(FoldLatin1('z'), 'z');
  EXPECT_EQ(FoldLatin1('\xC0'), '\xE0');
  EXPECT_EQ(FoldLatin1('\xD7'), '\xD7');  // the multiplication sign is not a letter
  EXPECT_EQ(FoldLatin1('\xDF'), '\xDF');
  EXPECT_EQ(FoldLatin1('['), '[');
}

// Matches that cross the pieces the search reads at a time, in a file of several pieces, found
// in both directions whatever the budget of a step; letters folded as everywhere else.
TEST(TextFileSearch, MatchesAcrossTheReadPiecesAreFoundInOrder) {
  const std::uint64_t piece = FileBytes::ReadPiece;
  const std::string text = "End Of Run";
  std::string hay(3 * piece + 100, '7');
  // Across the first piece's end, at the start of the second piece's overlap, across the third.
  const std::vector<std::uint64_t> at = {piece - 4, 2 * piece - text.size() + 1, 3 * piece - 1};
  for (std::uint64_t a : at) hay.replace(a, text.size(), "eND oF rUN");
  taltest::TempDir dir;
  TextFileIndex index;
  ASSERT_EQ(index.Open(dir.write("A.OUT", hay)), "");
  struct Case {
    bool forward;
    std::uint64_t from;
    std::optional<std::uint64_t> expected;
  };
  const std::vector<Case> cases = {
      {true, 0, at[0]},         {true, at[0] + 1, at[1]}, {true, at[1] + 1, at[2]}, {true, at[2] + 1, std::nullopt},
      {false, hay.size(), at[2]}, {false, at[2], at[1]},  {false, at[1], at[0]},    {false, at[0], std::nullopt},
  };
  for (const Case& c : cases)
    for (std::size_t budget : {std::size_t{1000}, std::size_t{8} << 20})
      EXPECT_EQ(Search(index, text, c.forward, c.from, false, budget), c.expected)
          << "forward " << c.forward << " from " << c.from << " budget " << budget;
}
