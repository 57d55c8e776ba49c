#pragma once
// The update that settles a step whose feedback loops plain substitution cannot settle (a loop
// gain above 1 makes each pass overshoot further). A pass over the deck maps the loop's values x
// (the values read before they are computed in that pass) to new ones g = G(x); the step's answer
// is where G(x) = x. From the last few passes the accelerator proposes the values the next pass
// starts from: Anderson's multisecant update, which with one pass of history is the secant method
// on the loop, so a linear loop is solved exactly by the third pass.
#include <cstddef>
#include <vector>

namespace talpix {

class LoopAccelerator {
 public:
  // Passes remembered: enough for a few coupled loops, few enough to stay well conditioned.
  static constexpr std::size_t Memory = 5;

  // Forgets the passes seen; loops of `size` values follow.
  void reset(std::size_t size);
  // Takes a pass that started from `x` and produced `g`, and writes the values the next pass
  // starts from into `next`. Returns false when it proposes plain substitution (next = g).
  bool propose(const double* x, const double* g, double* next);

 private:
  // Coefficients of the history columns that best cancel the residual `f`, in the norm of the
  // convergence test (each value relative to its size, absolute below 1).
  std::vector<double> bestCombination(const std::vector<double>& f, const double* g) const;

  std::size_t size_ = 0;
  bool started_ = false;
  std::vector<double> lastF_, lastG_;
  std::vector<std::vector<double>> residualSteps_, resultSteps_;  // oldest first
};

}  // namespace talpix
