#include "generator/TalkitGenerator.h"

#include <cerrno>
#include <filesystem>

#include "generator/DeckWords.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

constexpr std::size_t LabelWidth = 43;

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// A count right-aligned in `width` characters (wider counts are written whole).
std::string Count(std::size_t n, std::size_t width) {
  std::string text = std::to_string(n);
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

class DeckText {
 public:
  explicit DeckText(std::string lineEnd) : lineEnd_(std::move(lineEnd)) {}
  void Line(const std::string& line) { text_ += line + lineEnd_; }
  void Lines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Line(line);
  }
  // Values each followed by a blank, a line end after every tenth and after the last.
  void Values(const std::vector<std::string>& values) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
      line += values[i] + " ";
      if ((i + 1) % 10 == 0 || i + 1 == values.size()) {
        Line(line);
        line.clear();
      }
    }
  }
  // One line of values, each followed by a blank.
  void Group(const std::vector<std::string>& values, std::size_t from, std::size_t to) {
    std::string line;
    for (std::size_t i = from; i < to && i < values.size(); ++i) line += values[i] + " ";
    Line(line);
  }
  const std::string& text() const { return text_; }

 private:
  std::string lineEnd_;
  std::string text_;
};

void WriteConstants(DeckText& out, const ScannedDeck& deck, std::size_t begin, std::size_t end, const char* heading) {
  if (end <= begin) return;
  out.Line(heading);
  out.Line("CONSTANTS" + Count(end - begin, 3));
  for (std::size_t i = begin; i < end; ++i) {
    const DeckConstant& c = deck.constants[i];
    out.Line(c.name + "=" + c.value);
    out.Line(AnnotationLineOf(c.description, c.tail));
  }
  out.Line("*|*");
}

void WriteDerivativesAndTrace(DeckText& out, const UnitRecord& unit) {
  if (unit.hasDerivatives) {
    out.Line("DERIVATIVES " + Count(static_cast<std::size_t>(unit.derivativeCount), 2));
    out.Values(unit.derivatives);
  }
  if (!unit.traceLine.empty()) out.Line(unit.traceLine);
}

void WriteUnit(DeckText& out, const ScannedDeck& deck, const UnitRecord& unit) {
  out.Line("");
  out.Line("*|*     ***** " + unit.card + " *****");
  out.Line("*|*");
  if (unit.noData) {
    // Written back as read.
    out.Line(unit.card);
    if (unit.hasParameters) {
      out.Line("PARAMETERS " + Count(static_cast<std::size_t>(unit.parameterCount), 2));
      out.Lines(unit.parameterLines);
    }
    if (unit.hasInputs) {
      out.Line("INPUTS " + Count(static_cast<std::size_t>(unit.inputCount), 2));
      out.Lines(unit.connectionLines);
      out.Lines(unit.initialValueLines);
    }
    WriteDerivativesAndTrace(out, unit);
    return;
  }
  WriteConstants(out, deck, unit.parameterConstantsBegin, unit.parameterConstantsEnd, "*|*           PARAMETERS       ");
  WriteConstants(out, deck, unit.inputConstantsBegin, unit.inputConstantsEnd, "*|*             INPUTS         ");
  out.Line(unit.card);
  if (!unit.parameters.empty()) {
    std::vector<std::string> values;
    for (const DeckValue& v : unit.parameters) values.push_back(v.text);
    out.Line("PARAMETERS " + Count(values.size(), 2));
    out.Values(values);
  }
  const std::size_t inputs = unit.connections.size();
  if (inputs > 0 && inputs < 10) {
    out.Line("INPUTS " + Count(inputs, 2));
    out.Group(unit.connections, 0, inputs);
    out.Group(unit.initialValues, 0, inputs);
  } else if (inputs >= 10) {
    out.Line("INPUTS 10");
    out.Group(unit.connections, 0, 10);
    out.Group(unit.initialValues, 0, 10);
    out.Line("INPUTS " + Count(inputs - 10, 2));
    out.Group(unit.connections, 10, inputs);
    out.Group(unit.initialValues, 10, inputs);
  }
  WriteDerivativesAndTrace(out, unit);
}

void WriteHeader(DeckText& out, const std::string& engineDirectory) {
  std::string name = JoinPath(engineDirectory, "Header.txt");
  name = ResolveNoCase(name).value_or(name);
  errno = 0;
  auto bytes = ReadWholeFile(name);
  if (!bytes) {
    int error = errno != 0 ? errno : EIO;
    ShowMessageKind("Error " + std::to_string(error) + " while reading file " + name, ErrorOk, false);
    return;
  }
  out.Line("*|*");
  for (const std::string& line : SplitLines(*bytes)) out.Line("*|*" + line);
  out.Line("*|*");
}

}  // namespace

