// The main window's run commands: Calculate with the menu lock and Stop, the status bar and the
// run log, the settings dialog from the File menu, and the utilities.
#include <QCheckBox>
#include <QLabel>
#include <csignal>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "../shell/ShellTestSupport.h"
#include "runs/Calculate.h"
#include "runs/ProgramRunner.h"
#include "runs/RunLogWindow.h"
#include "runs/RunMonitor.h"
#include "runs/SetupDialog.h"
#include "shell/EditForm.h"

using namespace tal;

namespace {

class RunCommands : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    CurrentSettings().talpixDir = dir.file("engine");
    deck = dir.write("work/A.DCK", "deck\n");
  }
  // An engine that records its arguments in calls.txt, prints a line and leaves a listing.
  void writeEngine(const std::string& extra = "") {
    std::filesystem::remove(dir.file("engine/TALPIX32"));
    dir.writeScript("engine/TALPIX32", "echo \"engine [$*]\" >> \"$(dirname \"$0\")/calls.txt\"\necho 'engine says hello'\n" +
                                           extra + "[ -n \"$1\" ] && echo L > \"${1%.*}.LST\"\nexit 0\n");
  }
  std::string calls() { return taltest::ReadFile(dir.file("engine/calls.txt")); }
  QString statusText() { return frame->statusBar()->findChild<QLabel*>("RunSummary")->text(); }
  std::string deck;
};

}  // namespace

TEST_F(RunCommands, WindowKeepsWorkingWhileTheEngineRuns) {
  writeEngine("sleep 2\n");
  auto& f = makeFrame();
  addChild(KindCode::DeckEditor, deck);
  int ticks = 0;
  bool tiled = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    ++ticks;
    if (ticks == 3) {
      f.action(MenuItem::Tile)->trigger();  // a menu command works meanwhile
      tiled = true;
    }
  });
  timer.start(100);
  f.action(MenuItem::Calculate)->trigger();
  timer.stop();
  EXPECT_GE(ticks, 10);
  EXPECT_TRUE(tiled);
  EXPECT_EQ(calls(), "engine [" + deck + "]\n");  // the command returned after the engine ended
  EXPECT_TRUE(taltest::Exists(dir.file("work/A.LST")));
}

TEST_F(RunCommands, CalculateAndRunTableAreLockedWhileTheEngineRuns) {
  writeEngine("sleep 1\n");
  auto& f = makeFrame();
  addChild(KindCode::DeckEditor, deck);
  ASSERT_TRUE(enabled(MenuItem::Calculate));
  EXPECT_FALSE(enabled(MenuItem::StopRun));
  bool calculateOn = true, runTableOn = true, stopOn = false, stopShown = false;
  QString during;
  QTimer::singleShot(300, [&] {
    calculateOn = f.action(MenuItem::Calculate)->isEnabled();
    runTableOn = f.action(MenuItem::RunTable)->isEnabled();
    stopOn = f.action(MenuItem::StopRun)->isEnabled();
    stopShown = f.statusBar()->findChild<QToolButton*>("StopButton")->isVisible();
    during = statusText();
    f.Calculate1Click();  // a second Calculate (by its key, say) is refused
    f.UpdateMenu();       // and the menu rules do not lift the lock
    calculateOn = calculateOn || f.action(MenuItem::Calculate)->isEnabled();
  });
  f.show();
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_FALSE(calculateOn);
  EXPECT_FALSE(runTableOn);
  EXPECT_TRUE(stopOn);
  EXPECT_TRUE(stopShown);
  EXPECT_TRUE(during.startsWith("Running " + QString::fromStdString(dir.file("engine/TALPIX32"))));
  EXPECT_EQ(calls(), "engine [" + deck + "]\n");  // one engine only
  EXPECT_EQ(dialogs.beeps(), 1);
  // Afterwards the menu is as the rules make it, and the status bar says how the run ended.
  EXPECT_TRUE(enabled(MenuItem::Calculate));
  EXPECT_FALSE(enabled(MenuItem::RunTable));
  EXPECT_FALSE(enabled(MenuItem::StopRun));
  EXPECT_FALSE(f.statusBar()->findChild<QToolButton*>("StopButton")->isVisible());
  EXPECT_TRUE(statusText().startsWith("TALPIX32 ended with exit status 0 after "));
}

