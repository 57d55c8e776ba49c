#pragma once
// Plot data files: the engine's ".PLT" files and its ".O*" output files are columns of numbers
// with an optional names line and an optional units line. ReadPlt reads one into a column table.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/Numbers.h"

namespace tal {

inline constexpr int MaxPlotColumns = 25;
inline constexpr std::size_t MaxColumnNameLength = 20;
inline constexpr std::size_t MaxPlotNumberLength = 64;

// The columns of one plot data file. Every value is held as the 6-byte real holds it (see
// EncodeReal48); in memory such a value is exact in a double, which is what the arrays keep.
struct TColumnTable {
  bool HasNames = false;
  bool HasUnits = false;
  std::int32_t RowCount = 0;
  std::int32_t ColCount = 0;
  std::vector<std::string> ColName;          // ColCount entries, each at most 20 characters
  std::vector<std::string> ColUnit;          // ColCount entries, each at most 20 characters
  std::vector<double> ColMin, ColMax;        // ColCount entries
  std::vector<std::vector<double>> ColData;  // ColCount arrays of RowCount values, row 1 first
  std::string PltFileName;
  // How much of the file lay in whole lines: a file an engine is still writing may end in part of a
  // row, which is read as a row but read again once its line is whole.
  std::int64_t WholeLineBytes = 0;
  std::int32_t WholeLineRows = 0;
  std::string LastWholeLine;  // at most 256 bytes of its end, the line end included

  void Release() { ColData.clear(); }
  // The index of the column named `name` (exact), or -1.
  int ColumnIndex(std::string_view name) const;
};

// Takes the first token off `line`: the characters before the first blank, comma or tab (the
// whole line when there is none). `line` becomes what follows that separator, without leading
// and trailing blanks. Separators in a row give empty tokens.
std::string NextToken(std::string& line);

// How reading ended. A file that cannot be opened leaves the table without columns.
struct ReadPltResult {
  bool opened = false;
  std::string error;  // why nothing was read; "" when the file was read
};

// Reads `table.PltFileName` into `table`, replacing its columns.
ReadPltResult ReadPlt(TColumnTable& table);
// The same reading from bytes already in memory (the file's whole content). Returns "" or why the
// file was refused (the table then has no columns).
std::string ReadPltBytes(std::string_view bytes, TColumnTable& table);

// The rows of `bytes`, whole lines that follow the rows read before, `into.size()` values each, added
// at the end of `into` (one array per column) as the reader reads rows. Returns the rows added.
std::int32_t ReadPltRows(std::string_view bytes, std::vector<std::vector<double>>& into);

// The most values (rows times columns) a table takes: 1 GB of values in memory.
inline constexpr std::int64_t MaxPlotValues = std::int64_t{1} << 27;

// A value of a plot data file as it is stored: the number rounded to the nearest 6-byte real
// (beyond the 6-byte range: the largest 6-byte real of its sign).
double StoredPlotValue(Real value);

// One number of a data line: a decimal real ([sign]digits[.digits][(E|e)[sign]digits]) that
// must fill the whole token; anything else reads as 0.
double ReadPlotNumber(std::string_view token);

}  // namespace tal
