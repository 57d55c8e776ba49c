// talbatch table run FILE.TBL [-j N] [--program-dir DIR]: every run of the table through the engine.
#include <algorithm>
#include <ostream>

#include "BatchCommand.h"
#include "runs/Calculate.h"
#include "runs/Installation.h"
#include "runs/RunMonitor.h"
#include "runs/SettingsFile.h"
#include "support/Files.h"
#include "support/Text.h"
#include "tables/TableFile.h"
#include "tables/TableModel.h"
#include "tables/TableRunDecks.h"
#include "tables/TableRunner.h"

namespace tal::batch {

namespace {
constexpr const char* RunUsage = "usage: talbatch table run FILE.TBL [-j N] [--program-dir DIR]\n";
}

int RunTableCommand(const std::vector<std::string>& args, BatchIo& io) {
  std::string file, programDirText = ".", jobsText;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool value = i + 1 < args.size();
    if (args[i] == "-j" && value) {
      jobsText = args[++i];
    } else if (args[i] == "--program-dir" && value) {
      programDirText = args[++i];
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      io.err << RunUsage;
      return 2;
    }
  }
  if (file.empty()) {
    io.err << RunUsage;
    return 2;
  }
  std::string programDir = AbsolutePath(programDirText);
  while (programDir.size() > 1 && programDir.back() == '/') programDir.pop_back();
  int jobs = ParallelRuns(ReadInstallation(programDir).parallelRuns);
  if (!jobsText.empty()) {
    auto j = ParseInteger(jobsText);
    if (!j || *j < 1) {
      io.err << "talbatch table: -j takes a number of engines at once (1 or more), not \"" << jobsText << "\"\n";
      return 2;
    }
    jobs = *j;
  }
  SettingsRecord settings;
  if (auto read = ReadDFT(programDir, settings); !read.ok) {
    io.err << "talbatch table: " << read.message << '\n';
    return 2;
  }
  TableReadResult read = ReadTableFile(AbsolutePath(file));
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
  if (std::string reason = SequentialReason(shared, false); jobs > 1 && !reason.empty()) {
    io.err << reason << '\n';
    jobs = 1;
  }
  UseProgramDirectoryWhenMissing(settings, programDir);
  TableRunSettings run;
  run.engine = EnginePath(settings.talpixDir);
  run.jobs = jobs;
  run.options.workingDirectory = FolderOf(table.deckFileName);
  run.options.ownProcessGroup = false;
  std::vector<std::string> decks;
  for (int r = 1; r <= table.runs(); ++r) decks.push_back(RunDeckName(table.deckFileName, r));
  TableRunReport report = RunTableDecks(decks, run);
  DeleteRunDecks(table);

  std::vector<const TableRunResult*> ordered;
  for (const auto& r : report.results) ordered.push_back(&r);
  std::sort(ordered.begin(), ordered.end(), [](auto* a, auto* b) { return a->run < b->run; });
  for (const TableRunResult* r : ordered) {
    io.out << "run " << r->run << ": " << DescribeOutcome(r->outcome) << '\n';
    for (const std::string& path : r->resultFiles) io.out << "  " << path << '\n';
  }
  if (!report.notStartedMessage.empty()) return 1;  // already on standard error
  if (std::string summary = FailedRunsSummary(report, table.runs()); !summary.empty()) {
    io.err << "talbatch table: " << summary << '\n';
    return 1;
  }
  return 0;
}

}  // namespace tal::batch
