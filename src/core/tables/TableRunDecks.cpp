#include "tables/TableRunDecks.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/Files.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace tal {

namespace {

constexpr std::size_t SubstitutedNameMax = 20;
constexpr std::size_t ValueTextMax = 20;
constexpr Real UndefinedAbove = 1e20L;

// Where the run suffix goes in an upper-cased ASSIGN line: right after the first occurrence of
// the bare deck name followed by "." when that starts after the fourth character; npos otherwise.
std::size_t SuffixPosition(const std::string& upper, const std::string& bare) {
  if (upper.compare(0, 3, "ASS") != 0 || bare.empty()) return std::string::npos;
  std::size_t at = upper.find(bare + ".");
  return at != std::string::npos && at >= 4 ? at + bare.size() : std::string::npos;
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

std::string UndefinedCellMessage(int column, int run) {
  return "Parameter in the col #" + std::to_string(column) + ", run #" + std::to_string(run) + " isn't defined";
}

RunDeckWriter::RunDeckWriter(const TableModel& table, const std::string& deckText)
    : table_(table), bare_(BareDeckName(table.deckFileName)) {
  lineEnd_ = deckText.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  for (const TableColumn& column : table.columns) names_.push_back(TrimShort(column.name.substr(0, SubstitutedNameMax)));
  std::vector<std::string> noValues(names_.size());
  for (const std::string& raw : SplitLines(deckText)) {
    Line line;
    line.text = UpperShort(raw);
    line.assign = line.text.compare(0, 3, "ASS") == 0;
    if (!line.assign) {
      Substituted(line.text, noValues, line.column);
    } else if (SuffixPosition(line.text, bare_) == std::string::npos) {
      std::istringstream words(line.text);
      std::string keyword, file;
      words >> keyword >> file;
      if (IsOutputName(file)) sharedOutputs_.push_back(file);
    }
    lines_.push_back(std::move(line));
  }
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
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    if (TrimShort(line.substr(0, eq), line.size()) != name) continue;
    line = name + "=" + values[k];
    column = static_cast<int>(k);
  }
  return line;
}

std::string RunDeckWriter::RunText(int run, int& undefinedColumn) const {
  undefinedColumn = 0;
  std::vector<std::string> values;
  for (std::size_t k = 0; k < table_.columns.size(); ++k) {
    const TableColumn& column = table_.columns[k];
    Real v = column.values[static_cast<std::size_t>(run)];
    if (v > UndefinedAbove) {
      undefinedColumn = static_cast<int>(k) + 1;
      return "";
    }
    values.push_back(FormatReal(column.format.AsRealFormat(), v).substr(0, ValueTextMax));
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
  for (int run = 1; run <= table.runs(); ++run) {
    int undefined = 0;
    std::string text = writer.RunText(run, undefined);
    if (undefined) {
      ShowMessageKind(UndefinedCellMessage(undefined, run), ErrorOk, false);
      return true;
    }
    std::string name = RunDeckName(table.deckFileName, run);
    table.runDeckNames[static_cast<std::size_t>(run - 1)] = name.substr(0, TableModel::RunDeckNameMax);
    std::FILE* file = std::fopen(name.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file && std::fclose(file) != 0) written = false;
    if (!written) {
      ShowMessageKind("Error writing table file " + name, ErrorOk, false);
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
