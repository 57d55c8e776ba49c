// Run Table (TALPIX menu): every run of the table through the engine, each from its own run deck,
// with the progress window showing the runs finished of the total.
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>

#include "runs/Calculate.h"
#include "runs/CompilingWindow.h"
#include "runs/DeckRun.h"
#include "runs/Installation.h"
#include "runs/RunMonitor.h"
#include "runs/SettingsFile.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Program.h"
#include "tables/TableForm.h"
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

// The progress window 120 pixels from the top of the screen, showing runs finished of the total.
class TableProgress {
 public:
  explicit TableProgress(int total) : window_(CompilingWindow()), total_(total) {
    window_.show();
    if (QScreen* screen = QGuiApplication::primaryScreen()) window_.move(window_.x(), screen->geometry().top() + 120);
    window_.UpdateText("TALPIX Runs finished ", QString("0 of %1").arg(total_), true);
  }
  ~TableProgress() { window_.hide(); }
  void Finished(int done) {
    window_.UpdateText("TALPIX Runs finished ", QString("%1 of %2").arg(done).arg(total_), done == total_);
  }

 private:
  TCompiling& window_;
  int total_;
};

}  // namespace

void TTALSHELLFORM::RunTable1Click() {
  auto* window = qobject_cast<TTableForm*>(tableWindow());
  if (!window) return;
  if (RunMonitor::instance().engineRunActive()) {
    interaction().beep();
    return;
  }
  EngineRunScope engineRun;
  QPointer<TTableForm> table(window);
  const std::string deck = table->table().deckFileName;

  // The deck's own window: its unsaved changes first (a form checks its fields when it saves).
  TChildForm* deckWindow = nullptr;
  for (TChildForm* child : children())
    if (child->caption() == deck) {
      deckWindow = child;
      break;
    }
  if (deckWindow && !IsDeckWindow(deckWindow->kind())) deckWindow = nullptr;
  // A form's fields are checked as for Calculate: nothing the user typed runs unchecked.
  if (deckWindow && deckWindow->kind() == KindCode::TalkitForm && !deckWindow->commitInput()) {
    UpdateMenu();
    return;
  }
  DeckWindowState state = deckWindow ? RunStateOf(deckWindow) : DeckWindowState{};
  if (state.changed) {
    Button answer = ShowMessageKind(SaveBeforeTableQuestion(deck), WarningYesNoCancel, true);
    if (answer == Button::Cancel || answer == Button::None || (answer == Button::Yes && !SaveDeckOf(deckWindow))) {
      UpdateMenu();
      return;
    }
  }

  std::vector<std::string> sharedOutputs;
  if (WriteTableDeck(table->table(), &sharedOutputs)) {
    UpdateMenu();
    return;
  }
  std::error_code ec;
  const fs::path workingDirectory = fs::current_path(ec);
  SettingsRecord& settings = CurrentSettings();
  UseProgramDirectoryWhenMissing(settings, Program().directory);
  auto engine = LocateEngine(settings, "");
  if (!engine) {  // the run decks stay for the user to look at
    UpdateMenu();
    return;
  }

  const bool formCommands = state.kind == static_cast<int>(KindCode::TalkitForm) &&
                            (state.beforeCommand.size() >= FormCommandMinimumLength ||
                             state.afterCommand.size() >= FormCommandMinimumLength);
  TableRunSettings run;
  run.engine = *engine;
  run.jobs = ParallelRuns(ReadInstallation(Program().directory).parallelRuns);
  if (std::string reason = SequentialReason(sharedOutputs, formCommands); run.jobs > 1 && !reason.empty()) {
    ShowMessageKind(reason, InformationOk, false);
    run.jobs = 1;
  }
  if (formCommands) {
    if (state.beforeCommand.size() >= FormCommandMinimumLength) run.beforeCommand = state.beforeCommand;
    if (state.afterCommand.size() >= FormCommandMinimumLength) run.afterCommand = state.afterCommand;
  }
  run.options.workingDirectory = FolderOf(deck);
  const int total = table->table().runs();
  std::vector<std::string> decks;
  for (int r = 1; r <= total; ++r) decks.push_back(RunDeckName(deck, r));

  TableRunReport report;
  {
    TableProgress progress(total);
    run.finished = [&progress](int done, int) { progress.Finished(done); };
    report = RunTableDecks(decks, run);
  }
  TableModel runDecks;  // the table window may have closed meanwhile; the decks go all the same
  runDecks.deckFileName = deck;
  runDecks.setRuns(total);
  DeleteRunDecks(runDecks);
  if (std::string summary = FailedRunsSummary(report, total); !summary.empty())
    ShowMessageKind(summary, InformationOk, false);
  fs::current_path(workingDirectory, ec);
  UpdateMenu();
}

}  // namespace tal
