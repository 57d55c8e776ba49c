#pragma once
// Curves that follow their data files: rows an engine adds at the end of a file are added to the
// curves that reach its end, and Reload Data reads the files again after a new run, keeping what
// the user chose (titles, ranges set by hand, colours, line styles, symbols).
#include <map>
#include <set>
#include <string>
#include <vector>

#include "plot/PlotInfo.h"
#include "plot/PlotZoom.h"

namespace tal {

class TPlotDataFollower {
 public:
  struct Outcome {
    bool grown = false;
    DataExtent added;                    // the points added
    std::vector<std::string> rewritten;  // files written anew since they were read (a new run)
  };
  // Looks once at every curve's data file. A file that only grew adds its new whole rows to the
  // curves that reach its end; a file written anew is named once and left alone until the curves
  // are read again.
  Outcome Poll(TPlotInfo& info);
  // Every file is looked at afresh (after the curves were read again).
  void Reset() { rewritten_.clear(); }

 private:
  std::set<std::string> rewritten_;
};

// Reads the data files of the curves again: each curve takes its columns (by name) from its file
// anew, to the file's last row when it reached the end before, else up to the row it ended at.
// Axis ranges that were the proposed ones become the proposal for the new values; everything else
// stays. Returns the messages of files and columns that could not be read ("" when none); their
// curves keep their values.
std::string ReloadCurves(TPlotInfo& info);

// Whether `axis` is the range proposed for the values `extent` gives on it.
bool IsProposedX(const AxisRange& axis, const DataExtent& extent);
bool IsProposedY(const AxisRange& axis, const DataExtent& extent);

}  // namespace tal
