// Run Table (TALPIX menu): every run of the table through the engine, each from its own run deck,
// with the progress window and the status bar showing the runs done, running and left.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>

#include "runs/Calculate.h"
#include "runs/CompilingWindow.h"
#include "runs/DeckRun.h"
#include "runs/Installation.h"
#include "runs/RunMonitor.h"
#include "runs/RunProblems.h"
#include "runs/SettingsFile.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Program.h"
#include "tables/TableForm.h"
#include "tables/TableResults.h"
#include "tables/TableRunCommand.h"
#include "tables/TableRunDecks.h"
#include "tables/TableRunner.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

std::string SaveBeforeTableQuestion(const std::string& deck) {
  return "Do you wish to save file " + deck + " before running the table?";
}

bool IsDeckWindow(KindCode kind) {
  return kind == KindCode::DeckEditor || kind == KindCode::TalkitText || kind == KindCode::TalkitForm;
}

// The progress window 120 pixels from the top of the screen and the status bar: the runs done,
// running and left, and the combined progress of the engines.
class TableProgress {
 public:
  explicit TableProgress(int total) : window_(CompilingWindow()), count_(total) {
    clock_.start();
    window_.show();
    if (QScreen* screen = QGuiApplication::primaryScreen()) window_.move(window_.x(), screen->geometry().top() + 120);
    Show(true);
  }
  ~TableProgress() { window_.hide(); }
  void Started(int run) {
    count_.Started(run);
    Show(true);
  }
  void Progress(int run, const ProgressReport& report) {
    count_.Progress(run, report.fraction());
    Show(false);
  }
  void Finished(int run) {
    count_.Finished(run);
    Show(count_.left() == 0 && count_.running() == 0);
  }

 private:
  void Show(bool now) {
    const ProgressView view = count_.View(static_cast<double>(clock_.elapsed()) / 1000.0);
    RunMonitor::instance().showProgress(view);
    window_.UpdateText("TALPIX Runs ",
                       QString("%1 done, %2 running, %3 left (%4%)")
                           .arg(count_.done())
                           .arg(count_.running())
                           .arg(count_.left())
                           .arg(view.percent()),
                       now);
  }

  TCompiling& window_;
  TableProgressCount count_;
  QElapsedTimer clock_;
};

}  // namespace

std::optional<PreparedTableRun> PrepareTableRun(TTALSHELLFORM& shell, TTableForm& table) {
  PreparedTableRun prepared;
  prepared.deck = table.table().deckFileName;

  // The deck's own window: its unsaved changes first (a form checks its fields when it saves).
  TChildForm* deckWindow = nullptr;
  for (TChildForm* child : shell.children())
    if (child->caption() == prepared.deck) {
      deckWindow = child;
      break;
    }
  if (deckWindow && !IsDeckWindow(deckWindow->kind())) deckWindow = nullptr;
  // A form's fields are checked as for Calculate: nothing the user typed runs unchecked.
  if (deckWindow && deckWindow->kind() == KindCode::TalkitForm && !deckWindow->commitInput()) return std::nullopt;
  DeckWindowState state = deckWindow ? RunStateOf(deckWindow) : DeckWindowState{};
  if (state.changed) {
    Button answer = ShowMessageKind(SaveBeforeTableQuestion(prepared.deck), WarningYesNoCancel, true);
    if (answer == Button::Cancel || answer == Button::None || (answer == Button::Yes && !SaveDeckOf(deckWindow)))
      return std::nullopt;
  }

  std::vector<std::string> sharedOutputs;
  if (WriteTableDeck(table.table(), &sharedOutputs)) return std::nullopt;
  SettingsRecord& settings = CurrentSettings();
  UseProgramDirectoryWhenMissing(settings, Program().directory);
  auto engine = LocateEngine(settings, "");
  if (!engine) return std::nullopt;  // the run decks stay for the user to look at
  prepared.engine = *engine;

  const bool formCommands = state.kind == static_cast<int>(KindCode::TalkitForm) &&
                            (state.beforeCommand.size() >= FormCommandMinimumLength ||
                             state.afterCommand.size() >= FormCommandMinimumLength);
  prepared.sequentialReason = SequentialReason(sharedOutputs, formCommands);
  if (formCommands) {
    if (state.beforeCommand.size() >= FormCommandMinimumLength) prepared.beforeCommand = state.beforeCommand;
    if (state.afterCommand.size() >= FormCommandMinimumLength) prepared.afterCommand = state.afterCommand;
  }
  for (int r = 1; r <= table.table().runs(); ++r) prepared.runDecks.push_back(RunDeckName(prepared.deck, r));
  return prepared;
}

void DeleteRunDecksOf(const std::string& deck, int runs) {
  TableModel runDecks;
  runDecks.deckFileName = deck;
  runDecks.setRuns(runs);
  DeleteRunDecks(runDecks);
}

void TTALSHELLFORM::RunTable1Click() {
  auto* window = qobject_cast<TTableForm*>(tableWindow());
  if (!window) return;
  if (RunMonitor::instance().engineRunActive()) {
    interaction().beep();
    return;
  }
  EngineRunScope engineRun;
  std::error_code ec;
  const fs::path workingDirectory = fs::current_path(ec);
  auto prepared = PrepareTableRun(*this, *window);
  if (!prepared) {
    UpdateMenu();
    return;
  }

  TableRunSettings run;
  run.engine = prepared->engine;
  run.jobs = ParallelRuns(ReadInstallation(Program().directory).parallelRuns);
  if (run.jobs > 1 && !prepared->sequentialReason.empty()) {
    ShowMessageKind(prepared->sequentialReason, InformationOk, false);
    run.jobs = 1;
  }
  run.beforeCommand = prepared->beforeCommand;
  run.afterCommand = prepared->afterCommand;
  run.options.workingDirectory = FolderOf(prepared->deck);
  const int total = static_cast<int>(prepared->runDecks.size());

  RunProblems::instance().Clear();  // the marks of the last run go when the next one starts
  TableRunReport report;
  {
    TableProgress progress(total);
    run.started = [&progress](int r) { progress.Started(r); };
    run.progress = [&progress](int r, const ProgressReport& report) { progress.Progress(r, report); };
    run.finished = [&progress](int r) { progress.Finished(r); };
    report = RunTableDecks(prepared->runDecks, run);
  }
  // Read while the run decks still exist, so the engines' names of them are recognised.
  RunProblems::instance().Set(TableRunProblems(report, prepared->runDecks, prepared->deck));
  DeleteRunDecksOf(prepared->deck, total);
  TableRunEnded(prepared->deck, FailedRunsOf(report, total));
  if (std::string summary = FailedRunsSummary(report, total); !summary.empty()) {
    ShowMessageKind(summary, InformationOk, false);
    if (!RunProblems::instance().problems().empty()) Problems1Click();
  }
  fs::current_path(workingDirectory, ec);
  UpdateMenu();
}

}  // namespace tal
