#include "tables/TableResults.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdio>
#include <thread>

#include "plot/PlotData.h"
#include "shell/ResultFiles.h"
#include "support/Files.h"
#include "support/RealCodecs.h"
#include "support/Text.h"
#include "tables/TableRunDecks.h"

namespace tal {

namespace {

struct StatisticWord {
  Statistic statistic;
  const char* name;
};
constexpr StatisticWord StatisticWords[] = {{Statistic::Last, "last"}, {Statistic::Minimum, "min"},
                                            {Statistic::Maximum, "max"}, {Statistic::Mean, "mean"},
                                            {Statistic::Sum, "sum"},     {Statistic::Integral, "integral"}};

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A table cell above 1e20 is unset or blank: no value.
bool Defined(Real value) { return !(value > 1e20L); }

}  // namespace

std::string StatisticName(Statistic statistic) {
  for (const auto& word : StatisticWords)
    if (word.statistic == statistic) return word.name;
  return "";
}

std::optional<Statistic> StatisticNamed(std::string_view name) {
  for (const auto& word : StatisticWords)
    if (EqualNoCase(name, word.name)) return word.statistic;
  if (EqualNoCase(name, "minimum")) return Statistic::Minimum;
  if (EqualNoCase(name, "maximum")) return Statistic::Maximum;
  return std::nullopt;
}

std::string StatisticNames() {
  std::string names;
  for (const auto& word : StatisticWords) names += (names.empty() ? "" : ", ") + std::string(word.name);
  return names;
}

std::string ResultChoice::Text() const { return column + ":" + StatisticName(statistic); }

std::optional<ResultChoice> ParseResultChoice(std::string_view text, std::string& error) {
  const std::string_view whole = Trimmed(text);
  const auto colon = whole.rfind(':');
  if (colon == std::string_view::npos) {
    error = "\"" + std::string(whole) + "\" is not COLUMN:STATISTIC";
    return std::nullopt;
  }
  const std::string_view column = Trimmed(whole.substr(0, colon));
  const std::string_view name = Trimmed(whole.substr(colon + 1));
  // A column name is one line of printable characters; "#" starts a comment line in the file.
  const bool printable = std::all_of(column.begin(), column.end(), [](char c) { return static_cast<unsigned char>(c) >= 32; });
  if (column.empty() || column.size() > MaxColumnNameLength || !printable || column.front() == '#') {
    error = "\"" + std::string(whole) + "\" does not name a column (1 to " + std::to_string(MaxColumnNameLength) +
            " characters before the \":\", not starting with \"#\")";
    return std::nullopt;
  }
  auto statistic = StatisticNamed(name);
  if (!statistic) {
    error = "unknown statistic \"" + std::string(name) + "\" in \"" + std::string(whole) + "\" (one of " +
            StatisticNames() + ")";
    return std::nullopt;
  }
  return ResultChoice{std::string(column), *statistic};
}

std::optional<std::vector<ResultChoice>> ParseResultChoiceList(std::string_view text, std::string& error) {
  std::vector<ResultChoice> choices;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string_view part = text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
    if (!Trimmed(part).empty()) {
      auto choice = ParseResultChoice(part, error);
      if (!choice) return std::nullopt;
      choices.push_back(*choice);
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (choices.empty()) {
    error = "no result is chosen";
    return std::nullopt;
  }
  return choices;
}

std::string ResultChoiceListText(const std::vector<ResultChoice>& choices) {
  std::string text;
  for (const auto& choice : choices) text += (text.empty() ? "" : ", ") + choice.Text();
  return text;
}

// ---- the choice file ---------------------------------------------------------------------------

std::string ResultChoiceFileName(const std::string& tableFileName) {
  const std::string wanted = BaseNameOf(tableFileName) + ".TRS";
  return ResolveNoCase(wanted).value_or(wanted);
}

ResultChoiceFile ParseResultChoiceFile(std::string_view bytes, const std::string& fileName) {
  ResultChoiceFile file;
  if (bytes.find('\0') != std::string_view::npos) {
    file.message = fileName + " is not a text file of results to collect.";
    return file;
  }
  int lineNumber = 0;
  for (const std::string& line : SplitLines(bytes)) {
    ++lineNumber;
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() == '#') continue;
    std::string error;
    auto choice = ParseResultChoice(text, error);
    if (!choice) {
      file.message = fileName + " line " + std::to_string(lineNumber) + ": " + error + ".";
      return file;
    }
    if (file.choices.size() == MaxResultChoices) {
      file.message = fileName + " chooses more than " + std::to_string(MaxResultChoices) + " results.";
      return file;
    }
    file.choices.push_back(*choice);
  }
  file.ok = true;
  return file;
}

ResultChoiceFile ReadResultChoiceFile(const std::string& fileName) {
  if (!ResolveNoCase(fileName)) return {false, true, {}, fileName + " does not exist."};
  std::string whyNot;
  auto bytes = ReadWholeFile(fileName, &whyNot, MaxResultChoiceFileBytes);
  if (!bytes) return {false, false, {}, whyNot};
  return ParseResultChoiceFile(*bytes, fileName);
}

std::string ResultChoiceFileText(const std::vector<ResultChoice>& choices) {
  std::string text;
  for (const auto& choice : choices) text += choice.Text() + "\n";
  return text;
}

std::string WriteResultChoiceFile(const std::string& fileName, const std::vector<ResultChoice>& choices) {
  return WriteFileAtomically(fileName, ResultChoiceFileText(choices));
}

// ---- statistics --------------------------------------------------------------------------------

std::optional<double> ComputeStatistic(Statistic statistic, const std::vector<double>& values,
                                       const std::vector<double>& time) {
  if (values.empty()) return std::nullopt;
  switch (statistic) {
    case Statistic::Last:
      return values.back();
    case Statistic::Minimum:
      return *std::min_element(values.begin(), values.end());
    case Statistic::Maximum:
      return *std::max_element(values.begin(), values.end());
    case Statistic::Sum:
    case Statistic::Mean: {
      double sum = 0;
      for (double v : values) sum += v;
      return statistic == Statistic::Sum ? sum : sum / static_cast<double>(values.size());
    }
    case Statistic::Integral: {
      // A single row spans no time: its integral is 0.
      const std::size_t n = std::min(values.size(), time.size());
      double area = 0;
      for (std::size_t i = 1; i < n; ++i) area += (time[i] - time[i - 1]) * (values[i] + values[i - 1]) / 2;
      return area;
    }
  }
  return std::nullopt;
}

std::string ResultUnit(Statistic statistic, const std::string& columnUnit) {
  if (statistic != Statistic::Integral) return columnUnit;
  return columnUnit.empty() ? "h" : columnUnit + "*h";
}

// ---- a run's files -----------------------------------------------------------------------------

std::vector<std::string> RunDataFiles(const std::string& runDeck) {
  std::vector<std::string> files;
  if (std::string plot = FindPlotFile(runDeck); !plot.empty()) files.push_back(plot);
  for (std::string& output : FindOutputFiles(runDeck)) files.push_back(std::move(output));
  return files;
}

namespace {

int ColumnNamed(const TColumnTable& table, std::string_view name) {
  for (int k = 0; k < table.ColCount; ++k)
    if (EqualNoCase(table.ColName[static_cast<std::size_t>(k)], name)) return k;
  return -1;
}

// The files of a run, read one after another while a column asked for is still unseen.
class RunFiles {
 public:
  explicit RunFiles(std::vector<std::string> names) : names_(std::move(names)) {}
  bool Empty() const { return names_.empty(); }
  const std::vector<std::string>& names() const { return names_; }

