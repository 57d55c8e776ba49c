#include "plot/TimeAxis.h"

#include <cmath>
#include <cstdio>
#include <iterator>

#include "support/Text.h"

namespace tal {

namespace {

constexpr double HoursPerDay = 24, HoursPerYear = 8760;
constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr const char* MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int MostTicks = 12;

struct YearDate {
  int year = 0, month = 0, day = 1, minute = 0;  // year from 0, month from 0, day from 1
};

YearDate DateOf(double hours) {
  YearDate d;
  const double yearStart = std::floor(hours / HoursPerYear);
  d.year = static_cast<int>(yearStart);
  double rest = hours - yearStart * HoursPerYear;
  const long minutes = std::lround(rest * 60);
  long day = minutes / (24 * 60);
  d.minute = static_cast<int>(minutes % (24 * 60));
  while (d.month < 11 && day >= MonthDays[d.month]) day -= MonthDays[d.month++];
  d.day = static_cast<int>(day) + 1;
  return d;
}

// The first hour of a month, counting months on from January of year 0.
double MonthStart(long month) {
  const long year = month >= 0 ? month / 12 : -((-month + 11) / 12);
  int days = 0;
  for (long m = 0; m < month - year * 12; ++m) days += MonthDays[m];
  return year * HoursPerYear + days * HoursPerDay;
}

std::string MonthLabel(long month) {
  const long year = month >= 0 ? month / 12 : -((-month + 11) / 12);
  std::string label = MonthNames[month - year * 12];
  if (year != 0 && month - year * 12 == 0) label += " " + std::to_string(year + 1);
  return label;
}

std::string Clock(int minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
  return text;
}

// Ticks every `step` hours from the first multiple of it within the range.
std::vector<AxisTick> EveryStep(double min, double max, double step, TimeLabels labels) {
  std::vector<AxisTick> ticks;
  for (double t = std::ceil(min / step - 1e-9) * step; t <= max + 1e-9 * step; t += step) {
    std::string label;
    if (labels == TimeLabels::Days) {
      const double days = t / HoursPerDay;
      const int decimals = step >= HoursPerDay ? 0 : step >= 12 ? 1 : 2;
      label = FormatReal({true, static_cast<std::int16_t>(decimals)}, days);
    } else {
      const YearDate d = DateOf(t);
      label = d.minute == 0 ? std::to_string(d.day) + " " + MonthNames[d.month] : Clock(d.minute);
    }
    ticks.push_back({t, true, label});
  }
  return ticks;
}

double StepFor(double span, std::initializer_list<double> steps) {
  double chosen = *std::prev(steps.end());
  for (double s : steps)
    if (span / s <= MostTicks) return s;
  // Beyond the list: multiples of its last step by 1, 2, 5, 10 ...
  for (double scale = 1;; scale *= 10)
    for (double f : {1.0, 2.0, 5.0})
      if (span / (chosen * f * scale) <= MostTicks) return chosen * f * scale;
}

}  // namespace

bool IsHoursAxis(const TPlotInfo& info) {
  if (info.Lines.empty()) return false;
  for (const TPlotLine& line : info.Lines) {
    std::string unit = UpperShort(line.XUnit);
    if (unit.size() >= 2 && ((unit.front() == '(' && unit.back() == ')') || (unit.front() == '[' && unit.back() == ']')))
      unit = unit.substr(1, unit.size() - 2);
    const bool hours = unit.empty() || unit == "H" || unit == "HR" || unit == "HRS" || unit == "HOUR" || unit == "HOURS";
    if (UpperShort(line.XName) != "TIME" || !hours) return false;
  }
  return true;
}

std::vector<AxisTick> TimeTicks(Real minValue, Real maxValue, TimeLabels labels) {
  const double min = static_cast<double>(minValue), max = static_cast<double>(maxValue);
  const double span = max - min;
  if (!(span > 0) || labels == TimeLabels::Hours || span > 1e7) return {};
  if (labels == TimeLabels::Days) return EveryStep(min, max, StepFor(span, {3, 6, 12, 24, 48, 120, 240, 480}), labels);
  if (span < 60 * HoursPerDay)
    return EveryStep(min, max, StepFor(span, {1, 2, 3, 6, 12, 24, 48, 120, 168, 240}), labels);
  // Month starts, every one or every few.
  const double months = span / (HoursPerYear / 12);
  int every = 1;
  for (int n : {1, 2, 3, 6, 12, 24, 60, 120}) {
    every = n;
    if (months / n <= MostTicks) break;
  }
  std::vector<AxisTick> ticks;
  long month = static_cast<long>(std::floor(min / HoursPerYear)) * 12;
  while (MonthStart(month) < min - 1e-6) ++month;
  month = (month + every - 1) / every * every;
  for (; MonthStart(month) <= max + 1e-6; month += every) ticks.push_back({MonthStart(month), true, MonthLabel(month)});
  return ticks;
}

std::string TimeText(double hours, TimeLabels labels) {
  if (labels == TimeLabels::Days) return FormatReal({true, 2}, hours / HoursPerDay);
  if (labels != TimeLabels::Months) return "";
  const YearDate d = DateOf(hours);
  return std::to_string(d.day) + " " + MonthNames[d.month] + (d.year != 0 ? " " + std::to_string(d.year + 1) : "") +
         " " + Clock(d.minute);
}

}  // namespace tal
