// Run decks of a table and running them: names, substitution, ASSIGN suffixes, undefined cells,
// parallel runs leaving what sequential runs leave, Stop, and a missing engine.
#include <gtest/gtest.h>

#include <algorithm>

#include <QTimer>
#include <filesystem>

#include "TestSupport.h"
#include "runs/RunMonitor.h"
#include "support/ScriptedInteraction.h"
#include "tables/DeckConstants.h"
#include "tables/TableRunDecks.h"
#include "tables/TableRunner.h"

using namespace tal;

namespace {

constexpr const char* Solar =
    "* solar collector\n"
    "CONSTANTS 3\n"
    "X = 5 ! area\n"
    "A_NAME_LONGER_THAN_TWENTY = 3\n"
    "x = 7\n"
    "ASSIGN solar.out 12\n"
    "ASSIGN WEATHER.DAT 10\n"
    "ASSIGN SOLAR.PLT 13\n"
    "EQUATIONS 1\n"
    "Y = X*2\n";

TableModel SolarTable(const std::string& deck) {
  auto variables = ScanDeckConstants(deck, 1);
  EXPECT_TRUE(variables);
  TableModel table(3, {(*variables)[0].name, (*variables)[1].name, (*variables)[2].name});  // X, A_NAME..., X1
  table.deckFileName = deck;
  const Real x[] = {25, -1e99L, 0.001L};
  for (int r = 1; r <= 3; ++r) {
    table.setValue(1, r, x[r - 1]);
    table.setValue(2, r, r);
    table.setValue(3, r, 100 + r);
  }
  return table;
}

std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = taltest::ReadFile(entry.path().string());
  return files;
}

}  // namespace

TEST(TableRunDecks, SolarRunDecks) {
  taltest::TempDir dir;
  std::string deck = dir.write("sim/solar.dck", Solar);
  EXPECT_EQ(RunDeckName(deck, 1), dir.file("sim/SOLAR.TMP"));
  EXPECT_EQ(RunDeckName(deck, 11), dir.file("sim/SOLAR10.TMP"));
  TableModel table = SolarTable(deck);
  ScriptedInteraction dialogs;
  std::vector<std::string> shared;
  ASSERT_FALSE(WriteTableDeck(table, &shared));
  // The long name is never put in, nor the second X ("X 1"): the runs go on after a warning.
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{UnassignedVariablesWarning(deck, {"A_NAME_LONGER_THAN_TWENTY", "X 1"})});
  EXPECT_TRUE(shared.empty()) << "SOLAR.OUT and SOLAR.PLT carry the deck's name";
  EXPECT_EQ(table.runDeckNames[1], dir.file("sim/SOLAR1.TMP"));
  // The variable defined twice takes its first column's value on both lines.
  EXPECT_EQ(taltest::ReadFile(dir.file("sim/SOLAR.TMP")),
            "* SOLAR COLLECTOR\nCONSTANTS 3\nX=2.5000E+01\nA_NAME_LONGER_THAN_TWENTY = 3\nX=2.5000E+01\n"
            "ASSIGN SOLAR.OUT 12\nASSIGN WEATHER.DAT 10\nASSIGN SOLAR.PLT 13\nEQUATIONS 1\nY = X*2\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("sim/SOLAR1.TMP")),
            "* SOLAR COLLECTOR\nCONSTANTS 3\nX=-inf\nA_NAME_LONGER_THAN_TWENTY = 3\nX=-inf\n"
            "ASSIGN SOLAR1.OUT 12\nASSIGN WEATHER.DAT 10\nASSIGN SOLAR1.PLT 13\nEQUATIONS 1\nY = X*2\n");
  EXPECT_NE(taltest::ReadFile(dir.file("sim/SOLAR2.TMP")).find("X=1.0000E-03\n"), std::string::npos);
  DeleteRunDecks(table);
  EXPECT_FALSE(taltest::Exists(dir.file("sim/SOLAR.TMP")));
  EXPECT_FALSE(taltest::Exists(dir.file("sim/SOLAR2.TMP")));
}

