// Start-up: the settings file that must be there, the about box, the command-line file.
#include <QApplication>
#include <QTimer>

#include "ShellTestSupport.h"
#include "shell/OpenSaveRules.h"
#include "shell/Startup.h"

using namespace tal;

namespace {

class StartupFrame : public TTALSHELLFORM {
 public:
  void ShowAboutBox() override { events.push_back(firstStart() ? "about (first start set)" : "about"); }
  void Open1Click() override { events.push_back(std::string("open") + (firstStart() ? " first" : "")); }
  void ReadaFile(const std::string& name) override { events.push_back("read " + name); }
  std::vector<std::string> events;
};

}  // namespace

class Startup : public taltest::ShellTest {
 protected:
  StartupFrame& makeStartupFrame(bool talkit) {
    useMode(talkit);
    frame = std::make_unique<StartupFrame>();
    return static_cast<StartupFrame&>(*frame);
  }
  void writeSettings(int units) {
    SettingsRecord settings;
    settings.units = units;
    dir.write("TALSHELL.DFT", EncodeSettings(settings));
  }
};

TEST_F(Startup, MissingSettingsFileIsReportedAndNoWindowIsMade) {
  useMode(false);
  EXPECT_EQ(CreateMainWindow(), nullptr);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Please copy the TALSHELL.DFT file into the " + dir.path() + " directory."});
  EXPECT_EQ(dialogs.prompts()[0].kind, ErrorOk);
  EXPECT_EQ(dialogs.beeps(), 1);
}

TEST_F(Startup, DamagedSettingsFileIsRefusedNamingItAndNoWindowIsMade) {
  std::string settings = dir.write("TALSHELL.DFT", std::string(4000, '\0'));
  useMode(false);
  dialogs.answer(Button::No);
  EXPECT_EQ(CreateMainWindow(), nullptr);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find(settings), std::string::npos) << dialogs.messages()[0];
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNo);
}

TEST_F(Startup, DamagedSettingsFileIsKeptAndTheProgramStartsWithDefaults) {
  std::string bytes = EncodeSettings(SettingsRecord{});
  for (int i = 0; i < 4; ++i) bytes[4116 + i] = static_cast<char>((478285063u >> (8 * i)) & 0xFF);  // link count
  std::string settings = dir.write("TALSHELL.DFT", bytes);
  useMode(false);
  dialogs.answer(Button::Yes);
  EXPECT_NE(CreateMainWindow(), nullptr);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"The settings file " + settings + " is damaged: it says it holds "
            "478285063 application links, a settings file holds at most 5.\n\nStart with the default settings?  The "
            "damaged file is kept as " + settings + ".BAD; the settings are written again only when you change them."});
  EXPECT_EQ(CurrentSettings(), SettingsRecord{});
  EXPECT_EQ(taltest::ReadFile(settings + ".BAD"), bytes);
  EXPECT_FALSE(taltest::Exists(settings)) << "written only when the user changes the settings";
}

TEST_F(Startup, MissingSettingsFileEndsTheProgramWithAFailureStatus) {
  std::unique_ptr<TTALSHELLFORM> started;
  StartupArguments start{dir.file("talshell"), {}, dir.path(), ""};
  EXPECT_NE(StartTalshell(start, started), 0);
  EXPECT_EQ(started, nullptr);
  EXPECT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.busyDepth(), 0);
}

TEST_F(Startup, SettingsAreReadBeforeTheMenuIsBuilt) {
  writeSettings(2);
  useMode(true);
  auto created = CreateMainWindow();
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(CurrentSettings().units, 2);
  EXPECT_TRUE(created->action(MenuItem::SecondaryUnits)->isChecked());
  EXPECT_TRUE(dialogs.prompts().empty());
}

TEST_F(Startup, TalkitLinkStartsTheFormModeAndShowsTheAboutBoxFirst) {
  writeSettings(1);
  std::string deck = dir.write("forms/A.TKD", "*TALKIT\n");
  std::unique_ptr<TTALSHELLFORM> started;
  StartupArguments start{"./TalKit", {"forms/A.TKD"}, dir.path(), ""};
  QStringList seenModal;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      seenModal << modal->windowTitle();
      modal->close();
    }
  });
  ASSERT_EQ(StartTalshell(start, started), 0);
  ASSERT_NE(started, nullptr);
  EXPECT_TRUE(Program().talkitMode);
  EXPECT_EQ(started->windowTitle(), "TALKIT");
  EXPECT_TRUE(started->isMaximized());
  EXPECT_EQ(seenModal, QStringList{"About TALKIT"});
  ASSERT_NE(started->activeChild(), nullptr);
  EXPECT_EQ(started->activeChild()->fileName(), deck);
  EXPECT_EQ(dialogs.busyDepth(), 0);
  started.reset();
}

TEST_F(Startup, ReadableArgumentIsOpenedAfterTheAboutBox) {
  std::string deck = dir.write("A.DCK", "x\n");
  auto& f = makeStartupFrame(false);
  FinishStartup(f, {deck}, "/");
  EXPECT_EQ(f.events, (std::vector<std::string>{"about", "read " + deck}));
  EXPECT_TRUE(f.firstStart());
}

TEST_F(Startup, MissingArgumentOpensNothingInFullMode) {
  auto& f = makeStartupFrame(false);
  FinishStartup(f, {dir.file("NONE.DCK")}, "/");
  EXPECT_EQ(f.events, std::vector<std::string>{"about"});
  auto& g = makeStartupFrame(false);
  FinishStartup(g, {}, "/");
  EXPECT_EQ(g.events, std::vector<std::string>{"about"});
}

TEST_F(Startup, TalkitModeRunsOpenWithoutAReadableArgument) {
  auto& f = makeStartupFrame(true);
  FinishStartup(f, {dir.file("NONE.TKD")}, "/");
  EXPECT_EQ(f.events, (std::vector<std::string>{"about", "open first"}));
  auto& g = makeStartupFrame(true);
  FinishStartup(g, {}, "/");
  EXPECT_EQ(g.events, (std::vector<std::string>{"about", "open first"}));
}

// A file named on the command line that is not there is named in a message, in both modes,
// before anything else is opened; without an argument nothing is said.
TEST_F(Startup, AMissingArgumentIsNamedInAMessage) {
  for (bool talkit : {false, true}) {
    dialogs.clear();
    FinishStartup(makeStartupFrame(talkit), {"NONE.DCK"}, dir.path());
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{StartupFileMissingMessage(dir.file("NONE.DCK"), false)});
    FinishStartup(makeStartupFrame(talkit), {}, dir.path());
    EXPECT_EQ(dialogs.messages().size(), 1u);
  }
}