  // The first file holding `column`, read when needed; nullptr when none does. `error` gets why
  // a file could not be read.
  const TColumnTable* Holding(std::string_view column, int& index, std::string& error) {
    for (std::size_t f = 0; f < names_.size(); ++f) {
      const TColumnTable& table = File(f, error);
      if (int k = ColumnNamed(table, column); k >= 0) {
        index = k;
        return &table;
      }
    }
    return nullptr;
  }

  std::string ListText() const {
    std::string list;
    for (const auto& name : names_) list += (list.empty() ? "" : ", ") + FileNameOf(name);
    return list;
  }

 private:
  const TColumnTable& File(std::size_t f, std::string& error) {
    if (tables_.size() < names_.size()) tables_.resize(names_.size());
    if (!tables_[f]) {
      tables_[f].emplace();
      tables_[f]->PltFileName = names_[f];
      ReadPltResult read = ReadPlt(*tables_[f]);
      if (!read.error.empty() && error.empty()) error = read.error;
    }
    return *tables_[f];
  }

  std::vector<std::string> names_;
  std::vector<std::optional<TColumnTable>> tables_;
};

std::string NoFileReason(int run, const std::string& runDeck) {
  const std::string base = FileNameOf(BaseNameOf(runDeck));
  return "Run " + std::to_string(run) + " left no plot or output file (" + base + ".PLT, " + base + ".O*).";
}

ResultCell CellOf(const ResultChoice& choice, RunFiles& files, int run, std::string* unit) {
  ResultCell cell;
  int column = -1;
  std::string error;
  const TColumnTable* table = files.Holding(choice.column, column, error);
  if (!table) {
    cell.problem = CellProblem::NoColumn;
    cell.reason = "No file of run " + std::to_string(run) + " (" + files.ListText() + ") holds a column " +
                  choice.column + "." + (error.empty() ? "" : " " + error);
    return cell;
  }
  const std::string file = FileNameOf(table->PltFileName);
  const auto& values = table->ColData[static_cast<std::size_t>(column)];
  if (unit) *unit = table->ColUnit[static_cast<std::size_t>(column)];
  static const std::vector<double> noTime;
  const std::vector<double>* time = &noTime;
  if (choice.statistic == Statistic::Integral) {
    const int t = ColumnNamed(*table, "TIME");
    if (t < 0) {
      cell.problem = CellProblem::NoTime;
      cell.reason = file + " has no TIME column to integrate " + choice.column + " over.";
      return cell;
    }
    time = &table->ColData[static_cast<std::size_t>(t)];
  }
  cell.value = ComputeStatistic(choice.statistic, values, *time);
  if (!cell.value) {
    cell.problem = CellProblem::NoRows;
    cell.reason = file + " holds no rows of " + choice.column + ".";
  }
  return cell;
}

const FailedRun* FailureOf(const std::vector<FailedRun>& failed, int run) {
  for (const auto& f : failed)
    if (f.run == run) return &f;
  return nullptr;
}

// 12 significant digits: the values as a user typed them ("0.15", not the last bits of a product).
std::string ShortValueText(Real value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.12Lg", value);
  return text;
}

}  // namespace

std::vector<ResultColumn> OfferedResultColumns(const TableModel& table) {
  std::vector<ResultColumn> columns;
  for (int run = 1; run <= table.runs() && columns.empty(); ++run) {
    for (const std::string& file : RunDataFiles(RunDeckName(table.deckFileName, run))) {
      TColumnTable data;
      data.PltFileName = file;
      ReadPlt(data);
      for (int k = 0; k < data.ColCount; ++k) {
        const std::string& name = data.ColName[static_cast<std::size_t>(k)];
        const bool seen = std::any_of(columns.begin(), columns.end(),
                                      [&](const ResultColumn& c) { return EqualNoCase(c.name, name); });
        if (!seen) columns.push_back({name, data.ColUnit[static_cast<std::size_t>(k)], file});
      }
    }
  }
  return columns;
}

// ---- the grid ----------------------------------------------------------------------------------

void ForEachInParallel(int count, const std::function<void(int)>& work) {
  const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(1, count));
  std::atomic<int> next{0};
  auto worker = [&] {
    for (int i = next++; i < count; i = next++) work(i);
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (auto& thread : pool) thread.join();
}

std::vector<FailedRun> FailedRunsOf(const TableRunReport& report, int total) {
  std::vector<FailedRun> failed;
  for (int run = 1; run <= total; ++run) {
    auto result = std::find_if(report.results.begin(), report.results.end(),
                               [run](const TableRunResult& r) { return r.run == run; });
    if (result == report.results.end())
      failed.push_back({run, "Run " + std::to_string(run) + " did not run in the last table run."});
    else if (result->outcome.end != RunEnd::Finished || result->outcome.exitCode != 0)
      failed.push_back({run, "Run " + std::to_string(run) + ": " + DescribeOutcome(result->outcome) + "."});
  }
  return failed;
}

TableResults CollectTableResults(const TableModel& table, const std::vector<ResultChoice>& choices,
                                 const std::vector<FailedRun>& failedRuns) {
  TableResults results;
  results.choices = choices;
  for (const auto& column : table.columns) results.variableNames.push_back(TrimShort(column.name));
  results.rows.resize(static_cast<std::size_t>(table.runs()));
  results.variableValues.resize(static_cast<std::size_t>(table.runs()));
  std::vector<std::vector<std::string>> units(results.rows.size(), std::vector<std::string>(choices.size()));

  ForEachInParallel(table.runs(), [&](int i) {
    const int run = i + 1;
    ResultRow& row = results.rows[static_cast<std::size_t>(i)];
    row.run = run;
    for (int v = 1; v <= table.variables(); ++v) results.variableValues[static_cast<std::size_t>(i)].push_back(table.value(v, run));
    if (choices.empty()) return;
    const std::string runDeck = RunDeckName(table.deckFileName, run);
    RunFiles files(RunDataFiles(runDeck));
    for (std::size_t c = 0; c < choices.size(); ++c) {
      if (const FailedRun* failed = FailureOf(failedRuns, run)) {
        row.cells.push_back({std::nullopt, CellProblem::RunFailed, failed->reason});
      } else if (files.Empty()) {
        row.cells.push_back({std::nullopt, CellProblem::NoFile, NoFileReason(run, runDeck)});
      } else {
        row.cells.push_back(CellOf(choices[c], files, run, &units[static_cast<std::size_t>(i)][c]));
      }
    }
  });

  results.units.resize(choices.size());
  for (std::size_t c = 0; c < choices.size(); ++c) {
    for (std::size_t r = 0; r < results.rows.size() && results.units[c].empty(); ++r)
      if (results.rows[r].cells[c].value || results.rows[r].cells[c].problem == CellProblem::NoTime)
        results.units[c] = units[r][c];
    results.units[c] = ResultUnit(choices[c].statistic, results.units[c]);
  }
  return results;
}

std::vector<ResultChoice> TableResults::UnknownColumns() const {
  std::vector<ResultChoice> unknown;
  for (std::size_t c = 0; c < choices.size(); ++c) {
    bool missingColumn = false, found = false;
    for (const ResultRow& row : rows) {
      const CellProblem problem = row.cells[c].problem;
      missingColumn = missingColumn || problem == CellProblem::NoColumn;
      found = found || (problem != CellProblem::NoColumn && problem != CellProblem::NoFile &&
                        problem != CellProblem::RunFailed);
    }
    if (missingColumn && !found) unknown.push_back(choices[c]);
  }
  return unknown;
}

std::vector<int> TableResults::RunsWithoutFiles() const {
  std::vector<int> runs;
  for (const ResultRow& row : rows)
    if (std::any_of(row.cells.begin(), row.cells.end(), [](const ResultCell& cell) {
          return cell.problem == CellProblem::NoFile || cell.problem == CellProblem::RunFailed;
        }))
      runs.push_back(row.run);
  return runs;
}

std::string TableResults::VariableText(int run, int variable) const {
  const Real value = variableValues[static_cast<std::size_t>(run - 1)][static_cast<std::size_t>(variable)];
  return Defined(value) ? ShortValueText(value) : "";
}

std::string TableResults::RunName(int run) const {
  std::string name;
  for (std::size_t v = 0; v < variableNames.size(); ++v)
    name += (name.empty() ? "" : ", ") + variableNames[v] + "=" + VariableText(run, static_cast<int>(v));
  return name.empty() ? "Run " + std::to_string(run) : name;
}

std::string FullPrecisionText(double value) {
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string();
}

std::string FullPrecisionText(Real value) {
  char text[128];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string();
}

namespace {

// A CSV field: quoted when it holds a separator, a quote or a line end.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string GridText(const TableResults& results, char separator, const char* lineEnd, bool csv) {
  auto field = [csv](const std::string& text) { return csv ? CsvField(text) : text; };
  std::string text = "run";
  for (const auto& name : results.variableNames) text += separator + field(name);
  for (const auto& choice : results.choices) text += separator + field(choice.Text());
  text += lineEnd;
  for (const ResultRow& row : results.rows) {
    text += std::to_string(row.run);
    const auto& values = results.variableValues[static_cast<std::size_t>(row.run - 1)];
    for (Real value : values) text += separator + (Defined(value) ? FullPrecisionText(value) : std::string());
    for (const ResultCell& cell : row.cells) text += separator + (cell.value ? FullPrecisionText(*cell.value) : std::string());
    text += lineEnd;
  }
  return text;
}

}  // namespace