TEST(TableRunDecks, UndefinedCellsStopAndSharedOutputsAreFound) {
  taltest::TempDir dir;
  std::string deck = dir.write("A.DCK", "CONSTANTS 1\nP = 1\r\nASSIGN RESULT.OUT 12\r\nASSIGN A.LST 6\r\n");
  TableModel table(3, {"P "});
  table.deckFileName = deck;
  table.setValue(1, 1, 1);
  table.setValue(1, 2, BlankValue);
  ScriptedInteraction dialogs;
  std::vector<std::string> shared;
  EXPECT_TRUE(WriteTableDeck(table, &shared));
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Parameter in the col #1, run #2 isn't defined"});
  EXPECT_EQ(shared, std::vector<std::string>{"RESULT.OUT"});
  EXPECT_FALSE(taltest::Exists(dir.file("A.TMP"))) << "an undefined cell leaves no run deck";
  EXPECT_EQ(SequentialReason(shared, false),
            "The runs of this table go one at a time: the deck assigns the output file RESULT.OUT, which every run would write.");

  table.setValue(1, 2, 2);
  table.setValue(1, 3, 3);
  EXPECT_FALSE(WriteTableDeck(table));
  EXPECT_EQ(taltest::ReadFile(dir.file("A.TMP")), "CONSTANTS 1\r\nP=1.0000E+00\r\nASSIGN RESULT.OUT 12\r\nASSIGN A.LST 6\r\n");
  table.deckFileName = dir.file("GONE.DCK");
  EXPECT_TRUE(WriteTableDeck(table));
  EXPECT_EQ(dialogs.messages().back(), "File " + dir.file("GONE.DCK") + " which is used by this table cannot be read.");
}

class TableRunner : public ::testing::Test {
 protected:
  void SetUp() override { taltest::EnsureQtApplication(); }
  // A fake engine: copies its run deck to the listing, writes an output file, and fails run 3.
  std::string Engine(const taltest::TempDir& dir, const std::string& extra = "") {
    return dir.writeScript("bin/TALPIX32", extra +
                                               "deck=\"$1\"; base=\"${deck%.*}\"\n"
                                               "[ \"$2\" = /N ] || exit 9\n"
                                               "sleep 0.3; cp \"$deck\" \"$base.LST\"; echo \"$base\" > \"$base.OUT\"\n"
                                               "case \"$deck\" in *A2.TMP) exit 3;; esac\n");
  }
  TableRunReport Run(const taltest::TempDir& dir, int jobs, int runs) {
    std::string deck = dir.write("work/a.dck", "CONSTANTS 1\nP = 1\n");
    TableModel table(runs, {"P "});
    table.deckFileName = deck;
    for (int r = 1; r <= runs; ++r) table.setValue(1, r, r);
    EXPECT_FALSE(WriteTableDeck(table));
    TableRunSettings settings;
    settings.engine = dir.file("bin/TALPIX32");
    settings.jobs = jobs;
    settings.options.workingDirectory = dir.file("work");
    std::vector<std::string> decks;
    for (int r = 1; r <= runs; ++r) decks.push_back(RunDeckName(deck, r));
    TableRunReport report = RunTableDecks(decks, settings);
    DeleteRunDecks(table);
    return report;
  }
};

TEST_F(TableRunner, ParallelRunsLeaveWhatSequentialRunsLeave) {
  taltest::TempDir one, three;
  Engine(one);
  Engine(three);
  EngineRunScope scope;
  TableRunReport sequential = Run(one, 1, 6), parallel = Run(three, 3, 6);
  EXPECT_EQ(sequential.results.size(), 6u);
  EXPECT_EQ(parallel.results.size(), 6u);
  EXPECT_EQ(sequential.FailedRuns(), std::vector<int>{3});
  EXPECT_EQ(parallel.FailedRuns(), std::vector<int>{3});
  EXPECT_EQ(FailedRunsSummary(parallel, 6), "Run 3 of 6 did not end with exit status 0; the run log lists every run.");
  auto left = Files(one.file("work")), right = Files(three.file("work"));
  EXPECT_EQ(left.size(), 13u) << "the deck, and a listing and an output file per run";
  // The files hold their own folder's name in the outputs; compare names and listings.
  ASSERT_EQ(left.size(), right.size());
  for (auto a = left.begin(), b = right.begin(); a != left.end(); ++a, ++b) {
    EXPECT_EQ(a->first, b->first);
    if (a->first.find(".LST") != std::string::npos) {
      EXPECT_EQ(a->second, b->second) << a->first;
    }
  }
  // Results come in the order the runs ended, which three engines at once do not fix: look up run 1.
  auto first = std::find_if(parallel.results.begin(), parallel.results.end(), [](const auto& r) { return r.run == 1; });
  ASSERT_NE(first, parallel.results.end());
  EXPECT_EQ(first->resultFiles, (std::vector<std::string>{three.file("work/A.LST"), three.file("work/A.OUT")}));
  EXPECT_NE(RunMonitor::instance().log().indexOf("-- run 3 of 6: TALPIX32 ended with exit status 3"), -1);
}

TEST_F(TableRunner, StopEndsTheRunningEnginesAndStartsNoMore) {
  taltest::TempDir dir;
  Engine(dir, "sleep 30\n");
  EngineRunScope scope;
  QTimer::singleShot(500, [] { RunMonitor::instance().stop(); });
  TableRunReport report = Run(dir, 2, 5);
  EXPECT_TRUE(report.stopped);
  ASSERT_EQ(report.results.size(), 2u) << "the two that ran; the other three never started";
  for (const auto& r : report.results) EXPECT_EQ(r.outcome.end, RunEnd::Stopped);
  EXPECT_LT(report.results[0].outcome.seconds, 10);
}

