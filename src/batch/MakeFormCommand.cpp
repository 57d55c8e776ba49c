// talbatch make-form DECK [--all | --select UNIT:NAME,...] [--header] [--simulation-card]
//                    [--program-dir DIR] -o OUT.TKD
// Make TALKIT file without the dialog: scans DECK, reads the type description files of the
// engine directory and writes the form deck OUT.TKD with the chosen parameters and inputs.
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "ProgramDirectory.h"
#include "StreamInteraction.h"
#include "generator/DeckScan.h"
#include "generator/DeckWords.h"
#include "generator/TalkitGenerator.h"
#include "runs/Calculate.h"
#include "runs/SettingsFile.h"
#include "support/Files.h"
#include "support/Text.h"

namespace tal::batch {
namespace {

constexpr const char* Usage =
    "usage: talbatch make-form DECK [--all | --select UNIT:NAME,...] [--header] [--simulation-card]\n"
    "                          [--program-dir DIR] -o OUT.TKD\n";

struct MakeFormArguments {
  std::string deck, output, programDir;  // programDir "" when none is named
  bool all = false, header = false, simulationCard = false;
  std::vector<std::string> selections;  // "UNIT:NAME"
};

// The options as CLI11 reads them ("--select=ITEMS" and "--program-dir=DIR" too); then the checks
// that tie them together. nullopt when they were read, else the exit status after the message.
std::optional<int> ParseArguments(const std::vector<std::string>& args, MakeFormArguments& parsed, BatchIo& io) {
  CLI::App cli;
  std::vector<std::string> selectTexts;
  cli.add_option("DECK", parsed.deck);
  cli.add_flag("--all", parsed.all);
  cli.add_option("--select", selectTexts)->allow_extra_args(false);
  cli.add_flag("--header", parsed.header);
  cli.add_flag("--simulation-card", parsed.simulationCard);
  cli.add_option("--program-dir", parsed.programDir);
  cli.add_option("-o", parsed.output);
  if (auto status = ParseCommandArguments(cli, args, io, "make-form", Usage)) return status;
  auto refuse = [&io](const std::string& problem) {
    io.err << "talbatch make-form: " << problem << "\n" << Usage;
    return 2;
  };
  for (const std::string& text : selectTexts) {
    for (const std::string& item : SplitCommas(text)) {
      if (item.find(':') == std::string::npos || item.front() == ':' || item.back() == ':')
        return refuse("--select takes UNIT:NAME items, not \"" + item + "\"");
      parsed.selections.push_back(item);
    }
  }
  if (parsed.deck.empty()) return refuse("no deck named");
  if (parsed.output.empty()) return refuse("no output named (-o OUT.TKD)");
  if (parsed.all && !parsed.selections.empty()) return refuse("--all and --select exclude each other");
  return std::nullopt;
}

// The engine directory of the program directory's settings, or the program directory itself
// when the settings cannot be read or name no existing folder (as the engine runs do).
std::string EngineDirectory(const std::string& programDir) {
  SettingsRecord settings;
  ReadDFT(programDir, settings);
  UseProgramDirectoryWhenMissing(settings, programDir);
  return AbsolutePath(settings.talpixDir);
}

void SelectAll(ScannedDeck& deck) {
  for (UnitRecord& unit : deck.units) {
    if (unit.noData) continue;
    for (std::size_t i = 0; i < unit.shownParameterCount(); ++i)
      unit.parameterEntries[i].selected = unit.parameterEligible(i);
    for (std::size_t i = 0; i < unit.shownInputCount(); ++i) unit.inputEntries[i].selected = unit.inputEligible(i);
  }
}

// Selects the parameters and inputs named UNIT:NAME (UNIT the unit's number on its card); "" or
// what could not be selected.
std::string Select(ScannedDeck& deck, const std::string& item) {
  std::size_t colon = item.find(':');
  std::string unitNumber = item.substr(0, colon), name = UpperShort(item.substr(colon + 1));
  bool unitFound = false, named = false, selected = false;
  for (UnitRecord& unit : deck.units) {
    if (WordAt(unit.card, 1) != UpperShort(unitNumber)) continue;
    unitFound = true;
    auto choose = [&](std::vector<TypeEntry>& entries, std::size_t shown, auto eligible) {
      for (std::size_t i = 0; i < shown; ++i) {
        if (entries[i].name != name) continue;
        named = true;
        if (eligible(i)) selected = entries[i].selected = true;
      }
    };
    if (unit.noData) continue;
    choose(unit.parameterEntries, unit.shownParameterCount(), [&](std::size_t i) { return unit.parameterEligible(i); });
    choose(unit.inputEntries, unit.shownInputCount(), [&](std::size_t i) { return unit.inputEligible(i); });
  }
  if (!unitFound) return "the deck has no unit " + unitNumber + " with a type description";
  if (!named) return "unit " + unitNumber + " has no parameter or input named " + name;
  if (!selected) return item + " cannot become a form field: its value is not a number or the input is connected";
  return {};
}

bool AnythingSelected(const ScannedDeck& deck) {
  for (const UnitRecord& unit : deck.units)
    for (const auto* entries : {&unit.parameterEntries, &unit.inputEntries})
      for (const TypeEntry& entry : *entries)
        if (entry.selected) return true;
  return false;
}

int MakeForm(const std::vector<std::string>& args, BatchIo& io) {
  MakeFormArguments parsed;
  if (auto status = ParseArguments(args, parsed, io)) return *status;
  StreamInteraction ui(io.err);  // description file messages go to standard error
  const auto programDir = ProgramDirectoryOf(parsed.programDir, io);
  if (!programDir) return 1;
  std::string engineDirectory = EngineDirectory(*programDir);
  auto deck = MakeDeck(AbsolutePath(parsed.deck), engineDirectory);
  if (!deck) return 2;
  if (parsed.all) SelectAll(*deck);
  for (const std::string& item : parsed.selections) {
    if (std::string problem = Select(*deck, item); !problem.empty()) {
      io.err << "talbatch make-form: " << problem << "\n";
      return 2;
    }
  }
  if (!AnythingSelected(*deck) && !parsed.simulationCard) {
    io.err << "talbatch make-form: nothing to generate: no parameter or input of " << parsed.deck
           << " can become a form field\n";
    return 2;
  }
  GeneratorOptions options{parsed.header, parsed.simulationCard, engineDirectory, AbsolutePath(parsed.output)};
  std::size_t before = deck->constants.size();
  if (std::string problem = WriteTalkitFile(*deck, options); !problem.empty()) {
    io.err << "talbatch make-form: " << problem << "\n";
    return 1;
  }
  for (std::size_t i = before; i < deck->constants.size(); ++i)
    io.out << "constant " << deck->constants[i].name << "=" << deck->constants[i].value << "\n";
  io.out << "wrote " << parsed.output << "\n";
  return 0;
}

const bool registered = RegisterBatchCommand(
    {"make-form", "make-form DECK [--all | --select UNIT:NAME,...] -o OUT.TKD: generate a form deck", MakeForm});

}  // namespace
}  // namespace tal::batch
