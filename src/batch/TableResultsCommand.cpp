// talbatch table results FILE.TBL [--collect COLUMN:STAT[,COLUMN:STAT...]] [-o OUT.csv]: the results
// grid of a table's runs as CSV, with the statistics named or those of the table's NAME.TRS.
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "support/Files.h"
#include "tables/TableFile.h"
#include "tables/TableResults.h"

namespace tal::batch {

namespace {

constexpr const char* Usage =
    "usage: talbatch table results FILE.TBL [--collect COLUMN:STAT[,COLUMN:STAT...]] [-o OUT.csv]\n";

int Refuse(BatchIo& io, const std::string& message, int status) {
  io.err << "talbatch table results: " << message << '\n';
  return status;
}

struct ResultsArguments {
  std::string file, collect, output;
};

std::optional<int> ParseArguments(const std::vector<std::string>& args, ResultsArguments& parsed, BatchIo& io) {
  CLI::App cli;
  cli.add_option("FILE.TBL", parsed.file);
  cli.add_option("--collect", parsed.collect);
  cli.add_option("-o", parsed.output);
  if (auto status = ParseCommandArguments(cli, args, io, "table results", Usage)) return status;
  if (parsed.file.empty()) {
    io.err << Usage;
    return 2;
  }
  return std::nullopt;
}

// The choices of --collect, else of the table's choice file; nullopt after a message.
std::optional<std::vector<ResultChoice>> Choices(const ResultsArguments& args, const std::string& tableFile, BatchIo& io) {
  std::string error;
  if (!args.collect.empty()) {
    auto choices = ParseResultChoiceList(args.collect, error);
    if (!choices) Refuse(io, error, 2);
    return choices;
  }
  const std::string name = ResultChoiceFileName(tableFile);
  ResultChoiceFile file = ReadResultChoiceFile(name);
  if (file.missing) {
    Refuse(io, "no results are chosen: give --collect, or keep the choice in " + name, 2);
    return std::nullopt;
  }
  if (!file.ok) {
    Refuse(io, file.message, 2);
    return std::nullopt;
  }
  if (file.choices.empty()) {
    Refuse(io, name + " chooses no result", 2);
    return std::nullopt;
  }
  return file.choices;
}

}  // namespace

int TableResultsCommand(const std::vector<std::string>& args, BatchIo& io) {
  ResultsArguments parsed;
  if (auto status = ParseArguments(args, parsed, io)) return *status;
  TableReadResult read = ReadTableFile(AbsolutePath(parsed.file));
  if (!read.ok) return Refuse(io, read.message, 2);
  TableModel& table = read.table;
  FindTableDeck(table, 1);  // a table copied with its deck finds its runs' files beside it
  auto choices = Choices(parsed, table.tableFileName, io);
  if (!choices) return 2;

  TableResults results = CollectTableResults(table, *choices);
  if (auto unknown = results.UnknownColumns(); !unknown.empty())
    return Refuse(io, "no file of the runs holds a column " + unknown.front().column, 2);

  int status = 0;
  for (int run : results.RunsWithoutFiles()) {
    for (const ResultCell& cell : results.rows[static_cast<std::size_t>(run - 1)].cells)
      if (!cell.value) {
        io.err << "talbatch table results: run " << run << ": " << cell.reason << '\n';
        break;
      }
    status = 1;
  }
  const std::string csv = TableResultsCsv(results);
  if (parsed.output.empty()) {
    io.out << csv;
  } else if (std::string error = WriteFileAtomically(AbsolutePath(parsed.output), csv); !error.empty()) {
    return Refuse(io, error, 1);
  }
  return status;
}

}  // namespace tal::batch
