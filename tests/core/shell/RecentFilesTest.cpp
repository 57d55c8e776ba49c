#include <gtest/gtest.h>

#include "TestSupport.h"
#include "shell/RecentFiles.h"

using namespace tal;

namespace {
std::vector<std::string> Names(int first, int last) {
  std::vector<std::string> names;
  for (int i = first; i <= last; ++i) names.push_back("/w/DECK" + std::to_string(i) + ".DCK");
  return names;
}
}  // namespace

TEST(RecentFiles, NinthDistinctFileDropsTheOldest) {
  RecentFiles list;
  for (const auto& name : Names(1, 9)) list.add(name);
  EXPECT_EQ(list.entries(), Names(2, 9));
}

TEST(RecentFiles, ReopeningMovesToNewestWithoutDuplicateIgnoringCase) {
  RecentFiles list;
  for (const auto& name : Names(1, 3)) list.add(name);
  list.add("/W/deck1.dck");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.entries().front(), "/w/DECK2.DCK");
  EXPECT_EQ(list.entries().back(), "/W/deck1.dck");  // the case the user gave this time
}

TEST(RecentFiles, NamesOfThreeCharactersOrLessAreNotRemembered) {
  RecentFiles list;
  list.add("A.B");
  list.add("");
  EXPECT_TRUE(list.empty());
  list.add("AB.C");
  EXPECT_EQ(list.size(), 1u);
  list.add("ab.c");
  EXPECT_EQ(list.entries(), std::vector<std::string>{"ab.c"});
}

TEST(RecentFiles, RemoveAtOutOfRangeChangesNothing) {
  RecentFiles list;
  for (const auto& name : Names(1, 2)) list.add(name);
  EXPECT_FALSE(list.removeAt(2));
  EXPECT_TRUE(list.removeAt(0));
  EXPECT_EQ(list.entries(), Names(2, 2));
}

TEST(RecentFiles, SavesOneNamePerLineOldestFirstAndLoadsThemBack) {
  taltest::TempDir dir;
  RecentFiles list;
  for (const auto& name : Names(1, 3)) list.add(name);
  EXPECT_EQ(list.save(dir.path()), "");
  EXPECT_EQ(taltest::ReadFile(dir.file("TALSHELL.FNL")), "/w/DECK1.DCK\n/w/DECK2.DCK\n/w/DECK3.DCK\n");
  RecentFiles loaded;
  EXPECT_TRUE(loaded.load(dir.path()));
  EXPECT_EQ(loaded.entries(), list.entries());
}

TEST(RecentFiles, ListFileIsFoundAndReplacedWhateverItsCase) {
  taltest::TempDir dir;
  dir.write("talshell.fnl", "/a/ONE.DCK\r\n\r\n   \n/a/TWO.TKD");
  RecentFiles list;
  ASSERT_TRUE(list.load(dir.path()));
  EXPECT_EQ(list.entries(), (std::vector<std::string>{"/a/ONE.DCK", "/a/TWO.TKD"}));  // blank lines skipped
  list.add("/a/THREE.DCK");
  EXPECT_EQ(list.save(dir.path()), "");
  EXPECT_EQ(taltest::ReadFile(dir.file("talshell.fnl")), "/a/ONE.DCK\n/a/TWO.TKD\n/a/THREE.DCK\n");
  EXPECT_FALSE(taltest::Exists(dir.file("TALSHELL.FNL")));
}

TEST(RecentFiles, MissingListFileIsAnEmptyList) {
  taltest::TempDir dir;
  RecentFiles list;
  list.add("/w/OLD.DCK");
  EXPECT_FALSE(list.load(dir.path()));
  EXPECT_TRUE(list.empty());
}

TEST(RecentFiles, FailedWriteIsReportedAndLeavesTheOldListWhole) {
  taltest::TempDir dir;
  dir.write("TALSHELL.FNL", "/w/KEEP.DCK\n");
  RecentFiles list;
  list.add("/w/NEW.DCK");
  EXPECT_NE(list.save(dir.file("no-such-folder")), "");
  EXPECT_EQ(taltest::ReadFile(dir.file("TALSHELL.FNL")), "/w/KEEP.DCK\n");
}
