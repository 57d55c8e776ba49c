// talbatch run DECK [--program-dir DIR]: runs the engine on DECK as Calculate does, streams the
// engine's output (its progress as one updating line on a terminal), then lists the result files
// Calculate attaches. The exit status is the engine's, or 127 when it could not be started.
#include <chrono>
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "ProgramDirectory.h"
#include "TerminalProgress.h"
#include "runs/Calculate.h"
#include "runs/ProgramRunner.h"
#include "runs/SettingsFile.h"
#include "shell/ResultFiles.h"
#include "support/Files.h"

namespace tal::batch {
namespace {

constexpr int NotStartedStatus = 127;
constexpr const char* Usage = "usage: talbatch run DECK [--program-dir DIR]\n";

struct RunArguments {
  std::string deck;
  std::string programDir;  // "" when none is named
};

std::optional<int> ParseArguments(const std::vector<std::string>& args, RunArguments& parsed, BatchIo& io) {
  CLI::App cli;
  cli.add_option("DECK", parsed.deck)->required();
  cli.add_option("--program-dir", parsed.programDir);
  return ParseCommandArguments(cli, args, io, "run", Usage);
}

void ListAttachedResults(const std::string& deck, std::ostream& out) {
  if (std::string listing = FindListingFile(deck); !listing.empty()) out << "listing " << listing << '\n';
  for (const auto& output : FindOutputFiles(deck)) out << "output " << output << '\n';
  if (std::string plot = FindPlotFile(deck); !plot.empty()) out << "plot " << plot << '\n';
}

int RunDeck(const std::vector<std::string>& args, BatchIo& io) {
  RunArguments parsed;
  if (auto status = ParseArguments(args, parsed, io)) return *status;
  // Like the program's own folder: a full name without a trailing "/".
  const auto programFolder = ProgramDirectoryOf(parsed.programDir, io);
  if (!programFolder) return 1;
  const std::string& programDir = *programFolder;
  SettingsRecord settings;
  if (auto read = ReadDFT(programDir, settings); !read.ok) {
    io.err << "talbatch run: " << read.message << '\n';
    return 2;
  }
  // The shell runs decks by their full names; results are found beside them.
  std::string deck = AbsolutePath(parsed.deck);
  if (!FileReadable(deck)) {
    io.err << "talbatch run: " << parsed.deck << " cannot be opened for reading\n";
    return 2;
  }

  UseProgramDirectoryWhenMissing(settings, programDir);
  ProgramCommand command{EnginePath(settings.talpixDir), {deck}};
  TerminalProgress progress(io.err, io.errIsTerminal);
  const auto began = std::chrono::steady_clock::now();
  RunOptions options;
  options.standardOutput = [&](std::string_view s) {
    progress.Clear();  // standard output may be the same terminal
    io.out << s << std::flush;
  };
  options.standardError = [&](std::string_view s) { progress.Write(s); };
  options.progress = [&](const ProgressReport& report) {
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    progress.Show(EngineProgressView(report, elapsed), report.fraction() >= 1);
  };
  options.ownProcessGroup = false;
  RunOutcome outcome = RunProgram(command, options);
  progress.Clear();
  if (outcome.end == RunEnd::NotStarted) {
    io.err << RunFailureMessage(command, outcome.failureCode) << '\n';
    return NotStartedStatus;
  }
  ListAttachedResults(deck, io.out);
  if (outcome.end != RunEnd::Finished) {
    io.err << "talbatch run: " << DescribeOutcome(outcome) << '\n';
    return 1;
  }
  return outcome.exitCode;
}

const bool registered = RegisterBatchCommand(
    {"run", "run DECK [--program-dir DIR]  run the engine on DECK (settings of DIR, default the current "
            "folder) and list the listing, output and plot files", RunDeck});

}  // namespace
}  // namespace tal::batch
