#include <gtest/gtest.h>

#include "TestSupport.h"
#include "help/HelpMenuFile.h"
#include "help/HelpText.h"

using namespace tal;
using taltest::TempDir;

namespace {

TEST(HelpText, LinesBecomeParagraphs) {
  EXPECT_EQ(ReflowHelpLines({"First line", "ends here.", "", "Next paragraph ", " indented", "last"}),
            "First line ends here.  \r\n\r\nNext paragraph \r\n indented last ");
}

TEST(HelpText, TheBufferNeverPassesItsLimit) {
  std::vector<std::string> lines(1000, std::string(99, 'x') + ".");
  lines.insert(lines.begin() + 500, " indented");
  std::string text = ReflowHelpLines(lines);
  EXPECT_EQ(text.size(), HelpTextMax);
  EXPECT_EQ(text.substr(0, 103), std::string(99, 'x') + ".  x");
}

TEST(HelpText, FilesOfTheLimitForeignFilesAndMissingFiles) {
  TempDir dir;
  struct Case {
    std::string name;
    std::string bytes;  // "" = no file
    HelpTextSetup::Action action;
    std::string message;
    std::size_t textSize;
  } cases[] = {
      {"exact.txt", std::string(HelpTextMax, 'a'), HelpTextSetup::Action::Show, "", HelpTextMax},
      {"over.txt", std::string(HelpTextMax + 1, 'a'), HelpTextSetup::Action::Show,
       "This file contains 60001 characters.  The maximum is 60000 characters.  Sorry...", 38},
      {"viewer.hlp", std::string("?_\x03\x00", 4), HelpTextSetup::Action::Foreign,
       "The help file " + dir.file("viewer.hlp") +
           " is written for the help viewer of another system and cannot be shown here.", 38},
      {"missing.txt", "", HelpTextSetup::Action::Show, "", 51},
  };
  for (const Case& c : cases) {
    if (!c.bytes.empty()) dir.write(c.name, c.bytes);
    HelpTextSetup setup = PrepareHelpText(dir.file(c.name));
    EXPECT_EQ(setup.action, c.action) << c.name;
    EXPECT_EQ(setup.message, c.message) << c.name;
    EXPECT_EQ(setup.text.size(), c.textSize) << c.name << ": " << setup.text.substr(0, 60);
  }
}

TEST(HelpText, HelpMenuFilesAreFoundWithoutRegardToCase) {
  TempDir dir;
  dir.write("talshell.HLP", "plain");
  dir.write("types.hlp", "?_binary");
  EXPECT_EQ(FindHelpMenuFile(dir.path(), "TALSHELL.HLP").kind, HelpMenuFile::Kind::Text);
  EXPECT_EQ(FindHelpMenuFile(dir.path(), "Types.Hlp").kind, HelpMenuFile::Kind::Foreign);
  HelpMenuFile missing = FindHelpMenuFile(dir.path(), "Error.Hlp");
  EXPECT_EQ(missing.kind, HelpMenuFile::Kind::Missing);
  EXPECT_EQ(HelpFileNotFoundMessage(missing.path), "File " + dir.file("Error.Hlp") + " was not found.");
  dir.write("Talshell.Html", "<html></html>");
  HelpMenuFile manual = FindHelpMenuFile(dir.path(), "TALSHELL.HLP");
  EXPECT_EQ(manual.kind, HelpMenuFile::Kind::Manual);
  EXPECT_EQ(manual.path, dir.file("Talshell.Html"));
}

}  // namespace
