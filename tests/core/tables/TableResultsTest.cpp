// Results of a table's runs over the files a fake engine left: each statistic on a known ramp, runs
// without their file or column, the choice file read back, the CSV bytes and the runs' curves.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "support/RealCodecs.h"
#include "tables/TableResults.h"

using namespace tal;

namespace {

// A study of HOUSE.DCK over PHEAT and KTANK; the engine's plot file of run r is HOUSE(r-1).PLT.
struct Study {
  taltest::TempDir dir;
  TableModel table{3, {"PHEAT", "KTANK"}};
  Study() {
    table.deckFileName = dir.write("HOUSE.DCK", "CONSTANTS 2\nPHEAT=6\nKTANK=0.15\n");
    for (int r = 1; r <= 3; ++r) table.setValue(1, r, 3 * r);
    table.setValue(2, 1, 0.05L);
    table.setValue(2, 2, 0.1L);
  }
  // A ramp of Q (2 kW per hour) over uneven steps, ending at 6 kW after 3 hours, and a constant T.
  void WriteRamp(const std::string& name) {
    dir.write(name, "TIME Q T\nh KW C\n0 0 20\n1 2 20\n3 6 20\n");
  }
};

TEST(TableResults, EachStatisticOfAKnownRamp) {
  Study study;
  study.WriteRamp("HOUSE.PLT");
  struct Case {
    const char* choice;
    double value;
    const char* unit;
  };
  const Case cases[] = {{"Q:last", 6, "KW"}, {"q:min", 0, "KW"},          {"Q:MAX", 6, "KW"},
                        {"Q:mean", 8.0 / 3, "KW"}, {"Q:sum", 8, "KW"}, {"Q:integral", 9, "KW*h"},
                        {"T:integral", 60, "C*h"}, {"T:minimum", 20, "C"}};
  for (const Case& c : cases) {
    std::string error;
    auto choice = ParseResultChoice(c.choice, error);
    ASSERT_TRUE(choice) << c.choice << ": " << error;
    TableResults results = CollectTableResults(study.table, {*choice});
    const ResultCell& cell = results.rows[0].cells[0];
    ASSERT_TRUE(cell.value) << c.choice << ": " << cell.reason;
    EXPECT_DOUBLE_EQ(*cell.value, c.value) << c.choice;
    EXPECT_EQ(results.units[0], c.unit) << c.choice;
  }
}

TEST(TableResults, BlankCellsSayWhy) {
  Study study;
  study.WriteRamp("HOUSE.PLT");
  study.dir.write("HOUSE1.PLT", "P Q\n1 2\n3 4\n");  // no TIME column
  // Run 3 left nothing.
  const std::vector<ResultChoice> choices = {{"Q", Statistic::Integral}, {"Q", Statistic::Last}, {"X", Statistic::Sum}};
  TableResults results = CollectTableResults(study.table, choices);
  struct Case {
    int run;
    std::size_t choice;
    CellProblem problem;
    const char* reason;
  };
  const Case cases[] = {
      {1, 0, CellProblem::None, ""},
      {2, 0, CellProblem::NoTime, "HOUSE1.PLT has no TIME column to integrate Q over."},
      {2, 1, CellProblem::None, ""},
      {2, 2, CellProblem::NoColumn, "No file of run 2 (HOUSE1.PLT) holds a column X."},
      {3, 0, CellProblem::NoFile, "Run 3 left no plot or output file (HOUSE2.PLT, HOUSE2.O*)."},
  };
  for (const Case& c : cases) {
    const ResultCell& cell = results.rows[static_cast<std::size_t>(c.run - 1)].cells[c.choice];
    EXPECT_EQ(cell.problem, c.problem) << c.run << "/" << c.choice;
    EXPECT_EQ(cell.reason, c.reason) << c.run << "/" << c.choice;
    EXPECT_EQ(cell.value.has_value(), c.problem == CellProblem::None) << c.run << "/" << c.choice;
  }
  EXPECT_EQ(results.RunsWithoutFiles(), std::vector<int>{3});
  ASSERT_EQ(results.UnknownColumns().size(), 1u);
  EXPECT_EQ(results.UnknownColumns()[0].column, "X");

  // A run known to have failed is blank with its reason, whatever file an earlier study left.
  TableResults failed = CollectTableResults(study.table, choices, {{1, "Run 1 ended with exit status 3."}});
  EXPECT_EQ(failed.rows[0].cells[1].problem, CellProblem::RunFailed);
  EXPECT_EQ(failed.rows[0].cells[1].reason, "Run 1 ended with exit status 3.");
  EXPECT_EQ(failed.RunsWithoutFiles(), (std::vector<int>{1, 3}));
}

TEST(TableResults, OutputFilesAreSearchedAfterThePlotFile) {
  Study study;
  study.WriteRamp("HOUSE.PLT");
  study.dir.write("HOUSE.OUT", "TIME Q E\nh KW KWH\n0 100 7\n");
  TableResults results = CollectTableResults(study.table, {{"Q", Statistic::Last}, {"E", Statistic::Last}});
  EXPECT_EQ(*results.rows[0].cells[0].value, 6);  // the plot file's Q, not the output file's
  EXPECT_EQ(*results.rows[0].cells[1].value, 7);
  auto offered = OfferedResultColumns(study.table);
  ASSERT_EQ(offered.size(), 4u);
  EXPECT_EQ(offered[3].name, "E");
  EXPECT_EQ(offered[3].unit, "KWH");
}

TEST(TableResults, ChoiceFileRoundTripAndRefusals) {
  taltest::TempDir dir;
  const std::vector<ResultChoice> choices = {{"QAUX", Statistic::Integral}, {"TTANK", Statistic::Mean},
                                             {"Col 2", Statistic::Maximum}};
  const std::string name = ResultChoiceFileName(dir.file("house.tbl"));
  EXPECT_EQ(name, dir.file("house.TRS"));
  ASSERT_EQ(WriteResultChoiceFile(name, choices), "");
  EXPECT_EQ(taltest::ReadFile(name), "QAUX:integral\nTTANK:mean\nCol 2:max\n");
  ResultChoiceFile read = ReadResultChoiceFile(ResultChoiceFileName(dir.file("HOUSE.TBL")));
  ASSERT_TRUE(read.ok) << read.message;
  EXPECT_EQ(read.choices, choices);

  struct Case {
    std::string bytes;
    const char* message;  // "" for a file that is read
  };
  const Case cases[] = {
      {"# results\r\n\r\nQAUX : integral\r\n", ""},
      {"QAUX:integral\nTTANK:average\n", "F.TRS line 2: unknown statistic \"average\" in \"TTANK:average\" (one of last, "
                                         "min, max, mean, sum, integral)."},
      {"QAUX\n", "F.TRS line 1: \"QAUX\" is not COLUMN:STATISTIC."},
      {":sum\n", "F.TRS line 1: \":sum\" does not name a column (1 to 20 characters before the \":\", not starting with \"#\")."},
      {std::string("QAUX:sum\0\n", 10), "F.TRS is not a text file of results to collect."},
  };
  for (const Case& c : cases) {
    ResultChoiceFile file = ParseResultChoiceFile(c.bytes, "F.TRS");
    EXPECT_EQ(file.ok, std::string(c.message).empty()) << c.bytes;
    EXPECT_EQ(file.message, c.message) << c.bytes;
  }
  EXPECT_TRUE(ReadResultChoiceFile(dir.file("NONE.TRS")).missing);
}

TEST(TableResults, CsvBytesKeepEveryDigit) {
  Study study;
  study.table.setValue(2, 3, NoValue);
  study.dir.write("HOUSE.PLT", "TIME Q\nh KW\n0 0\n1 1234567.0078125\n");
  study.dir.write("HOUSE1.PLT", "TIME Q\nh KW\n0 1\n2 3\n");
  TableResults results = CollectTableResults(study.table, {{"Q", Statistic::Last}, {"Q", Statistic::Integral}});
  EXPECT_EQ(TableResultsCsv(results),
            "run,PHEAT,KTANK,Q:last,Q:integral\n"
            "1,3,0.05,1234567.0078125,617283.50390625\n"
            "2,6,0.1,3,4\n"
            "3,9,,,\n");
  EXPECT_EQ(TableResultsTsv(results).substr(0, 35), "run\tPHEAT\tKTANK\tQ:last\tQ:integral\r\n");
}

TEST(TableResults, EveryRunsCurveIsNamedByItsValues) {
  Study study;
  study.WriteRamp("HOUSE.PLT");
  study.WriteRamp("HOUSE1.PLT");
  std::vector<RunCurve> curves = CollectRunCurves(study.table, "q");
  ASSERT_EQ(curves.size(), 3u);
  const char* names[] = {"PHEAT=3, KTANK=0.05", "PHEAT=6, KTANK=0.1", "PHEAT=9, KTANK="};
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(curves[i].name, names[i]);
  EXPECT_EQ(curves[1].values, (std::vector<double>{0, 2, 6}));
  EXPECT_EQ(curves[1].time, (std::vector<double>{0, 1, 3}));
  EXPECT_EQ(curves[2].reason, "Run 3 left no plot or output file (HOUSE2.PLT, HOUSE2.O*).");
}

}  // namespace
