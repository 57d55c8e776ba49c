#pragma once
// The unit types of the sample engine. Each type reads its parameters once, then computes its
// outputs from its inputs as often as the solver iterates; a type with derivatives describes
// them as dx/dt = a + b*x so that the solver can integrate them exactly over a step.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace talpix {

struct Diagnostic;

// What a unit learns when the run is set up.
struct UnitSetup {
  int unitNumber = 0;
  int cardLine = 0;
  std::vector<double> parameters;
  std::vector<int> parameterLines;
  int inputCount = 0;
  std::vector<std::string> labels;      // printers and plot writers: the initial values as written
  std::vector<int> labelLines;
  std::vector<std::string> inputUnits;  // unit of what each input is connected to ("-" unknown)
  double start = 0, stop = 0, step = 1;  // the simulation card
  // The file a printer (false) or the plot writer (true) writes when no logical unit names one:
  // DECK.OUT for the first printer, DECK.OU2, DECK.OU3 ... for the next, DECK.PLT.
  std::function<std::string(bool plot)> resultFile;
  // The file assigned to a logical unit (resolved beside the deck), or "" after reporting.
  std::function<std::string(int logicalUnit, int line, bool forReading)> assignedFile;
  std::function<void(int line, std::string text)> error;
  std::function<void(int line, std::string text)> warning;
};

class UnitModel {
 public:
  virtual ~UnitModel() = default;
  // Checks the parameters and reads the files the unit reads; reports every fault and returns
  // false after any. Files it writes are named here (resultFile, assignedFile) and opened by open().
  virtual bool setup(UnitSetup& s) = 0;
  virtual int outputCount() const = 0;
  virtual std::string outputUnit(int index) const { return "-"; }
  virtual int derivativeCount() const { return 0; }
  // Whether the deck must give DERIVATIVES (otherwise their initial values are 0).
  virtual bool derivativesRequired() const { return derivativeCount() > 0; }
  // Opens the files the unit writes, once every file of the run is known to be a file of its
  // own. Reports through the error of its setup and returns false after any fault.
  virtual bool open() { return true; }
  // At the start of a step, before its iterations: may change the state it starts from. Called
  // only on the units with states whose beginsSteps() is true.
  virtual void beginStep(double stepStart, double* state) {}
  virtual bool beginsSteps() const { return false; }
  // dx/dt = a + b*x for each derivative, from the inputs and the current estimate of x.
  virtual void derivatives(double time, const double* in, const double* x, double* a, double* b) const {}
  // Whether derivatives() reads the estimate x. A type whose a and b come from its inputs alone
  // returns false: its states then follow from its inputs and the step's start, and a pass
  // computes it again only when an input changed.
  virtual bool derivativesReadState() const { return true; }
  // Outputs at `time` from the inputs and the state at the end of the step. `iteration` counts
  // the iterations of this step from 1.
  virtual void compute(double time, const double* in, const double* x, double* out, int iteration) = 0;
  // Whether compute gives the same outputs again within a step for the same inputs and state, so
  // that an iteration may keep them when neither changed. A type whose outputs move on their own
  // from one iteration to the next returns false.
  virtual bool repeatable() const { return true; }
  // After the step converged: commit memory, write rows. False with `error` stops the run.
  // Called only on the units whose endsSteps() is true (a run calls it on few of its units).
  virtual bool endStep(double time, const double* in, const double* out, std::string& error) { return true; }
  virtual bool endsSteps() const { return false; }
  // Now and then during the run: hand the rows written so far to the system, so that a viewer or
  // plot of the file can follow the run.
  virtual void flush() {}
  // At the end of the run (also after a failed one): close files.
  virtual bool finish(std::string& error) { return true; }
  // Files the unit wrote, for the run summary.
  virtual std::vector<std::string> writtenFiles() const { return {}; }
};

struct TypeInfo {
  int type;
  const char* name;
  int parameters;
  int inputs;  // -1: any number from 1
  bool labels;  // initial values of the inputs are column labels
  std::function<std::unique_ptr<UnitModel>()> create;
};

// The type of that number, or nullptr.
const TypeInfo* FindType(int type);
// "1, 2, 3, ..." for messages.
std::string KnownTypeList();

// Largest number of inputs a printer or plot writer takes: with TIME they fill the 25 columns
// that plots read.
inline constexpr int ColumnInputLimit = 24;

// Iterations after which an on/off controller keeps its output for the rest of the step, so
// that a switch near its band cannot keep the step from converging.
inline constexpr int ControllerStickIterations = 5;

// A data reader refuses a line longer than this, and a file of more numbers than it keeps.
inline constexpr std::size_t DataLineLimit = 1 << 20;
inline constexpr std::size_t DataValueLimit = 1 << 24;

// Formats x as the plot and output files write numbers: 2.854907E+01. Writes at most 16 chars,
// returns their count.
int FormatResultNumber(double x, char* out);

}  // namespace talpix
