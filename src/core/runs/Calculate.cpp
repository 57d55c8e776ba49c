#include "runs/Calculate.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "runs/ProgramRunner.h"
#include "runs/RunMonitor.h"
#include "runs/RunProblems.h"
#include "shell/KindCode.h"
#include "shell/ResultFiles.h"
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

bool Failed(const RunOutcome& outcome) {
  return outcome.end == RunEnd::Crashed || (outcome.end == RunEnd::Finished && outcome.exitCode != 0);
}

// The marked lines of the deck's listing; none when it has no listing written since `runStart`
// (an earlier run's errors are not this run's) or one too large to search.
std::vector<ListingProblem> ListingProblems(const std::string& deck, fs::file_time_type runStart) {
  const std::string listing = FindListingFile(deck);
  std::error_code ec;
  if (listing.empty() || fs::last_write_time(listing, ec) < runStart || ec) return {};
  auto text = ReadWholeFile(listing);
  return text ? FindListingProblems(*text, listing, deck) : std::vector<ListingProblem>{};
}

// Runs the engine on the deck, showing its progress, and keeps what it reported for the Problems
// window. A run that failed brings its problems forward and says why.
bool RunEngineOnDeck(CalculateHost& host, const ProgramCommand& command, const std::string& deck) {
  RunTranscript transcript(deck);
  const auto began = std::chrono::steady_clock::now();
  // File times may be kept to the second only.
  const fs::file_time_type runStart = fs::file_time_type::clock::now() - std::chrono::seconds(1);
  RunOptions options;
  options.standardOutput = [&](std::string_view text) { transcript.Add(text, false); };
  options.standardError = [&](std::string_view text) { transcript.Add(text, true); };
  options.progress = [&](const ProgressReport& report) {
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    RunMonitor::instance().showProgress(EngineProgressView(report, elapsed));
  };
  RunOutcome outcome = RunProgram(command, options);
  if (outcome.end == RunEnd::NotStarted) {
    ShowMessageKind(RunFailureMessage(command, outcome.failureCode), ErrorOk, true);
    return false;
  }
  transcript.Finish();
  host.attachResults(deck);
  const std::vector<ListingProblem> listed = ListingProblems(deck, runStart);
  RunProblems::instance().Set(MergeProblems(transcript.problems(), listed));
  if (Failed(outcome)) {  // a run the user stopped is not one that failed
    auto error = std::find_if(listed.begin(), listed.end(), [](const ListingProblem& l) { return l.problem.kind == ProblemKind::Error; });
    host.showFailedRun(deck, error == listed.end() ? 0 : error->listingLine);
    ShowMessageKind(FailedRunMessage(outcome, RunProblems::instance().problems(), transcript.lastLines()), ErrorOk, true);
  }
  return true;
}

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
  RunProblems::instance().Clear();  // the marks of the last run go when the next one starts

  const bool form = IsFormWindow(window);
  if (form && CountsAsCommand(window.beforeCommand)) {
    if (!RunProgramOK(window.beforeCommand)) return CalculateEnd::Failed;
    if (run.stopped()) return CalculateEnd::Stopped;
  }

  auto engine = LocateEngine(settings, programDir);
  if (!engine) return CalculateEnd::Cancelled;

  // The deck is one argument whatever it holds.
  ProgramCommand command{*engine, {window.deckName}};
  if (!RunEngineOnDeck(host, command, window.deckName)) return CalculateEnd::Failed;
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
