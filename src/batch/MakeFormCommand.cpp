// talbatch make-form DECK [--all | --select UNIT:NAME,...] [--header] [--simulation-card]
//                    [--program-dir DIR] -o OUT.TKD
// Make TALKIT file without the dialog: scans DECK, reads the type description files of the
// engine directory and writes the form deck OUT.TKD with the chosen parameters and inputs.
#include <ostream>

#include "BatchCommand.h"
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

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    parts.push_back(text.substr(start, comma - start));
  parts.push_back(text.substr(start));
  return parts;
}

// "" on success, else what is wrong.
std::string ParseArguments(std::vector<std::string> args, MakeFormArguments& parsed) {
  // "--select=ITEMS" and "--program-dir=DIR" are the option and its value in one word.
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::size_t eq = args[i].find('=');
    if (args[i].starts_with("--") && eq != std::string::npos) {
      args.insert(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args[i].substr(eq + 1));
      args[i].resize(eq);
    }
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    if (a == "--all") {
      parsed.all = true;
    } else if (a == "--header") {
      parsed.header = true;
    } else if (a == "--simulation-card") {
      parsed.simulationCard = true;
    } else if (a == "--select" || a == "--program-dir" || a == "-o") {
      if (!hasValue) return a + " needs a value";
      const std::string& value = args[++i];
      if (a == "--select") {
        for (const std::string& item : SplitCommas(value)) {
          if (item.find(':') == std::string::npos || item.front() == ':' || item.back() == ':')
            return "--select takes UNIT:NAME items, not \"" + item + "\"";
          parsed.selections.push_back(item);
        }
      } else {
        (a == "-o" ? parsed.output : parsed.programDir) = value;
      }
    } else if (!a.empty() && a[0] == '-') {
      return "unknown option " + a;
    } else if (parsed.deck.empty()) {
      parsed.deck = a;
    } else {
      return "unexpected argument " + a;
    }
  }
  if (parsed.deck.empty()) return "no deck named";
  if (parsed.output.empty()) return "no output named (-o OUT.TKD)";
  if (parsed.all && !parsed.selections.empty()) return "--all and --select exclude each other";
  return {};
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
  if (std::string problem = ParseArguments(args, parsed); !problem.empty()) {
    io.err << "talbatch make-form: " << problem << "\n" << Usage;
    return 2;
  }
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
