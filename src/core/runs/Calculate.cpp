#include "runs/Calculate.h"

#include <filesystem>

#include "runs/ProgramRunner.h"
#include "runs/RunMonitor.h"
#include "shell/KindCode.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

// Puts the working directory back however the command ends; programs started meanwhile (and
// commands run from inside the wait) may have changed it.
class WorkingDirectoryKeeper {
 public:
  WorkingDirectoryKeeper() : saved_(fs::current_path(ec_)) {}
  ~WorkingDirectoryKeeper() {
    if (!ec_) fs::current_path(saved_, ec_);
  }
  WorkingDirectoryKeeper(const WorkingDirectoryKeeper&) = delete;
  WorkingDirectoryKeeper& operator=(const WorkingDirectoryKeeper&) = delete;

 private:
  std::error_code ec_;
  fs::path saved_;
};

bool CountsAsCommand(const std::string& command) { return command.size() >= FormCommandMinimumLength; }

bool IsFormWindow(const DeckWindowState& window) { return window.kind == static_cast<int>(KindCode::TalkitForm); }

}  // namespace

std::string EnginePath(const std::string& talpixDir) {
  std::string path = JoinPath(talpixDir, EngineProgramName);
  return ResolveNoCase(path).value_or(path);
}

void UseProgramDirectoryWhenMissing(SettingsRecord& settings, const std::string& programDir) {
  std::error_code ec;
  if (settings.talpixDir.empty() || !fs::is_directory(settings.talpixDir, ec)) settings.talpixDir = programDir;
}

std::optional<std::string> LocateEngine(SettingsRecord& settings, const std::string& chooserStart) {
  std::string engine = EnginePath(settings.talpixDir);
  if (FileReadable(engine)) return engine;
  auto folder = interaction().chooseFolder("Select the TALPIX directory", chooserStart);
  if (!folder) return std::nullopt;
  settings.talpixDir = *folder;
  return EnginePath(settings.talpixDir);  // not checked again: a missing engine is reported when started
}

std::string UnsavedDeckToCalculateMessage(const std::string& deckName) {
  return "The deck " + deckName + " is not on disk (a new deck is written by Save). Save it, then choose Calculate again.";
}

std::string SaveBeforeRunQuestion(const std::string& deckName) {
  return "Do you wish to save file " + deckName + " before calling TALPIX?";
}

CalculateEnd Calculate(CalculateHost& host, SettingsRecord& settings, const std::string& programDir) {
  if (RunMonitor::instance().engineRunActive()) {
    interaction().beep();
    return CalculateEnd::Refused;
  }
  EngineRunScope run;
  DeckWindowState window = host.activeDeckWindow();
  // The engine started without a deck only ends with an error status the user cannot place.
  if (window.deckName.empty()) {
    ShowMessageKind(NoDeckToCalculateMessage, ErrorOk, true);
    return CalculateEnd::Failed;
  }
  if (window.changed) {
    Button answer = ShowMessageKind(SaveBeforeRunQuestion(window.deckName), WarningYesNoCancel, true);
    if (answer == Button::Cancel || answer == Button::None) return CalculateEnd::Cancelled;
    // Running on a deck that failed to save would run what the user did not mean.
    if (answer == Button::Yes && !host.saveActiveDeck()) return CalculateEnd::Failed;
  }

  if (!FileReadable(window.deckName)) {
    ShowMessageKind(UnsavedDeckToCalculateMessage(window.deckName), ErrorOk, true);
    return CalculateEnd::Failed;
  }

  WorkingDirectoryKeeper workingDirectory;
  UseProgramDirectoryWhenMissing(settings, programDir);

  const bool form = IsFormWindow(window);
  if (form && CountsAsCommand(window.beforeCommand)) {
    if (!RunProgramOK(window.beforeCommand)) return CalculateEnd::Failed;
    if (run.stopped()) return CalculateEnd::Stopped;
  }

  auto engine = LocateEngine(settings, programDir);
  if (!engine) return CalculateEnd::Cancelled;

  // The deck is one argument whatever it holds; without a deck the engine gets no argument.
  ProgramCommand command{*engine, {}};
  if (!window.deckName.empty()) command.arguments.push_back(window.deckName);
  if (!RunProgramOK(command)) return CalculateEnd::Failed;

  host.attachResults(window.deckName);
  if (run.stopped()) {
    host.updateMenu();
    return CalculateEnd::Stopped;
  }

  if (form && CountsAsCommand(window.afterCommand)) {
    if (!RunProgramOK(window.afterCommand)) return CalculateEnd::Failed;
    if (run.stopped()) {
      host.updateMenu();
      return CalculateEnd::Stopped;
    }
  }
  host.updateMenu();
  return CalculateEnd::Ran;
}

}  // namespace tal
