#include <gtest/gtest.h>

#include "forms/ListData.h"

using namespace tal;

TEST(ListData, RowsFieldsAndSeparators) {
  ListData data = ParseListData("3\r\n 1 , Gas boiler ,x\r\n2\tHeat pump\r\n3,\tWood stove\r\n4,Never read\r\n");
  ASSERT_EQ(data.rows.size(), 3u);  // the count limits the rows
  EXPECT_EQ(data.rows[0], (std::vector<std::string>{"1", "Gas boiler", "x"}));
  EXPECT_EQ(data.rows[1], (std::vector<std::string>{"2", "Heat pump"}));
  // Comma and tab each end a field, so both together leave an empty one between them.
  EXPECT_EQ(data.rows[2], (std::vector<std::string>{"3", "", "Wood stove"}));
  EXPECT_EQ(data.Field(0, 2), "Gas boiler");
  EXPECT_EQ(data.Field(1, 3), "");   // a column the row does not have
  EXPECT_EQ(data.Field(5, 1), "");   // a row the file does not have
  EXPECT_EQ(data.Field(0, 0), "");
  EXPECT_EQ(data.Field(-1, 1), "");
}

TEST(ListData, MatchingIsTrimmedAndCaseFree) {
  ListData data = ParseListData("2\nA1,Small\na1,Other\n");
  EXPECT_EQ(data.FindRow(1, " a1 "), 0);
  EXPECT_EQ(data.FindRow(2, "OTHER"), 1);
  EXPECT_EQ(data.FindRow(2, "none"), -1);
  EXPECT_EQ(data.FindRow(7, ""), 0);  // every row has an empty text in a column it lacks
}

TEST(ListData, ShortFilesAndBadCounts) {
  EXPECT_EQ(ParseListData("10\nonly,one\n").rows.size(), 1u);  // fewer rows at the end of the file
  EXPECT_TRUE(ParseListData("").rows.empty());
  EXPECT_TRUE(ParseListData("many\na,b\n").rows.empty());
  EXPECT_TRUE(ParseListData("-4\na,b\n").rows.empty());
  EXPECT_EQ(ParseListData("2147483647\na\n").rows.size(), 1u);
  EXPECT_FALSE(ReadListData("/nonexistent/list.dat").has_value());
}