TEST_F(RunCommands, TheLockGivesBackWhatTheMenuRulesKeptForADiagram) {
  writeEngine("sleep 0.5\n");
  auto& f = makeFrame();
  addChild(KindCode::DeckEditor, deck);
  addChild(KindCode::Diagram, dir.file("work/A.BMP"));  // a diagram keeps Calculate as it was
  ASSERT_TRUE(enabled(MenuItem::Calculate));
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_TRUE(enabled(MenuItem::Calculate));
  // A diagram has no deck: the user is told instead of the engine running without one.
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{NoDeckToCalculateMessage});
  EXPECT_EQ(calls(), "");
}

TEST_F(RunCommands, StopFromTheMenuEndsTheEngine) {
  writeEngine("sleep 30\n");
  auto& f = makeFrame();
  addChild(KindCode::DeckEditor, deck);
  QTimer::singleShot(400, [&] { f.action(MenuItem::StopRun)->trigger(); });
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_TRUE(statusText().startsWith("TALPIX32 was stopped after "));
  EXPECT_FALSE(RunMonitor::instance().engineRunActive());
  EXPECT_TRUE(enabled(MenuItem::Calculate));
}

TEST_F(RunCommands, RunLogShowsTheEngineOutput) {
  writeEngine();
  RunMonitor::instance().clearLog();
  auto& f = makeFrame();
  addChild(KindCode::DeckEditor, deck);
  f.action(MenuItem::Calculate)->trigger();
  f.action(MenuItem::RunLog)->trigger();
  auto* log = f.findChild<TRunLogForm*>();
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->isVisible());
  QString text = log->text();
  EXPECT_TRUE(text.contains("engine says hello\n-- TALPIX32 ended with exit status 0")) << text.toStdString();
  // Output of a later run is added to the open window.
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_EQ(log->text().count("engine says hello"), 2);
  log->close();
}

TEST_F(RunCommands, SetupWithoutTheSwitchFileSaysSoAndTheProgramGoesOn) {
  auto& f = makeFrame();
  auto* child = addChild(KindCode::DeckEditor, deck);
  SettingsRecord before = CurrentSettings();
  f.action(MenuItem::Setup)->trigger();
  EXPECT_EQ(CurrentSettings(), before);
  EXPECT_FALSE(taltest::Exists(dir.file("CNFGTL.TAL")));
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Please put the CNFGTL.TAL file in the TALSHELL directory"});
  EXPECT_EQ(dialogs.prompts()[0].kind, InformationOk);
  EXPECT_EQ(dialogs.beeps(), 1);
  auto* dialog = f.findChild<TSetupDlg*>();
  EXPECT_TRUE(!dialog || !dialog->isVisible());
  EXPECT_EQ(f.children().size(), 1u);  // the open window and the frame are still there
  EXPECT_EQ(f.activeChild(), child);
}

TEST_F(RunCommands, SetupCancelRewritesAChangedSwitchFile) {
  dir.write("CNFGTL.TAL", "engine\ny\nn\nY\nN\nY\nN\ny\n");
  auto& f = makeFrame();
  QTimer::singleShot(0, [&] {
    auto* dialog = f.findChild<TSetupDlg*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    dialog->compile->setText("gfortran -c");
    dialog->switches[1]->setChecked(true);
    dialog->cancelButton->click();
  });
  f.action(MenuItem::Setup)->trigger();
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.TAL")), "engine\nY\nY\nY\nN\nY\nN\nY\n");
  EXPECT_EQ(CurrentSettings().compileCommand, "gfortran -c");
  EXPECT_FALSE(f.findChild<TSetupDlg*>()->isVisible());
}

