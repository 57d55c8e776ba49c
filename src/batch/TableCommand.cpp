// talbatch table new|set|show|run: parametric tables without the window.
#include <algorithm>
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "StreamInteraction.h"
#include "support/Files.h"
#include "support/Text.h"
#include "tables/DeckConstants.h"
#include "tables/TableFile.h"
#include "tables/TableModel.h"

namespace tal::batch {

// talbatch table run (TableRunCommand.cpp).
int RunTableCommand(const std::vector<std::string>& args, BatchIo& io);
int TableResultsCommand(const std::vector<std::string>& args, BatchIo& io);  // TableResultsCommand.cpp

namespace {

constexpr const char* Usage =
    "usage: talbatch table new DECK --runs N --vars A,B,C [-o FILE.TBL]\n"
    "       talbatch table set FILE.TBL VAR (--from V (--step S | --last L | --mult M) | --clear) [--runs A:B]\n"
    "       talbatch table show FILE.TBL\n"
    "       talbatch table run FILE.TBL [-j N] [--program-dir DIR]\n"
    "       talbatch table run FILE.TBL --slurm [--partition P] [--time HH:MM:SS] [--max-parallel N] [--program-dir DIR]\n"
    "       talbatch table results FILE.TBL [--collect COLUMN:STAT[,COLUMN:STAT...]] [-o OUT.csv]\n";

int BadInput(BatchIo& io, const std::string& message) {
  io.err << "talbatch table: " << message << '\n';
  return 2;
}

// A variable named on the command line: its name without regard to case, and without the blanks
// that a deck's "NAME = value" leaves in it.
bool SameVariable(const std::string& stored, const std::string& given) {
  return EqualNoCase(stored, given) || EqualNoCase(TrimShort(stored), TrimShort(given));
}

int New(const std::vector<std::string>& args, BatchIo& io) {
  std::string deck, output, runsText, varsText;
  CLI::App cli;
  cli.add_option("DECK", deck)->required();
  cli.add_option("--runs", runsText)->required();
  cli.add_option("--vars", varsText)->required();
  cli.add_option("-o", output);
  if (auto status = ParseCommandArguments(cli, args, io, "table", Usage)) return *status;
  auto runs = ParseInteger(runsText);
  if (!runs || *runs < 1 || *runs > TableModel::MaxRuns)
    return BadInput(io, "the number of runs must be 1 to " + std::to_string(TableModel::MaxRuns) + ", not \"" + runsText + "\"");
  deck = AbsolutePath(deck);
  if (!FileReadable(deck)) return BadInput(io, deck + " cannot be opened for reading");
  auto variables = ScanDeckConstants(deck, 1);
  if (!variables) return BadInput(io, NoConstantsMessage(deck));
  std::vector<std::string> names;
  for (const std::string& wanted : SplitCommas(varsText)) {
    const DeckVariable* found = nullptr;
    for (const auto& v : *variables)
      if (!found && SameVariable(v.name, wanted)) found = &v;
    if (!found || wanted.empty()) return BadInput(io, "\"" + wanted + "\" is not a constant of " + deck);
    names.push_back(found->name);
  }
  TableModel table(*runs, names);
  table.deckFileName = deck;
  std::string file = output.empty() ? TableNameForDeck(deck) : AbsolutePath(output);
  if (std::string error = SaveTable(table, file); !error.empty()) {
    io.err << error << '\n';
    return 1;
  }
  io.out << file << '\n';
  return 0;
}

TableReadResult ReadOrReport(const std::string& name, BatchIo& io) {
  TableReadResult read = ReadTableFile(AbsolutePath(name));
  if (!read.ok) io.err << "talbatch table: " << read.message << '\n';
  return read;
}

int Show(const std::vector<std::string>& args, BatchIo& io) {
  std::string file;
  CLI::App cli;
  cli.add_option("FILE.TBL", file)->required();
  if (auto status = ParseCommandArguments(cli, args, io, "table", Usage)) return *status;
  TableReadResult read = ReadOrReport(file, io);
  if (!read.ok) return 2;
  const TableModel& table = read.table;
  for (int row = 0; row <= table.runs(); ++row) {
    io.out << (row == 0 ? std::string() : std::to_string(row));
    for (int column = 1; column <= table.variables(); ++column) io.out << '\t' << CellText(table, column, row);
    io.out << '\n';
  }
  return 0;
}

int Set(const std::vector<std::string>& args, BatchIo& io) {
  std::string file, variable, from, step, last, mult, range;
  bool clear = false;
  CLI::App cli;
  cli.add_option("FILE.TBL", file)->required();
  cli.add_option("VAR", variable)->required();
  cli.add_flag("--clear", clear);
  cli.add_option("--from", from);
  CLI::Option* seconds[] = {cli.add_option("--step", step), cli.add_option("--last", last),
                            cli.add_option("--mult", mult)};
  cli.add_option("--runs", range);
  if (auto status = ParseCommandArguments(cli, JoinNumberOptions(args, {"--from", "--step", "--last", "--mult"}), io,
                                          "table", Usage))
    return *status;
  const auto given = std::count_if(std::begin(seconds), std::end(seconds), [](CLI::Option* o) { return o->count() > 0; });
  const SecondValue meaning = seconds[1]->count() ? SecondValue::LastValue
                              : seconds[2]->count() ? SecondValue::Multiplier
                                                    : SecondValue::Increment;
  const std::string second = seconds[1]->count() ? last : seconds[2]->count() ? mult : step;
  if (clear == (!from.empty() || given > 0) || (!clear && (from.empty() || given != 1)))
    return BadInput(io, std::string("give --clear, or --from with one of --step, --last, --mult\n") + Usage);

  TableReadResult read = ReadOrReport(file, io);
  if (!read.ok) return 2;
  TableModel& table = read.table;
  int column = 0;
  for (int c = 1; c <= table.variables(); ++c)
    if (column == 0 && SameVariable(table.columns[static_cast<std::size_t>(c - 1)].name, variable)) column = c;
  if (column == 0) return BadInput(io, "\"" + variable + "\" is not a variable of the table");

  std::string firstText = "1", lastText = std::to_string(table.runs());
  if (!range.empty()) {
    std::size_t colon = range.find(':');
    if (colon == std::string::npos) return BadInput(io, "--runs takes FIRST:LAST, not \"" + range + "\"");
    firstText = range.substr(0, colon);
    lastText = range.substr(colon + 1);
  }
  RunRangeCheck check = CheckRunRange(table, firstText, lastText);
  if (!check.range)
    return BadInput(io, "bad run range \"" + (range.empty() ? firstText + ":" + lastText : range) + "\" for a table of " +
                            std::to_string(table.runs()) + " runs");
  table.runRange = *check.range;
  if (clear) {
    ClearValues(table, column, check.range->first, check.range->last);
  } else {
    ParsedReal v = ParseReal(from), s = ParseReal(second);
    if (!v.ok) return BadInput(io, "\"" + from + "\" is not a number");
    if (!s.ok) return BadInput(io, "\"" + second + "\" is not a number");
    SetValues(table, column, check.range->first, check.range->last, v.value, s.value, meaning);
  }
  if (std::string error = SaveTable(table, table.tableFileName); !error.empty()) {
    io.err << error << '\n';
    return 1;
  }
  return 0;
}

int Table(const std::vector<std::string>& args, BatchIo& io) {
  StreamInteraction messages(io.err);
  if (args.empty()) return BadInput(io, std::string("missing subcommand\n") + Usage);
  std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "new") return New(rest, io);
  if (args[0] == "show") return Show(rest, io);
  if (args[0] == "set") return Set(rest, io);
  if (args[0] == "run") return RunTableCommand(rest, io);
  if (args[0] == "results") return TableResultsCommand(rest, io);
  return BadInput(io, "unknown subcommand \"" + args[0] + "\"\n" + Usage);
}

const bool registered = RegisterBatchCommand(
    {"table", "table new|set|show|run  create, fill, list and run parametric tables (talbatch table for usage)",
     Table});

}  // namespace
}  // namespace tal::batch
