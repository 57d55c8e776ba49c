// The table file: its size, a bit-for-bit round trip, refused files and the deck it names.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "support/RealCodecs.h"
#include "tables/DeckConstants.h"
#include "tables/TableFile.h"

using namespace tal;

namespace {

TableModel Sample() {
  TableModel t(4, {"AREA", "A_VERY_LONG_VARIABLE_NAME_OF_30", "FLOW"});
  t.deckFileName = "/sim/SOLAR.DCK";
  t.runDeckNames[1] = "/sim/SOLAR1.TMP";
  t.clientArea = {10, 20, 0, 0, 455, 121};
  t.columns[1].format = {1, 3};
  t.columns[2].format = {3, 6};
  t.setValue(1, 1, 0.1L);
  t.setValue(1, 2, -1e99L);
  t.setValue(1, 3, BlankValue);
  t.setValue(2, 4, std::nextafter(1.0L, 2.0L));  // the last bit of an extended real
  t.setValue(3, 2, -0.0L);
  return t;
}

}  // namespace

TEST(TableFile, SizeFollowsTheCountsAndMarkersKeepTheirBytes) {
  TableModel t = Sample();
  std::string bytes = EncodeTable(t);
  EXPECT_EQ(bytes.size(), 256u + 4 + 4 + 12 + 97 * 5 + 3 * (60 + 10 * 5) + 2);
  EXPECT_EQ(TableFileSize(4, 3), bytes.size());
  // Column 1's record follows the run deck names: number 1, name at 6, kind 2 and 4 digits.
  std::size_t record = 276 + 97 * 5;
  EXPECT_EQ(bytes.substr(record, 2), std::string("\1\0", 2));
  EXPECT_EQ(bytes.substr(record + 6, 5), "\4AREA");
  EXPECT_EQ(bytes.substr(record + 44, 4), std::string("\2\0\4\0", 4));
  const unsigned char noValue[] = {0x1D, 0x07, 0x8D, 0xEA, 0x19, 0xF5, 0x27, 0x92, 0x4B, 0x41};
  EXPECT_EQ(bytes.substr(record + 60 + 10 * 4, 10), std::string(reinterpret_cast<const char*>(noValue), 10));
  EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string(2, '\0'));
}

TEST(TableFile, SavedAndReadBackBitForBit) {
  taltest::TempDir dir;
  TableModel t = Sample();
  t.modified = true;
  std::string file = dir.file("SOLAR.TBL");
  ASSERT_EQ(SaveTable(t, file), "");
  EXPECT_FALSE(t.modified);
  TableReadResult read = ReadTableFile(file);
  ASSERT_TRUE(read.ok) << read.message;
  EXPECT_EQ(EncodeTable(read.table), taltest::ReadFile(file));
  EXPECT_EQ(read.table.deckFileName, "/sim/SOLAR.DCK");
  EXPECT_EQ(read.table.runDeckNames[1], "/sim/SOLAR1.TMP");
  EXPECT_EQ(read.table.tableFileName, file);
  EXPECT_EQ(read.table.runRange.last, 4);
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(read.table.columns[c - 1].name, t.columns[c - 1].name);
    EXPECT_EQ(read.table.columns[c - 1].format, t.columns[c - 1].format);
    for (int r = 1; r <= 4; ++r) {
      unsigned char a[10], b[10];
      EncodeExtended(read.table.value(c, r), a);
      EncodeExtended(t.value(c, r), b);
      EXPECT_EQ(std::string(a, a + 10), std::string(b, b + 10)) << c << "," << r;
    }
  }
}

