// The Calculate command against a scripted window side and fake engines written by the tests.
#include <QDir>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "runs/Calculate.h"
#include "runs/RunMonitor.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using taltest::TempDir;

namespace {

// Appends one line per program call to calls.txt beside the program: its name, its arguments in
// brackets and its working directory.
std::string Recorder(const std::string& name) {
  return "d=$(dirname \"$0\")\nline=\"" + name + "\"\nfor a in \"$@\"; do line=\"$line [$a]\"; done\n"
         "echo \"$line in $(pwd)\" >> \"$d/../calls.txt\"\n";
}

// An engine that records its call and leaves a listing, an output and a plot file next to the deck.
std::string EngineScript(const std::string& extra = "") {
  return Recorder("engine") + extra +
         "if [ -n \"$1\" ]; then b=\"${1%.*}\"; echo L > \"$b.LST\"; echo O > \"$b.OUT\"; echo P > \"$b.PLT\"; fi\n";
}

class FakeWindow : public CalculateHost {
 public:
  DeckWindowState state;
  bool saveWorks = true;
  int saves = 0;
  std::vector<std::string> attached;
  int menuUpdates = 0;
  std::function<void()> duringSave;

  DeckWindowState activeDeckWindow() override { return state; }
  bool saveActiveDeck() override {
    ++saves;
    if (duringSave) duringSave();
    return saveWorks;
  }
  void attachResults(const std::string& deck) override { attached.push_back(deck); }
  void updateMenu() override { ++menuUpdates; }
};

class CalculateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    taltest::EnsureQtApplication();
    savedDir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    dir.write("prog/.keep", "");
    settings.talpixDir = dir.file("engine");
    engine = dir.writeScript("engine/TALPIX32", EngineScript());
    deck = dir.write("work/A.DCK", "deck\n");
    window.state = {1000, deck, false, "", ""};
  }
  void TearDown() override { std::filesystem::current_path(savedDir); }

  std::string calls() const { return taltest::ReadFile(dir.file("calls.txt")); }
  CalculateEnd calculate() { return Calculate(window, settings, dir.file("prog")); }

  TempDir dir;
  std::filesystem::path savedDir;
  SettingsRecord settings;
  std::string engine, deck;
  FakeWindow window;
  ScriptedInteraction user;
};

}  // namespace

TEST_F(CalculateTest, RunsTheEngineOnTheDeckAndAttachesItsResults) {
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(calls(), "engine [" + deck + "] in " + dir.path() + "\n");
  EXPECT_EQ(window.attached, std::vector<std::string>{deck});
  EXPECT_TRUE(taltest::Exists(dir.file("work/A.LST")));
  EXPECT_EQ(window.menuUpdates, 1);
  EXPECT_TRUE(user.prompts().empty());
  EXPECT_FALSE(RunMonitor::instance().engineRunActive());
}

TEST_F(CalculateTest, ChangedDeckAnsweredYesNoOrCancel) {
  window.state.changed = true;
  user.answer(Button::Yes);
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(window.saves, 1);
  ASSERT_EQ(user.messages(), std::vector<std::string>{"Do you wish to save file " + deck + " before calling TALPIX?"});
  EXPECT_EQ(user.prompts()[0].kind, WarningYesNoCancel);
  EXPECT_EQ(user.beeps(), 1);

  user.answer(Button::No);
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(window.saves, 1);  // No runs the deck as stored
  EXPECT_EQ(calls(), "engine [" + deck + "] in " + dir.path() + "\nengine [" + deck + "] in " + dir.path() + "\n");

  user.answer(Button::Cancel);
  EXPECT_EQ(calculate(), CalculateEnd::Cancelled);
  EXPECT_EQ(window.saves, 1);
  EXPECT_EQ(window.attached.size(), 2u);  // nothing ran the third time
  EXPECT_EQ(user.messages().size(), 3u);
}

TEST_F(CalculateTest, AFailedSaveRunsNothing) {
  window.state.changed = true;
  window.saveWorks = false;
  user.answer(Button::Yes);
  EXPECT_EQ(calculate(), CalculateEnd::Failed);
  EXPECT_EQ(calls(), "");
  EXPECT_TRUE(window.attached.empty());
}

