// Run Table from the TALPIX menu: the save question of the deck's window, the menu lock and Stop,
// the progress window, and the run decks deleted afterwards.
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "../shell/ShellTestSupport.h"
#include <QTreeWidget>

#include "runs/CompilingWindow.h"
#include "runs/ProblemsWindow.h"
#include "runs/RunMonitor.h"
#include "runs/RunProblems.h"
#include "shell/EditForm.h"
#include "tables/TableForm.h"

using namespace tal;

namespace {

class RunTable : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    CurrentSettings().talpixDir = dir.file("engine");
    deck = dir.write("work/S.DCK", "CONSTANTS 1\nP = 1\n");
    makeFrame();
  }
  void writeEngine(const std::string& extra = "") {
    dir.writeScript("engine/TALPIX32", "echo \"$*\" >> \"$(dirname \"$0\")/calls.txt\"\n" + extra +
                                           "cp \"$1\" \"${1%.*}.LST\"\n");
  }
  TTableForm* openTable(int runs) {
    TableModel model(runs, {"P "});
    model.deckFileName = deck;
    for (int r = 1; r <= runs; ++r) model.setValue(1, r, r);
    auto* table = new TTableForm(frame.get());
    table->SetTable(model);
    frame->setTableWindow(table);
    frame->AddChild(table);
    return table;
  }
  std::string calls() { return taltest::ReadFile(dir.file("engine/calls.txt")); }
  std::string deck;
};

}  // namespace

TEST_F(RunTable, RunsEveryRowWithTheMenuLockedAndDeletesTheRunDecks) {
  writeEngine("sleep 0.3\n");
  auto* editor = qobject_cast<TEditForm*>(frame->NewEditorWindow(deck));
  ASSERT_NE(editor, nullptr);
  editor->setModified(true);
  openTable(3);
  dialogs.answer(Button::Cancel);
  frame->action(MenuItem::RunTable)->trigger();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Do you wish to save file " + deck + " before running the table?"});
  EXPECT_EQ(calls(), "") << "cancelled: nothing runs";

  dialogs.answer(Button::No);
  bool calculateOn = true, runTableOn = true;
  QString progress;
  QTimer::singleShot(200, [&] {
    calculateOn = frame->action(MenuItem::Calculate)->isEnabled();
    runTableOn = frame->action(MenuItem::RunTable)->isEnabled();
    progress = CompilingWindow().labelText();
  });
  frame->action(MenuItem::RunTable)->trigger();
  EXPECT_FALSE(calculateOn);
  EXPECT_FALSE(runTableOn);
  EXPECT_EQ(progress, "TALPIX Runs ");
  for (const char* run : {"work/S.TMP /N\n", "work/S1.TMP /N\n", "work/S2.TMP /N\n"})
    EXPECT_NE(calls().find(dir.file(run)), std::string::npos) << calls();
  EXPECT_TRUE(taltest::Exists(dir.file("work/S2.LST")));
  EXPECT_NE(taltest::ReadFile(dir.file("work/S1.LST")).find("P=2.0000E+00"), std::string::npos);
  EXPECT_FALSE(taltest::Exists(dir.file("work/S.TMP")));
  EXPECT_FALSE(taltest::Exists(dir.file("work/S2.TMP")));
  EXPECT_TRUE(enabled(MenuItem::RunTable));
}

TEST_F(RunTable, ShowsTheRunsDoneRunningAndLeftAndTheirCombinedProgress) {
  dir.write("TALSHELL.INI", "ParallelRuns=2\n");
  // Each engine tells that it is half done, then waits for the test.
  writeEngine("echo 'progress 5 0 10'\nwhile [ ! -f \"$(dirname \"$0\")/end\" ]; do sleep 0.02; done\n");
  openTable(3);
  auto* bar = frame->statusBar()->findChild<QProgressBar*>("RunProgress");
  QString during;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (!during.isEmpty() || bar->isHidden() || bar->maximum() == 0 || bar->value() != 33) return;
    during = frame->statusBar()->findChild<QLabel*>("RunProgressText")->text();  // two halves of three runs
    dir.write("engine/end", "");
  });
  timer.start(20);
  frame->RunTable1Click();
  EXPECT_TRUE(during.startsWith("Runs: 0 done, 2 running, 1 left")) << during.toStdString();
  EXPECT_EQ(CompilingWindow().labelText(), "TALPIX Runs ");
  EXPECT_EQ(CompilingWindow().numberText(), "3 done, 0 running, 0 left (100%)");
  EXPECT_TRUE(bar->isHidden());
}

