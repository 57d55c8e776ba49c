// `talbatch COMMAND --help` says what the README's command reference says: every usage line of the
// README is in the help of its command (the manual page is made from the same help texts).
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "BatchCommand.h"
#include "TestSupport.h"

namespace {

// Words separated by single blanks, so that line breaks and column alignment do not count.
std::string Words(const std::string& text) {
  std::istringstream in(text);
  std::string word, out;
  while (in >> word) out += (out.empty() ? "" : " ") + word;
  return out;
}

// The README's usage lines of talbatch, continuation lines joined, comments after "#" dropped.
std::vector<std::string> ReadmeUsageLines() {
  std::istringstream readme(taltest::ReadFile(std::string(TAL_SOURCE_DIR) + "/README.md"));
  std::vector<std::string> usages;
  for (std::string line; std::getline(readme, line);) {
    if (std::size_t comment = line.find("  #"); comment != std::string::npos) line.resize(comment);
    if (line.starts_with("    talbatch "))
      usages.push_back(Words(line));
    else if (!usages.empty() && line.starts_with("                ") && Words(line).starts_with("["))
      usages.back() += " " + Words(line);
  }
  return usages;
}

TEST(TalbatchHelp, EveryUsageLineOfTheReadmeIsInItsCommandsHelp) {
  const auto usages = ReadmeUsageLines();
  ASSERT_GE(usages.size(), 14u);
  for (const auto& usage : usages) {
    std::string talbatch, command;
    std::istringstream(usage) >> talbatch >> command;
    std::ostringstream out, err;
    tal::batch::BatchIo io{out, err};
    ASSERT_EQ(tal::batch::RunBatch({command, "--help"}, io), 0) << command << ": " << err.str();
    EXPECT_NE(Words(out.str()).find(usage), std::string::npos)
        << "`talbatch " << command << " --help` (src/batch/CommandHelp.cpp) lacks the README's\n  " << usage
        << "\nit says:\n" << out.str();
  }
}

TEST(TalbatchHelp, EveryCommandAnswersHelpAndVersion) {
  for (const auto& command : tal::batch::BatchCommands()) {
    for (const char* asked : {"--help", "--version"}) {
      std::ostringstream out, err;
      tal::batch::BatchIo io{out, err};
      EXPECT_EQ(tal::batch::RunBatch({command.name, asked}, io), 0) << command.name << " " << asked;
      EXPECT_NE(out.str().find(asked == std::string("--help") ? "usage: talbatch " + command.name
                                                              : std::string("talbatch ") + TAL_VERSION),
                std::string::npos)
          << command.name << " " << asked << ": " << out.str();
    }
  }
}

TEST(TalbatchHelp, AnUnknownOptionIsNamedWithExitStatus2) {
  const std::vector<std::string> commandLines[] = {{"--no-such-option", "settings"},
                                                   {"settings", "show", "--no-such-option"},
                                                   {"results", "--no-such-option"},
                                                   {"plot-info", "A.PLT", "--no-such-option"},
                                                   {"make-form", "A.DCK", "-o", "A.TKD", "--no-such-option"}};
  for (const auto& args : commandLines) {
    std::ostringstream out, err;
    tal::batch::BatchIo io{out, err};
    EXPECT_EQ(tal::batch::RunBatch(args, io), 2) << args[0];
    EXPECT_NE(err.str().find("--no-such-option"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "") << args[0];
  }
}

// Each command line is whole but for one option no command knows: the parser names it, whatever
// the command, before anything is read or run.
TEST(TalbatchHelp, EveryCommandNamesAnUnknownOptionWithExitStatus2) {
  const std::vector<std::vector<std::string>> commandLines = {
      {"run", "D.DCK"},
      {"table", "new", "D.DCK", "--runs", "2", "--vars", "A"},
      {"table", "set", "T.TBL", "A", "--from", "-.5", "--step", "-1"},
      {"table", "show", "T.TBL"},
      {"table", "run", "T.TBL", "-j", "2"},
      {"table", "results", "T.TBL", "--collect", "QAUX:sum"},
      {"form", "show", "F.TKD", "--units", "2"},
      {"form", "set", "F.TKD", "A=1", "--check", "B=on"},
      {"plot", "F.PLT", "-x", "TIME", "-y", "A,B", "-o", "O.png"},
      {"plot-info", "F.PLT"},
      {"results", "D.DCK"},
      {"settings", "show"},
      {"make-form", "D.DCK", "--all", "-o", "O.TKD"},
  };
  std::set<std::string> covered;
  for (auto args : commandLines) {
    covered.insert(args[0]);
    args.push_back("--no-such-option");
    std::ostringstream out, err;
    tal::batch::BatchIo io{out, err};
    EXPECT_EQ(tal::batch::RunBatch(args, io), 2) << args[0] << " " << args[1];
    EXPECT_NE(err.str().find("--no-such-option"), std::string::npos) << args[0] << " " << args[1] << ": " << err.str();
  }
  for (const auto& command : tal::batch::BatchCommands()) EXPECT_TRUE(covered.count(command.name)) << command.name;
}

}  // namespace
