// Files a run would destroy: no result is written over the deck, a file the run reads or another
// result of the same run. Such a run is refused before anything is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "EngineTestSupport.h"

namespace fs = std::filesystem;

namespace talpix::test {
namespace {

using taltest::TempDir;

std::map<std::string, std::string> FolderContents(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    files[entry.path().filename().string()] = taltest::ReadFile(entry.path().string());
  return files;
}

TEST(EngineFileClash, ARunThatWouldOverwriteItsOwnFilesIsRefusedBeforeAnythingIsWritten) {
  const std::string sim = "SIMULATION 0 2 1\n";
  const std::string reader = "UNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 1 0 1 0\n";
  auto printer = [](int unit, int lu) {
    return "UNIT " + std::to_string(unit) + " TYPE 25 Printer\nPARAMETERS 4\n1 0 9 " + std::to_string(lu) + "\nINPUTS 1\nTIME\nT\n";
  };
  const std::string plot = "UNIT 3 TYPE 65 Plot\nPARAMETERS 3\n1 0 9\nINPUTS 1\nTIME\nT\n";
  struct Case {
    std::string deckName, deck;
    int line;  // of the message in the listing; -1: no listing is written
    std::string message;
  } cases[] = {
      {"SELF.LST", sim + "END\n", -1, "the deck has the name of its own listing"},
      {"SELF.OUT", sim + printer(2, 0) + "END\n", 2, "the output file of unit 2 would overwrite the deck: both name"},
      {"self.plt", sim + plot + "END\n", 2, "the plot file of unit 3 would overwrite the deck"},
      {"D.DCK", "ASSIGN KEEP.DAT 10\nASSIGN KEEP.DAT 12\n" + sim + reader + printer(2, 12) + "END\n", 2,
       "the output file of unit 2 (logical unit 12, ASSIGN in line 2) would overwrite the data file of unit 1 "
       "(logical unit 10, ASSIGN in line 1)"},
      {"D.DCK", "ASSIGN KEEP.DAT 10\nASSIGN D.OUT 11\n" + sim + "UNIT 1 TYPE 9 Data\nPARAMETERS 5\n11 1 0 1 0\n" + printer(2, 0) + "END\n",
       2, "the output file of unit 2 would overwrite the data file of unit 1 (logical unit 11, ASSIGN in line 2)"},
      {"D.DCK", "ASSIGN d.dck 12\n" + sim + printer(2, 12) + "END\n", 1, "the output file of unit 2 (logical unit 12, ASSIGN in line 1) would overwrite the deck"},
      {"D.DCK", "ASSIGN D.LST 12\n" + sim + printer(2, 12) + "END\n", -1, "the listing would overwrite the file of logical unit 12 (ASSIGN in line 1)"},
      {"D.DCK", "ASSIGN KEEP.DAT 10\n" + sim + "EQUATIONS 1\nX=Y\nASSIGN d.lst 11\nEND\n", -1, "the listing would overwrite the file of logical unit 11 (ASSIGN in line 5)"},
      {"D.DCK", "ASSIGN d.plt 12\n" + sim + printer(2, 12) + plot + "END\n", 1,
       "the plot file of unit 3 would overwrite the output file of unit 2 (logical unit 12, ASSIGN in line 1)"},
      {"D.DCK", "ASSIGN SAME.OUT 12\nASSIGN same.out 13\n" + sim + printer(2, 12) + printer(4, 13) + "END\n", 2,
       "the output file of unit 4 (logical unit 13, ASSIGN in line 2) would overwrite the output file of unit 2"},
      {"D.DCK", "ASSIGN sub/../KEEP.DAT 10\nASSIGN ./KEEP.DAT 12\n" + sim + reader + printer(2, 12) + "END\n", 2,
       "the output file of unit 2 (logical unit 12, ASSIGN in line 2) would overwrite the data file of unit 1"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    fs::create_directory(dir.file("sub"));
    dir.write("KEEP.DAT", "1\n2\n3\n");
    dir.write("D.OUT", "4\n5\n");
    const auto before = FolderContents(dir);
    EngineRun r = RunDeck(dir, c.deckName, c.deck);
    EXPECT_EQ(r.exitCode, 1) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.message << "\n" << r.err;
    auto after = FolderContents(dir);
    EXPECT_EQ(after.erase(c.deckName), 1u);
    if (c.line >= 0) {
      std::string listing = c.deckName.substr(0, c.deckName.find('.')) + ".LST";
      EXPECT_NE(after[listing].find("*** Error in line " + std::to_string(c.line) + ": " + c.message), std::string::npos)
          << c.message << "\n" << after[listing];
      after.erase(listing);
    }
    EXPECT_EQ(after, before) << c.message;  // nothing written but the listing
    EXPECT_EQ(taltest::ReadFile(dir.file(c.deckName)), c.deck) << c.message;
  }
}

}  // namespace
}  // namespace talpix::test
