#include "tables/TableRunDecks.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/Files.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace tal {

namespace {

constexpr std::size_t SubstitutedNameMax = 20;
constexpr std::size_t ValueTextMax = 20;
// The most decimals the exponential form writes.
constexpr std::int16_t MostDecimals = 17;
constexpr Real UndefinedAbove = 1e20L;

// Where the run suffix goes in an upper-cased ASSIGN line: right after the first occurrence of
// the bare deck name followed by "." when that starts after the fourth character; npos otherwise.
std::size_t SuffixPosition(const std::string& upper, const std::string& bare) {
  if (upper.compare(0, 3, "ASS") != 0 || bare.empty()) return std::string::npos;
  std::size_t at = upper.find(bare + ".");
  return at != std::string::npos && at >= 4 ? at + bare.size() : std::string::npos;
}

// The text before the first "=" of an upper-cased line, without blanks at both ends; "" when the
// line has no "=" after its first character.
std::string LeftSide(const std::string& upper) {
  std::size_t eq = upper.find('=');
  if (eq == std::string::npos || eq == 0) return "";
  return TrimShort(upper.substr(0, eq), upper.size());
}

bool SameFile(const std::string& a, const std::string& b) {
  if (EqualNoCase(a, b)) return true;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

bool IsOutputName(const std::string& file) {
  std::string extension = ExtensionOf(file);
  return extension.rfind(".O", 0) == 0 || extension == ".LST" || extension == ".PLT";
}

}  // namespace

std::string RunSuffix(int run) { return run <= 1 ? std::string() : std::to_string(run - 1); }

std::string BareDeckName(const std::string& deckName) {
  std::string file = FileNameOf(deckName);
  return UpperShort(file.substr(0, file.find('.')));
}

std::string RunDeckName(const std::string& deckName, int run) {
  return JoinPath(FolderOf(deckName), BareDeckName(deckName) + RunSuffix(run) + ".TMP");
}

std::string RunValueText(const ColumnFormat& format, Real value) {
  std::string text = FormatReal(format.AsRealFormat(), value);
  if (text.size() <= ValueTextMax) return text;
  // Too long: the same number in exponential notation with as many decimals as fit, so that no
  // digit of the exponent and no leading digit is lost.
  for (std::int16_t decimals = MostDecimals; decimals >= 0; --decimals) {
    text = FormatReal({false, decimals}, value);
    if (text.size() <= ValueTextMax) break;
  }
  return text;
}

std::string UndefinedCellMessage(int column, int run) {
  return "Parameter in the col #" + std::to_string(column) + ", run #" + std::to_string(run) + " isn't defined";
}

std::string RunDeckClash(const TableModel& table) {
  for (int run = 1; run <= table.runs(); ++run) {
    const std::string name = RunDeckName(table.deckFileName, run);
    if (SameFile(name, table.deckFileName))
      return "File " + table.deckFileName + " is the deck of this table and would also be the run deck of run " +
             std::to_string(run) + "; the table is not run. Give the deck another extension than .TMP.";
    std::error_code ec;
    if (!std::filesystem::exists(name, ec)) continue;
    const std::string stored = name.substr(0, TableModel::RunDeckNameMax);
    const bool earlierRunDeck = std::find(table.runDeckNames.begin(), table.runDeckNames.end(), stored) != table.runDeckNames.end();
    if (!earlierRunDeck)
      return "File " + name + " exists and is not a run deck of this table, but would be written as the run deck of run " +
             std::to_string(run) + "; the table is not run. Move or rename that file.";
  }
  return "";
}

std::string UnassignedVariablesWarning(const std::string& deckName, const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return "The deck " + deckName + " has no line NAME = value for the table " +
         (names.size() == 1 ? "variable " : "variables ") + list +
         ", so every run would use the deck's own value. Run the table anyway?";
}

RunDeckWriter::RunDeckWriter(const TableModel& table, const std::string& deckText)
    : table_(table), bare_(BareDeckName(table.deckFileName)) {
  lineEnd_ = deckText.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  for (const TableColumn& column : table.columns) names_.push_back(TrimShort(column.name.substr(0, SubstitutedNameMax)));
  assigned_.assign(names_.size(), false);
  std::vector<std::string> noValues(names_.size());
  for (const std::string& raw : SplitLines(deckText)) {
    Line line;
    line.text = UpperShort(raw);
    line.assign = line.text.compare(0, 3, "ASS") == 0;
    if (!line.assign) {
      Substituted(line.text, noValues, line.column);
      if (std::string left = LeftSide(line.text); !left.empty())
        for (std::size_t k = 0; k < names_.size(); ++k) assigned_[k] = assigned_[k] || names_[k] == left;
    } else if (SuffixPosition(line.text, bare_) == std::string::npos) {
      std::istringstream words(line.text);
      std::string keyword, file;
      words >> keyword >> file;
      if (IsOutputName(file)) sharedOutputs_.push_back(file);
    }
    lines_.push_back(std::move(line));
  }
}

std::vector<std::string> RunDeckWriter::unassignedColumns() const {
  std::vector<std::string> names;
  for (std::size_t k = 0; k < assigned_.size(); ++k)
    if (!assigned_[k]) names.push_back(TrimShort(table_.columns[k].name));
  return names;
}

// The line with a table variable's value put in: a line whose text before its first "=" (after
// the first character), without blanks at both ends, is a column's name becomes name=value.
// Every column is tried in turn on the line as it stands.
std::string RunDeckWriter::Substituted(const std::string& upper, const std::vector<std::string>& values, int& column) const {
  std::string line = upper;
  column = -1;
  for (std::size_t k = 0; k < names_.size(); ++k) {
    const std::string& name = names_[k];
    if (name.empty() || line.find(name) == std::string::npos) continue;
    if (LeftSide(line) != name) continue;
    line = name + "=" + values[k];
    column = static_cast<int>(k);
  }
  return line;
}

int RunDeckWriter::UndefinedColumn(int run) const {
  for (std::size_t k = 0; k < table_.columns.size(); ++k)
    if (table_.columns[k].values[static_cast<std::size_t>(run)] > UndefinedAbove) return static_cast<int>(k) + 1;
  return 0;
}

std::string RunDeckWriter::RunText(int run, int& undefinedColumn) const {
  undefinedColumn = UndefinedColumn(run);
  if (undefinedColumn) return "";
  std::vector<std::string> values;
  for (const TableColumn& column : table_.columns) {
    Real v = column.values[static_cast<std::size_t>(run)];
    values.push_back(RunValueText(column.format, v));
  }
  const std::string suffix = RunSuffix(run);
  std::string text;
  for (const Line& line : lines_) {
    if (line.assign) {
      std::string assigned = line.text;
      if (std::size_t at = SuffixPosition(assigned, bare_); at != std::string::npos) assigned.insert(at, suffix);
      int column = -1;
      text += Substituted(assigned, values, column);
    } else if (line.column >= 0) {
      text += names_[static_cast<std::size_t>(line.column)] + "=" + values[static_cast<std::size_t>(line.column)];
    } else {
      text += line.text;
    }
    text += lineEnd_;
  }
  return text;
}

bool WriteTableDeck(TableModel& table, std::vector<std::string>* sharedOutputs) {
  auto deck = table.deckFileName.empty() ? std::nullopt : ReadWholeFile(table.deckFileName);
  if (!deck) {
    ShowMessageKind("File " + table.deckFileName + " which is used by this table cannot be read.", ErrorOk, true);
    return true;
  }
  RunDeckWriter writer(table, *deck);
  if (sharedOutputs) *sharedOutputs = writer.sharedOutputs();
  // Every run's cells first: an undefined cell leaves no run deck behind.
  for (int run = 1; run <= table.runs(); ++run) {
    if (int undefined = writer.UndefinedColumn(run)) {
      ShowMessageKind(UndefinedCellMessage(undefined, run), ErrorOk, false);
      return true;
    }
  }
  if (std::string clash = RunDeckClash(table); !clash.empty()) {
    ShowMessageKind(clash, ErrorOk, true);
    return true;
  }
  if (auto unassigned = writer.unassignedColumns(); !unassigned.empty()) {
    Button answer = ShowMessageKind(UnassignedVariablesWarning(table.deckFileName, unassigned), WarningOkCancel, true);
    if (answer != Button::Ok) return true;
  }
  for (int run = 1; run <= table.runs(); ++run) {
    const std::string name = RunDeckName(table.deckFileName, run);
    table.runDeckNames[static_cast<std::size_t>(run - 1)] = name.substr(0, TableModel::RunDeckNameMax);
    int undefined = 0;
    if (std::string error = WriteFileAtomically(name, writer.RunText(run, undefined)); !error.empty()) {
      ShowMessageKind("Error writing table file " + name, ErrorOk, false);
      for (int written = 1; written < run; ++written) {
        std::error_code ec;
        std::filesystem::remove(RunDeckName(table.deckFileName, written), ec);
      }
      return true;
    }
  }
  return false;
}

void DeleteRunDecks(const TableModel& table) {
  std::error_code ec;
  for (int run = 1; run <= table.runs(); ++run)
    std::filesystem::remove(RunDeckName(table.deckFileName, run), ec);
}

}  // namespace tal
