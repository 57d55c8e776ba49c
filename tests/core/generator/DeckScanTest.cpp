#include <gtest/gtest.h>

#include "GeneratorData.h"
#include "generator/DeckScan.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {

struct Scan {
  ScannedDeck deck;
  std::vector<std::string> messages;
};

Scan ScanText(const std::string& text) {
  taltest::TempDir dir;
  gentest::WriteEngine(dir);
  ScriptedInteraction ui;
  Scan scan{ScanDeck(text, DescriptionDirectoryOf(dir.file("eng"))), {}};
  scan.messages = ui.messages();
  return scan;
}

std::vector<std::string> Names(const ScannedDeck& deck) {
  std::vector<std::string> names;
  for (const DeckConstant& c : deck.constants) names.push_back(c.name);
  return names;
}

}  // namespace

TEST(ScanDeck, SortsTheLinesOfADeck) {
  Scan s = ScanText(
      "* legend of the deck\n"
      "SIMULATION 0 24 1\n"
      "* the simulation runs a day\n"
      "ASSIGN SIMPLE.OUT 12\n"
      "EQUATIONS 1\n"
      "x = 1\n"
      "* after\n"
      "CONSTANTS 2\n"
      "X=2\n"
      "X1=3\n"
      "UNIT 2 TYPE 24 Printer\n"
      "PARAMETERS 1\n"
      "7\n"
      "UNIT 1 TYPE 3 collector\n"
      "PARAMETERS 2\n"
      "* comment inside the unit\n"
      "2.5 AREA\n"
      "INPUTS 3\n"
      "0,0 4, 2 0,0\n"
      "20 0 15\n"
      "DERIVATIVES 1\n"
      "30\n"
      "TRACE 0 24\n"
      "WIDTH 72\n"
      "END\n");
  EXPECT_TRUE(s.messages.empty());
  EXPECT_EQ(s.deck.simulationCard, "SIMULATION 0 24 1");  // a later comment mentioning it does not replace it
  EXPECT_EQ(s.deck.assignLines, (std::vector<std::string>{"ASSIGN SIMPLE.OUT 12"}));
  EXPECT_EQ(Names(s.deck), (std::vector<std::string>{"X", "X1", "X11"}));
  EXPECT_EQ(s.deck.otherLines,
            (std::vector<std::string>{"* the simulation runs a day", "EQUATIONS 1", "x = 1", "* after", "*|*", "CONSTANTS 2", "X=2", "X1=3", "*|*", "  ",
                                      "UNIT 2 TYPE 24 Printer", "PARAMETERS 1", "7", "WIDTH 72"}));
  ASSERT_EQ(s.deck.units.size(), 1u);
  const UnitRecord& u = s.deck.units[0];
  EXPECT_FALSE(u.parameterEligible(1));  // already a name
  EXPECT_EQ(u.connections, (std::vector<std::string>{"0,0", "4,2", "0,0"}));
  EXPECT_EQ(u.settable, (std::vector<bool>{true, false, true}));
}

TEST(ScanDeck, ACommentIsTheCardOnlyWhenNoStatementIs) {
  Scan s = ScanText("* no simulation here\nWIDTH 72\n* END of it all\nEND\n");
  EXPECT_EQ(s.deck.simulationCard, "* no simulation here");
  EXPECT_EQ(s.deck.otherLines, (std::vector<std::string>{"WIDTH 72"}));
}

TEST(ScanDeck, CountProblemsLeaveTheUnitWithoutData) {
  struct Case {
    std::string block, message;
  } cases[] = {
      {"PARAMETERS 2\n1 2 3\nEND\n", " The parameters number for unit 1 is not defined correctly"},
      {"PARAMETERS 2\n1 2\nINPUTS 1\n0,0 3,1\n5\nEND\n", " The inputs number for unit 1 is not defined correctly"},
      {"PARAMETERS 2\n1 2\nINPUTS 1\n0,0\n5 6\nEND\n", " The inputs number for unit 1 is not defined correctly"},
      {"PARAMETERS 3\n1 2\n", " The parameters number for unit 1 is not defined correctly"},  // deck ends first
  };
  for (const Case& c : cases) {
    Scan s = ScanText("UNIT 1 TYPE 1\n" + c.block);
    EXPECT_EQ(s.messages, std::vector<std::string>{c.message}) << c.block;
    ASSERT_EQ(s.deck.units.size(), 1u);
    EXPECT_TRUE(s.deck.units[0].noData);
    EXPECT_EQ(s.deck.units[0].description, "UNIT 1  - NO DATA AVAILABLE");
  }
}

TEST(ScanDeck, UnitsThatWouldReadTheSameInTheListAreToldApartByTheirCards) {
  std::vector<UnitRecord> units(4);
  const char* const read[][2] = {{"TYPE 1 MASS", "UNIT 3 TYPE 1 House"}, {"TYPE 2 SWITCH", "UNIT 4 TYPE 2"},
                                 {"TYPE 1 MASS", "UNIT 6  TYPE\t1   Storage tank"}, {"TYPE 3 PUMP", "UNIT 5 TYPE 3"}};
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i].description = read[i][0];
    units[i].cardAsWritten = read[i][1];
  }
  EXPECT_EQ(UnitListEntries(units), (std::vector<std::string>{"TYPE 1 MASS  (UNIT 3 TYPE 1 House)", "TYPE 2 SWITCH",
                                                              "TYPE 1 MASS  (UNIT 6 TYPE 1 Storage tank)", "TYPE 3 PUMP"}));
  EXPECT_EQ(ScanText("UNIT 3 TYPE 8 House\nPARAMETERS 1\n1\nEND\n").deck.units.at(0).cardAsWritten, "UNIT 3 TYPE 8 House");
}
