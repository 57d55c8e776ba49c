#include <gtest/gtest.h>

#include "TestSupport.h"
#include "help/IndexFile.h"

using namespace tal;
using taltest::TempDir;

namespace {

TEST(IndexFile, EntryDataLines) {
  struct Case {
    std::string line;
    IndexEntryFiles files;
  } cases[] = {
      {"HOUSE.TKD, HOUSE.BMP, HOUSE.TXT", {"HOUSE.TKD", "HOUSE.BMP", "HOUSE.TXT"}},
      {"   A.TKD   B.BMP   help file.txt  ", {"A.TKD", "B.BMP", "help file.txt"}},
      {"ONLY.TKD", {"ONLY.TKD", "", ""}},
      {"D.TKD,P.BMP", {"D.TKD", "P.BMP", ""}},
      {"", {"", "", ""}},
  };
  for (const Case& c : cases) {
    IndexEntryFiles files = ParseEntryData(c.line);
    EXPECT_EQ(files.deck, c.files.deck) << c.line;
    EXPECT_EQ(files.picture, c.files.picture) << c.line;
    EXPECT_EQ(files.help, c.files.help) << c.line;
  }
}

TEST(IndexFile, HeaderAndEntryPairs) {
  IndexFile index = ParseIndexFile("Title\r\nSub one\r\nSub two\r\nHouse\r\nHOUSE.TKD, H.BMP\r\nPump\r\nPUMP.TKD\r\n\r\n");
  EXPECT_EQ(index.title, "Title");
  EXPECT_EQ(index.subtitle1, "Sub one");
  EXPECT_EQ(index.subtitle2, "Sub two");
  ASSERT_EQ(index.entries.size(), 2u);  // the empty line at the end is no entry
  EXPECT_EQ(index.entries[0].text, "House");
  EXPECT_EQ(index.entries[0].files.picture, "H.BMP");
  EXPECT_EQ(index.entries[1].files.deck, "PUMP.TKD");

  IndexFile odd = ParseIndexFile("T\nS\nS\nLast entry without data");
  ASSERT_EQ(odd.entries.size(), 1u);
  EXPECT_EQ(odd.entries[0].files.deck, "");
  EXPECT_TRUE(ParseIndexFile("T\n").entries.empty());
}

TEST(IndexFile, EntryNamesLieBesideTheIndexFile) {
  TempDir dir;
  std::string index = dir.write("projects/DEMO.IDX", "");
  dir.write("projects/decks/house.tkd", "");
  EXPECT_EQ(IndexEntryPath(index, "decks\\HOUSE.TKD"), dir.file("projects/decks/house.tkd"));
  EXPECT_EQ(IndexEntryPath(index, "MISSING.TKD"), dir.file("projects/MISSING.TKD"));
  EXPECT_EQ(IndexEntryPath(index, "/abs/X.TKD"), "/abs/X.TKD");
}

}  // namespace
