// Which program directory a program uses, and the one an installed program makes for each user.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "runs/InstalledProgram.h"
#include "runs/SettingsFile.h"

namespace fs = std::filesystem;

namespace {

using taltest::TempDir;

// An installed tree in a temporary folder: prefix/bin with the engine, prefix/share/talshell with
// a template holding a settings file, a help page, type descriptions and a demo deck.
struct FakeInstallation {
  TempDir root;
  std::string bin = root.file("prefix/bin");
  std::string templateDir = root.file("prefix/share/talshell");
  std::string home = root.file("home");
  FakeInstallation() {
    root.writeScript("prefix/bin/talpix-sample", "exit 0\n");
    root.write("prefix/share/talshell/CNFGTL.TAL", "switches\n");
    tal::SettingsRecord settings;
    settings.userCommand = "ls -l";
    EXPECT_EQ(tal::WriteDFT(templateDir, settings), "");
    root.write("prefix/share/talshell/TALSHELL.html", "<p>manual</p>\n");
    root.write("prefix/share/talshell/INFO/TYPE1.INF", "TYPE 1 mass\n");
    root.write("prefix/share/talshell/demo/HOUSE.DCK", "END\n");
    fs::create_directories(home);
  }
  std::string userDir() const { return home + "/.local/share/talshell"; }
};

TEST(InstalledProgram, UserProgramDirectoryFollowsXdgDataHome) {
  struct Case {
    tal::UserFolders user;
    std::string expected;
  };
  const Case cases[] = {
      {{"/data", "/home/u"}, "/data/talshell"},
      {{"", "/home/u"}, "/home/u/.local/share/talshell"},
      {{"relative/data", "/home/u"}, "/home/u/.local/share/talshell"},  // not absolute: ignored
      {{"", ""}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(tal::UserProgramDirectory(c.user), c.expected) << c.user.dataHome;
}

TEST(InstalledProgram, OnlyAnInstalledProgramLeavesItsFolder) {
  FakeInstallation install;
  TempDir workspace, build;
  EXPECT_EQ(tal::WriteDFT(workspace.path(), tal::SettingsRecord{}), "");
  const tal::UserFolders user{"", install.home};
  struct Case {
    std::string what, candidate;
    std::vector<std::string> executables;
    std::string expected;
  };
  const Case cases[] = {
      {"build folder", build.path(), {build.path()}, build.path()},
      {"workspace of links to the build", workspace.path(), {workspace.path(), build.path()}, workspace.path()},
      {"workspace of links to the installed program", workspace.path(), {workspace.path(), install.bin},
       workspace.path()},
      {"installed bin/", install.bin, {install.bin}, install.userDir()},
      {"link elsewhere to the installed program", build.path(), {build.path(), install.bin}, install.userDir()},
      {"batch run in the installed template", install.templateDir, {install.bin}, install.userDir()},
  };
  for (const auto& c : cases) {
    tal::ProgramDirectory chosen = tal::ChooseProgramDirectory(c.candidate, c.executables, user);
    EXPECT_EQ(chosen.problem, "") << c.what;
    EXPECT_EQ(chosen.directory, c.expected) << c.what;
  }
}

TEST(InstalledProgram, FirstStartMakesTheDirectoryAndDemoOnce) {
  FakeInstallation install;
  const tal::UserFolders user{"", install.home};
  tal::ProgramDirectory first = tal::ChooseProgramDirectory(install.bin, {install.bin}, user);
  ASSERT_EQ(first.problem, "");
  const std::string dir = install.userDir();
  EXPECT_EQ(first.madeFrom, fs::canonical(install.templateDir).string());
  EXPECT_EQ(first.demoWorkspace, install.home + "/TALSHELL-demo");

  tal::SettingsRecord settings;
  ASSERT_TRUE(tal::ReadDFT(dir, settings).ok);
  EXPECT_EQ(settings.userCommand, "ls -l");
  for (const std::string* folder : {&settings.talpixDir, &settings.voxenDir, &settings.mirellDir})
    EXPECT_EQ(*folder, dir);
  EXPECT_EQ(fs::read_symlink(dir + "/TALPIX32"), fs::path(install.bin) / "talpix-sample");
  EXPECT_TRUE(fs::is_symlink(dir + "/TALSHELL.html"));  // the program's pages follow upgrades
  EXPECT_FALSE(fs::is_symlink(dir + "/INFO"));           // the user's to change
  EXPECT_EQ(taltest::ReadFile(dir + "/INFO/TYPE1.INF"), "TYPE 1 mass\n");
  EXPECT_FALSE(taltest::Exists(dir + "/demo"));
  EXPECT_EQ(taltest::ReadFile(install.home + "/TALSHELL-demo/HOUSE.DCK"), "END\n");

  // Later starts keep what the user changed and make nothing.
  settings.userCommand = "make";
  ASSERT_EQ(tal::WriteDFT(dir, settings), "");
  fs::remove(install.home + "/TALSHELL-demo/HOUSE.DCK");
  tal::ProgramDirectory second = tal::ChooseProgramDirectory(install.bin, {install.bin}, user);
  EXPECT_EQ(second.directory, dir);
  EXPECT_EQ(second.madeFrom, "");
  EXPECT_EQ(second.demoWorkspace, "");
  ASSERT_TRUE(tal::ReadDFT(dir, settings).ok);
  EXPECT_EQ(settings.userCommand, "make");
  EXPECT_FALSE(taltest::Exists(install.home + "/TALSHELL-demo/HOUSE.DCK"));
  for (const auto& entry : fs::directory_iterator(fs::path(dir).parent_path()))
    EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos) << entry.path();
}

TEST(InstalledProgram, ADemoOfTheUserIsKeptAndAMissingHomeIsNamed) {
  FakeInstallation install;
  install.root.write("home/TALSHELL-demo/MINE.DCK", "mine\n");
  tal::ProgramDirectory made = tal::ChooseProgramDirectory(install.bin, {install.bin}, {"", install.home});
  EXPECT_EQ(made.problem, "");
  EXPECT_EQ(made.demoWorkspace, "");
  EXPECT_FALSE(taltest::Exists(install.home + "/TALSHELL-demo/HOUSE.DCK"));

  tal::ProgramDirectory homeless = tal::ChooseProgramDirectory(install.bin, {install.bin}, {"", ""});
  EXPECT_EQ(homeless.directory, "");
  EXPECT_NE(homeless.problem.find("Neither XDG_DATA_HOME nor HOME is set"), std::string::npos);
}

TEST(InstalledProgram, AFolderThatCannotBeMadeIsNamedAndLeavesNothing) {
  FakeInstallation install;
  install.root.write("blocked", "a file where the data folder should be\n");
  tal::ProgramDirectory made =
      tal::ChooseProgramDirectory(install.bin, {install.bin}, {install.root.file("blocked/data"), install.home});
  EXPECT_EQ(made.directory, "");
  EXPECT_NE(made.problem.find("Cannot make the program directory " + install.root.file("blocked/data/talshell")),
            std::string::npos)
      << made.problem;
  EXPECT_FALSE(taltest::Exists(install.home + "/TALSHELL-demo"));
}

}  // namespace
