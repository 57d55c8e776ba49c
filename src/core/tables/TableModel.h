#pragma once
// A parametric table: one column per deck variable, one row per engine run. Cell (run r, column c)
// holds the value variable c takes in run r. The model knows nothing of the window showing it;
// the table window (ui/tables/TableForm) and `talbatch table` both work through these functions.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/Numbers.h"
#include "support/RealCodecs.h"

namespace tal {

// How a column shows its values: kind 1 fixed with `digits` decimals, 2 automatic, any other
// exponential with `digits` decimals.
struct ColumnFormat {
  std::uint8_t kind = 2;
  std::int16_t digits = 4;
  bool operator==(const ColumnFormat&) const = default;
  // The format as a real format: fixed when the kind is 1. The automatic kind therefore gives the
  // exponential form where no format is chosen first (the run decks).
  RealFormat AsRealFormat() const { return {kind == 1, digits}; }
};

struct TableColumn {
  std::string name;           // at most 30 characters
  ColumnFormat format;
  std::int16_t reserved = 0;  // kept as read
  std::vector<Real> values;   // runs + 1 entries; entry 0 belongs to the header row
};

// The rectangle of the window's client area the file keeps: origin (screen), then left, top,
// right, bottom of the client rectangle.
struct TableClientArea {
  std::int16_t originX = 0, originY = 0, left = 0, top = 0, right = 0, bottom = 0;
};

struct RunRange {
  int first = 1;
  int last = 1;
};

class TableModel {
 public:
  static constexpr int MaxRuns = 9999;
  static constexpr int MaxVariables = 9999;  // the file's column count is held in 16 bits by the grid
  static constexpr std::size_t NameMax = 30;
  static constexpr std::size_t RunDeckNameMax = 96;
  static constexpr std::size_t FileNameMax = 255;

  TableModel() = default;
  // A table of `runs` runs whose columns are new columns named `names` (cut to 30 characters).
  TableModel(int runs, const std::vector<std::string>& names);

  int runs() const { return runs_; }
  int variables() const { return static_cast<int>(columns.size()); }

  // A new column: automatic format with 4 digits, every run NoValue.
  TableColumn NewColumn(const std::string& name) const;

  // The value of run `row` (1..runs) in column `column` (1..variables).
  Real value(int column, int row) const { return columns[static_cast<std::size_t>(column - 1)].values[static_cast<std::size_t>(row)]; }
  // Stores a value; a value that differs from the stored one marks the table changed.
  void setValue(int column, int row, Real v);

  // Changes the number of runs to `runs`: run deck names and value arrays follow (new runs
  // NoValue). Used by the file reader and by Insert/Delete Runs through InsertDeleteRuns.
  void setRuns(int runs);

  std::vector<TableColumn> columns;
  // Run deck names of runs 1..runs + 1 (index r - 1 for run r), each at most 96 characters.
  std::vector<std::string> runDeckNames;
  std::string deckFileName;   // the deck the table belongs to
  std::string tableFileName;  // the file Save writes
  bool modified = false;
  RunRange runRange;
  TableClientArea clientArea;

 private:
  int runs_ = 0;
};

// ---- cells ----------------------------------------------------------------------------------

inline constexpr const char* EnterValueText = "Enter value";

// The text of a cell (grid column, grid row) as the window shows it: "" for column 0 and for
// cells outside the table, the variable name in row 0, else "Enter value" for NoValue, " " for
// BlankValue, or the number in the column's format (the automatic kind chooses 4 significant
// digits).
std::string CellText(const TableModel& table, int column, int row);

// The text of a cell's editor going back into the cell: trimmed, empty means BlankValue, a number
// is stored, anything else leaves the cell as it was. Sets the modified flag when the value
// changed. Only variable columns and run rows are taken.
void SetCellFromEditText(TableModel& table, int column, int row, const std::string& text);

// A rectangle of cells in grid coordinates (columns 1..variables, rows 1..runs).
struct CellRange {
  int left = 1, top = 1, right = 1, bottom = 1;
};

// Copy: the cell texts of `range`, rows separated by CR LF (none after the last), cells by a tab;
// at most ClipboardMax characters.
inline constexpr std::size_t ClipboardMax = 32760;
std::string CopyText(const TableModel& table, CellRange range);

// Paste of `text` (cut to ClipboardMax characters) from cell (column, row) on. Returns "" or the
// message that stopped it ("Bad number in row R column C"); values pasted before stay.
std::string PasteText(TableModel& table, int column, int row, std::string_view text);

// Clear: every cell of `range` becomes NoValue.
void ClearCells(TableModel& table, CellRange range);

// ---- altering ---------------------------------------------------------------------------------

enum class SecondValue { Increment, LastValue, Multiplier };

// Alter Table on column `column` (1-based) over runs first..last (already limited to the table):
// clear them to NoValue, or set them to a series from `start` by the increment, towards the last
// value, or by the multiplier. All arithmetic in extended precision.
void ClearValues(TableModel& table, int column, int first, int last);
void SetValues(TableModel& table, int column, int first, int last, Real start, Real second, SecondValue meaning);

// The run range Alter Table works on from the texts of its two fields: the first run raised to 1,
// the last lowered to the number of runs and raised to the first. nullopt (with which field is
// wrong: 1 first, 2 last) when a field is not an integer or the first run lies beyond the table.
struct RunRangeCheck {
  std::optional<RunRange> range;
  int badField = 0;
};
RunRangeCheck CheckRunRange(const TableModel& table, const std::string& firstText, const std::string& lastText);

// Insert (k > 0) or delete (k < 0) |k| runs after run `position` (0..runs). Deleting every run
// (k <= -runs) is the caller's to handle (the window closes); returns false then and changes
// nothing. The run range's last run becomes the new number of runs. The table is marked changed.
bool InsertDeleteRuns(TableModel& table, int k, int position);

// Insert/Delete Vars: the columns become `names` in order; a column already named so keeps its
// values and format, others are new. The table is marked changed when its columns changed.
void RebuildColumns(TableModel& table, const std::vector<std::string>& names);

// An integer text as the dialogs read it (leading and trailing blanks allowed); nullopt otherwise.
std::optional<int> ParseInteger(const std::string& text);

}  // namespace tal
