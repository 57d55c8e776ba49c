#pragma once
// Sets a deck up for running and runs it: each step evaluates the equations and units in deck
// order and iterates until no value changes by more than the tolerance (by plain substitution,
// and where that does not settle, again from the step's start with secant updates on the values
// of its feedback loops); derivatives are integrated with the exponential method (exact for
// dx/dt = a + b*x over the step, so stable for any step however stiff a thermal mass is).
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Deck.h"
#include "EngineFiles.h"
#include "Expression.h"
#include "LoopAccelerator.h"
#include "UnitTypes.h"

namespace talpix {

inline constexpr double DefaultTolerance = 1e-6;
inline constexpr int DefaultIterationLimit = 50;
// Listing lines of convergence warnings and of each unit's TRACE before they are only counted.
inline constexpr int MessageLimit = 20;
inline constexpr int TraceLineLimit = 500;
// Equations and unit outputs beyond this size (or not numbers) stop the run: no quantity of a
// deck is that large, so the value comes from a runaway loop or a fault.
inline constexpr double ValueLimit = 1e30;

struct RunSummary {
  long steps = 0;
  long iterations = 0;
  int mostIterations = 0;
  long unconvergedSteps = 0;
  double firstUnconverged = 0;  // time of the first step that did not converge
  double seconds = 0;
  std::vector<std::string> files;  // result files written
  bool stopped = false;            // ended from outside (RunControl) after the step at stoppedAt
  double stoppedAt = 0;
};

// What may end a run before its stop time: a flag a signal handler sets, or (for fuzzing) a number
// of steps. Either way the step under way ends and the result files are closed whole.
// Least time between two reports of a run's progress, at each of which the result files are
// brought up to date (whole rows only).
inline constexpr double ReportSeconds = 0.25;

struct RunControl {
  const volatile std::sig_atomic_t* stopRequested = nullptr;
  long stepLimit = -1;  // steps after the start time; -1 none
  // Least time between two reports of the run's progress ("progress TIME START STOP" lines).
  double progressSeconds = ReportSeconds;
};

class Simulation {
 public:
  // `deckFolder` resolves the files of ASSIGN lines; `deckBase` (folder and name without
  // extension) names the default result files.
  Simulation(const Deck& deck, std::string deckFolder, std::string deckBase, std::vector<Diagnostic>& diagnostics);
  ~Simulation();

  // Compiles and checks everything and reads the files the units read; false after reporting
  // errors. Nothing is written yet.
  bool build();
  // The files the units read and write, known after build().
  const std::vector<FileUse>& fileUses() const { return fileUses_; }
  // Opens the files the units write; false after reporting errors.
  bool openResults();
  // Runs from start to stop, or until `control` ends it. False after a run-time error (reported
  // with its line and time).
  bool run(RunSummary& summary, const RunControl& control = {});
  // Called with the simulated time reached at most every `progressSeconds` of the control during
  // run(), once the result files hold every row so far, and once at its end.
  void onProgress(std::function<void(double time)> report) { progress_ = std::move(report); }

  // Lines of the run section of the listing (traces, convergence warnings).
  const std::vector<std::string>& runLines() const { return runLines_; }
  double start() const { return start_; }
  double stop() const { return stop_; }
  double step() const { return step_; }
  long stepCount() const { return steps_; }
  double tolerance() const { return tolerance_; }
  int iterationLimit() const { return iterationLimit_; }

 private:
  struct Unit;
  struct Fault {
    int line = 0;
    std::string text;
  };
  struct OutputRef {
    int unit;  // deck unit number
    int output;
    int slot;
    int line;  // first line that names it
  };

  void error(int line, std::string text);
  void warning(int line, std::string text);
  Expression compile(const std::string& text, int line, std::string& why);
  bool staticSlot(int slot, std::string& why);
  bool staticValue(const std::string& text, int line, const std::string& what, double& value);
  bool buildUnit(int index);
  void findLoopValues();
  bool doStep(double time, double dt, RunSummary& summary);
  bool substitute(double time, double dt, int& passes, std::size_t& worst);
  bool accelerate(double time, double dt, int& passes, std::size_t& worst, Fault& fault);
  struct ItemTrack {
    Unit* unit = nullptr;          // the unit computed, or nullptr for an equation
    int equation = 0;              // the definition an equation computes
    std::vector<int> reads;        // tracked values the item reads
    bool stale = true;             // whether a value it reads changed since it was last computed (or
                                   // always, when it is not repeatable)
    bool repeatable = true;
  };
  void findItemReads();
  void took(std::size_t tracked, double before, double now);
  bool evaluateEquation(int index, double time, Fault& fault);
  bool computeUnit(Unit& u, double time, double dt, int iteration, bool mirrorsFollow, Fault& fault);
  Fault outputFault(const Unit& u, int output, double time, double value) const;
  Fault equationFault(int index, double time, const char* error, double value) const;
  // A step's first pass of substitution computes every item; the next ones only the items whose
  // reads changed; the passes of a second solution compute every item and find the worst value.
  enum class PassKind { Substitute, SubstituteAgain, SecondSolution };
  bool pass(double time, double dt, int iteration, Fault& fault, PassKind kind);
  void rememberValues(std::vector<double>& into) const;
  bool settled(std::size_t& worst) const;
  double loopMove() const;
  void readLoop(std::vector<double>& loop) const;
  void writeLoop(const std::vector<double>& loop);
  void report(double time);
  void resolveInputs();
  void gatherInputs(const Unit& u, double* in) const;
  std::string trackedName(std::size_t index) const;
  void traceUnit(const Unit& u, double time);

