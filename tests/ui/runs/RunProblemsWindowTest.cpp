// Following a run and acting on a failed one: the progress bar with the time left beside Stop, the
// busy indicator of an engine that tells no progress, and for a failed run its message, the
// listing at the first error, the Problems window and the marks of the deck editor.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "../shell/ShellTestSupport.h"
#include "forms/TalkitForm.h"
#include "runs/ProblemsWindow.h"
#include "runs/RunLogWindow.h"
#include "runs/RunMonitor.h"
#include "runs/RunProblems.h"
#include "shell/EditForm.h"
#include "shell/ViewForm.h"

using namespace tal;

namespace {

class FollowingRuns : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    CurrentSettings().talpixDir = dir.file("engine");
    deck = dir.write("work/ERR.DCK", "* a deck\nSIMULATION 0 8760 1\nUNIT 1 TYPE 77 X\nPARAMETERS 1\n1\nEND\n");
  }
  void TearDown() override {
    RunProblems::instance().Clear();
    ShellTest::TearDown();
  }
  // An engine running `body` with the deck as $1 and its base name as $b; `flag NAME` waits until
  // the test makes the file NAME in the engine's folder.
  void writeEngine(const std::string& body) {
    dir.writeScript("engine/TALPIX32", "e=\"$(dirname \"$0\")\"; b=\"${1%.*}\"\n"
                                       "flag() { while [ ! -f \"$e/$1\" ]; do sleep 0.02; done; }\n" + body);
  }
  void raise(const std::string& flag) { dir.write("engine/" + flag, ""); }
  QProgressBar* bar() { return frame->statusBar()->findChild<QProgressBar*>("RunProgress"); }
  QString barText() { return frame->statusBar()->findChild<QLabel*>("RunProgressText")->text(); }
  TEditForm* openDeck() {
    frame->ReadaFile(deck);
    return qobject_cast<TEditForm*>(frame->activeChild());
  }
  // Runs Calculate; `watch` is called every 20 ms while the engine runs.
  void calculate(const std::function<void()>& watch = {}) {
    QTimer timer;
    if (watch) QObject::connect(&timer, &QTimer::timeout, watch);
    timer.start(20);
    frame->action(MenuItem::Calculate)->trigger();
  }
  std::string deck;
};

// The fake engine's listing: the deck with numbers, its error after line 3, a warning later.
const char* FailingEngine =
    "{ echo 'TALPIX fake'; echo; n=0; while IFS= read -r l; do n=$((n+1)); echo \"    $n  $l\";"
    " [ $n = 3 ] && echo '*** Error in line 3: unit 1: TYPE 77 is not known'; done < \"$1\";"
    " echo '*** Warning at TIME = 0: the step did not converge'; echo '1 error, 1 warning.'; } > \"$b.LST\"\n"
    "echo \"$1:3: error: unit 1: TYPE 77 is not known\" >&2\n"
    "echo \"$1:5: warning: unit 1 has 1 parameter\" >&2\nexit 1\n";

}  // namespace

TEST_F(FollowingRuns, ProgressBarShowsThePartDoneAndTheTimeLeftAfterTheBusyIndicator) {
  writeEngine("flag talk\necho 'progress 4380 0 8760'\nflag end\necho 'progress 8760 0 8760'\n");
  RunMonitor::instance().clearLog();
  makeFrame().show();
  openDeck();
  bool busySeen = false, busyStopShown = false;
  QString percent, text;
  calculate([&] {
    if (!bar() || !bar()->isVisible()) return;
    if (bar()->maximum() == 0 && !busySeen) {  // no progress line yet: the busy indicator
      busySeen = true;
      busyStopShown = frame->statusBar()->findChild<QWidget*>("StopButton")->isVisible();
      raise("talk");
    } else if (bar()->maximum() > 0 && percent.isEmpty()) {
      percent = bar()->text();
      text = barText();
      raise("end");
    }
  });
  EXPECT_TRUE(busySeen);
  EXPECT_TRUE(busyStopShown);
  EXPECT_EQ(percent, "50%");
  EXPECT_TRUE(QRegularExpression("^4380 of 8760 h simulated, about \\d+ s left$").match(text).hasMatch()) << text.toStdString();
  EXPECT_FALSE(bar()->isVisible());
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{});
  // The progress lines are not output: the run log holds none.
  EXPECT_EQ(RunMonitor::instance().log().indexOf("progress "), -1);
}

TEST_F(FollowingRuns, AnEngineWithoutProgressLinesShowsTheBusyIndicatorToTheEnd) {
  writeEngine("echo working\nflag end\n");
  makeFrame().show();
  openDeck();
  int busyTicks = 0, determinateTicks = 0;
  calculate([&] {
    if (!bar()->isVisible()) return;
    (bar()->maximum() == 0 ? busyTicks : determinateTicks)++;
    if (busyTicks == 5) raise("end");
  });
  EXPECT_GE(busyTicks, 5);
  EXPECT_EQ(determinateTicks, 0);
}