TEST_F(RunCommands, UtilityFromTheMenuStartsWithoutDoubledSeparator) {
  dir.writeScript("tools/KANTO", "echo \"$0 in $(pwd)\" > \"$(dirname \"$0\")/started.tmp\"\n"
                                 "mv \"$(dirname \"$0\")/started.tmp\" \"$(dirname \"$0\")/started.txt\"\n");
  CurrentSettings().kantoDir = dir.file("tools") + "/";
  auto& f = makeFrame();
  f.action(MenuItem::Kanto)->trigger();
  ASSERT_TRUE(taltest::WaitUntil([&] { return taltest::Exists(dir.file("tools/started.txt")); }));
  EXPECT_EQ(taltest::ReadFile(dir.file("tools/started.txt")),
            dir.file("tools") + "/KANTO in " + dir.file("tools") + "\n");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(RunCommands, FrontEndVariantNamesTheFirstUtility) {
  dir.write("TALSHELL.INI", "FrontEnd=MERODIN\n");
  auto& f = makeFrame();
  emit f.menu(Menu::Utilities)->aboutToShow();
  EXPECT_EQ(f.action(MenuItem::Voxen)->text(), "MERODIN");
  CurrentSettings().voxenDir = dir.path();
  f.action(MenuItem::Voxen)->trigger();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Error 2 encountered while trying to call MERODIN"});
}

TEST_F(RunCommands, ClosingDuringARunAsksToStopIt) {
  writeEngine("sleep 30\n");
  auto& f = makeFrame();
  addChild(KindCode::DeckEditor, deck);
  f.show();
  bool visibleAfterNo = false;
  dialogs.answer(Button::No).answer(Button::Yes);
  QTimer::singleShot(300, [&] {
    f.close();  // No: the frame stays and the engine runs on
    visibleAfterNo = f.isVisible() && RunMonitor::instance().waiting();
    f.close();  // Yes: the engine is stopped and the frame closes
  });
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_TRUE(visibleAfterNo);
  EXPECT_FALSE(f.isVisible());
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[0], "A program started by TALSHELL is still running.  Stop it and close?");
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNo);
  EXPECT_TRUE(statusText().startsWith("TALPIX32 was stopped after "));
}

namespace {
// An engine that copies the deck it was given into seen.txt, then leaves its results.
const char* CopyingEngine =
    "cat \"$1\" > \"$(dirname \"$0\")/seen.txt\"\nb=\"${1%.*}\"; echo L > \"$b.LST\"; echo O > \"$b.OUT\"\n";

// Replaces the editor's text as typing would.
void Type(TEditForm& editor, const QString& text) {
  editor.editor()->selectAll();
  editor.editor()->insertPlainText(text);
}
}  // namespace

TEST_F(RunCommands, ChangedEditorAnsweredYesSavesAndRunsTheNewText) {
  dir.writeScript("engine/TALPIX32", CopyingEngine);
  auto& f = makeFrame();
  auto* editor = static_cast<TEditForm*>(f.NewEditorWindow(deck));
  Type(*editor, "changed deck");
  ASSERT_TRUE(editor->isModified());
  dialogs.answer(Button::Yes);
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Do you wish to save file " + deck + " before calling TALPIX?"});
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNoCancel);
  EXPECT_EQ(taltest::ReadFile(deck), "changed deck\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("engine/seen.txt")), "changed deck\n");
  EXPECT_FALSE(editor->isModified());
  // The new results are attached to the Windows menu, not opened.
  EXPECT_EQ(f.action(MenuItem::Listing)->text().toStdString(), "Listing " + dir.file("work/A.LST"));
  EXPECT_TRUE(enabled(MenuItem::Listing));
  EXPECT_EQ(f.FirstChildOfKind(KindCode::Listing), nullptr);
  EXPECT_EQ(taltest::Captions(f.outputMenu()), QStringList{"A.OUT"});
}

TEST_F(RunCommands, ChangedEditorAnsweredNoRunsTheDeckAsStored) {
  dir.writeScript("engine/TALPIX32", CopyingEngine);
  auto& f = makeFrame();
  auto* editor = static_cast<TEditForm*>(f.NewEditorWindow(deck));
  Type(*editor, "not saved\n");
  dialogs.answer(Button::No);
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_EQ(taltest::ReadFile(dir.file("engine/seen.txt")), "deck\n");
  EXPECT_EQ(taltest::ReadFile(deck), "deck\n");
  EXPECT_TRUE(editor->isModified());
}

TEST_F(RunCommands, ChangedEditorAnsweredCancelRunsNothing) {
  dir.writeScript("engine/TALPIX32", CopyingEngine);
  auto& f = makeFrame();
  auto* editor = static_cast<TEditForm*>(f.NewEditorWindow(deck));
  Type(*editor, "not saved\n");
  dialogs.answer(Button::Cancel);
  f.action(MenuItem::Calculate)->trigger();
  EXPECT_FALSE(taltest::Exists(dir.file("engine/seen.txt")));
  EXPECT_FALSE(enabled(MenuItem::Listing));
  EXPECT_TRUE(editor->isModified());
}

