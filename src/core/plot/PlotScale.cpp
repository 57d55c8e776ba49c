#include "plot/PlotScale.h"

#include <cmath>

namespace tal {

AxisProposal ScaleMinMax(Real dataMin, Real dataMax) {
  AxisProposal p;
  p.Min = dataMin;
  p.Max = dataMax;
  Real d = p.Max - p.Min;
  // Degenerate ranges: infinite values, a constant column (widened by a half to each side so it
  // still draws), no column at all (the range stays inverted).
  if (d == 9.99e99L || d == 1.0e99L || !std::isfinite(d)) return p;
  if (std::fabs(d) < 1.0e-9L) {
    p.Min -= 0.5L;
    p.Max += 0.5L;
    return p;
  }
  if (d < 0) return p;

  const Real e = std::trunc(std::log10(d));
  Real step = std::pow(10.0L, e);
  if (0.2L * step > d)
    step = 0.2L * step;
  else if (0.5L * step > d)
    step = 0.5L * step;

  p.Min = std::trunc(p.Min / step) * step;
  while (p.Min > dataMin) p.Min -= step;
  p.Max = std::trunc((p.Max + 0.99L * step) / step) * step;
  while (p.Max < dataMax) p.Max += step;

  Real x = (p.Max - p.Min) / step;
  while (x < 10) x *= 10;
  int ticks = 5;
  for (int n = 9; n >= 3; --n) {
    if (std::fabs(std::nearbyint(x / n) * n - x) < 1.0e-6L) {
      ticks = n;
      break;
    }
  }

  int digits = 3;
  Real t = (p.Max - p.Min) / ticks;
  Real g = std::nearbyint(std::log10(t));
  if (std::fabs(e) < 5) digits = g > 0 ? 0 : static_cast<int>(1 - g);

  int passes = 0;
  // Trimming: intervals at either end that hold no data are cut off, pass by pass.
  // Each cut shrinks the range; the pass limit only guards against rounding that never settles.
  for (bool changed = true; changed && passes < 1000; ++passes) {
    changed = false;
    if (ticks == 5) {
      ticks = 10;
      changed = true;
    }
    Real top = p.Min + (p.Max - p.Min) * (ticks - 1) / ticks;
    if (!(dataMax > top)) {
      --ticks;
      if (ticks < 5) ticks *= 2;
      p.Max = top;
      changed = true;
    }
    Real bottom = p.Min + (p.Max - p.Min) / ticks;
    if (!(dataMin < bottom)) {
      --ticks;
      p.Min = bottom;
      if (ticks < 5) ticks *= 2;
      changed = true;
    }
  }
  p.HasTicks = true;
  p.Ticks = ticks;
  p.Digits = digits;
  return p;
}

std::string ProposedRangeText(Real value, int digits) { return FormatReal(ChooseRealFormat(digits + 1, value), value); }

}  // namespace tal
