// The engine where the shell meets it: files under the names talbatch results finds, table run
// decks, and the demo workspace run through talbatch before and after a form change.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "EngineTestSupport.h"

namespace fs = std::filesystem;

namespace talpix::test {
namespace {

using taltest::RunTalbatch;
using taltest::TempDir;

TEST(EngineFiles, TableRunDeckWritesResultsUnderItsOwnName) {
  TempDir dir;
  dir.write("weather.dat", "5\n6\n7\n");
  // A table's run deck: upper case throughout, the output file renamed with the run suffix.
  std::string deck = "ASSIGN WEATHER.DAT 10\nASSIGN SOLAR1.OUT 12\nSIMULATION 0 2 1\n"
                     "UNIT 1 TYPE 9 DATA\nPARAMETERS 5\n10 1 0 1 0\n"
                     "UNIT 2 TYPE 25 PRINTER\nPARAMETERS 4\n1 0 9 12\nINPUTS 1\n1,1\nTAMB\n"
                     "UNIT 3 TYPE 65 PLOT\nPARAMETERS 3\n1 0 9\nINPUTS 1\n1,1\nTAMB\nEND\n";
  EngineRun r = RunDeck(dir, "SOLAR1.TMP", deck, {"/N"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto results = RunTalbatch({"results", dir.file("SOLAR1.TMP")});
  EXPECT_EQ(results.out, "listing " + dir.file("SOLAR1.LST") + "\noutput " + dir.file("SOLAR1.OUT") + "\nplot " +
                             dir.file("SOLAR1.PLT") + "\n");
  auto rows = DataRows(taltest::ReadFile(dir.file("SOLAR1.OUT")));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2][1], 7);
}

TEST(EngineFiles, RerunReplacesResultsWhateverTheirLetterCase) {
  TempDir dir;
  dir.write("cool.lst", "old\n");
  dir.write("cool.plt", "old\n");
  EngineRun r = RunDeck(dir, "cool.dck", "SIMULATION 0 1 1\nUNIT 1 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\nTIME\nT\nEND\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(taltest::ReadFile(dir.file("cool.lst")).find("The run ended normally."), std::string::npos);
  EXPECT_FALSE(taltest::Exists(dir.file("cool.LST")));
  EXPECT_EQ(DataRows(taltest::ReadFile(dir.file("cool.plt"))).size(), 2u);
}

// A copy of the demo workspace with the engine as TALPIX32 and settings pointing at it.
class DemoWorkspace : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(std::string(TAL_SOURCE_DIR) + "/demo", dir.path(), fs::copy_options::recursive);
    fs::create_symlink(TAL_ENGINE_PATH, dir.file("TALPIX32"));
    auto s = RunTalbatch({"settings", "set", dir.path(), "talpix_dir=" + dir.path()});
    ASSERT_EQ(s.exitCode, 0) << s.err;
  }
  taltest::ProcessResult Run(const std::string& deck) {
    return RunTalbatch({"run", dir.file(deck), "--program-dir", dir.path()});
  }
  TempDir dir;
};

TEST_F(DemoWorkspace, PlainDeckRunsAYearAndConverges) {
  auto r = Run("HOUSE.DCK");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("plot " + dir.file("HOUSE.PLT")), std::string::npos) << r.out;
  std::string listing = taltest::ReadFile(dir.file("HOUSE.LST"));
  EXPECT_NE(listing.find("  steps:                  8759\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("  steps not converged:    0\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("0 errors, 0 warnings. The run ended normally."), std::string::npos);
  EXPECT_EQ(DataRows(taltest::ReadFile(dir.file("HOUSE.PLT"))).size(), 8760u);
}

// The demo's results as the engine wrote them before it solved runaway loops: its steps all
// settle by plain substitution, so not one byte may differ.
TEST_F(DemoWorkspace, ResultFilesAreTheSameByteForByte) {
  auto sha256 = [&](const char* name) {
    QByteArray bytes = QByteArray::fromStdString(taltest::ReadFile(dir.file(name)));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
  };
  const char* cases[][4] = {
      {"HOUSE.DCK", "62139 (at most 19", "bc384f4507e69acf0c828566c85363fcce7c56c7894b48b529b5c9716f9733ce",
       "35d1d421dbcff82ad93a894d36da820a408b17d3820b9d53333d2d8153912852"},
      {"HOUSE.TKD", "5402 (at most 18", "6ea1792902f6d0648377c67cdef648c2a22ebbb0edc3a076f8c6749365f63ef2",
       "4ef0069862dd7886f73fe965b0743899953feb61e2abc2834d9d2e88e32eebe8"}};
  for (const auto& c : cases) {
    auto r = Run(c[0]);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(taltest::ReadFile(dir.file("HOUSE.LST")).find(std::string("iterations:             ") + c[1]), std::string::npos);
    EXPECT_EQ(sha256("HOUSE.OUT") + " " + sha256("HOUSE.PLT"), std::string(c[2]) + " " + c[3]) << c[0];
  }
}

TEST_F(DemoWorkspace, FormValueChangedByTalbatchChangesTheResults) {
  auto first = Run("HOUSE.TKD");
  ASSERT_EQ(first.exitCode, 0) << first.err;
  auto before = DataRows(taltest::ReadFile(dir.file("HOUSE.PLT")));
  auto set = RunTalbatch({"form", "set", dir.file("HOUSE.TKD"), "AREA=12"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  auto second = Run("HOUSE.TKD");
  ASSERT_EQ(second.exitCode, 0) << second.err;
  auto after = DataRows(taltest::ReadFile(dir.file("HOUSE.PLT")));
  ASSERT_EQ(before.size(), after.size());
  ASSERT_EQ(before.size(), 672u);  // four weeks from the form's simulation card
  // Twice the collector area gathers more solar heat (column QSOL) and needs less from the heater.
  double solarBefore = 0, solarAfter = 0, auxBefore = 0, auxAfter = 0;
  for (std::size_t k = 0; k < before.size(); ++k) {
    solarBefore += before[k][7];
    solarAfter += after[k][7];
    auxBefore += before[k][9];
    auxAfter += after[k][9];
  }
  EXPECT_GT(solarAfter, solarBefore * 1.2);
  EXPECT_LT(auxAfter, auxBefore);
}

// The demo's table as the build makes it, run, then its results as HOUSE.TRS chooses them.
TEST_F(DemoWorkspace, TableRunThenItsResultsChoice) {
  for (std::vector<std::string> args : {std::vector<std::string>{"new", "HOUSE.DCK", "--runs", "4", "--vars", "PHEAT,KTANK"},
                                        {"set", "HOUSE.TBL", "PHEAT", "--from", "3", "--step", "3"},
                                        {"set", "HOUSE.TBL", "KTANK", "--from", "0.1", "--mult", "1.5"},
                                        {"run", "HOUSE.TBL", "-j", "2", "--program-dir", dir.path()}}) {
    args.insert(args.begin(), "table");
    auto r = RunTalbatch(args, dir.path());
    ASSERT_EQ(r.exitCode, 0) << args[1] << ": " << r.err;
  }
  auto results = RunTalbatch({"table", "results", "HOUSE.TBL"}, dir.path());
  ASSERT_EQ(results.exitCode, 0) << results.err;
  std::istringstream lines(results.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "run,PHEAT,KTANK,QAUX:integral,TTANK:mean,TTANK:max");
  for (int run = 1; run <= 4; ++run) {
    ASSERT_TRUE(std::getline(lines, line)) << results.out;
    double values[6] = {};
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &values[0], &values[1], &values[2], &values[3],
                          &values[4], &values[5]), 6) << line;
    EXPECT_EQ(values[0], run);
    EXPECT_GT(values[3], 0) << line;  // auxiliary heat over the year, kWh
    EXPECT_GT(values[5], values[4]) << line;
  }
}

}  // namespace
}  // namespace talpix::test
