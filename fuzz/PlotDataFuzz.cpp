// Plot data files (".PLT" and ".O*"): any bytes are read into columns or refused with a reason;
// the columns that were read are within their limits, hold one value per row each, and their
// minimum and maximum are values of the column; rows added to a file being written are read with a
// value per column each.
#include <algorithm>

#include "FuzzSupport.h"
#include "plot/PlotData.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TColumnTable table;
  std::string error = ReadPltBytes(talfuzz::Bytes(data, size), table);
  if (!error.empty()) {
    if (table.ColCount != 0 && !table.ColData.empty()) talfuzz::Fail("a refused file left columns");
    return 0;
  }
  if (table.ColCount < 0 || table.ColCount > MaxPlotColumns || table.RowCount < 0) talfuzz::Fail("counts out of range");
  std::size_t columns = static_cast<std::size_t>(table.ColCount);
  if (table.ColName.size() != columns || table.ColUnit.size() != columns || table.ColMin.size() != columns ||
      table.ColMax.size() != columns || table.ColData.size() != columns)
    talfuzz::Fail("column lists of different lengths");
  for (std::size_t c = 0; c < columns; ++c) {
    if (table.ColData[c].size() != static_cast<std::size_t>(table.RowCount)) talfuzz::Fail("a column without a value per row");
    if (table.ColName[c].size() > MaxColumnNameLength || table.ColUnit[c].size() > MaxColumnNameLength)
      talfuzz::Fail("a name longer than its limit");
    if (table.ColumnIndex(table.ColName[c]) < 0) talfuzz::Fail("a column not found by its name");
    const std::vector<double>& values = table.ColData[c];
    if (!values.empty() && (table.ColMin[c] != *std::min_element(values.begin(), values.end()) ||
                            table.ColMax[c] != *std::max_element(values.begin(), values.end())))
      talfuzz::Fail("a minimum or maximum that is not the column's");
  }
  if (table.WholeLineBytes < 0 || static_cast<std::size_t>(table.WholeLineBytes) > size || table.WholeLineRows < 0 ||
      table.WholeLineRows > table.RowCount)
    talfuzz::Fail("the whole lines lie outside the file");
  // Rows an engine adds to a file are read by the same rules, one value per column each.
  std::vector<std::vector<double>> added(std::max<std::size_t>(columns, 1));
  const std::int32_t rows = ReadPltRows(talfuzz::Bytes(data, size), added);
  for (const auto& column : added)
    if (column.size() != static_cast<std::size_t>(rows)) talfuzz::Fail("added rows without a value per column");
  return 0;
}