TEST_F(CalculateTest, FormCommandsRunOnlyFromFiveCharacters) {
  std::string before = dir.writeScript("bin/B", Recorder("before"));
  std::string after = dir.writeScript("bin/A", Recorder("after"));
  ASSERT_EQ(before.size(), after.size());
  window.state.kind = 2000;

  // Commands of four characters are ignored.
  std::filesystem::current_path(dir.file("bin"));
  window.state.beforeCommand = "./B ";
  window.state.afterCommand = "./A ";
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(calls(), "engine [" + deck + "] in " + dir.file("bin") + "\n");

  // Five characters count: before, engine and after run in that order.
  std::filesystem::remove(dir.file("calls.txt"));
  window.state.beforeCommand = "./B 1";
  window.state.afterCommand = "./A 2";
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  std::string in = " in " + dir.file("bin") + "\n";
  EXPECT_EQ(calls(), "before [1]" + in + "engine [" + deck + "]" + in + "after [2]" + in);
}

TEST_F(CalculateTest, FormCommandsAreIgnoredForEditorWindows) {
  std::string before = dir.writeScript("bin/before", Recorder("before"));
  window.state.beforeCommand = before + " x";
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(calls(), "engine [" + deck + "] in " + dir.path() + "\n");
}

TEST_F(CalculateTest, ABeforeCommandThatCannotStartStopsTheRun) {
  window.state.kind = 2000;
  window.state.beforeCommand = dir.file("bin/missing") + " x";
  EXPECT_EQ(calculate(), CalculateEnd::Failed);
  EXPECT_EQ(user.messages(), std::vector<std::string>{"Error 3 encountered while trying to call " + dir.file("bin/missing")});
  EXPECT_EQ(calls(), "");
  EXPECT_TRUE(window.attached.empty());
}

TEST_F(CalculateTest, MissingEngineAndChooserCancelledRunsNothingSilently) {
  std::filesystem::remove(engine);
  user.answerCancel();
  EXPECT_EQ(calculate(), CalculateEnd::Cancelled);
  ASSERT_EQ(user.prompts().size(), 1u);
  EXPECT_EQ(user.prompts()[0].type, Prompt::Type::Folder);
  EXPECT_EQ(user.prompts()[0].request.directory, dir.file("prog"));  // starts at the program directory
  EXPECT_TRUE(user.messages().empty());
  EXPECT_EQ(user.beeps(), 0);
  EXPECT_TRUE(window.attached.empty());
  EXPECT_EQ(settings.talpixDir, dir.file("engine"));
}

TEST_F(CalculateTest, ChosenFolderBecomesTheTalpixDirectory) {
  std::filesystem::remove(engine);
  dir.writeScript("other/TALPIX32", EngineScript());
  user.answerText(dir.file("other"));
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(settings.talpixDir, dir.file("other"));
  EXPECT_EQ(calls(), "engine [" + deck + "] in " + dir.path() + "\n");
}

TEST_F(CalculateTest, MissingTalpixDirectoryFallsBackToTheProgramDirectory) {
  settings.talpixDir = dir.file("gone");
  dir.writeScript("prog/TALPIX32", EngineScript());
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(settings.talpixDir, dir.file("prog"));
  EXPECT_TRUE(user.prompts().empty());
}

TEST_F(CalculateTest, EngineThatCannotStartIsReportedAndAttachesNothing) {
  std::filesystem::permissions(engine, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::replace);
  EXPECT_EQ(calculate(), CalculateEnd::Failed);
  EXPECT_EQ(user.messages(), std::vector<std::string>{"Error 13 encountered while trying to call " + engine});
  EXPECT_TRUE(window.attached.empty());
}

TEST_F(CalculateTest, DeckInAFolderWithBlanksIsOneArgument) {
  std::string spaced = dir.write("my work/run 1.DCK", "deck\n");
  window.state.deckName = spaced;
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(calls(), "engine [" + spaced + "] in " + dir.path() + "\n");
  EXPECT_TRUE(taltest::Exists(dir.file("my work/run 1.LST")));
}

