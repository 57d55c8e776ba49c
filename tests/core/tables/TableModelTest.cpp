// Cells, clipboard texts, altering and inserting runs of the table model.
#include <gtest/gtest.h>

#include "tables/TableModel.h"

using namespace tal;

namespace {

std::vector<std::string> Column(const TableModel& t, int column) {
  std::vector<std::string> texts;
  for (int r = 1; r <= t.runs(); ++r) texts.push_back(CellText(t, column, r));
  return texts;
}

}  // namespace

TEST(TableCells, TextsOfNewEditedAndOutsideCells) {
  TableModel t(3, {"AREA", "A_NAME_LONGER_THAN_THIRTY_CHARACTERS"});
  EXPECT_EQ(CellText(t, 2, 0), "A_NAME_LONGER_THAN_THIRTY_CHAR");
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"Enter value", "Enter value", "Enter value"}));
  EXPECT_EQ(CellText(t, 0, 1), "");
  EXPECT_EQ(CellText(t, 3, 1), "");
  EXPECT_EQ(CellText(t, 1, 4), "");
  SetCellFromEditText(t, 1, 1, "   ");  // an emptied editor makes a blank cell
  EXPECT_EQ(CellText(t, 1, 1), " ");
  EXPECT_TRUE(t.modified);
  t.modified = false;
  SetCellFromEditText(t, 1, 2, "12.5x");  // not a number: unchanged, not modified
  EXPECT_EQ(CellText(t, 1, 2), "Enter value");
  EXPECT_FALSE(t.modified);
  SetCellFromEditText(t, 1, 2, " 25 ");
  EXPECT_EQ(CellText(t, 1, 2), "25.00");  // automatic: four significant digits
  t.columns[0].format = {1, 3};
  EXPECT_EQ(CellText(t, 1, 2), "25.000");
  t.columns[0].format = {3, 2};
  EXPECT_EQ(CellText(t, 1, 2), "2.50E+01");
  t.modified = false;
  SetCellFromEditText(t, 1, 2, "25");  // the same value again is no change
  EXPECT_FALSE(t.modified);
}

TEST(TableClipboard, CopyJoinsCellsWithTabsAndRowsWithCrLf) {
  TableModel t(3, {"A", "B", "C"});
  t.setValue(2, 2, 1.5L);
  t.setValue(3, 3, BlankValue);
  EXPECT_EQ(CopyText(t, {2, 2, 3, 3}), "1.500\tEnter value\r\nEnter value\t ");
}

TEST(TableClipboard, PasteRules) {
  struct Case {
    const char* name;
    int column, row;
    std::string text;
    std::string message;
    std::vector<std::vector<std::string>> columns;  // texts of columns 1..3 afterwards
  };
  const std::vector<Case> cases = {
      {"infinities", 1, 1, "INF\n-inf\n", "", {{" ", "-inf", "Enter value"}, {}, {}}},
      {"last column takes only the first field", 3, 1, "1\t2\t3\r\n4\t5\t6", "",
       {{"Enter value", "Enter value", "Enter value"}, {}, {"1.0000", "4.000", "Enter value"}}},
      {"more lines than runs stop at the last run", 2, 2, "1\n2\n3\n4\n", "",
       {{}, {"Enter value", "1.0000", "2.000"}, {}}},
      {"a bad field stops with its cell named", 1, 1, "1\t2\n3\tx\t4\n", "Bad number in row 2 column 2",
       {{"1.0000", "3.000", "Enter value"}, {"2.000", "Enter value", "Enter value"}, {}}},
      {"an empty field is not a number", 1, 3, "\t5", "Bad number in row 3 column 1", {}},
  };
  for (const Case& c : cases) {
    TableModel t(3, {"A", "B", "C"});
    EXPECT_EQ(PasteText(t, c.column, c.row, c.text), c.message) << c.name;
    for (std::size_t i = 0; i < c.columns.size(); ++i)
      if (!c.columns[i].empty()) {
        EXPECT_EQ(Column(t, static_cast<int>(i) + 1), c.columns[i]) << c.name;
      }
    EXPECT_EQ(t.modified, !c.columns.empty()) << c.name;  // a paste that changed a value marks the table
  }
}

