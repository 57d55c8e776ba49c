// Compile Module, Rebuild TALPIX, Execute User Command, the utilities and the web site, started
// against fake programs that record how they were called.
#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "runs/Installation.h"
#include "runs/Tools.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using taltest::TempDir;

namespace {

// Writes its arguments (one per line) and working directory to calls.txt beside itself.
std::string Recorder() {
  return "d=$(dirname \"$0\")\n{ echo \"$(basename \"$0\")\"; for a in \"$@\"; do echo \"[$a]\"; done; "
         "echo \"in $(pwd)\"; } > \"$d/calls.tmp\"\nmv \"$d/calls.tmp\" \"$d/calls.txt\"\n";
}

class ToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    taltest::EnsureQtApplication();
    savedDir = std::filesystem::current_path();
    dir.write("work/.keep", "");
    std::filesystem::current_path(dir.file("work"));
  }
  void TearDown() override { std::filesystem::current_path(savedDir); }
  // What the program started in `folder` recorded, once it has.
  std::string calls(const std::string& folder) {
    std::string file = dir.file(folder + "/calls.txt");
    taltest::WaitUntil([&] { return taltest::Exists(file); }, 5000);
    return taltest::ReadFile(file);
  }
  TempDir dir;
  std::filesystem::path savedDir;
  SettingsRecord settings;
  ScriptedInteraction user;
};

}  // namespace

TEST(UtilityPath, NoDoubledSeparatorAndEmptyDirectory) {
  EXPECT_EQ(UtilityProgramPath("/tools/", "KANTO"), "/tools/KANTO");
  EXPECT_EQ(UtilityProgramPath("/tools", "KANTO"), "/tools/KANTO");
  EXPECT_EQ(UtilityProgramPath("", "KANTO"), "KANTO");
}

TEST(UtilityPath, TableOfUtilitiesAndTheFrontEndVariant) {
  EXPECT_STREQ(Utility(2, false).program, "ORVAWIN");
  EXPECT_STREQ(Utility(2, false).messageName, "ORVA");
  EXPECT_STREQ(Utility(4, false).program, "Mirell");
  EXPECT_STREQ(Utility(4, false).messageName, "TALMIRELL");
  EXPECT_STREQ(Utility(0, false).caption, "VOXEN");
  EXPECT_STREQ(Utility(0, true).caption, "MERODIN");
  EXPECT_STREQ(Utility(0, true).program, "Splash");
  EXPECT_EQ(Utility(0, true).directory, &SettingsRecord::voxenDir);
  EXPECT_STREQ(Utility(1, true).caption, "LUMET");  // only the first row changes
}

TEST_F(ToolsTest, CompileModulePassesTheSourceAsOneArgument) {
  std::string compiler = dir.writeScript("f32/fl32", Recorder());
  settings.compileCommand = compiler + " /c";
  CompileModule(settings, dir.file("a b/X.FOR"));
  EXPECT_EQ(calls("f32"), "fl32\n[/c]\n[" + dir.file("a b/X.FOR") + "]\nin " + dir.file("work") + "\n");
  EXPECT_TRUE(user.messages().empty());

  settings.compileCommand = dir.file("f32/missing") + " /c";
  CompileModule(settings, "/w/TYPE99.FOR");
  EXPECT_EQ(user.messages(), std::vector<std::string>{"Error 2 encountered while trying to compile /w/TYPE99.FOR"});
  EXPECT_EQ(user.prompts()[0].kind, ErrorOk);
  EXPECT_EQ(user.beeps(), 1);
}

TEST_F(ToolsTest, RebuildStartsTheCommandAsItIs) {
  std::string make = dir.writeScript("f32/make", Recorder());
  settings.rebuildCommand = "\"" + make + "\" /S /F MAKTAL.DAT UPDATE";
  RebuildTalpix(settings);
  EXPECT_EQ(calls("f32"), "make\n[/S]\n[/F]\n[MAKTAL.DAT]\n[UPDATE]\nin " + dir.file("work") + "\n");

  settings.rebuildCommand = "/no/such/dir/MAKE.EXE /S";
  RebuildTalpix(settings);
  EXPECT_EQ(user.messages(),
            std::vector<std::string>{"Error 3 encountered while trying to execute /no/such/dir/MAKE.EXE /S"});
}

TEST_F(ToolsTest, UserCommandInTalkitModeIsAskedForAndKept) {
  std::string tool = dir.writeScript("u/tool", Recorder());
  settings.userCommand = "stored command";
  user.answerText(tool + " first");
  EXPECT_TRUE(ExecuteUserCommand(settings, true));
  ASSERT_EQ(user.prompts().size(), 1u);
  EXPECT_EQ(user.prompts()[0].type, Prompt::Type::Input);
  EXPECT_EQ(user.prompts()[0].text, "Execute User Command");
  EXPECT_EQ(user.prompts()[0].request.title, "User Command");
  EXPECT_EQ(user.prompts()[0].request.fileName, "stored command");
  EXPECT_EQ(settings.userCommand, tool + " first");
  EXPECT_EQ(calls("u"), "tool\n[first]\nin " + dir.file("work") + "\n");

  // Next time the accepted command is offered; Cancel starts nothing and keeps it.
  std::filesystem::remove(dir.file("u/calls.txt"));
  user.answerCancel();
  EXPECT_FALSE(ExecuteUserCommand(settings, true));
  EXPECT_EQ(user.prompts()[1].request.fileName, tool + " first");
  EXPECT_EQ(settings.userCommand, tool + " first");
  EXPECT_FALSE(taltest::WaitUntil([&] { return taltest::Exists(dir.file("u/calls.txt")); }, 500));
}

