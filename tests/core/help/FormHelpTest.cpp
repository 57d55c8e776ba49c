#include <gtest/gtest.h>

#include "TestSupport.h"
#include "help/FormHelp.h"

using namespace tal;
using taltest::TempDir;

namespace {

const std::string HelpFile =
    "Help of the house form\r\n"
    ".TOPIC=12\r\n"
    "Twelve: the flow of\r\n"
    "the loop.\r\n"
    ".topic=7\r\n"
    "Seven: AREA=3 in a\r\n"
    "line of text.\r\n"
    "\r\n"
    "A second paragraph.\r\n"
    "  indented  1\r\n"
    "  indented  2\r\n"
    ".Topic=3\r\n"
    "Three\r\n";

TEST(FormHelp, SectionsAreFoundByTheirHeaders) {
  struct Case {
    int topic;
    std::string text;
  } cases[] = {
      {7, "Seven: AREA=3 in a line of text.\r\n\r\nA second paragraph.\r\n  indented  1\r\n  indented  2\r\n"},
      {1, "Twelve: the flow of the loop.\r\n"},  // the key is compared over its own length
      {12, "Twelve: the flow of the loop.\r\n"},
      {3, "Three\r\n"},  // "AREA=3" in a section is no header
      {5, "Help is not available for this topic"},
      {-1, "Help is not available for this topic"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetHelpText(HelpFile, c.topic), c.text) << c.topic;
  EXPECT_EQ(GetHelpText("no headers =7\r\n", 7), "Help is not available for this topic");
  EXPECT_EQ(GetHelpText(".TOPIC=7", 7), "");  // a header at the end of the file: an empty section
}

TEST(FormHelp, ReflowJoinsLinesAndKeepsIndentedAndEmptyLines) {
  EXPECT_EQ(ReflowHelpSection("one\ntwo\r\n\r\nthree\r\n four\rx\n"), "one two\r\n\r\nthree\r\n fourx\r\n");
}

TEST(FormHelp, TheWindowsTextFromTheDecksHelpFile) {
  TempDir dir;
  std::string deck = dir.write("v1.2/House.Form.tkd", "*TALKIT\n");
  EXPECT_EQ(FormHelpFileName(deck), dir.file("v1.2/House.HLP"));
  EXPECT_EQ(FormHelpFileName("/w/PUMP"), "/w/PUMP.HLP");
  EXPECT_EQ(FormHelpText(deck, 3), "File " + dir.file("v1.2/House.HLP") + " was not found.");

  dir.write("v1.2/house.hlp", HelpFile);  // found without regard to case
  EXPECT_EQ(FormHelpText(deck, 3), "Three\r\n");
  EXPECT_EQ(FormHelpText(deck, 0), "Help is not available for this entry.");
  EXPECT_EQ(FormHelpText(deck, 9), "Help is not available for this topic");
}

}  // namespace