std::string AnnotationLineOf(const std::string& description, const std::string& tail) {
  return "*|" + PadRight(description, LabelWidth) + tail;
}

void GenerateConstants(ScannedDeck& deck) {
  for (UnitRecord& unit : deck.units) {
    if (unit.noData) continue;
    auto add = [&](const TypeEntry& entry, const std::string& value) {
      std::string name = UniqueConstantName(deck.constants, entry.name);
      deck.constants.push_back({name, value, 0, entry.description, entry.tail});
      return name;
    };
    unit.parameterConstantsBegin = deck.constants.size();
    for (std::size_t i = 0; i < unit.shownParameterCount(); ++i) {
      if (!unit.parameterEntries[i].selected || !unit.parameterEligible(i)) continue;
      unit.parameters[i] = {add(unit.parameterEntries[i], unit.parameters[i].text), false};
    }
    unit.parameterConstantsEnd = deck.constants.size();
    unit.inputConstantsBegin = deck.constants.size();
    for (std::size_t i = 0; i < unit.shownInputCount(); ++i) {
      if (!unit.inputEntries[i].selected || !unit.inputEligible(i) || i >= unit.initialValues.size()) continue;
      unit.connections[i] = add(unit.inputEntries[i], unit.initialValues[i]);
      unit.settable[i] = false;
    }
    unit.inputConstantsEnd = deck.constants.size();
  }
}

std::string SimulationListFile(const std::string& engineDirectory, const std::string& fileName,
                               const std::string& targetName) {
  std::string folder = FindFileNoCase(engineDirectory, "TALWIN").value_or(JoinPath(engineDirectory, "TALWIN"));
  std::string file = FindFileNoCase(folder, fileName).value_or(JoinPath(folder, fileName));
  std::error_code ec;
  fs::path full = fs::absolute(file, ec).lexically_normal();
  fs::path deckFolder = fs::absolute(fs::path(targetName).parent_path(), ec).lexically_normal();
  fs::path relative = full.lexically_relative(deckFolder);
  if (!relative.empty() && *relative.begin() != "..") return relative.generic_string();
  return full.generic_string();
}

std::vector<std::string> SimulationCardLines(const GeneratorOptions& options) {
  auto list = [&](const char* file) { return SimulationListFile(options.engineDirectory, file, options.targetName); };
  return {
      "*|*",
      "*|*              ***** Simulation Parameters *****",
      "*|*",
      "EQUATIONS 8",
      "MONTH=0",
      "*|" + PadRight("<Month of the simulation", LabelWidth) + "|" + list("Month1.dat") + "|1|2|0",
      "DAY1=  1.0000E+0000",
      "*|" + PadRight("Day of Month for Simulation Start", LabelWidth) + "|||0|1|1|31|0",
      "DAY=MONTH/24+DAY1",
      "STEP=  1.0000E+0000",
      "*|" + PadRight("Timestep for Simulation", LabelWidth) + "|h|h|0|1|0.01|1.00|0",
      "LENGTH=  2.8000E+0001",
      "*|" + PadRight("<Length of Simulation", LabelWidth) + "|" + list("Length.dat") + "|2|1|0",
      "START=24*(DAY-1)+1",
      "STOP=START+LENGTH*24-1",
      "PLOTS=INT(((STOP-START)/168.0)+0.5)",
      "*|*",
      "SIMULATION START STOP STEP",
  };
}

std::string TalkitDeckText(const ScannedDeck& deck, const GeneratorOptions& options) {
  DeckText out(deck.lineEnd);
  out.Line("*TALKIT");
  out.Lines(deck.assignLines);
  if (options.includeHeader) WriteHeader(out, options.engineDirectory);
  if (options.includeSimulationCard)
    out.Lines(SimulationCardLines(options));
  else
    out.Line(deck.simulationCard.value_or(""));
  out.Lines(deck.otherLines);
  for (const UnitRecord& unit : deck.units) WriteUnit(out, deck, unit);
  out.Line("");
  out.Line("END");
  return out.text();
}

std::string WriteTalkitFile(ScannedDeck& deck, const GeneratorOptions& options) {
  GenerateConstants(deck);
  return WriteFileAtomically(options.targetName, TalkitDeckText(deck, options));
}

std::string OpenGeneratedFormQuestion(const std::string& name) {
  return "TALKIT file " + name + " has been written. Do you wish to open it as a form?";
}

std::string DefaultTalkitName(const std::string& deckName) {
  std::string file = FileNameOf(deckName);
  file = file.substr(0, file.find('.')) + ".TKD";
  return HasFolder(deckName) ? JoinPath(FolderOf(deckName), file) : file;
}

}  // namespace tal
