// The main window's commands that start outside programs (Calculate, Compile Module, Rebuild
// TALPIX, the user command, the utilities, the web site), the settings dialog, and the run
// controls: Stop, the run log, the status bar and the lock on Calculate and Run Table while an
// engine run is in progress.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>

#include "runs/Calculate.h"
#include "runs/DeckRun.h"
#include "runs/FrontEnd.h"
#include "runs/ProgramRunner.h"
#include "runs/RunLogWindow.h"
#include "runs/RunMonitor.h"
#include "runs/SetupDialog.h"
#include "runs/Tools.h"
#include "shell/TalshellForm.h"
#include "support/Messages.h"
#include "support/Program.h"

namespace tal {

namespace {

constexpr const char* CloseDuringRunQuestion = "A program started by TALSHELL is still running.  Stop it and close?";

// Calculate's side of the frame: the active child and the Windows menu.
class FrameCalculateHost : public CalculateHost {
 public:
  explicit FrameCalculateHost(TTALSHELLFORM& frame) : frame_(frame), child_(frame.activeChild()) {}
  DeckWindowState activeDeckWindow() override { return RunStateOf(child_); }
  bool saveActiveDeck() override { return child_ && SaveDeckOf(child_); }
  void attachResults(const std::string& deck) override {
    frame_.GetLSTFile(deck, false);
    frame_.GetOUTFile(deck, false);
    frame_.GetPLTFile(deck, false);
  }
  void updateMenu() override { frame_.UpdateMenu(); }
  void showFailedRun(const std::string& deck, std::size_t listingLine) override { frame_.ShowFailedRun(deck, listingLine); }