TEST_F(RunTable, StopEndsTheTableRun) {
  writeEngine("sleep 30\n");
  openTable(4);
  QTimer::singleShot(500, [&] { frame->action(MenuItem::StopRun)->trigger(); });
  QElapsedTimer clock;
  clock.start();
  frame->RunTable1Click();
  EXPECT_LT(clock.elapsed(), 15000);
  const std::string c = calls();
  EXPECT_LE(std::count(c.begin(), c.end(), '\n'), 2) << "no run starts after Stop";
  EXPECT_FALSE(RunMonitor::instance().engineRunActive());
  EXPECT_FALSE(taltest::Exists(dir.file("work/S.TMP")));
}

TEST_F(RunTable, AnUndefinedCellStopsBeforeAnyEngineStarts) {
  writeEngine();
  TTableForm* table = openTable(2);
  table->table().setValue(1, 2, NoValue);
  frame->RunTable1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Parameter in the col #1, run #2 isn't defined"});
  EXPECT_EQ(calls(), "");
}

TEST_F(RunTable, AVariableTheDeckNeverAssignsIsNamedBeforeAnyRun) {
  writeEngine();
  TTableForm* table = openTable(2);
  table->SetTable([&] {
    TableModel model(2, {"P ", "Q"});
    model.deckFileName = deck;
    for (int c = 1; c <= 2; ++c)
      for (int r = 1; r <= 2; ++r) model.setValue(c, r, r);
    return model;
  }());
  dialogs.answer(Button::Cancel);
  frame->RunTable1Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find("for the table variable Q, so every run"), std::string::npos) << dialogs.messages()[0];
  EXPECT_EQ(calls(), "") << "cancelled: nothing runs";
}

TEST_F(RunTable, TheEnginesProblemsNameTheirRunInTheProblemsWindowAndLeadToTheDeck) {
  dir.write("TALSHELL.INI", "ParallelRuns=2\n");
  // Run 2 fails on line 2 of its run deck; run 3 counts a warning without a line; run 1 says nothing.
  writeEngine("case \"$1\" in *S1.TMP) echo \"$1:2: error: P is too large\" >&2; exit 1;;"
              " *S2.TMP) echo '2 steps did not converge' >&2;; esac\n");
  openTable(3);
  frame->RunTable1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Run 2 of 3 did not end with exit status 0; the run log lists every run."});
  const std::vector<Problem> expected{{ProblemKind::Error, deck, 2, "Run 2: P is too large"},
                                      {ProblemKind::Warning, deck, 0, "Run 3: 2 steps did not converge"}};
  EXPECT_EQ(RunProblems::instance().problems(), expected);
  auto* problems = frame->findChild<TProblemsForm*>();
  ASSERT_NE(problems, nullptr);
  EXPECT_TRUE(problems->isVisible());
  ASSERT_EQ(problems->list()->topLevelItemCount(), 2);
  EXPECT_EQ(problems->list()->topLevelItem(0)->text(1), "S.DCK");

  // The run deck is gone: its problem opens the table's deck at the line.
  emit problems->list()->itemActivated(problems->list()->topLevelItem(0), 0);
  auto* editor = qobject_cast<TEditForm*>(frame->activeChild());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->fileName(), deck);
  EXPECT_EQ(editor->currentLine(), 2u);
  RunProblems::instance().Clear();
}
