// talbatch table run FILE.TBL [-j N] [--program-dir DIR]
//                             [--slurm [--partition P] [--time HH:MM:SS] [--max-parallel N]]:
// every run of the table through the engine, on this computer or as a Slurm job array.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <ostream>
#include <variant>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "ProgramDirectory.h"
#include "TerminalProgress.h"
#include "runs/Calculate.h"
#include "runs/ClusterSettings.h"
#include "runs/Installation.h"
#include "runs/RunProgress.h"
#include "runs/RunMonitor.h"
#include "runs/SettingsFile.h"
#include "support/Files.h"
#include "support/Text.h"
#include "tables/TableClusterRun.h"
#include "tables/TableFile.h"
#include "tables/TableModel.h"
#include "tables/TableRunDecks.h"
#include "tables/TableRunner.h"

namespace tal::batch {

namespace {

// Ctrl+C (or a termination signal) during a cluster run: the job array is cancelled, not left
// running on the cluster.
volatile std::sig_atomic_t clusterStopSignal = 0;
extern "C" void NoteClusterStop(int) { clusterStopSignal = 1; }

constexpr const char* RunUsage =
    "usage: talbatch table run FILE.TBL [-j N] [--program-dir DIR]\n"
    "                          [--slurm [--partition P] [--time HH:MM:SS] [--max-parallel N]]\n";

struct RunArguments {
  std::string file;
  std::string programDir;  // "" when none is named
  std::string jobs;
  bool slurm = false;
  // Cluster options given on the command line; the others come from TALSHELL.CLU.
  std::optional<std::string> partition, timeLimit, maxParallel;
};

// The arguments, or the exit status after the parser named what is wrong.
std::variant<RunArguments, int> ParseRunArguments(const std::vector<std::string>& args, BatchIo& io) {
  RunArguments parsed;
  std::string partition, timeLimit, maxParallel;
  CLI::App cli;
  cli.add_option("FILE.TBL", parsed.file)->required();
  cli.add_option("-j", parsed.jobs);
  cli.add_option("--program-dir", parsed.programDir);
  CLI::Option* slurm = cli.add_flag("--slurm", parsed.slurm);
  CLI::Option* clusterOptions[] = {cli.add_option("--partition", partition), cli.add_option("--time", timeLimit),
                                   cli.add_option("--max-parallel", maxParallel)};
  for (CLI::Option* option : clusterOptions) option->needs(slurm);
  if (auto status = ParseCommandArguments(cli, args, io, "table", RunUsage)) return *status;
  if (clusterOptions[0]->count()) parsed.partition = partition;
  if (clusterOptions[1]->count()) parsed.timeLimit = timeLimit;
  if (clusterOptions[2]->count()) parsed.maxParallel = maxParallel;
  return parsed;
}

// The cluster options: the stored ones with those of the command line over them. The message
// of what is wrong otherwise.
std::optional<ClusterSettings> ClusterOptions(const RunArguments& args, const std::string& programDir, BatchIo& io) {
  std::vector<std::string> problems;
  ClusterSettings settings = ReadClusterSettings(programDir, &problems);
  for (const auto& problem : problems) io.err << "talbatch table: " << problem << '\n';
  if (args.partition) settings.partition = *args.partition;
  if (args.timeLimit) settings.timeLimit = *args.timeLimit;
  if (args.maxParallel) {
    auto n = ParseInteger(*args.maxParallel);
    if (!n || *n < 1) {
      io.err << "talbatch table: --max-parallel takes a number of runs at once (1 or more), not \"" << *args.maxParallel
             << "\"\n";
      return std::nullopt;
    }
    settings.maxParallel = static_cast<int>(*n);
  }
  if (std::string problem = CheckClusterSettings(settings); !problem.empty()) {
    io.err << "talbatch table: " << problem << '\n';
    return std::nullopt;
  }
  return settings;
}

// Every run's outcome and result files in run order; exit status 0 when all ended with 0.
int ReportRuns(const TableRunReport& report, int total, BatchIo& io) {
  std::vector<const TableRunResult*> ordered;
  for (const auto& r : report.results) ordered.push_back(&r);
  std::sort(ordered.begin(), ordered.end(), [](auto* a, auto* b) { return a->run < b->run; });
  for (const TableRunResult* r : ordered) {
    io.out << "run " << r->run << ": " << DescribeOutcome(r->outcome) << '\n';
    for (const std::string& path : r->resultFiles) io.out << "  " << path << '\n';
  }
  if (!report.notStartedMessage.empty()) return 1;  // already on standard error
  if (std::string summary = FailedRunsSummary(report, total); !summary.empty()) {
    io.err << "talbatch table: " << summary << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

int RunTableCommand(const std::vector<std::string>& argList, BatchIo& io) {
  const auto parsed = ParseRunArguments(argList, io);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  const RunArguments* args = &std::get<RunArguments>(parsed);
  const auto programFolder = ProgramDirectoryOf(args->programDir, io);
  if (!programFolder) return 1;
  const std::string& programDir = *programFolder;
  int jobs = ParallelRuns(ReadInstallation(programDir).parallelRuns);
  if (!args->jobs.empty()) {
    auto j = ParseInteger(args->jobs);
    if (!j || *j < 1) {
      io.err << "talbatch table: -j takes a number of engines at once (1 or more), not \"" << args->jobs << "\"\n";
      return 2;
    }
    jobs = *j;
  }
  std::optional<ClusterSettings> cluster;
  if (args->slurm) {
    if (std::string missing = MissingSlurmCommandsMessage(); !missing.empty()) {
      io.err << "talbatch table: " << missing << '\n';
      return 2;
    }
    if (cluster = ClusterOptions(*args, programDir, io); !cluster) return 2;
  }
  SettingsRecord settings;
  if (auto read = ReadDFT(programDir, settings); !read.ok) {
    io.err << "talbatch table: " << read.message << '\n';
    return 2;
  }
  TableReadResult read = ReadTableFile(AbsolutePath(args->file));
  if (!read.ok) {
    io.err << "talbatch table: " << read.message << '\n';
    return 2;
  }
  TableModel& table = read.table;
  if (std::string missing = FindTableDeck(table, settings.units); !missing.empty()) {
    io.err << "talbatch table: " << missing << '\n';
    return 2;
  }

  EngineRunScope engineRun;
  std::vector<std::string> shared;
  if (WriteTableDeck(table, &shared)) return 2;  // the message went to standard error
  UseProgramDirectoryWhenMissing(settings, programDir);
  std::vector<std::string> decks;
  for (int r = 1; r <= table.runs(); ++r) decks.push_back(RunDeckName(table.deckFileName, r));
  const std::string reason = SequentialReason(shared, false);

  TableRunReport report;
  if (cluster) {
    ClusterTableRunSettings run;
    run.engine = EnginePath(settings.talpixDir);
    run.workingDirectory = FolderOf(table.deckFileName);
    run.cluster = *cluster;
    run.stopRequested = [] { return clusterStopSignal != 0; };
    std::signal(SIGINT, NoteClusterStop);
    std::signal(SIGTERM, NoteClusterStop);
    if (!reason.empty()) io.err << reason << '\n';
    ClusterTableRunReport result = RunTableDecksOnCluster(decks, run, reason);
    if (!result.submitError.empty()) {
      DeleteRunDecks(table);
      io.err << "talbatch table: " << result.submitError << '\n';
      return 1;
    }
    io.out << "cluster job " << result.jobId << '\n';
    report = std::move(result.report);
  } else {
    if (jobs > 1 && !reason.empty()) {
      io.err << reason << '\n';
      jobs = 1;
    }
    TableRunSettings run;
    run.engine = EnginePath(settings.talpixDir);
    run.jobs = jobs;
    run.options.workingDirectory = FolderOf(table.deckFileName);
    run.options.ownProcessGroup = false;
    // Runs done, running and left as one updating line on a terminal.
    TerminalProgress progress(io.err, io.errIsTerminal);
    TableProgressCount count(table.runs());
    const auto began = std::chrono::steady_clock::now();
    auto show = [&](bool now) {
      progress.Show(count.View(std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count()), now);
    };
    run.started = [&](int r) { count.Started(r); show(true); };
    run.progress = [&](int r, const ProgressReport& report) { count.Progress(r, report.fraction()); show(false); };
    run.finished = [&](int r) { count.Finished(r); show(true); };
    report = RunTableDecks(decks, run);
  }
  DeleteRunDecks(table);
  return ReportRuns(report, table.runs(), io);
}

}  // namespace tal::batch
