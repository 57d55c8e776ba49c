#pragma once
// The results of a table's runs: chosen columns of the plot and output files each run left, each
// reduced to one number by a statistic, gathered into a grid of one row per run (the table's
// variables, then the results). The choice is kept beside the table in NAME.TRS, one
// "column:statistic" line per result.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/TableModel.h"
#include "tables/TableRunner.h"

namespace tal {

enum class Statistic { Last, Minimum, Maximum, Mean, Sum, Integral };

// "last", "min", "max", "mean", "sum", "integral": the names choices are written with.
std::string StatisticName(Statistic statistic);
// A statistic by its name (case-free; "minimum" and "maximum" too); nullopt for any other word.
std::optional<Statistic> StatisticNamed(std::string_view name);
// "last, min, max, mean, sum, integral"
std::string StatisticNames();

// One result to collect: a column by name (found without regard to case) and its statistic.
struct ResultChoice {
  std::string column;
  Statistic statistic = Statistic::Last;
  std::string Text() const;  // "QAUX:integral"
  bool operator==(const ResultChoice&) const = default;
};

// "COLUMN:STATISTIC" (blanks around either part dropped; the last ":" separates them). nullopt
// and `error` naming what is wrong otherwise.
std::optional<ResultChoice> ParseResultChoice(std::string_view text, std::string& error);
// Choices separated by commas, as talbatch and the Table Results question take them.
std::optional<std::vector<ResultChoice>> ParseResultChoiceList(std::string_view text, std::string& error);
std::string ResultChoiceListText(const std::vector<ResultChoice>& choices);  // "A:last, B:mean"

// ---- the choice file ---------------------------------------------------------------------------

inline constexpr std::size_t MaxResultChoices = 200;
inline constexpr std::uintmax_t MaxResultChoiceFileBytes = 64 * 1024;

// The choice file of a table: the table file's name up to its first "." followed by ".TRS",
// matched without regard to case when one exists.
std::string ResultChoiceFileName(const std::string& tableFileName);

struct ResultChoiceFile {
  bool ok = false;
  bool missing = false;  // there is no such file (not an error for a table never chosen for)
  std::vector<ResultChoice> choices;
  std::string message;   // why the file was refused, naming it and the line
};
// The choices of `bytes`: one "column:statistic" per line; empty lines and lines starting with "#"
// are skipped. `fileName` names the file in messages.
ResultChoiceFile ParseResultChoiceFile(std::string_view bytes, const std::string& fileName);
ResultChoiceFile ReadResultChoiceFile(const std::string& fileName);
std::string ResultChoiceFileText(const std::vector<ResultChoice>& choices);
// Writes the file through a temporary file: "" or a message naming the file.
std::string WriteResultChoiceFile(const std::string& fileName, const std::vector<ResultChoice>& choices);

// ---- statistics --------------------------------------------------------------------------------

// The statistic of `values`; `time` (hours, as long as `values`) is used by the integral only,
// which sums the trapezoids between successive rows. nullopt for no values.
std::optional<double> ComputeStatistic(Statistic statistic, const std::vector<double>& values,
                                       const std::vector<double>& time);
// The unit of a result: the column's, and for the integral the column's times hours ("KW*h";
// "h" for a column without unit).
std::string ResultUnit(Statistic statistic, const std::string& columnUnit);

// ---- a run's files -----------------------------------------------------------------------------

// The plot and output files a run left beside its run deck, as the run log lists them: the plot
// file first, then the output files in name order. Columns are looked for in this order.
std::vector<std::string> RunDataFiles(const std::string& runDeck);

// A column the runs' files offer: its name and unit and the file it was seen in.
struct ResultColumn {
  std::string name, unit, file;
};
// The columns of the first run's files that has any, in file order (a name seen twice only once).
std::vector<ResultColumn> OfferedResultColumns(const TableModel& table);

// ---- the grid ----------------------------------------------------------------------------------

enum class CellProblem { None, RunFailed, NoFile, NoColumn, NoTime, NoRows };

struct ResultCell {
  std::optional<double> value;
  CellProblem problem = CellProblem::None;
  std::string reason;  // why the cell is blank, for its tool tip and for standard error
};

struct ResultRow {
  int run = 0;
  std::vector<ResultCell> cells;  // one per choice
};

struct TableResults {
  std::vector<std::string> variableNames;  // trimmed
  std::vector<std::vector<Real>> variableValues;  // [run - 1][variable]
  std::vector<ResultChoice> choices;
  std::vector<std::string> units;  // per choice, from the first file that held its column
  std::vector<ResultRow> rows;

  // Choices whose column no run's file holds although some run left files.
  std::vector<ResultChoice> UnknownColumns() const;
  // Runs with a blank cell because the run failed or left no file holding data.
  std::vector<int> RunsWithoutFiles() const;
  // A table variable's value as a cell shows it ("" for an unset or blank cell).
  std::string VariableText(int run, int variable) const;
  // "PHEAT=4, KTANK=0.05": how a run is named in a legend.
  std::string RunName(int run) const;
};

// Runs known to have failed (from the table run just done): their cells are blank with `reason`.
struct FailedRun {
  int run = 0;
  std::string reason;
};

// The runs of `report` (a table run of `total` runs just done) whose files are not theirs: those
// that ended otherwise than with exit status 0, and those that never ran (stopped, or an engine
// that could not be started), whose files may be an earlier study's.
std::vector<FailedRun> FailedRunsOf(const TableRunReport& report, int total);

// Reads every run's files (several at once) and works out the chosen statistics.
TableResults CollectTableResults(const TableModel& table, const std::vector<ResultChoice>& choices,
                                 const std::vector<FailedRun>& failedRuns = {});

// The grid as CSV: a header line of names ("run", the variables, the choices), then a line per
// run; numbers with every digit needed to read them back; blank cells empty. Lines end in "\n".
std::string TableResultsCsv(const TableResults& results);
// The same grid as tab-separated text for the clipboard (lines end in CR LF).
std::string TableResultsTsv(const TableResults& results);
// The shortest text that reads back as exactly `value`.
std::string FullPrecisionText(double value);
std::string FullPrecisionText(Real value);

// ---- every run's curve ---------------------------------------------------------------------------

// One column of one run against TIME, or why the run has none.
struct RunCurve {
  int run = 0;
  std::string name;  // RunName
  std::string unit;
  std::vector<double> time, values;
  std::string reason;  // "" when the curve has points
};
// The column `column` of every run's files, each against the TIME column of its file.
std::vector<RunCurve> CollectRunCurves(const TableModel& table, const std::string& column);

// Runs `work(i)` for i = 0..count-1 on several threads (the machine's cores, at most `count`).
void ForEachInParallel(int count, const std::function<void(int)>& work);

}  // namespace tal
