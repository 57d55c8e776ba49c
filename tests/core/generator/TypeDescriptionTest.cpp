#include <gtest/gtest.h>

#include "GeneratorData.h"
#include "generator/DeckScan.h"
#include "generator/TypeDescription.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {

struct Read {
  UnitRecord unit;
  std::vector<std::string> messages;
  int beeps = 0;
};

// Reads a unit of `deckText` with the file `infText` as the description of its type (none when
// empty).
Read ReadUnit(const std::string& deckText, const std::string& infText, int type) {
  taltest::TempDir dir;
  if (!infText.empty()) dir.write("INFO/TYPE" + std::to_string(type) + ".INF", infText);
  ScriptedInteraction ui;
  ScannedDeck deck = ScanDeck(deckText + "END\n", dir.file("INFO"));
  EXPECT_EQ(deck.units.size(), 1u);
  return {deck.units.empty() ? UnitRecord{} : deck.units[0], ui.messages(), ui.beeps()};
}

std::vector<std::string> EntryNames(const std::vector<TypeEntry>& entries) {
  std::vector<std::string> names;
  for (const TypeEntry& e : entries) names.push_back(e.name);
  return names;
}

using gentest::Entry;

}  // namespace

TEST(TypeDescription, EveryProblemIsReportedAndLeavesTheUnitWithoutData) {
  const std::string unit = "UNIT 3 TYPE 6 Tank\nPARAMETERS 2\n1 2\nINPUTS 1\n0,0\n5\n";
  const std::string two = Entry("A", "A", "none 0 1") + Entry("B", "B", "none 0 1");
  struct Case {
    std::string inf, message;
  } cases[] = {
      {"TYPE 60 Other\n", "Type 6 can not be found"},
      {"TYPE 6 Tank\nPARMOD 1\nMODE 1-2\n", "  Error in Type 6 ! MODE 1-1 can not be found"},
      {"TYPE 6 Tank\nPARMOD 2 ZERO\nMODE 2 NEG\n", "  Error in Type 6 ! MODE 2 POS can not be found"},
      {"TYPE 6 Tank\nheading\n" + Entry("A", "A", "none 0 1") + "INPUTS\n", "Parameter 2 for type 6 isn't defined correctly"},
      {"TYPE 6 Tank\nheading\n" + Entry("A", "A", "m2 ft2 0 1 0") + two, "Parameter 1 for type 6 isn't defined correctly"},
      {"TYPE 6 Tank\nheading\n" + Entry("A", "A", "m2 ft2 0 x 0 1") + two, "Parameter 1 for type 6 isn't defined correctly"},
      {"TYPE 6 Tank\nheading\n" + two, "Input 1 for type 6 isn't defined correctly"},  // no INP line at all
      {"TYPE 6 Tank\nheading\n" + two + "INPUTS\n" + Entry("I", "I", "none"), "Input 1 for type 6 isn't defined correctly"},
  };
  for (const Case& c : cases) {
    Read r = ReadUnit(unit, c.inf, 6);
    EXPECT_EQ(r.messages, std::vector<std::string>{c.message}) << c.inf;
    EXPECT_TRUE(r.unit.noData);
    EXPECT_EQ(r.unit.description, "UNIT 3  - NO DATA AVAILABLE");
  }
  Read missing = ReadUnit(unit, "", 6);
  EXPECT_EQ(missing.messages.size(), 1u);
  EXPECT_TRUE(missing.messages.at(0).starts_with("Error 2 was encountered while trying to open file "));
  EXPECT_TRUE(missing.messages.at(0).ends_with("/INFO/TYPE6.INF"));
  EXPECT_EQ(missing.beeps, 1);
}

TEST(TypeDescription, ParmodChoosesTheSectionOfTheParameterValue) {
  const std::string inf = "TYPE 2 Pump\nPARMOD 2\nMODE 2-1\nheading\n" + Entry("LOW", "Low", "none 0 1") +
                          Entry("M", "Mode", "none 1 3") + "MODE 2-3\nheading\n" + Entry("SPEED", "Pump speed", "none 0 1") +
                          Entry("MODE", "Mode", "none 1 3");
  const std::string bySign = "TYPE 2 Pump\nPARMOD 2 ZERO\nMODE 2 NEG\nheading\n" + Entry("LOW", "Low", "none 0 1") +
                             Entry("M", "Mode", "none -5 3") + "MODE 2 POS\nheading\n" +
                             Entry("SPEED", "Pump speed", "none 0 1") + Entry("MODE", "Mode", "none -5 3");
  struct Case {
    std::string deck, inf, first;
  } cases[] = {
      {"PARAMETERS 2\n10 3\n", inf, "SPEED"},
      {"PARAMETERS 2\n10 1.9\n", inf, "LOW"},  // truncated toward zero
      {"CONSTANTS 1\nK=3.5\nUNIT 1 TYPE 2\nPARAMETERS 2\n10 K\n", inf, "SPEED"},  // a constant's value
      // With ZERO the sign section is chosen: NEG below 1, so for 0 too.
      {"PARAMETERS 2\n10 0\n", bySign, "LOW"},
      {"PARAMETERS 2\n10 0.9\n", bySign, "LOW"},
      {"PARAMETERS 2\n10 -3\n", bySign, "LOW"},
      {"PARAMETERS 2\n10 1\n", bySign, "SPEED"},
      {"CONSTANTS 1\nK=0\nUNIT 1 TYPE 2\nPARAMETERS 2\n10 K\n", bySign, "LOW"},
  };
  for (const Case& c : cases) {
    std::string deck = c.deck.starts_with("CONSTANTS") ? c.deck : "UNIT 1 TYPE 2\n" + c.deck;
    Read r = ReadUnit(deck, c.inf, 2);
    EXPECT_TRUE(r.messages.empty()) << c.deck;
    ASSERT_EQ(r.unit.parameterEntries.size(), 2u) << c.deck;
    EXPECT_EQ(r.unit.parameterEntries[0].name, c.first) << c.deck;
  }
}

TEST(TypeDescription, TypeFourFollowsItsScheduleWithoutReadingPastEitherList) {
  std::string inf = "TYPE 4 Storage\nheading\n";
  for (int i = 1; i <= 16; ++i) inf += Entry("E" + std::to_string(i), "Entry", "none 0 1");
  inf += "INPUTS\n" + Entry("I1", "In", "none 0 1");
  // Parameters 1, 5, 6 and the derivatives: 3, -1, 1 and two keep E6 and E16 again and E15, E16.
  Read r = ReadUnit("UNIT 1 TYPE 4\nPARAMETERS 16\n3 0 0 0 -1 1 0 0 0 0 0 0 0 0 0 0\nINPUTS 1\n0,0\n1\nDERIVATIVES 2\n20 30\n", inf, 4);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(EntryNames(r.unit.parameterEntries),
            (std::vector<std::string>{"E1", "E2", "E3", "E4", "E5", "E6", "E6", "E7", "E8", "E9", "E10", "E11", "E12",
                                      "E13", "E14", "E15", "E16", "E16", "E16"}));
  EXPECT_EQ(r.unit.shownParameterCount(), 16u);
}
