#pragma once
// Plots of a table's results, drawn by the plot window like any plot (and saved as ".SPF"): one
// result against a table variable or the run number, and one column of every run's files against
// TIME, a curve per run named by its variables' values.
#include <string>
#include <vector>

#include "plot/PlotInfo.h"
#include "tables/TableResults.h"

namespace tal {

// The x of Plot Results: a table variable (0-based) or the run number.
inline constexpr int RunNumberAxis = -1;

// The variable named `name` (case-free, "RUN" for the run number); nullopt for no such name.
std::optional<int> ResultsAxisNamed(const TableResults& results, const std::string& name);

// Result `choice` (0-based) of every run that has it, against `axis`, in increasing x, with
// symbols and lines. `error` says why there is nothing to draw (the plot then has no curve).
TPlotInfo ResultsPlot(const TableResults& results, std::size_t choice, int axis, std::string& error);

// A curve per run that has one (at most MaxPlotLines), in distinct colours, with a legend.
TPlotInfo RunsOverlayPlot(const std::vector<RunCurve>& curves, const std::string& column);

// The colour table number of the k-th curve (0-based) of an overlay: the colours that differ from
// each other, going round again after the last.
int OverlayColor(int k);

}  // namespace tal
