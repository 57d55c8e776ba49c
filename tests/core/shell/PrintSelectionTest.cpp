#include <gtest/gtest.h>

#include "shell/PrintSelection.h"

using namespace tal;

namespace {
std::vector<std::string> Names(const std::vector<PrintListEntry>& list) {
  std::vector<std::string> names;
  for (const PrintListEntry& e : list) names.push_back(e.name);
  return names;
}
}  // namespace

TEST(PrintSelection, ShortNamesOfPlotsAndFiles) {
  EXPECT_EQ(PrintShortName("Plot 2: /work/A.PLT"), "Plot 2");
  EXPECT_EQ(PrintShortName("/work/WORK/A.DCK"), "A.DCK");
  EXPECT_EQ(PrintShortName("Diagram"), "Diagram");
  EXPECT_EQ(PrintShortName("NoName1.DCK"), "NoName1.DCK");
  EXPECT_EQ(PrintShortName("Plot 3"), "Plot 3") << "a plot caption without a colon keeps its name";
}

TEST(PrintSelection, TheActiveWindowStartsOnTheRightAndTheOthersSortedOnTheLeft) {
  PrintSelection s;
  PrintListEntry active{"B.DCK", 1};
  s.Fill({{"c.lst", 2}, {"A.OUT", 3}, {"Plot 1", 4}}, &active);
  EXPECT_EQ(Names(s.left()), (std::vector<std::string>{"A.OUT", "c.lst", "Plot 1"}));
  EXPECT_EQ(Names(s.right()), std::vector<std::string>{"B.DCK"});
  EXPECT_TRUE(s.canPrint());
  EXPECT_TRUE(s.canChoose());

  s.Fill({}, &active);
  EXPECT_TRUE(s.canPrint()) << "a single window: OK enabled";
  EXPECT_FALSE(s.canChoose());
  s.Fill({}, nullptr);
  EXPECT_FALSE(s.canPrint()) << "no window: OK disabled";
}

TEST(PrintSelection, MovingSelectedEntriesAndWhatIsSelectedAfterwards) {
  PrintSelection s;
  s.Fill({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}}, nullptr);
  EXPECT_EQ(s.MoveRight({1, 2}), 1) << "the position of the first moved entry";
  EXPECT_EQ(Names(s.left()), (std::vector<std::string>{"A", "D"}));
  EXPECT_EQ(Names(s.right()), (std::vector<std::string>{"C", "B"})) << "moved from the last selected to the first";
  EXPECT_EQ(s.MoveRight({1}), 0) << "past the end: the last entry";
  EXPECT_EQ(s.MoveRight({}), 0) << "nothing selected: the first";
  EXPECT_EQ(s.MoveRight({0}), -1) << "the list is empty now";
  EXPECT_FALSE(s.canChoose());
  EXPECT_EQ(Names(s.right()), (std::vector<std::string>{"C", "B", "D", "A"}));

  EXPECT_EQ(s.MoveLeft({3, 0, 99}), 0) << "positions out of range are ignored";
  EXPECT_EQ(Names(s.left()), (std::vector<std::string>{"A", "C"})) << "sorted when back on the left";
  EXPECT_EQ(s.MoveAllLeft(), -1);
  EXPECT_FALSE(s.canPrint());
  EXPECT_EQ(Names(s.left()), (std::vector<std::string>{"A", "B", "C", "D"}));
  s.MoveAllRight();
  EXPECT_EQ(Names(s.right()), (std::vector<std::string>{"A", "B", "C", "D"})) << ">>: all of them, in order";
  EXPECT_EQ(s.right()[2].id, 3);
}