// Without a deck, or with a new deck never written, the engine is not started: the user is told
// what to do instead of meeting the engine's error status.
TEST_F(CalculateTest, WithoutADeckOnDiskTheEngineIsNotStarted) {
  const std::string unsaved = dir.file("work/NoName1.DCK");
  const std::pair<DeckWindowState, std::string> cases[] = {{{}, NoDeckToCalculateMessage},
                                                           {{1000, unsaved, false, "", ""}, UnsavedDeckToCalculateMessage(unsaved)}};
  for (const auto& [state, message] : cases) {
    user.clear();
    window.state = state;
    EXPECT_EQ(calculate(), CalculateEnd::Failed);
    ASSERT_EQ(user.messages(), std::vector<std::string>{message});
    EXPECT_EQ(user.prompts()[0].kind, ErrorOk);
  }
  EXPECT_EQ(calls(), "");
  EXPECT_TRUE(window.attached.empty());
  EXPECT_FALSE(RunMonitor::instance().engineRunActive());
}

TEST_F(CalculateTest, ANonZeroExitStatusIsToldAndTheResultsAreStillAttached) {
  std::filesystem::remove(engine);
  dir.writeScript("engine/TALPIX32", EngineScript() + "exit 7\n");
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(window.attached.size(), 1u);
  EXPECT_EQ(user.messages(), std::vector<std::string>{"TALPIX32 ended with exit status 7 and wrote nothing."});
  EXPECT_EQ(RunMonitor::instance().lastSummary().toStdString().rfind("TALPIX32 ended with exit status 7", 0), 0u);
}

TEST_F(CalculateTest, ASecondCalculateIsRefusedWhileOneWaits) {
  std::filesystem::remove(engine);
  dir.writeScript("engine/TALPIX32", EngineScript("sleep 1\n"));
  CalculateEnd second = CalculateEnd::Ran;
  bool activeDuringRun = false;
  QTimer::singleShot(300, [&] {
    activeDuringRun = RunMonitor::instance().engineRunActive();
    second = calculate();
  });
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_TRUE(activeDuringRun);
  EXPECT_EQ(second, CalculateEnd::Refused);
  EXPECT_EQ(user.beeps(), 1);
  EXPECT_EQ(calls(), "engine [" + deck + "] in " + dir.path() + "\n");  // one engine only
  EXPECT_FALSE(RunMonitor::instance().engineRunActive());
  EXPECT_EQ(calculate(), CalculateEnd::Ran);  // allowed again once the first has ended
}

TEST_F(CalculateTest, StopEndsTheEngineAndStillAttachesItsResults) {
  std::filesystem::remove(engine);
  // The engine writes its listing at once and then works for a long time.
  dir.writeScript("engine/TALPIX32", Recorder("engine") + "echo L > \"${1%.*}.LST\"\nsleep 30\n");
  std::string after = dir.writeScript("bin/after", Recorder("after"));
  window.state.kind = 2000;
  window.state.afterCommand = after + " x";
  QTimer::singleShot(500, [] { RunMonitor::instance().stop(); });
  EXPECT_EQ(calculate(), CalculateEnd::Stopped);
  EXPECT_EQ(window.attached, std::vector<std::string>{deck});
  EXPECT_EQ(calls(), "engine [" + deck + "] in " + dir.path() + "\n");  // the after command did not run
  EXPECT_TRUE(RunMonitor::instance().lastSummary().startsWith("TALPIX32 was stopped after"));
  EXPECT_EQ(window.menuUpdates, 1);
  // The next run is not taken for stopped.
  std::filesystem::remove(dir.file("engine/TALPIX32"));
  dir.writeScript("engine/TALPIX32", EngineScript());
  window.state.afterCommand.clear();
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
}

TEST_F(CalculateTest, WorkingDirectoryIsRestored) {
  std::filesystem::remove(engine);
  dir.writeScript("engine/TALPIX32", EngineScript("sleep 0.5\n"));
  // A command run from inside the wait moves the working directory elsewhere.
  QTimer::singleShot(200, [&] { std::filesystem::current_path(dir.file("work")); });
  EXPECT_EQ(calculate(), CalculateEnd::Ran);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path()));
}
