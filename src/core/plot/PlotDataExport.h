#pragma once
// The values of a plot as a table for spreadsheets: a header naming the X column and every curve
// with its unit, then one row per X value, each value with the digits its column holds.
#include <string>

#include "plot/PlotInfo.h"

namespace tal {

// Curves that share their X values (curves of one data file) give their rows in order; otherwise
// the rows are every X value of any curve in ascending order, a curve without a point there
// leaving its cell empty. `visibleOnly` keeps the rows whose X lies within the X axis range.
// `separator` is "," for CSV files (texts holding it are quoted) or a tab for the clipboard.
std::string PlotDataTable(const TPlotInfo& info, char separator, bool visibleOnly);
// Writes the CSV table through a temporary file; "" or a message naming the file.
std::string ExportPlotData(const std::string& fileName, const TPlotInfo& info, bool visibleOnly);

}  // namespace tal
