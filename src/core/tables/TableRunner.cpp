#include "tables/TableRunner.h"

#include <QEventLoop>
#include <algorithm>
#include <map>
#include <memory>
#include <thread>

#include "runs/RunMonitor.h"
#include "runs/RunProblems.h"
#include "shell/ResultFiles.h"
#include "support/Files.h"
#include "support/Messages.h"

namespace tal {

namespace {

class TableRun {
 public:
  TableRun(const std::vector<std::string>& decks, const TableRunSettings& settings)
      : decks_(decks), settings_(settings), total_(static_cast<int>(decks.size())) {}

  TableRunReport Sequential() {
    for (int run = 1; run <= total_ && !Stopping(); ++run) {
      if (settings_.started) settings_.started(run);
      if (!FormCommand(settings_.beforeCommand)) break;
      RunOutcome outcome = RunProgram(EngineCommand(run), OptionsOf(run));
      if (outcome.end == RunEnd::NotStarted) {
        NotStarted(EngineCommand(run), outcome);
        break;
      }
      Record(run, outcome);
      if (!Stopping() && !FormCommand(settings_.afterCommand)) break;
    }
    report_.stopped = RunMonitor::instance().stopRequested();
    return report_;
  }

  TableRunReport Parallel(int jobs) {
    QEventLoop loop;
    std::vector<std::pair<int, std::unique_ptr<ProgramRun>>> running;
    int next = 1;
    auto startMore = [&] {
      while (static_cast<int>(running.size()) < jobs && next <= total_ && !Stopping() && report_.notStartedMessage.empty()) {
        const int run = next++;
        if (settings_.started) settings_.started(run);
        auto program = std::make_unique<ProgramRun>(EngineCommand(run), OptionsOf(run));
        if (!program->Start([&loop](const RunOutcome&) { loop.quit(); })) {
          NotStarted(EngineCommand(run), program->outcome());
          break;
        }
        running.emplace_back(run, std::move(program));
      }
    };
    startMore();
    while (!running.empty()) {
      loop.exec();
      // Without an event loop (the application quits) the runs are waited for one by one.
      for (auto& [run, program] : running)
        if (program->running()) program->WaitWithoutEvents(100 / static_cast<int>(running.size()) + 1);
      for (auto it = running.begin(); it != running.end();) {
        if (it->second->running()) {
          ++it;
          continue;
        }
        Record(it->first, it->second->outcome());
        it = running.erase(it);
      }
      startMore();
    }
    report_.stopped = RunMonitor::instance().stopRequested();
    return report_;
  }

 private:
  bool Stopping() const { return RunMonitor::instance().stopRequested(); }

  // The options of the table run, with the engine's progress told by run number and its standard
  // error read for problems as well.
  RunOptions OptionsOf(int run) {
    RunOptions options = settings_.options;
    if (settings_.progress)
      options.progress = [progress = settings_.progress, run](const ProgressReport& report) { progress(run, report); };
    RunTranscript& transcript = transcripts_.try_emplace(run, decks_[static_cast<std::size_t>(run - 1)]).first->second;
    options.standardError = [receiver = settings_.options.standardError, &transcript](std::string_view text) {
      if (receiver) receiver(text);
      transcript.Add(text, true);
    };
    return options;
  }

  ProgramCommand EngineCommand(int run) const {
    return {settings_.engine, {decks_[static_cast<std::size_t>(run - 1)], "/N"}};
  }

  // A form deck's command around a run; false when it could not be started (the table run ends).
  bool FormCommand(const std::string& line) {
    if (line.empty()) return true;
    ProgramCommand command = CommandFromLine(line);
    RunOutcome outcome = RunProgram(command, settings_.options);
    if (outcome.end != RunEnd::NotStarted) return true;
    NotStarted(command, outcome);
    return false;
  }

  void NotStarted(const ProgramCommand& command, const RunOutcome& outcome) {
    report_.notStartedMessage = RunFailureMessage(command, outcome.failureCode);
    ShowMessageKind(report_.notStartedMessage, ErrorOk, true);
  }

