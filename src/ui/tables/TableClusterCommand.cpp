// Run Table on Cluster (TALPIX menu): the runs of the table as one Slurm job array, from run
// decks written exactly as Run Table writes them, with the progress window counting the runs
// pending, running, finished and failed, and Stop cancelling the array.
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>

#include "runs/ClusterRunDialog.h"
#include "runs/CompilingWindow.h"
#include "runs/RunMonitor.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Program.h"
#include "support/QtStrings.h"
#include "tables/TableClusterRun.h"
#include "tables/TableForm.h"
#include "tables/TableResults.h"
#include "tables/TableRunCommand.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

// The progress window 120 pixels from the top of the screen, counting the runs by state.
class ClusterProgress {
 public:
  ClusterProgress() : window_(CompilingWindow()) {
    window_.show();
    if (QScreen* screen = QGuiApplication::primaryScreen()) window_.move(window_.x(), screen->geometry().top() + 120);
    window_.UpdateText("Cluster job ", "submitting", true);
  }
  ~ClusterProgress() { window_.hide(); }
  void Show(const ClusterCounts& counts) {
    window_.UpdateText("Cluster job ", ToQt(DescribeCounts(counts)), counts.pending + counts.running == 0);
  }

 private:
  TCompiling& window_;
};

}  // namespace

void TTALSHELLFORM::RunTableOnCluster1Click() {
  auto* window = qobject_cast<TTableForm*>(tableWindow());
  if (!window) return;
  if (RunMonitor::instance().engineRunActive()) {
    interaction().beep();
    return;
  }
  if (std::string missing = MissingSlurmCommandsMessage(); !missing.empty()) {
    ShowMessageKind(missing, ErrorOk, true);
    return;
  }
  EngineRunScope engineRun;
  std::error_code ec;
  const fs::path workingDirectory = fs::current_path(ec);
  const std::string folder = FolderOf(window->table().deckFileName);
  const std::string programDir = Program().directory;

  // The options first, so that cancelling leaves nothing written.
  const ClusterSettings stored = ReadClusterSettings(programDir);
  const auto chosen = AskClusterOptions()(stored, folder, window->table().runs());
  if (!chosen) {
    UpdateMenu();
    return;
  }
  if (*chosen != stored) {
    if (std::string error = WriteClusterSettings(programDir, *chosen); !error.empty())
      ShowMessageKind(error, ErrorOk, true);  // the run goes on with the options chosen
  }
  auto prepared = PrepareTableRun(*this, *window);
  if (!prepared) {
    UpdateMenu();
    return;
  }

  ClusterTableRunSettings run;
  run.engine = prepared->engine;
  run.workingDirectory = folder;
  run.cluster = *chosen;
  run.beforeCommand = prepared->beforeCommand;
  run.afterCommand = prepared->afterCommand;
  const int total = static_cast<int>(prepared->runDecks.size());
  ClusterTableRunReport result;
  {
    ClusterProgress progress;
    run.progress = [&progress](const ClusterCounts& counts) { progress.Show(counts); };
    result = RunTableDecksOnCluster(prepared->runDecks, run, prepared->sequentialReason);
  }
  DeleteRunDecksOf(prepared->deck, total);
  if (!result.submitError.empty()) {
    ShowMessageKind(result.submitError, ErrorOk, true);
  } else {
    TableRunEnded(prepared->deck, FailedRunsOf(result.report, total));
    if (std::string summary = FailedRunsSummary(result.report, total); !summary.empty())
      ShowMessageKind(summary, InformationOk, false);
  }
  fs::current_path(workingDirectory, ec);
  UpdateMenu();
}

}  // namespace tal