TEST_F(TableRunner, AnEngineThatCannotStartEndsTheTableRun) {
  taltest::TempDir dir;
  dir.write("bin/README", "the engine is missing\n");
  ScriptedInteraction dialogs;
  EngineRunScope scope;
  TableRunReport report = Run(dir, 2, 3);
  EXPECT_TRUE(report.results.empty());
  EXPECT_EQ(report.notStartedMessage, "File " + dir.file("bin/TALPIX32") + " was not found.");
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{report.notStartedMessage});
}

TEST(TableRunDecks, RunDecksNeverReplaceTheDeckOrAFileOfTheUser) {
  taltest::TempDir dir;
  ScriptedInteraction dialogs;
  struct Case {
    const char* deck;
    const char* keep;  // a file beside the deck that must survive ("" for none)
    const char* message;
  } cases[] = {
      {"H.TMP", "", "File %D is the deck of this table and would also be the run deck of run 1; the table is not run. "
                    "Give the deck another extension than .TMP."},
      {"S.DCK", "S1.TMP", "File %K exists and is not a run deck of this table, but would be written as the run deck "
                          "of run 2; the table is not run. Move or rename that file."},
  };
  for (const Case& c : cases) {
    const std::string deck = dir.write(c.deck, "CONSTANTS 1\nP = 1\n");
    const std::string keep = *c.keep ? dir.write(c.keep, "mine\n") : "";
    TableModel table(2, {"P"});
    table.deckFileName = deck;
    table.setValue(1, 1, 1);
    table.setValue(1, 2, 2);
    EXPECT_TRUE(WriteTableDeck(table)) << c.deck;
    std::string expected = c.message;
    expected.replace(expected.find('%'), 2, *c.keep ? keep : deck);
    EXPECT_EQ(dialogs.messages().back(), expected);
    EXPECT_EQ(taltest::ReadFile(deck), "CONSTANTS 1\nP = 1\n");
    if (*c.keep) {
      EXPECT_EQ(taltest::ReadFile(keep), "mine\n");
      EXPECT_FALSE(taltest::Exists(dir.file("S.TMP"))) << "nothing is written when one run deck clashes";
      // A run deck left by an earlier run of this table is written over.
      table.runDeckNames[1] = keep;
      EXPECT_FALSE(WriteTableDeck(table));
      EXPECT_EQ(taltest::ReadFile(keep), "CONSTANTS 1\nP=2.0000E+00\n");
    }
  }
}

TEST(TableRunDecks, VariablesTheDeckNeverAssignsAreWarnedAbout) {
  taltest::TempDir dir;
  const std::string deck = dir.write("V.DCK", "CONSTANTS 2\nP = 1\nQ=2\nEQUATIONS 1\nR = P + Q\n");
  TableModel table(1, {"P", "A_NAME_LONGER_THAN_TWENTY", "R", "PHEAT"});
  table.deckFileName = deck;
  for (int c = 1; c <= 4; ++c) table.setValue(c, 1, c);
  ScriptedInteraction dialogs;
  dialogs.answer(Button::Cancel);
  EXPECT_TRUE(WriteTableDeck(table));
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"The deck " + deck + " has no line NAME = value for the table variables "
                                     "A_NAME_LONGER_THAN_TWENTY, PHEAT, so every run would use the deck's own value. "
                                     "Run the table anyway?"});
  EXPECT_FALSE(taltest::Exists(dir.file("V.TMP")));
  dialogs.answer(Button::Ok);
  EXPECT_FALSE(WriteTableDeck(table));
  EXPECT_EQ(taltest::ReadFile(dir.file("V.TMP")), "CONSTANTS 2\nP=1.0000E+00\nQ=2\nEQUATIONS 1\nR=3.0000E+00\n");
}

TEST(TableRunDecks, AValueTooLongForItsLineIsWrittenShorterNeverCut) {
  struct Case {
    ColumnFormat format;
    Real value;
    const char* text;
  } cases[] = {
      {{2, 4}, 25, "2.5000E+01"},                             // the column's own format where it fits
      {{3, 14}, 1.23456789L, "1.23456789000000E+00"},        // exactly 20 characters
      {{3, 15}, 1.23456789L, "1.23456789000000E+00"},        // was cut to 1.234567890000000E+0
      {{3, 15}, -1.5e-300L, "-1.500000000000E-300"},
      {{1, 4}, 1e30L, "1.00000000000000E+30"},               // fixed notation of 36 characters
      {{1, 2}, -123456789012345678.0L, "-1.2345678901235E+17"},
      {{3, 15}, -1e99L, "-inf"},
  };
  for (const Case& c : cases) EXPECT_EQ(RunValueText(c.format, c.value), c.text) << c.text;
}
