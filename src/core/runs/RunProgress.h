#pragma once
// How far a run has come, as the status bar, the table's progress window and talbatch show it:
// the part done, the simulated time, and the time left estimated from the time taken so far.
#include <map>
#include <string>

#include "runs/EngineOutput.h"

namespace tal {

struct ProgressView {
  bool known = false;  // false: nothing tells how far the run is (a busy indicator shows it runs)
  double fraction = 0;
  std::string text;    // what to show beside the percentage
  int percent() const;
};

// Seconds still to wait when `fraction` of the work took `elapsedSeconds`; below 0 when that
// cannot be told yet (nothing done).
double EstimateSecondsLeft(double fraction, double elapsedSeconds);
// "about 1 min 10 s left", "about 45 s left", "about 2 h 5 min left"; "" for an unknown estimate.
std::string TimeLeftText(double seconds);
// "3680 of 8760 h simulated": the time reached and the stop time, with as many decimals as the
// length of the run needs.
std::string SimulatedTimeText(const ProgressReport& report);

// One engine run: its last progress report and the view of it.
ProgressView EngineProgressView(const ProgressReport& report, double elapsedSeconds);

// A table run: runs done, runs running (with the part each has done) and runs left.
class TableProgressCount {
 public:
  explicit TableProgressCount(int total) : total_(total) {}
  void Started(int run) { running_[run] = 0; }
  void Progress(int run, double fraction);
  void Finished(int run);
  int done() const { return done_; }
  int running() const { return static_cast<int>(running_.size()); }
  int left() const { return total_ - done_ - running(); }
  // Runs done plus the parts of the runs running, of all runs.
  double fraction() const;
  // "Runs: 3 done, 2 running, 5 left, about 2 min left".
  ProgressView View(double elapsedSeconds) const;

 private:
  int total_;
  int done_ = 0;
  std::map<int, double> running_;
};

}  // namespace tal