TEST(TableClipboard, LongTextsAreCutAtTheLimit) {
  TableModel t(9999, {"A"});
  EXPECT_EQ(CopyText(t, {1, 1, 1, 9999}).size(), ClipboardMax);
  std::string many;
  for (int i = 0; i < 9000; ++i) many += "7\n";  // 18000 characters, then a field cut before its bad end
  many += "0." + std::string(20000, '0') + "x";
  EXPECT_EQ(PasteText(t, 1, 1, many), "");
  EXPECT_EQ(CellText(t, 1, 9000), "7.000");
  EXPECT_EQ(CellText(t, 1, 9001), "0.0");
}

TEST(TableAlter, SeriesAndRanges) {
  TableModel t(6, {"A"});
  SetValues(t, 1, 1, 5, 10, 20, SecondValue::LastValue);
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"10.00", "12.50", "15.00", "17.50", "20.00", "Enter value"}));
  SetValues(t, 1, 1, 5, 1, 2, SecondValue::Multiplier);
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"1.0000", "2.000", "4.000", "8.000", "16.00", "Enter value"}));
  SetValues(t, 1, 2, 4, 1, 0.5L, SecondValue::Increment);
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"1.0000", "1.0000", "1.500", "2.000", "16.00", "Enter value"}));
  ClearValues(t, 1, 5, 6);
  EXPECT_EQ(CellText(t, 1, 5), "Enter value");

  struct RangeCase {
    std::string first, last;
    int badField, expectFirst, expectLast;
  };
  for (const RangeCase& c : std::vector<RangeCase>{{"0", "99", 0, 1, 6},   // limited to the table
                                                   {"4", "2", 0, 4, 4},    // last below first: the first alone
                                                   {"7", "7", 1, 0, 0},    // first beyond the table
                                                   {"x", "2", 1, 0, 0},
                                                   {"2", "2.5", 2, 0, 0}}) {
    RunRangeCheck check = CheckRunRange(t, c.first, c.last);
    EXPECT_EQ(check.badField, c.badField) << c.first << ":" << c.last;
    if (check.range) {
      EXPECT_EQ(std::make_pair(check.range->first, check.range->last), std::make_pair(c.expectFirst, c.expectLast));
    }
  }
}

TEST(TableRuns, InsertAndDelete) {
  auto fiveRuns = [] {
    TableModel t(5, {"A", "B"});
    for (int r = 1; r <= 5; ++r) t.setValue(1, r, r), t.setValue(2, r, 10 * r);
    return t;
  };
  TableModel t = fiveRuns();
  ASSERT_TRUE(InsertDeleteRuns(t, 3, 2));
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"1.0000", "2.000", "Enter value", "Enter value", "Enter value",
                                                   "3.000", "4.000", "5.000"}));
  EXPECT_EQ(t.runRange.last, 8);
  EXPECT_EQ(t.runDeckNames.size(), 9u);

  t = fiveRuns();
  ASSERT_TRUE(InsertDeleteRuns(t, -2, 1));  // runs 2 and 3 go
  EXPECT_EQ(Column(t, 2), (std::vector<std::string>{"10.00", "40.00", "50.00"}));
  t = fiveRuns();
  ASSERT_TRUE(InsertDeleteRuns(t, -3, 4));  // fewer than 3 follow run 4: the last three go
  EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"1.0000", "2.000"}));
  t = fiveRuns();
  EXPECT_FALSE(InsertDeleteRuns(t, -5, 0));  // every run: the window closes instead
  EXPECT_EQ(t.runs(), 5);
}

TEST(TableColumns, RebuildKeepsColumnsByName) {
  TableModel t(2, {"A", "B", "C"});
  t.setValue(3, 1, 7);
  t.columns[2].format = {1, 2};
  RebuildColumns(t, {"C", "D"});
  ASSERT_EQ(t.variables(), 2);
  EXPECT_EQ(CellText(t, 1, 0), "C");
  EXPECT_EQ(CellText(t, 1, 1), "7.00");
  EXPECT_EQ(CellText(t, 2, 0), "D");
  EXPECT_EQ(CellText(t, 2, 1), "Enter value");
}