 private:
  TTALSHELLFORM& frame_;
  QPointer<TChildForm> child_;  // the window may close while the engine runs
};

// The settings dialog, created once for the frame and kept.
TSetupDlg& SetupDialogOf(TTALSHELLFORM& frame) {
  if (auto* dialog = frame.findChild<TSetupDlg*>()) return *dialog;
  return *new TSetupDlg(&frame);
}

}  // namespace

void TTALSHELLFORM::Calculate1Click() {
  FrameCalculateHost host(*this);
  Calculate(host, CurrentSettings(), Program().directory);
}

void TTALSHELLFORM::CompileModule1Click() {
  if (activeChild_) CompileModule(CurrentSettings(), activeChild_->fileName());
  UpdateMenu();
}

void TTALSHELLFORM::RebuildTALPIX1Click() {
  RebuildTalpix(CurrentSettings());
  UpdateMenu();
}

void TTALSHELLFORM::ExecuteUserCommand1Click() {
  ExecuteUserCommand(CurrentSettings(), Program().talkitMode);
  UpdateMenu();
}

void TTALSHELLFORM::UserCommand1Click() { ExecuteUserCommand1Click(); }

void TTALSHELLFORM::VOXEN1Click() {
  StartUtility(CurrentSettings(), 0, UsesMerodinFrontEnd());
  UpdateMenu();
}

void TTALSHELLFORM::LUMET1Click() {
  StartUtility(CurrentSettings(), 1, UsesMerodinFrontEnd());
  UpdateMenu();
}

void TTALSHELLFORM::ORVA1Click() {
  StartUtility(CurrentSettings(), 2, UsesMerodinFrontEnd());
  UpdateMenu();
}

void TTALSHELLFORM::KANTO1Click() {
  StartUtility(CurrentSettings(), 3, UsesMerodinFrontEnd());
  UpdateMenu();
}

void TTALSHELLFORM::MIRELL1Click() {
  StartUtility(CurrentSettings(), 4, UsesMerodinFrontEnd());
  UpdateMenu();
}

void TTALSHELLFORM::TALPIXWebsite1Click() { OpenWebsite(Program().directory); }

void TTALSHELLFORM::Setup1Click() {
  SetupDialogOf(*this).Execute(CurrentSettings(), Program().directory,
                               [this](int from, int to) { ConvertOpenForms(from, to); });
  UpdateMenu();
}

// ---- run control -------------------------------------------------------------------------

void TTALSHELLFORM::StopRun1Click() { RunMonitor::instance().stop(); }

void TTALSHELLFORM::RunLog1Click() {
  if (!runLog_) runLog_ = new TRunLogForm(this);
  runLog_->show();
  runLog_->raise();
  runLog_->activateWindow();
}

namespace {

// The status bar's progress of the engine run: a bar with the percentage and a text with the
// simulated time and the time left, or a busy indicator while nothing tells how far the run is.
// Shown while a program is waited for, and through a table run.
void ShowRunProgress(QProgressBar* bar, QLabel* text) {
  const auto& monitor = RunMonitor::instance();
  const ProgressView& view = monitor.progress();
  const bool shown = monitor.waiting() || (monitor.engineRunActive() && view.known);
  bar->setVisible(shown);
  text->setVisible(shown && view.known);
  if (!view.known) {
    bar->setRange(0, 0);
    return;
  }
  bar->setRange(0, 100);
  bar->setValue(view.percent());
  text->setText(QString::fromStdString(view.text));
}

}  // namespace

// Stop and Run Log end the TALPIX menu in both modes (TALKIT mode's menu already ends with a
// separator); Problems follows the result entries of the Windows menu. The status bar says what
// runs and how the last run ended, with the run's progress and a Stop button while a program is
// waited for.
void TTALSHELLFORM::SetUpRunControls() {
  QMenu* talpix = menu(Menu::Talpix);
  if (!talpix->actions().isEmpty() && !talpix->actions().back()->isSeparator()) talpix->addSeparator();
  QAction* stop = talpix->addAction("S&top");
  QAction* log = talpix->addAction("Run &Log");
  actions_[MenuItem::StopRun] = stop;
  actions_[MenuItem::RunLog] = log;
  connect(stop, &QAction::triggered, this, &TTALSHELLFORM::StopRun1Click);
  connect(log, &QAction::triggered, this, &TTALSHELLFORM::RunLog1Click);
  QMenu* windows = menu(Menu::Windows);
  const QList<QAction*> entries = windows->actions();
  auto afterDiagram = std::find(entries.begin(), entries.end(), action(MenuItem::Diagram));
  if (afterDiagram != entries.end()) ++afterDiagram;
  QAction* problems = new QAction("&Problems", windows);
  windows->insertAction(afterDiagram == entries.end() ? nullptr : *afterDiagram, problems);
  actions_[MenuItem::Problems] = problems;
  connect(problems, &QAction::triggered, this, &TTALSHELLFORM::Problems1Click);

  auto* summary = new QLabel(statusBar());
  summary->setObjectName("RunSummary");
  auto* stopButton = new QToolButton(statusBar());
  stopButton->setObjectName("StopButton");
  stopButton->setDefaultAction(stop);
  stopButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
  stopButton->hide();
  auto* progressText = new QLabel(statusBar());
  progressText->setObjectName("RunProgressText");
  progressText->hide();
  auto* progressBar = new QProgressBar(statusBar());
  progressBar->setObjectName("RunProgress");
  progressBar->setFixedWidth(160);
  progressBar->setFormat("%p%");
  progressBar->hide();
  statusBar()->addWidget(summary, 1);
  statusBar()->addPermanentWidget(progressText);
  statusBar()->addPermanentWidget(progressBar);
  statusBar()->addPermanentWidget(stopButton);

  auto& monitor = RunMonitor::instance();
  connect(&monitor, &RunMonitor::runStarted, summary, [summary](const QString& command) {
    summary->setText("Running " + command);
  });
  connect(&monitor, &RunMonitor::runEnded, summary, &QLabel::setText);
  connect(&monitor, &RunMonitor::attentionWanted, this, &TTALSHELLFORM::RunLog1Click);
  connect(&monitor, &RunMonitor::progressChanged, progressBar, [progressBar, progressText] {
    ShowRunProgress(progressBar, progressText);
  });
  connect(&monitor, &RunMonitor::stateChanged, this, [this, stopButton, progressBar, progressText] {
    stopButton->setVisible(RunMonitor::instance().waiting());
    ShowRunProgress(progressBar, progressText);
    UpdateMenu();
  });
}

// Closing the frame must not leave the engine running unseen, nor wait for it invisibly.
bool TTALSHELLFORM::ConfirmCloseDuringRun() {
  auto& monitor = RunMonitor::instance();
  if (monitor.waiting()) {
    if (ShowMessageKind(CloseDuringRunQuestion, WarningYesNo, true) != Button::Yes) return false;
    monitor.stop();
  }
  // Compiles and user commands left running are stopped (Yes), left running (No), or the frame
  // stays open (Cancel).
  const std::vector<std::string> commands = CommandsStillRunning();
  if (commands.empty()) return true;
  const Button answer = ShowMessageKind(CommandsStillRunningQuestion(commands), WarningYesNoCancel, true);
  if (answer == Button::Yes) StopCommandsStillRunning();
  return answer == Button::Yes || answer == Button::No;
}

// The menu rules decide as if no run held the lock; the lock then disables the two items.
void TTALSHELLFORM::ReleaseRunLock() {
  if (!runLock_.held) return;
  SetEnabled(MenuItem::Calculate, runLock_.calculate);
  SetEnabled(MenuItem::RunTable, runLock_.runTable);
  runLock_.held = false;
}

void TTALSHELLFORM::HoldRunLock() {
  auto& monitor = RunMonitor::instance();
  SetEnabled(MenuItem::StopRun, monitor.waiting());
  if (!monitor.engineRunActive()) return;
  runLock_.held = true;
  runLock_.calculate = action(MenuItem::Calculate) && action(MenuItem::Calculate)->isEnabled();
  runLock_.runTable = action(MenuItem::RunTable) && action(MenuItem::RunTable)->isEnabled();
  SetEnabled(MenuItem::Calculate, false);
  SetEnabled(MenuItem::RunTable, false);
}

}  // namespace tal
