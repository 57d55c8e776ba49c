#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "shell/ResultFiles.h"

using namespace tal;
using taltest::TempDir;

TEST(ResultFiles, BaseNameEndsAtTheFirstDotOfTheFilesOwnName) {
  EXPECT_EQ(BaseNameOf("/w/A.DCK"), "/w/A");
  EXPECT_EQ(BaseNameOf("/w/A.B.DCK"), "/w/A");
  EXPECT_EQ(BaseNameOf("/w/v1.2/A.DCK"), "/w/v1.2/A");
  EXPECT_EQ(BaseNameOf("/w/v1.2/A"), "/w/v1.2/A");
  EXPECT_EQ(BaseNameOf("/w/A"), "/w/A");
}

TEST(ResultFiles, ListingAndOutputsBesideTheDeckAreFoundAndNothingElse) {
  TempDir dir;
  std::string deck = dir.write("A.DCK", "deck\n");
  dir.write("A.LST", "listing\n");
  dir.write("A.OUT", "out\n");
  dir.write("A.O01", "out 1\n");
  dir.write("AB.OUT", "another deck's output\n");
  dir.write("B.LST", "another deck's listing\n");
  std::filesystem::create_directory(dir.file("A.OXX"));  // folders are no result files
  std::filesystem::create_directory(dir.file("A.TBL"));

  EXPECT_EQ(FindListingFile(deck), dir.file("A.LST"));
  EXPECT_EQ(FindOutputFiles(deck), (std::vector<std::string>{dir.file("A.O01"), dir.file("A.OUT")}));
  EXPECT_EQ(FindPlotFile(deck), "");
  EXPECT_EQ(FindTableFile(deck), "");
  EXPECT_EQ(FindDiagramFile(deck), "");
}

TEST(ResultFiles, AFolderWithADotKeepsTheResultsBesideTheDeck) {
  TempDir dir;
  std::string deck = dir.write("v1.2/A.DCK", "deck\n");
  dir.write("v1.2/A.LST", "the engine writes it beside the deck\n");
  dir.write("v1.LST", "another file, not this deck's\n");
  dir.write("v1.OUT", "another file, not this deck's\n");
  EXPECT_EQ(FindListingFile(deck), dir.file("v1.2/A.LST"));
  EXPECT_EQ(FindOutputFiles(deck), std::vector<std::string>{});
}

TEST(ResultFiles, NamesAreMatchedWithoutRegardToCase) {
  TempDir dir;
  std::string deck = dir.write("run.dck", "deck\n");
  dir.write("RUN.lst", "l\n");
  dir.write("Run.Plt", "p\n");
  dir.write("run.TBL", "t\n");
  dir.write("RUN.bmp", "b\n");
  dir.write("run.oUT", "o\n");
  EXPECT_EQ(FindListingFile(deck), dir.file("RUN.lst"));
  EXPECT_EQ(FindPlotFile(deck), dir.file("Run.Plt"));
  EXPECT_EQ(FindTableFile(deck), dir.file("run.TBL"));
  EXPECT_EQ(FindDiagramFile(deck), dir.file("RUN.bmp"));
  EXPECT_EQ(FindOutputFiles(deck), std::vector<std::string>{dir.file("run.oUT")});
}

TEST(ResultFiles, BitmapIsPreferredToMetafileAndANameWithoutDotHasNoDiagram) {
  TempDir dir;
  std::string deck = dir.write("A.DCK", "deck\n");
  dir.write("A.WMF", "metafile\n");
  EXPECT_EQ(FindDiagramFile(deck), dir.file("A.WMF"));
  dir.write("A.BMP", "bitmap\n");
  EXPECT_EQ(FindDiagramFile(deck), dir.file("A.BMP"));
  // The same base name without any ".": the pictures are there, but no diagram is attached.
  EXPECT_EQ(FindDiagramFile(dir.file("A")), "");
  EXPECT_EQ(FindListingFile(dir.file("A")), "");
}



