#include <gtest/gtest.h>

#include "TestSupport.h"

using taltest::RunTalbatch;
using taltest::TempDir;

TEST(ResultsCommand, ListsWhatTheShellAttachesForTheDeck) {
  TempDir dir;
  dir.write("A.DCK", "deck\n");
  dir.write("A.LST", "l\n");
  dir.write("A.OUT", "o\n");
  dir.write("A.O01", "o1\n");
  dir.write("a.wmf", "picture\n");
  auto r = RunTalbatch({"results", "A.DCK"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "listing " + dir.file("A.LST") + "\noutput " + dir.file("A.O01") + "\noutput " +
                       dir.file("A.OUT") + "\ndiagram " + dir.file("a.wmf") + "\n");
  EXPECT_EQ(r.err, "");
}

TEST(ResultsCommand, DeckWithoutResultsPrintsNothing) {
  TempDir dir;
  dir.write("A.DCK", "deck\n");
  auto r = RunTalbatch({"results", dir.file("A.DCK")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
}

TEST(ResultsCommand, MissingDeckOrArgumentIsBadInput) {
  TempDir dir;
  auto missing = RunTalbatch({"results", dir.file("NONE.DCK")});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.err, "talbatch results: " + dir.file("NONE.DCK") + " cannot be opened for reading\n");
  EXPECT_EQ(missing.out, "");
  auto noArgument = RunTalbatch({"results"});
  EXPECT_EQ(noArgument.exitCode, 2);
  EXPECT_EQ(noArgument.err, "usage: talbatch results DECK\n");
  auto twoDecks = RunTalbatch({"results", "A.DCK", "B.DCK"});
  EXPECT_EQ(twoDecks.exitCode, 2);
  EXPECT_NE(twoDecks.err.find("B.DCK"), std::string::npos) << twoDecks.err;
}