std::string TableResultsCsv(const TableResults& results) { return GridText(results, ',', "\n", true); }
std::string TableResultsTsv(const TableResults& results) { return GridText(results, '\t', "\r\n", false); }

// ---- every run's curve ---------------------------------------------------------------------------

std::vector<RunCurve> CollectRunCurves(const TableModel& table, const std::string& column) {
  TableResults names = CollectTableResults(table, {});
  std::vector<RunCurve> curves(static_cast<std::size_t>(table.runs()));
  ForEachInParallel(table.runs(), [&](int i) {
    RunCurve& curve = curves[static_cast<std::size_t>(i)];
    curve.run = i + 1;
    curve.name = names.RunName(curve.run);
    const std::string runDeck = RunDeckName(table.deckFileName, curve.run);
    RunFiles files(RunDataFiles(runDeck));
    if (files.Empty()) {
      curve.reason = NoFileReason(curve.run, runDeck);
      return;
    }
    int k = -1;
    std::string error;
    const TColumnTable* data = files.Holding(column, k, error);
    if (!data) {
      curve.reason = "No file of run " + std::to_string(curve.run) + " (" + files.ListText() + ") holds a column " +
                     column + ".";
      return;
    }
    const int t = ColumnNamed(*data, "TIME");
    if (t < 0 || data->RowCount == 0) {
      curve.reason = FileNameOf(data->PltFileName) + (t < 0 ? " has no TIME column." : " holds no rows.");
      return;
    }
    curve.unit = data->ColUnit[static_cast<std::size_t>(k)];
    curve.time = data->ColData[static_cast<std::size_t>(t)];
    curve.values = data->ColData[static_cast<std::size_t>(k)];
  });
  return curves;
}

}  // namespace tal