TEST(TableFile, DamagedFilesAreRefusedWithTheirName) {
  const std::string good = EncodeTable(Sample());
  auto withCounts = [&](int columns, int rows) {
    std::string b = good;
    for (int i = 0; i < 4; ++i) b[256 + i] = static_cast<char>((columns >> (8 * i)) & 0xFF);
    for (int i = 0; i < 4; ++i) b[260 + i] = static_cast<char>((rows >> (8 * i)) & 0xFF);
    return b;
  };
  auto withByte = [&](std::size_t at, int value) {
    std::string b = good;
    b[at] = static_cast<char>(value);
    return b;
  };
  const std::size_t firstColumn = TableHeaderSize + RunDeckNameRecordSize * 5;
  struct Case {
    const char* name;
    std::string bytes;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"empty", "", "it is too short"},
      {"short header", good.substr(0, 270), "it is too short"},
      {"cut at the end", good.substr(0, good.size() - 1), "its length of 1092 bytes does not match its 4 runs and 3 variables (1093 bytes)"},
      {"too many runs", withCounts(4, 10001), "it holds 10000 runs (1 to 9999 are possible)"},
      {"no runs", withCounts(4, 1), "it holds 0 runs (1 to 9999 are possible)"},
      {"negative columns", withCounts(-5, 5), "it holds -6 variables (at most 9999 are possible)"},
      {"huge column count", withCounts(0x7FFFFFFF, 5), "it holds 2147483646 variables (at most 9999 are possible)"},
      {"column name longer than its field", withByte(firstColumn + 6, 60),
       "the name of its column 1 is 60 characters long (at most 30 are possible)"},
      {"run deck name longer than its field", withByte(TableHeaderSize + RunDeckNameRecordSize, 200),
       "its run deck name 2 is 200 characters long (at most 96 are possible)"},
      {"counts larger than the bytes", withCounts(200, 5), "its length of 1093 bytes does not match its 4 runs and 199 variables (22653 bytes)"},
  };
  for (const Case& c : cases) {
    TableReadResult read = DecodeTable(c.bytes, "/w/T.TBL");
    EXPECT_FALSE(read.ok) << c.name;
    EXPECT_EQ(read.message, "File /w/T.TBL is not a valid table file: " + c.reason + ".") << c.name;
  }
}

TEST(TableFile, DeckIsLookedForBesideTheTable) {
  taltest::TempDir dir;
  const std::string original = dir.write("orig/SOLAR.DCK", "CONSTANTS 1\nX = 1\nEND\n");
  const std::string copy = dir.write("copy/SOLAR.DCK", "CONSTANTS 1\nX = 1\nEND\n");
  dir.write("moved/STUDY.DCK", "CONSTANTS 1\nX = 1\nEND\n");
  struct Case {
    std::string table, storedDeck, found;
  } cases[] = {
      {"orig/SOLAR.TBL", original, original},
      {"copy/SOLAR.TBL", original, copy},  // a copied project runs its own deck, not the original's
      {"copy/STUDY.TBL", original, copy},  // whatever the table is called
      {"moved/STUDY.TBL", "/gone/SOLAR.DCK", dir.file("moved/STUDY.DCK")},
  };
  for (const Case& c : cases) {
    TableModel t(1, {"X"});
    t.tableFileName = dir.file(c.table);
    t.deckFileName = c.storedDeck;
    EXPECT_EQ(FindTableDeck(t, 1), "") << c.table;
    EXPECT_EQ(t.deckFileName, c.found) << c.table;
  }
  ASSERT_TRUE(CurrentDeckVariables());
  TableModel t(1, {"X"});
  t.tableFileName = dir.file("runs/T.TBL");
  t.deckFileName = "/gone/OTHER.DEK";
  EXPECT_EQ(FindTableDeck(t, 1), "File /gone/OTHER.DEK which is used by this table was not found. It was looked for "
                                 "beside the table as " + dir.file("runs/OTHER.DEK") + " and " + dir.file("runs/T.DEK") + " too.");
  EXPECT_EQ(t.deckFileName, "/gone/OTHER.DEK");
  EXPECT_FALSE(CurrentDeckVariables());

  EXPECT_EQ(TableNameForDeck("/sim/solar.dck"), "/sim/solar.TBL");
  EXPECT_EQ(TableNameForDeck("/sim/SOLAR"), "/sim/SOLAR.TBL");
}
