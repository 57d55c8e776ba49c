#pragma once
// An X axis of simulation time in hours read as a year: its labels in hours (the numbers
// themselves), in days, or in the months of a year that starts on 1 January at hour 0 (a year of
// 365 days, 8760 hours). The values stay hours; only the ticks and their labels change.
#include <string>
#include <vector>

#include "plot/PlotDrawing.h"
#include "plot/PlotInfo.h"

namespace tal {

enum class TimeLabels : std::uint8_t { Hours = 0, Days = 1, Months = 2 };

// Whether the X axis is TIME in hours: every curve's X column is named TIME (any letter case) and
// its unit is hours ("h", "hr", "hrs", "hour", "hours", also in brackets) or not given.
bool IsHoursAxis(const TPlotInfo& info);

// The ticks of a linear axis from `min` to `max` hours for days or months, each with its label:
// whole days or parts of them ("3", "3.5"), month starts ("Jan", "Feb", with the year from the
// second on: "Jan 2"), or within a few weeks days and hours ("5 Feb", "06:00").
std::vector<AxisTick> TimeTicks(Real min, Real max, TimeLabels labels);

// The label of one hour value: "51.5" days, or "21 Feb 10:30" in a year.
std::string TimeText(double hours, TimeLabels labels);

}  // namespace tal