  void Record(int run, const RunOutcome& outcome) {
    TableRunResult result{run, outcome, {}, {}};
    if (auto transcript = transcripts_.find(run); transcript != transcripts_.end()) {
      transcript->second.Finish();
      result.problems = transcript->second.problems();
    }
    std::string log = "-- run " + std::to_string(run) + " of " + std::to_string(total_) + ": " + DescribeOutcome(outcome) + "\n";
    for (const ResultFile& file : FindResultFiles(decks_[static_cast<std::size_t>(run - 1)])) {
      // What the engine left; the first run's base name is the deck's, whose table and picture are not results.
      if (file.kind == ResultKind::Table || file.kind == ResultKind::Diagram) continue;
      result.resultFiles.push_back(file.path);
      log += "   " + ResultKindName(file.kind) + " " + file.path + "\n";
    }
    RunMonitor::instance().appendOutput(log);
    report_.results.push_back(std::move(result));
    if (settings_.finished) settings_.finished(run);
  }

  const std::vector<std::string>& decks_;
  const TableRunSettings& settings_;
  const int total_;
  TableRunReport report_;
  std::map<int, RunTranscript> transcripts_;  // by run; kept while the run's program may still write
};

}  // namespace

std::vector<int> TableRunReport::FailedRuns() const {
  std::vector<int> failed;
  for (const TableRunResult& r : results)
    if (r.outcome.end != RunEnd::Finished || r.outcome.exitCode != 0) failed.push_back(r.run);
  std::sort(failed.begin(), failed.end());
  return failed;
}

TableRunReport RunTableDecks(const std::vector<std::string>& runDecks, const TableRunSettings& settings) {
  TableRun run(runDecks, settings);
  const int jobs = std::clamp(settings.jobs, 1, std::max(1, static_cast<int>(runDecks.size())));
  const bool commands = !settings.beforeCommand.empty() || !settings.afterCommand.empty();
  return jobs == 1 || commands ? run.Sequential() : run.Parallel(jobs);
}

std::vector<Problem> TableRunProblems(const TableRunReport& report, const std::vector<std::string>& runDecks,
                                      const std::string& deck) {
  std::vector<const TableRunResult*> byRun;
  for (const TableRunResult& result : report.results) byRun.push_back(&result);
  std::stable_sort(byRun.begin(), byRun.end(), [](auto* a, auto* b) { return a->run < b->run; });
  std::vector<Problem> problems;
  for (const TableRunResult* result : byRun) {
    const auto r = static_cast<std::size_t>(result->run);
    const std::string& runDeck = r >= 1 && r <= runDecks.size() ? runDecks[r - 1] : deck;
    for (Problem problem : result->problems) {
      if (problems.size() >= RunTranscript::ProblemLimit) return problems;
      if (problem.file.empty() || SameFile(problem.file, runDeck)) problem.file = deck;
      problem.text = "Run " + std::to_string(result->run) + ": " + problem.text;
      problems.push_back(std::move(problem));
    }
  }
  return problems;
}

std::string FailedRunsSummary(const TableRunReport& report, int total) {
  std::vector<int> failed = report.FailedRuns();
  if (failed.empty()) return "";
  std::string list;
  for (int run : failed) list += (list.empty() ? "" : ", ") + std::to_string(run);
  return (failed.size() == 1 ? "Run " : "Runs ") + list + " of " + std::to_string(total) +
         " did not end with exit status 0; the run log lists every run.";
}

std::string SequentialReason(const std::vector<std::string>& sharedOutputs, bool formCommands) {
  if (!sharedOutputs.empty())
    return "The runs of this table go one at a time: the deck assigns the output file " + sharedOutputs.front() +
           ", which every run would write.";
  if (formCommands) return "The runs of this table go one at a time: the form runs its commands around every run.";
  return "";
}

int ParallelRuns(int setting) {
  if (setting > 0) return setting;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace tal
