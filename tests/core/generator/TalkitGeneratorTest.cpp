#include <gtest/gtest.h>

#include "GeneratorData.h"
#include "generator/DeckScan.h"
#include "generator/TalkitGenerator.h"
#include "generator/TypeDescription.h"
#include "support/Files.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {

struct Generated {
  ScannedDeck deck;
  std::string text;
  std::vector<std::string> messages;
};

// Scans `deckText`, selects every eligible item of the named entries ("" = all) and generates.
Generated Generate(const taltest::TempDir& dir, const std::string& deckText, const GeneratorOptions& given = {},
                   const std::string& only = "") {
  if (!taltest::Exists(dir.file("eng"))) gentest::WriteEngine(dir);
  ScriptedInteraction ui;
  Generated g{ScanDeck(deckText, DescriptionDirectoryOf(dir.file("eng"))), {}, {}};
  for (UnitRecord& unit : g.deck.units) {
    for (std::size_t i = 0; i < unit.shownParameterCount(); ++i)
      unit.parameterEntries[i].selected = only.empty() || unit.parameterEntries[i].name == only;
    for (std::size_t i = 0; i < unit.shownInputCount(); ++i)
      unit.inputEntries[i].selected = only.empty() || unit.inputEntries[i].name == only;
  }
  GeneratorOptions options = given;
  options.engineDirectory = dir.file("eng");
  options.targetName = dir.file("A.TKD");
  GenerateConstants(g.deck);
  g.text = TalkitDeckText(g.deck, options);
  g.messages = ui.messages();
  return g;
}

const std::string Blanks29(29, ' ');

}  // namespace

TEST(TalkitGenerator, AnnotationLinesPadTheDescriptionTo43Characters) {
  EXPECT_EQ(AnnotationLineOf("Collector area", TailOfWords("m2 ft2 0 1 0 100")),
            "*|Collector area" + Blanks29 + "|m2|ft2|0|1|0|100|");
}

TEST(TalkitGenerator, WritesTheFormDeckInOrder) {
  taltest::TempDir dir;
  Generated g = Generate(dir,
                         "SIMULATION 0 24 1\nASSIGN W.DAT 10\nCONSTANTS 2\nAREA=1\nAREA1=2\n"
                         "UNIT 1 TYPE 1 First\nPARAMETERS 2\n2.5 AREA\nINPUTS 2\n0,0 3,1\n20 0\n"
                         "UNIT 2 TYPE 1 Second\nPARAMETERS 2\n4 0.5\nINPUTS 2\n-1,0 0,0\n1 x\nTRACE 0 1\n"
                         "UNIT 3 TYPE 8 No file\nPARAMETERS 1\n1\nEND\n",
                         {}, "AREA");
  EXPECT_EQ(g.messages.size(), 1u);  // type 8 has no description file
  const std::string expected =
      "*TALKIT\nASSIGN W.DAT 10\nSIMULATION 0 24 1\nCONSTANTS 2\nAREA=1\nAREA1=2\n*|*\n"
      "\n*|*     ***** UNIT 1 TYPE 1 FIRST *****\n*|*\n"
      "*|*           PARAMETERS       \nCONSTANTS  1\nAREA2=2.5\n*|Collector area" + Blanks29 +
      "|m2|ft2|0|10.7639|0|100.0|\n*|*\n"
      "UNIT 1 TYPE 1 FIRST\nPARAMETERS  2\nAREA2 AREA \nINPUTS  2\n0,0 3,1 \n20 0 \n"
      "\n*|*     ***** UNIT 2 TYPE 1 SECOND *****\n*|*\n"
      "*|*           PARAMETERS       \nCONSTANTS  1\nAREA3=4\n*|Collector area" + Blanks29 +
      "|m2|ft2|0|10.7639|0|100.0|\n*|*\n"
      "UNIT 2 TYPE 1 SECOND\nPARAMETERS  2\nAREA3 0.5 \nINPUTS  2\n-1,0 0,0 \n1 X \nTRACE 0 1\n"
      "\n*|*     ***** UNIT 3 TYPE 8 NO FILE *****\n*|*\nUNIT 3 TYPE 8 NO FILE\nPARAMETERS  1\n1\n"
      "\nEND\n";
  EXPECT_EQ(g.text, expected);
}

TEST(TalkitGenerator, OnlyUnconnectedInputsWithANumberBecomeFields) {
  taltest::TempDir dir;
  // Unconnected with a number; "-1,0"; connected; unconnected with a value that is no number.
  Generated g = Generate(dir, "UNIT 1 TYPE 3\nPARAMETERS 1\nK\nINPUTS 4\n0,0 -1,0 3,1 0,0\n20 5 15 ABC\nEND\n");
  EXPECT_TRUE(g.messages.empty());
  EXPECT_NE(g.text.find("CONSTANTS  1\nX=20\n*|Input"), std::string::npos) << g.text;
  EXPECT_NE(g.text.find("INPUTS  4\nX -1,0 3,1 0,0 \n20 5 15 ABC \n"), std::string::npos) << g.text;
  EXPECT_EQ(g.text.find("X1="), std::string::npos) << g.text;
}

TEST(TalkitGenerator, TenInputsAndManyParametersAreSplit) {
  taltest::TempDir dir;
  std::string values, connections, initials;
  for (int i = 1; i <= 20; ++i) values += std::to_string(i) + " ";
  for (int i = 1; i <= 10; ++i) connections += "0,0 ", initials += std::to_string(i) + " ";
  Generated g = Generate(dir, "UNIT 1 TYPE 3\nPARAMETERS 20\n" + values + "\nINPUTS 10\n" + connections + "\n" + initials +
                                  "\nDERIVATIVES 1\n5\nEND\n");
  EXPECT_TRUE(g.messages.empty());
  EXPECT_NE(g.text.find("PARAMETERS 20\nVAL VAL1 VAL2 VAL3 VAL4 VAL5 VAL6 VAL7 VAL8 VAL9 \n"
                        "VAL10 VAL11 VAL12 VAL13 VAL14 VAL15 VAL16 VAL17 VAL18 VAL19 \n"
                        "INPUTS 10\nX X1 X2 X3 X4 X5 X6 X7 X8 X9 \n1 2 3 4 5 6 7 8 9 10 \nINPUTS  0\n\n\n"
                        "DERIVATIVES  1\n5 \n"),
            std::string::npos)
      << g.text;
}

TEST(TalkitGenerator, AMissingHeaderIsReportedAndLeftOut) {
  taltest::TempDir dir;
  dir.write("eng/Info/type1.inf", "");
  Generated g = Generate(dir, "WIDTH 72\nEND\n", {true, false});
  EXPECT_EQ(g.messages, std::vector<std::string>{"Error 2 while reading file " + dir.file("eng/Header.txt")});
  EXPECT_EQ(g.text, "*TALKIT\n\nWIDTH 72\n\nEND\n");
}
