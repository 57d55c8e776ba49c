#pragma once
// Axis scaling of the Plot Setup dialog: round axis ranges, a number of intervals and a number of
// decimals proposed for the data range of the chosen columns.
#include <string>

#include "support/Numbers.h"

namespace tal {

struct AxisProposal {
  Real Min = 1.0e60L;
  Real Max = -1.0e60L;
  // Unset for a degenerate range (no column chosen, a constant column, infinite values): the
  // fields then keep what they showed.
  bool HasTicks = false;
  int Ticks = 0;
  int Digits = 0;
};

// The proposal for data from `dataMin` to `dataMax` (1.0e60 and -1.0e60 when no column is chosen).
AxisProposal ScaleMinMax(Real dataMin, Real dataMax);

// The text a range field shows for a proposed end: the automatic format for Digits + 1 digits.
std::string ProposedRangeText(Real value, int digits);

}  // namespace tal
