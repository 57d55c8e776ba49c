#include "LoopAccelerator.h"

#include <algorithm>
#include <cmath>

namespace talpix {

namespace {

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
  double s = 0;
  for (std::size_t i = 0; i < a.size(); ++i) s += a[i] * b[i];
  return s;
}

// A history column whose part not explained by the newer ones is below this share of its size
// is left out: near a kink of the loop (MIN, MAX, a clamped gain) or near convergence such a
// part is noise, and the combination would amplify it into a wild proposal.
constexpr double DependentColumn = 1e-4;

}  // namespace

void LoopAccelerator::reset(std::size_t size) {
  size_ = size;
  started_ = false;
  residualSteps_.clear();
  resultSteps_.clear();
}

bool LoopAccelerator::propose(const double* x, const double* g, double* next) {
  std::vector<double> f(size_);
  for (std::size_t i = 0; i < size_; ++i) f[i] = g[i] - x[i];
  if (started_) {
    std::vector<double> df(size_), dg(size_);
    for (std::size_t i = 0; i < size_; ++i) {
      df[i] = f[i] - lastF_[i];
      dg[i] = g[i] - lastG_[i];
    }
    residualSteps_.push_back(std::move(df));
    resultSteps_.push_back(std::move(dg));
    if (residualSteps_.size() > Memory) {
      residualSteps_.erase(residualSteps_.begin());
      resultSteps_.erase(resultSteps_.begin());
    }
  }
  started_ = true;
  lastF_ = f;
  lastG_.assign(g, g + size_);

  std::copy(g, g + size_, next);
  if (residualSteps_.empty()) return false;
  std::vector<double> gamma = bestCombination(f, g);
  for (std::size_t j = 0; j < gamma.size(); ++j)
    for (std::size_t i = 0; i < size_; ++i) next[i] -= gamma[j] * resultSteps_[j][i];
  if (std::all_of(next, next + size_, [](double v) { return std::isfinite(v); })) return true;
  // A degenerate history: start again from plain substitution.
  std::copy(g, g + size_, next);
  reset(size_);
  return false;
}

std::vector<double> LoopAccelerator::bestCombination(const std::vector<double>& f, const double* g) const {
  // Least squares min |W (f - dF gamma)| by modified Gram-Schmidt, the newest column first so that
  // an old column repeating newer ones is the one left out.
  const std::size_t m = residualSteps_.size();
  std::vector<double> weight(size_);
  for (std::size_t i = 0; i < size_; ++i) weight[i] = 1 / std::max(1.0, std::fabs(g[i]));
  std::vector<std::vector<double>> q;  // orthonormal columns kept
  std::vector<std::size_t> column;     // the history column of each
  std::vector<std::vector<double>> r(m, std::vector<double>(m, 0.0));
  for (std::size_t k = 0; k < m; ++k) {
    std::size_t j = m - 1 - k;
    std::vector<double> v(size_);
    for (std::size_t i = 0; i < size_; ++i) v[i] = weight[i] * residualSteps_[j][i];
    double size = std::sqrt(Dot(v, v));
    for (std::size_t p = 0; p < q.size(); ++p) {
      r[p][q.size()] = Dot(q[p], v);
      for (std::size_t i = 0; i < size_; ++i) v[i] -= r[p][q.size()] * q[p][i];
    }
    double left = std::sqrt(Dot(v, v));
    if (!(size > 0) || !(left > DependentColumn * size)) continue;
    for (double& e : v) e /= left;
    r[q.size()][q.size()] = left;
    q.push_back(std::move(v));
    column.push_back(j);
  }
  std::vector<double> wf(size_);
  for (std::size_t i = 0; i < size_; ++i) wf[i] = weight[i] * f[i];
  const std::size_t n = q.size();
  std::vector<double> c(n), y(n);
  for (std::size_t p = 0; p < n; ++p) c[p] = Dot(q[p], wf);
  for (std::size_t p = n; p-- > 0;) {
    double s = c[p];
    for (std::size_t t = p + 1; t < n; ++t) s -= r[p][t] * y[t];
    y[p] = s / r[p][p];
  }
  std::vector<double> gamma(m, 0.0);
  for (std::size_t p = 0; p < n; ++p) gamma[column[p]] = y[p];
  return gamma;
}

}  // namespace talpix