TEST_F(ToolsTest, UserCommandInFullModeRunsTheStoredCommand) {
  std::string tool = dir.writeScript("u/tool", Recorder());
  settings.userCommand = tool + " 'two words'";
  EXPECT_TRUE(ExecuteUserCommand(settings, false));
  EXPECT_TRUE(user.prompts().empty());
  EXPECT_EQ(calls("u"), "tool\n['two]\n[words']\nin " + dir.file("work") + "\n");
}

TEST_F(ToolsTest, UtilityStartsInItsDirectoryWithoutDoubledSeparator) {
  dir.writeScript("tools/KANTO", "echo \"$0\" > \"$(dirname \"$0\")/path.txt\"\n" + Recorder());
  settings.kantoDir = dir.file("tools") + "/";
  StartUtility(settings, 3, false);
  EXPECT_EQ(calls("tools"), "KANTO\nin " + dir.file("tools") + "\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("tools/path.txt")), dir.file("tools") + "/KANTO\n");
  EXPECT_TRUE(user.messages().empty());
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.file("work")));
}

TEST_F(ToolsTest, MissingUtilityProgramNamesTheUtility) {
  dir.write("tools/.keep", "");
  settings.mirellDir = dir.file("tools");
  StartUtility(settings, 4, false);
  EXPECT_EQ(user.messages(), std::vector<std::string>{"Error 2 encountered while trying to call TALMIRELL"});
  EXPECT_EQ(user.beeps(), 1);
}

TEST_F(ToolsTest, MissingUtilityDirectoryIsChosenOrTheCommandEnds) {
  settings.orvaDir = dir.file("gone");
  user.answerCancel();
  StartUtility(settings, 2, false);
  EXPECT_EQ(user.prompts().size(), 1u);
  EXPECT_EQ(user.prompts()[0].type, Prompt::Type::Folder);
  EXPECT_EQ(user.prompts()[0].request.directory, "");  // no starting folder
  EXPECT_TRUE(user.messages().empty());
  EXPECT_EQ(settings.orvaDir, dir.file("gone"));

  dir.writeScript("orva/ORVAWIN", Recorder());
  user.answerText(dir.file("orva"));
  StartUtility(settings, 2, false);
  EXPECT_EQ(settings.orvaDir, dir.file("orva"));
  EXPECT_EQ(calls("orva"), "ORVAWIN\nin " + dir.file("orva") + "\n");
}

TEST_F(ToolsTest, FrontEndVariantStartsTheAlternativeProgram) {
  dir.writeScript("vox/Splash", Recorder());
  settings.voxenDir = dir.file("vox");
  StartUtility(settings, 0, true);
  EXPECT_EQ(calls("vox"), "Splash\nin " + dir.file("vox") + "\n");
  StartUtility(settings, 0, false);  // VOXEN is not there
  EXPECT_EQ(user.messages(), std::vector<std::string>{"Error 2 encountered while trying to call VOXEN"});
}

TEST(Installation, FrontEndAndWebsiteFromTheInstallationFile) {
  TempDir dir;
  EXPECT_FALSE(ReadInstallation(dir.path()).merodinFrontEnd);
  EXPECT_EQ(ReadInstallation(dir.path()).website, DefaultWebsite);
  dir.write("talshell.ini", "# installation\n frontend = merodin \r\nWEBSITE=https://example.org/talpix\n");
  Installation i = ReadInstallation(dir.path());
  EXPECT_TRUE(i.merodinFrontEnd);
  EXPECT_EQ(i.website, "https://example.org/talpix");
  dir.write("talshell.ini", "FrontEnd=VOXEN\nWebsite=\n");
  EXPECT_FALSE(ReadInstallation(dir.path()).merodinFrontEnd);
  EXPECT_EQ(ReadInstallation(dir.path()).website, DefaultWebsite);
}

// Receives what the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

TEST(Website, OpensTheConfiguredAddressWithTheDesktopHandlerOrNamesIt) {
  taltest::EnsureQtApplication();
  TempDir dir;
  dir.write("TALSHELL.INI", "Website=https://example.org/talpix/home\n");
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("https", &catcher, "open");
  OpenWebsite(dir.path());
  QDesktopServices::unsetUrlHandler("https");
  ASSERT_EQ(catcher.opened.size(), 1u);
  EXPECT_EQ(catcher.opened[0].toString(), "https://example.org/talpix/home");
  ScriptedInteraction user;
  auto saved = WebPageOpener();
  WebPageOpener() = [](const std::string&) { return false; };
  OpenWebsite(dir.path());
  WebPageOpener() = saved;
  EXPECT_EQ(user.messages(), std::vector<std::string>{NoBrowserMessage("https://example.org/talpix/home")});
}

#include "ToolsTest.moc"