// Programs started and left running: their output and end reach the run log and the status bar;
// a compile or user command that fails brings the run log forward, a utility does not.
TEST_F(RunCommands, ProgramsLeftRunningReportTheirOutputAndEnd) {
  const char* error = "A.FOR:3: syntax error";
  const std::tuple<MenuItem, const char*, int, const char*, bool> cases[] = {  // program, status, output, log forward
      {MenuItem::CompileModule, "cc", 1, error, true},      {MenuItem::CompileModule, "cc", 0, error, false},
      {MenuItem::ExecuteUserCommand, "cc", 3, error, true}, {MenuItem::Kanto, "KANTO", 4, "kanto here", false}};
  for (const auto& [item, program, exitStatus, output, logForward] : cases) {
    const std::string status = std::to_string(exitStatus), end = program + (" ended with exit status " + status);
    SCOPED_TRACE(end);
    RunMonitor::instance().clearLog();
    dir.writeScript("tools/cc", "echo \"cc says $#\"\necho '" + std::string(error) + "' >&2\nexit " + status + "\n");
    dir.writeScript("tools/KANTO", "echo kanto here\nexit " + status + "\n");
    CurrentSettings().compileCommand = dir.file("tools/cc") + " -c";
    CurrentSettings().userCommand = dir.file("tools/cc");
    CurrentSettings().kantoDir = dir.file("tools");
    auto& f = makeFrame();
    addChild(KindCode::TextEditor, dir.write("work/A.FOR", "x\n"));
    f.action(item)->trigger();
    ASSERT_TRUE(taltest::WaitUntil([&] { return RunMonitor::instance().log().contains(("-- " + end).c_str()); }))
        << RunMonitor::instance().log().toStdString();
    EXPECT_TRUE(RunMonitor::instance().log().contains(output));
    EXPECT_TRUE(statusText().startsWith(QString::fromStdString(end))) << statusText().toStdString();
    auto* window = f.findChild<TRunLogForm*>();
    EXPECT_EQ(window && window->isVisible(), logForward);
    EXPECT_TRUE(dialogs.messages().empty());
    frame.reset();
  }
}

// Closing while a compile or user command left running has not ended asks about it: Cancel keeps
// the frame, No closes it and leaves the command running, Yes stops it. A utility goes on unasked.
TEST_F(RunCommands, ClosingAsksAboutCommandsLeftRunning) {
  for (const char* name : {"tools/slow", "tools/KANTO"}) dir.writeScript(name, "echo $$ > \"$0.pid\"\nexec sleep 30\n");
  CurrentSettings().userCommand = dir.file("tools/slow");
  CurrentSettings().kantoDir = dir.file("tools");
  auto start = [&](MenuItem item, const std::string& pidFile) {
    frame->action(item)->trigger();
    EXPECT_TRUE(taltest::WaitUntil([&] { return taltest::ReadFile(pidFile).find('\n') != std::string::npos; }));
    return std::stoi(taltest::ReadFile(pidFile));
  };
  auto alive = [](int pid) { return ::kill(pid, 0) == 0; };
  makeFrame().show();
  const int utility = start(MenuItem::Kanto, dir.file("tools/KANTO.pid")), command = start(MenuItem::ExecuteUserCommand, dir.file("tools/slow.pid"));
  EXPECT_EQ(CommandsStillRunning(), std::vector<std::string>{"slow"});
  dialogs.answer(Button::Cancel).answer(Button::No).answer(Button::Yes);
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(alive(command));
  EXPECT_TRUE(frame->close());
  EXPECT_TRUE(alive(command));
  makeFrame().show();
  EXPECT_TRUE(frame->close());
  EXPECT_FALSE(alive(command));
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>(3, CommandsStillRunningQuestion({"slow"})));
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNoCancel);
  EXPECT_TRUE(RunMonitor::instance().log().contains("-- slow was stopped after"));
  EXPECT_TRUE(alive(utility));
  ::kill(-utility, SIGKILL);
  EXPECT_TRUE(taltest::WaitUntil([] { return RunMonitor::instance().log().contains("-- KANTO ended abnormally"); }));
}
