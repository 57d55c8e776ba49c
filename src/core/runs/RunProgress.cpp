#include "runs/RunProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tal {

namespace {

// ", about 1 min 10 s left" after the view's text, while the run is not done and there is
// something to estimate from.
void AddTimeLeft(ProgressView& view, double elapsedSeconds) {
  if (view.fraction >= 1) return;
  if (std::string left = TimeLeftText(EstimateSecondsLeft(view.fraction, elapsedSeconds)); !left.empty())
    view.text += ", " + left;
}

}  // namespace

int ProgressView::percent() const { return static_cast<int>(std::floor(std::clamp(fraction, 0.0, 1.0) * 100)); }

double EstimateSecondsLeft(double fraction, double elapsedSeconds) {
  if (fraction >= 1) return 0;
  if (!(fraction > 0) || !(elapsedSeconds > 0)) return -1;
  return elapsedSeconds * (1 - fraction) / fraction;
}

std::string TimeLeftText(double seconds) {
  if (!(seconds >= 0)) return "";
  const long long whole = std::llround(seconds);
  char text[64];
  if (whole < 60)
    std::snprintf(text, sizeof text, "about %lld s left", whole);
  else if (whole < 3600)
    std::snprintf(text, sizeof text, "about %lld min %lld s left", whole / 60, whole % 60);
  else
    std::snprintf(text, sizeof text, "about %lld h %lld min left", whole / 3600, whole % 3600 / 60);
  return text;
}

std::string SimulatedTimeText(const ProgressReport& report) {
  const double span = report.stop - report.start;
  const int decimals = span >= 100 ? 0 : span >= 1 ? 2 : 4;
  char text[96];
  std::snprintf(text, sizeof text, "%.*f of %.*f h simulated", decimals, report.time, decimals, report.stop);
  return text;
}

ProgressView EngineProgressView(const ProgressReport& report, double elapsedSeconds) {
  ProgressView view;
  view.known = true;
  view.fraction = report.fraction();
  view.text = SimulatedTimeText(report);
  AddTimeLeft(view, elapsedSeconds);
  return view;
}

void TableProgressCount::Progress(int run, double fraction) {
  if (auto it = running_.find(run); it != running_.end()) it->second = std::clamp(fraction, 0.0, 1.0);
}

void TableProgressCount::Finished(int run) {
  running_.erase(run);
  ++done_;
}

double TableProgressCount::fraction() const {
  if (total_ <= 0) return 1;
  double parts = done_;
  for (const auto& [run, part] : running_) parts += part;
  return std::clamp(parts / total_, 0.0, 1.0);
}

ProgressView TableProgressCount::View(double elapsedSeconds) const {
  ProgressView view;
  view.known = true;
  view.fraction = fraction();
  view.text = "Runs: " + std::to_string(done_) + " done, " + std::to_string(running()) + " running, " +
              std::to_string(left()) + " left";
  AddTimeLeft(view, elapsedSeconds);
  return view;
}

}  // namespace tal
