// The constants a table can vary, read from the deck's CONSTANTS blocks.
#include <gtest/gtest.h>

#include "tables/DeckConstants.h"

using namespace tal;

namespace {
std::string Names(const DeckVariableList& list) {
  std::string s;
  for (const auto& v : list) s += "[" + v.name + "]";
  return s;
}
}  // namespace

TEST(DeckConstants, DescriptionsAndUnitsInBothSystems) {
  const std::string deck =
      "* deck\n"
      "*|*     ***** UNIT 3 TYPE 15 Weather data *****\n"
      "CONSTANTS 3\n"
      "Z=4\n"
      "a = 1\n"
      "*|Collector area|m2|ft2|\n"
      "* a comment between entries\n"
      "B = \n"
      "END\n";
  for (int units : {1, 2}) {
    auto list = ScanDeckConstantsText(deck, units);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3u);
    const DeckVariable &z = (*list)[0], &a = (*list)[1], &b = (*list)[2];
    EXPECT_EQ(z.name, "Z");
    EXPECT_EQ(z.unit, "UNIT 3 Weather data");
    EXPECT_EQ(z.description, NoDescriptionText);
    EXPECT_EQ(a.name, "A ");  // blanks before "=" stay
    EXPECT_EQ(a.valueText, " 1");
    EXPECT_EQ(a.description, "Collector area");
    EXPECT_EQ(a.unit, units == 2 ? "[m2]" : "[ft2]");
    EXPECT_EQ(b.unit, a.unit);  // B keeps the unit A left
    EXPECT_EQ(b.description, NoDescriptionText);
    EXPECT_EQ(b.valueText, " ");
  }
}

TEST(DeckConstants, DuplicateNamesAndDecksWithout) {
  struct Case {
    const char* deck;
    const char* names;  // nullptr: no list
  };
  const std::vector<Case> cases = {
      {"CONSTANTS 1\nX=1\nEND\nCONSTANTS 1\nX=2\nEND\nCONSTANTS 1\nX=3\nEND\n", "[X][X1][X2]"},
      {"CONSTANTS 1\nX = 1\nEND\nCONSTANTS 1\nX = 2\nEND\n", "[X ][X 1]"},
      {"constants 2\n  long_name=1\n*|described|u|\nQ=2\nEND\n", "[LONG_NAME][Q]"},
      {"* no constants here\nUNIT 1 TYPE 1\nEND\n", nullptr},
      {"", nullptr},
      {"CONSTANTS 2000000000\nX=1\nEND\n", "[X][END]"},  // a count beyond the deck ends with it
  };
  for (const Case& c : cases) {
    auto list = ScanDeckConstantsText(c.deck, 1);
    if (!c.names) {
      EXPECT_FALSE(list) << c.deck;
      continue;
    }
    ASSERT_TRUE(list) << c.deck;
    EXPECT_EQ(Names(*list), c.names) << c.deck;
  }
}

TEST(DeckConstants, MissingDeckGivesNoList) {
  EXPECT_FALSE(ScanDeckConstants("/no/such/deck.dck", 1));
  EXPECT_EQ(NoConstantsMessage("A.DCK"), "File A.DCK does not have any TALPIX Comment statements.");
}

TEST(DeckConstants, TheLineAfterABlockIsExaminedLikeAnyOther) {
  const std::string deck = "CONSTANTS 1\nA = 1\n* the inputs\nCONSTANTS 2\nB = 2\nC = 3\nCONSTANTS 1\nD = 4\nEND\n";
  auto list = ScanDeckConstantsText(deck, 1);
  ASSERT_TRUE(list);
  EXPECT_EQ(Names(*list), "[A ][B ][C ][D ]");
  // The demo's form deck: each of its constants can be a table variable, TSUR and TSET too.
  auto house = ScanDeckConstants(std::string(TAL_SOURCE_DIR) + "/demo/HOUSE.TKD", 1);
  ASSERT_TRUE(house);
  EXPECT_EQ(house->size(), 17u);
  EXPECT_NE(Names(*house).find("[TSUR]"), std::string::npos) << Names(*house);
  EXPECT_NE(Names(*house).find("[TSET]"), std::string::npos) << Names(*house);
}
