// Form help files (F1), the text of index entries' help files and its 60000-character buffer.
#include <gtest/gtest.h>

#include <regex>

#include "TestSupport.h"
#include "help/FormHelp.h"
#include "forms/DeckReader.h"
#include "help/HelpMenuFile.h"
#include "help/HelpText.h"
#include "help/IndexFile.h"
#include "support/Files.h"
#include "support/Text.h"

using namespace tal;
using taltest::TempDir;

namespace {

const std::string HelpFile =
    "Help of the house form\r\n.TOPIC=12\r\nTwelve: the flow of\r\nthe loop.\r\n"
    ".topic=7\r\nSeven: AREA=3 in a\r\nline.\r\n\r\nA second paragraph.\r\n  indented  1\r\n  indented  2\r\n"
    ".Topic=3\r\nThree\r\n";

TEST(FormHelp, SectionsAreFoundByTheirHeadersAndReflowed) {
  struct Case {
    int topic;
    std::string text;
  } cases[] = {
      {7, "Seven: AREA=3 in a line.\r\n\r\nA second paragraph.\r\n  indented  1\r\n  indented  2\r\n"},
      {1, "Twelve: the flow of the loop.\r\n"},  // the key is compared over its own length
      {3, "Three\r\n"},                          // "AREA=3" in a section is no header
      {5, "Help is not available for this topic"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetHelpText(HelpFile, c.topic), c.text) << c.topic;
}

TEST(FormHelp, TheWindowsTextComesFromTheDecksHelpFile) {
  TempDir dir;
  std::string deck = dir.write("v1.2/House.Form.tkd", "*TALKIT\n");
  EXPECT_EQ(FormHelpText(deck, 3), "File " + dir.file("v1.2/House.HLP") + " was not found.");
  dir.write("v1.2/house.hlp", HelpFile);  // found without regard to case
  EXPECT_EQ(FormHelpText(deck, 3), "Three\r\n");
  EXPECT_EQ(FormHelpText(deck, 0), "Help is not available for this entry.");
}

TEST(HelpText, LinesBecomeParagraphsAndTheBufferNeverPassesItsLimit) {
  EXPECT_EQ(ReflowHelpLines({"First line", "ends here.", "", "Next ", " indented", "last"}),
            "First line ends here.  \r\n\r\nNext \r\n indented last ");
  std::vector<std::string> lines(1000, std::string(99, 'x') + ".");
  lines.insert(lines.begin() + 500, " indented");
  EXPECT_EQ(ReflowHelpLines(lines).size(), HelpTextMax);
}

TEST(HelpText, FilesOfTheLimitAndMissingFiles) {
  TempDir dir;
  struct Case {
    std::string name;
    std::size_t bytes;  // 0 = no file
    std::string message;
    std::string textStart;
  } cases[] = {
      {"exact.txt", HelpTextMax, "", "aaaa"},
      {"over.txt", HelpTextMax + 1, "This file contains 60001 characters.  The maximum is 60000 characters.  Sorry...",
       "Help is not available for this subject"},
      {"missing.txt", 0, "", "Help information is not available for this subject."},
  };
  for (const Case& c : cases) {
    if (c.bytes) dir.write(c.name, std::string(c.bytes, 'a'));
    HelpTextSetup setup = PrepareHelpText(dir.file(c.name));
    EXPECT_EQ(setup.action, HelpTextSetup::Action::Show) << c.name;
    EXPECT_EQ(setup.message, c.message) << c.name;
    EXPECT_EQ(setup.text.substr(0, c.textStart.size()), c.textStart) << c.name;
  }
}

// The demo workspace: every file its index names exists, every help topic of its forms has a section
// and every file of the Help menu is a manual page.
TEST(DemoHelp, IndexEntriesExistAndEveryTopicOfTheFormsHasItsSection) {
  const std::string demo = std::string(TAL_SOURCE_DIR) + "/demo", index = demo + "/DEMO.IDX";
  auto projects = ReadIndexFile(index);
  ASSERT_TRUE(projects && !projects->entries.empty());
  for (const IndexEntry& entry : projects->entries)
    for (const std::string& name : {entry.files.deck, entry.files.picture, entry.files.help})
      EXPECT_TRUE(FileReadable(IndexEntryPath(index, name))) << name;
  for (const std::string& deck : ListFilesWithPrefixNoCase(demo, "")) {
    if (ExtensionOf(deck) != ".TKD") continue;
    for (const FormItem& item : ReadDeck(deck).form.items) {
      if (item.helpTopic == 0) continue;
      EXPECT_NE(FormHelpText(deck, item.helpTopic), "Help is not available for this topic") << deck << " " << item.helpTopic;
    }
  }
  for (const char* name : {"TALSHELL.HLP", "TALKIT.HLP", "Types.Hlp", "Typeindx.Hlp", "Error.Hlp"})
    EXPECT_EQ(FindHelpMenuFile(demo, name).kind, HelpMenuFile::Kind::Manual) << name;
}

// The error page names every text the sample engine's sources write: each string literal of more
// than one word (a message, or the part of one between the values it names) is on the page, read
// without its tags and with every run of blanks and line ends as one blank.
TEST(DemoHelp, TheErrorPageHoldsEveryMessageOfTheEngine) {
  auto rewrite = [](std::string text, std::initializer_list<std::pair<const char*, const char*>> rules) {
    for (const auto& [from, to] : rules) text = std::regex_replace(text, std::regex(from), to);
    return text;
  };
  const std::string page = rewrite(*ReadWholeFile(std::string(TAL_SOURCE_DIR) + "/demo/Error.html"),
                                   {{"<[^>]*>", ""}, {"&quot;", "\""}, {"&amp;", "&"}, {"\\s+", " "}});
  const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re"), skipped("#include[^\\n]*|//[^\\n]*");
  int checked = 0;
  for (const std::string& source : ListFilesWithPrefixNoCase(std::string(TAL_SOURCE_DIR) + "/src/engine", "")) {
    if (ExtensionOf(source) != ".CPP") continue;
    const std::string code = std::regex_replace(*ReadWholeFile(source), skipped, "");
    for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it) {
      const std::string words = rewrite((*it)[1].str(), {{R"(\\n)", " "}, {R"(\\")", "\""}, {"\\s+", " "}, {"^ | $", ""}});
      // Single words are keywords, names and units; "%" starts number formats. The expression
      // reader's own text for an unknown unit output is never shown: the engine knows every [u,o].
      if (words.find(' ') == std::string::npos || words.find('%') != std::string::npos || words == "unknown unit output")
        continue;
      ++checked;
      EXPECT_NE(page.find(words), std::string::npos) << source << ": \"" << words << "\" is not on demo/Error.html";
    }
  }
  EXPECT_GT(checked, 150);
}

}  // namespace