  const Deck& deck_;
  std::string folder_, base_;
  std::vector<Diagnostic>& diags_;
  bool failed_ = false;

  std::vector<double> values_;          // 0: TIME, then definitions, then referenced unit outputs
  std::vector<Expression> expressions_;  // per definition
  std::vector<int> staticState_;         // per definition: 0 unknown, 1 visiting, 2 static, 3 not
  std::vector<OutputRef> refs_;
  std::unordered_map<std::string, int> nameSlots_;  // definition name -> value index
  std::map<std::pair<int, int>, int> outputSlots_;   // [unit,output] -> value index
  std::vector<std::unique_ptr<Unit>> units_;
  std::vector<Unit*> stepBeginners_;  // in deck order, the units with states whose beginStep does work
  std::vector<Unit*> stepEnders_;     // in deck order, the units whose endStep does work or that trace
  std::vector<double> outputs_, stateStart_, stateEnd_;
  // How far the last pass moved what it computed, measured as it went: each value's change
  // relative to its size (absolute below 1). The worst is the value that moved most, the first
  // in the order of the tracked values (TIME and definitions, referenced outputs, every unit
  // output, every derivative) among equals. Only the passes of a second solution look for it: a
  // step that does not converge names the worst of its second solution's last pass. The other
  // passes only ask whether they settled, which the first value that moved too far answers.
  struct PassMove {
    PassMove(double tolerance = DefaultTolerance, bool findWorst = false)
        : tolerance(tolerance), halfTolerance(0.5 * tolerance), findWorst(findWorst) {}
    double tolerance, halfTolerance;
    bool findWorst;
    bool settled = true;
    bool measuring = true;  // settled, or looking for the worst: whether a change still counts
    double largest = 0;
    std::size_t worst = 0;  // index of the tracked value that moved most
    void Take(std::size_t tracked, double before, double now) {
      if (!measuring) return;
      const double size = std::max(1.0, std::fabs(now)), distance = std::fabs(now - before);
      // A change of at most half the tolerance neither unsettles the pass nor can be the worst of
      // a pass that is not settled (whose worst exceeds the tolerance): spare the division.
      if (distance <= halfTolerance * size) return;
      const double change = distance / size;
      if (change > tolerance) {
        settled = false;
        measuring = findWorst;
      }
      if (!findWorst) return;
      if (change > largest || (change == largest && change > 0 && tracked < worst)) {
        largest = change;
        worst = tracked;
      }
    }
  };
  PassMove move_;
  // The items a pass computes and what each reads; per tracked value, the items that read it.
  std::vector<ItemTrack> items_;
  std::vector<int> readerStart_;
  std::vector<bool*> readerMarks_;  // the `stale` of each reader
  // Whether every value that mirrors a unit output holds the output's bits: so after any pass that
  // computed every unit, until a second solution writes its proposed loop values.
  bool mirrorsFollowOutputs_ = true;
  std::vector<double> stepStart_;      // where a step's second solution starts
  std::vector<int> loopSlots_;  // values read in a pass before the pass computes them
  LoopAccelerator accelerator_;
  std::vector<double> loopStart_, loopResult_, loopNext_, bestStart_, bestResult_;
  std::vector<std::string> runLines_;
  std::vector<FileUse> fileUses_;
  double start_ = 0, stop_ = 0, step_ = 1, tolerance_ = DefaultTolerance;
  int iterationLimit_ = DefaultIterationLimit;
  long steps_ = 0;
  int printers_ = 0, plotWriters_ = 0, firstPlotWriter_ = 0;
  std::string traceContext_;
  std::function<void(double)> progress_;
};

}  // namespace talpix