TEST_F(FollowingRuns, AFailedRunSaysWhyAndLeadsToTheDeckLine) {
  writeEngine(FailingEngine);
  makeFrame().show();
  TEditForm* editor = openDeck();
  ASSERT_NE(editor, nullptr);
  calculate();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"TALPIX32 ended with exit status 1. The first error, in line 3 of " +
                                                         deck + ":\nunit 1: TYPE 77 is not known"});
  // The run log, and the listing at its error line (two heading lines, deck lines 1 to 3, the error).
  auto* log = frame->findChild<TRunLogForm*>();
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->isVisible());
  auto* listing = qobject_cast<TViewForm*>(frame->FirstChildOfKind(KindCode::Listing));
  ASSERT_NE(listing, nullptr);
  EXPECT_EQ(listing->currentLine(), 6u);
  EXPECT_EQ(listing->view()->selectedText(), "*** Error in line 3: unit 1: TYPE 77 is not known\n");

  // The Problems window: both lines of standard error, and the listing's warning.
  auto* problems = frame->findChild<TProblemsForm*>();
  ASSERT_NE(problems, nullptr);
  EXPECT_TRUE(problems->isVisible());
  EXPECT_EQ(problems->summary(), "1 error, 2 warnings in the last run");
  QTreeWidget* list = problems->list();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  const QStringList rows[] = {{"error", "ERR.DCK", "3", "unit 1: TYPE 77 is not known"},
                              {"warning", "ERR.DCK", "5", "unit 1 has 1 parameter"},
                              {"warning", "ERR.LST", "10", "at TIME = 0: the step did not converge"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(list->topLevelItem(r)->text(c), rows[r][c]) << r << "," << c;

  // The deck editor marks lines 3 and 5, the message as the mark's tool tip.
  const auto& marks = editor->editor()->lineMarks();
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_TRUE(marks.at(3).error);
  EXPECT_EQ(marks.at(3).text, "error: unit 1: TYPE 77 is not known");
  EXPECT_FALSE(marks.at(5).error);

  // A double click on an entry opens the deck at its line, selected; so does Return.
  frame->BringToFront(listing);
  QRect first = list->visualItemRect(list->topLevelItem(0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
  EXPECT_EQ(frame->activeChild(), editor);
  EXPECT_EQ(editor->currentLine(), 3u);
  EXPECT_EQ(editor->editor()->textCursor().selectedText(), "UNIT 1 TYPE 77 X");
  list->setCurrentItem(list->topLevelItem(2));
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(frame->activeChild(), frame->FirstChildOfKind(KindCode::Listing));
  EXPECT_EQ(frame->activeChild()->currentLine(), 10u);

  // The marks stay until the next run.
  writeEngine("echo '0 errors' > \"$b.LST\"\n");
  frame->BringToFront(editor);
  calculate();
  EXPECT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(editor->editor()->lineMarks().empty());
  EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST_F(FollowingRuns, AFailedRunWithoutProblemLinesNamesTheListingsErrorOrTheLastLines) {
  // An engine of another make: its listing marks the error, its standard error says nothing usable.
  writeEngine("printf 'RUN\\n  ***  FATAL ERROR at time 3: the solver gave up\\n' > \"$b.LST\"\necho 'stopped' >&2\nexit 2\n");
  makeFrame().show();
  TEditForm* editor = openDeck();
  calculate();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], "TALPIX32 ended with exit status 2. The first error, in line 2 of " +
                                       dir.file("work/ERR.LST") + ":\nat time 3: the solver gave up");
  EXPECT_EQ(frame->FirstChildOfKind(KindCode::Listing)->currentLine(), 2u);

  // Nothing to go by but what it wrote.
  writeEngine("echo 'reading the deck'\necho 'Segmentation fault' >&2\nexit 139\n");
  std::filesystem::remove(dir.file("work/ERR.LST"));
  frame->BringToFront(editor);
  calculate();
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[1], "TALPIX32 ended with exit status 139. The last lines it wrote:\nreading the deck\nSegmentation fault");
  EXPECT_EQ(frame->FirstChildOfKind(KindCode::Listing), nullptr);
}

TEST_F(FollowingRuns, AProblemOfAFormDeckSelectsTheFieldOfItsLine) {
  const std::string form = dir.write("work/F.TKD", "*TALKIT\nAREA=25\n*|Floor area|m2|ft2|0|10.7639|1|1000|3\n*|*A heading\n");
  makeFrame().show();
  frame->ReadaFile(form);
  auto* window = qobject_cast<TTALKITForm*>(frame->activeChild());
  ASSERT_NE(window, nullptr);
  struct Case {
    std::size_t line;
    const char* selected;  // the field's selected text; nullptr: no field, a message says so
  };
  const Case cases[] = {{2, "25"}, {4, nullptr}, {1, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    dialogs.clear();
    window->fieldOf(0)->clearFocus();
    frame->OpenProblem({ProblemKind::Error, form, c.line, "a problem"});
    auto* edit = qobject_cast<QLineEdit*>(window->focusWidget());  // the window need not be active offscreen
    if (c.selected) {
      ASSERT_EQ(edit, window->fieldOf(0));
      EXPECT_EQ(edit->selectedText(), c.selected);
      EXPECT_TRUE(dialogs.messages().empty());
    } else {
      EXPECT_NE(edit, window->fieldOf(0));
      EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Line " + std::to_string(c.line) + " of " + form +
                                                             " is not a field shown on the form; Edit TALKIT file shows the deck as text."});
    }
  }
}
