#include "Simulation.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

#include <time.h>

#include "EngineFiles.h"

namespace talpix {

namespace {

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

// x at the end of a step of length dt for dx/dt = a + b*x: exact whatever the sign and size of
// b*dt, so a stiff mass (b*dt far below -1) settles instead of oscillating. The factor of the
// last b*dt is kept per state and computed again only when b*dt changes (a mass of fixed capacity
// and loss repeats it every pass and step): the same bits as computing it every time.
struct AdvanceFactor {
  double z = 0, phi = 1.0;
  double advance(double x0, double a, double b, double dt) {
    const double next = b * dt;
    if (next != z) {
      z = next;
      phi = z == 0 ? 1.0 : std::expm1(z) / z;
    }
    return x0 + (a + b * x0) * dt * phi;
  }
};

// Seconds on a clock that is cheap enough to read at every step and fine enough (a few
// milliseconds) to space the reports of a run's progress.
double CoarseSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool InRange(double v) { return std::fabs(v) <= ValueLimit; }  // false for NaN

// Why a value is out of range, after its name.
std::string OutOfRange(double v) {
  if (std::isnan(v)) return "is not a number";
  if (std::isinf(v)) return "is infinite";
  return "is " + Number(v) + ", beyond 1E30 in size";
}

bool ParseInt(const std::string& s, int& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  long r = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0' || r < -1000000 || r > 1000000) return false;
  v = static_cast<int>(r);
  return true;
}

}  // namespace

struct Simulation::Unit {
  const UnitCard* card = nullptr;
  const TypeInfo* type = nullptr;
  std::unique_ptr<UnitModel> model;
  struct Input {
    int slot = -1;  // value index, or -1 for a constant input
    double constant = 0;
    int sourceUnit = 0, sourceOutput = 0;
  };
  std::vector<Input> inputs;
  std::vector<const double*> sources;  // per input, where its value is read: a value or its constant
  // What a pass reads of the unit at every computing: set with `sources`, once the arrays of
  // values, outputs and states no longer grow.
  int inputCount = 0;
  double* stateAt = nullptr;          // its states at the end of the step
  const double* stateFrom = nullptr;  // and at its start
  double* outputAt = nullptr;
  std::size_t outputTracked = 0, stateTracked = 0;  // the first output's and state's index among the tracked values
  std::vector<AdvanceFactor> factors;  // per state
  std::vector<double> derivativeInitials;
  int outputOffset = 0, outputCount = 0;
  int stateOffset = 0, stateCount = 0;
  std::vector<int> mirrorSlots;  // per output, the value index that mirrors it, or -1
  std::vector<double> fresh;                 // the outputs a compute writes, before they are taken
  bool trace = false;
  double traceFrom = -HUGE_VAL, traceTo = HUGE_VAL;
  int traceLines = 0;
  mutable std::vector<double> in, a, b;
};

Simulation::Simulation(const Deck& deck, std::string deckFolder, std::string deckBase, std::vector<Diagnostic>& diagnostics)
    : deck_(deck), folder_(std::move(deckFolder)), base_(std::move(deckBase)), diags_(diagnostics) {}

Simulation::~Simulation() = default;

void Simulation::error(int line, std::string text) {
  failed_ = true;
  diags_.push_back({line, true, std::move(text)});
}

void Simulation::warning(int line, std::string text) { diags_.push_back({line, false, std::move(text)}); }

Expression Simulation::compile(const std::string& text, int line, std::string& why) {
  Expression::Resolver resolver;
  resolver.name = [&](const std::string& name, std::string& err) -> int {
    if (name == "TIME") return 0;
    if (auto it = nameSlots_.find(name); it != nameSlots_.end()) return it->second;
    err = "unknown name " + name;
    return -1;
  };
  resolver.output = [&](int unit, int output, std::string&) -> int {
    auto [it, fresh] = outputSlots_.emplace(std::make_pair(unit, output), static_cast<int>(values_.size()));
    if (fresh) {
      values_.push_back(0);
      refs_.push_back({unit, output, it->second, line});
    }
    return it->second;
  };
  return Expression::Compile(text, resolver, why);
}

// Whether the value at `slot` is fixed before the run, computing it (and every constant it needs,
// in dependency order) when it is. The walk keeps its own stack, so a chain of any length of
// constants each naming the next is computed without deep recursion.
bool Simulation::staticSlot(int slot, std::string& why) {
  struct Visit {
    int definition;
    std::size_t nextRead = 0;
  };
  std::vector<Visit> path;
  // Starts the visit of the value at `s`: 1 when pushed, 0 when already computed, -1 when it
  // cannot be computed before the run (with `why`).
  auto enter = [&](int s) -> int {
    if (s == 0) {
      why = "TIME changes during the run";
      return -1;
    }
    int d = s - 1;
    if (d >= static_cast<int>(deck_.definitions.size())) {
      why = "unit outputs change during the run";
      return -1;
    }
    const Definition& def = deck_.definitions[d];
    switch (staticState_[d]) {
      case 2: return 0;
      case 3: why = def.name + " changes during the run or has an error"; return -1;
      case 1: why = def.name + " depends on itself"; return -1;
      default: break;
    }
    if (expressions_[d].empty()) {
      staticState_[d] = 3;
      why = def.name + " has an error";
      return -1;
    }
    staticState_[d] = 1;
    path.push_back({d});
    return 1;
  };
  auto fail = [&] {
    for (const Visit& v : path) staticState_[v.definition] = 3;
    return false;
  };
  int entered = enter(slot);
  if (entered <= 0) return entered == 0;
  while (!path.empty()) {
    const int d = path.back().definition;
    const std::vector<int>& reads = expressions_[d].reads();
    if (path.back().nextRead < reads.size()) {
      if (enter(reads[path.back().nextRead++]) < 0) return fail();
      continue;
    }
    const Definition& def = deck_.definitions[d];
    const char* err = nullptr;
    double v = expressions_[d].evaluate(values_.data(), err);
    if (err) {
      error(def.line, def.name + ": " + err);
      why = def.name + " has an error";
      return fail();
    }
    values_[d + 1] = v;
    staticState_[d] = 2;
    path.pop_back();
  }
  return true;
}

bool Simulation::staticValue(const std::string& text, int line, const std::string& what, double& value) {
  std::string why;
  Expression e = compile(text, line, why);
  if (e.empty()) {
    error(line, what + " \"" + text + "\": " + why);
    return false;
  }
  for (int r : e.reads()) {
    if (!staticSlot(r, why)) {
      error(line, what + " \"" + text + "\" must be a number or a constant: " + why);
      return false;
    }
  }
  const char* err = nullptr;
  value = e.evaluate(values_.data(), err);
  if (err) {
    error(line, what + " \"" + text + "\": " + err);
    return false;
  }
  return true;
}

bool Simulation::build() {
  values_.assign(1 + deck_.definitions.size(), 0.0);
  nameSlots_.reserve(deck_.definitions.size());
  for (std::size_t d = 0; d < deck_.definitions.size(); ++d) nameSlots_.emplace(deck_.definitions[d].name, static_cast<int>(d + 1));
  expressions_.resize(deck_.definitions.size());
  staticState_.assign(deck_.definitions.size(), 0);
  for (std::size_t d = 0; d < deck_.definitions.size(); ++d) {
    const Definition& def = deck_.definitions[d];
    std::string why;
    expressions_[d] = compile(def.expression, def.line, why);
    if (expressions_[d].empty()) error(def.line, def.name + "=" + def.expression + ": " + why);
  }
  for (std::size_t d = 0; d < deck_.definitions.size(); ++d) {
    const Definition& def = deck_.definitions[d];
    std::string why;
    if (def.constant && !expressions_[d].empty() && !staticSlot(static_cast<int>(d + 1), why) && staticState_[d] != 2)
      if (why.find("has an error") == std::string::npos)
        error(def.line, "the constant " + def.name + " cannot be computed before the run: " + why);
  }

  // Solver settings: constants of the deck, with defaults.
  for (std::size_t d = 0; d < deck_.definitions.size(); ++d) {
    const Definition& def = deck_.definitions[d];
    std::string why;
    if (def.name != "TOLERANCE" && def.name != "MAXITER") continue;
    if (!staticSlot(static_cast<int>(d + 1), why)) {
      error(def.line, def.name + " must not change during the run");
      continue;
    }
    double v = values_[d + 1];
    if (def.name == "TOLERANCE") {
      if (!(v > 0 && v < 1)) error(def.line, "TOLERANCE must lie between 0 and 1 (it is relative)");
      else tolerance_ = v;
    } else {
      if (!(v >= 1 && v <= 10000 && std::floor(v) == v)) error(def.line, "MAXITER must be a whole number from 1 to 10000");
      else iterationLimit_ = static_cast<int>(v);
    }
  }

  // The simulation card.
  if (deck_.simulation.size() == 3) {
    int line = deck_.simulationLine;
    bool ok = staticValue(deck_.simulation[0].text, line, "the start time", start_);
    ok = staticValue(deck_.simulation[1].text, line, "the stop time", stop_) && ok;
    ok = staticValue(deck_.simulation[2].text, line, "the time step", step_) && ok;
    if (ok) {
      if (!(step_ > 0)) error(line, "the time step must be above 0");
      else if (stop_ < start_) error(line, "the stop time " + Number(stop_) + " lies before the start time " + Number(start_));
      else if ((stop_ - start_) / step_ > 2e9) error(line, "the run would take more than 2,000,000,000 steps");
      else {
        steps_ = static_cast<long>(std::floor((stop_ - start_) / step_ + 1e-6));
        double end = start_ + steps_ * step_;
        if (std::fabs(end - stop_) > 1e-6 * step_)
          warning(line, "the stop time is not a whole number of steps from the start: the run ends at " + Number(end));
      }
    }
  }

  // Units: those whose inputs' units others need come first, printers and plot writers last.
  units_.resize(deck_.units.size());
  for (int pass = 0; pass < 3; ++pass) {
    for (std::size_t i = 0; i < deck_.units.size(); ++i) {
      int t = deck_.units[i].type;
      int wanted = t == 24 ? 1 : (t == 25 || t == 65) ? 2 : 0;
      if (wanted == pass) buildUnit(static_cast<int>(i));
    }
  }

  // Every unit output named by an equation or a connection must exist.
  for (const auto& r : refs_) {
    auto it = std::find_if(units_.begin(), units_.end(), [&](const auto& u) { return u && u->card->number == r.unit; });
    bool exists = std::any_of(deck_.units.begin(), deck_.units.end(), [&](const UnitCard& c) { return c.number == r.unit; });
    if (!exists) {
      error(r.line, "[" + std::to_string(r.unit) + "," + std::to_string(r.output) + "]: the deck has no unit " + std::to_string(r.unit));
      continue;
    }
    if (it == units_.end()) continue;  // that unit has errors of its own
    Unit& u = **it;
    if (r.output < 1 || r.output > u.outputCount) {
      error(r.line, "[" + std::to_string(r.unit) + "," + std::to_string(r.output) + "]: unit " + std::to_string(r.unit) +
                        " (" + u.type->name + ") has " + std::to_string(u.outputCount) + " output" + (u.outputCount == 1 ? "" : "s"));
      continue;
    }
    u.mirrorSlots[r.output - 1] = r.slot;
  }
  if (!failed_) {
    findLoopValues();
    findItemReads();
    resolveInputs();
  }
  return !failed_;
}

bool Simulation::buildUnit(int index) {
  const UnitCard& card = deck_.units[index];
  const std::string who = "unit " + std::to_string(card.number);
  const TypeInfo* type = FindType(card.type);
  if (!type) {
    error(card.line, who + ": TYPE " + std::to_string(card.type) + " is not known; the types are " + KnownTypeList());
    return false;
  }
  bool ok = true;
  if (static_cast<int>(card.parameters.size()) != type->parameters) {
    error(card.line, who + " (" + type->name + ") takes " + std::to_string(type->parameters) + " parameters; the deck gives " +
                         std::to_string(card.parameters.size()));
    ok = false;
  }
  int inputs = static_cast<int>(card.connections.size());
  if (type->inputs >= 0 && inputs != type->inputs) {
    error(card.line, who + " (" + type->name + ") takes " + std::to_string(type->inputs) + " inputs; the deck gives " + std::to_string(inputs));
    ok = false;
  } else if (type->inputs < 0 && inputs < 1) {
    error(card.line, who + " (" + type->name + ") needs at least one input (INPUTS n)");
    ok = false;
  }
  if (!ok) return false;

  auto u = std::make_unique<Unit>();
  u->card = &card;
  u->type = type;
  u->model = type->create();
  UnitSetup setup;
  setup.unitNumber = card.number;
  setup.cardLine = card.line;
  for (std::size_t k = 0; k < card.parameters.size(); ++k) {
    double v = 0;
    if (!staticValue(card.parameters[k].text, card.parameters[k].line, who + " parameter " + std::to_string(k + 1), v)) ok = false;
    setup.parameters.push_back(v);
    setup.parameterLines.push_back(card.parameters[k].line);
  }
  setup.inputCount = inputs;
  for (int k = 0; k < inputs; ++k) {
    const Word& c = card.connections[k];
    const Word& init = card.initialValues[k];
    Unit::Input in;
    std::string unitText = "-";
    std::size_t comma = c.text.find(',');
    if (comma != std::string::npos) {
      int su = 0, so = 0;
      if (!ParseInt(c.text.substr(0, comma), su) || !ParseInt(c.text.substr(comma + 1), so) || su < 0 || so < 0 ||
          (su == 0) != (so == 0)) {
        error(c.line, who + " input " + std::to_string(k + 1) + ": \"" + c.text +
                          "\" is not a connection (unit,output as in 3,1, or 0,0 for the initial value)");
        ok = false;
      } else if (su > 0) {
        std::string why;
        Expression output = compile("[" + std::to_string(su) + "," + std::to_string(so) + "]", c.line, why);
        if (!output.empty()) in.slot = output.reads()[0];
        in.sourceUnit = su;
        in.sourceOutput = so;
        for (const auto& other : units_)
          if (other && other->card->number == su && so <= other->outputCount) unitText = other->model->outputUnit(so - 1);
      }
    } else {
      std::string why;
      Expression e = compile(c.text, c.line, why);
      // Only a name itself connects: "2*QHOUSE" or "-QHOUSE" would be taken for QHOUSE.
      if (e.empty() || !e.isName()) {
        error(c.line, who + " input " + std::to_string(k + 1) + ": \"" + c.text + "\" " +
                          (why.empty() ? "is not a connection (unit,output, 0,0, or a name)" : why));
        ok = false;
      } else {
        in.slot = e.reads()[0];
      }
    }
    if (type->labels) {
      setup.labels.push_back(init.text);
      setup.labelLines.push_back(init.line);
    } else if (in.slot < 0) {
      if (!staticValue(init.text, init.line, who + " initial value of input " + std::to_string(k + 1), in.constant)) ok = false;
    } else {
      double ignored = 0;  // checked, though a connected input takes its value from the connection
      if (!staticValue(init.text, init.line, who + " initial value of input " + std::to_string(k + 1), ignored)) ok = false;
    }
    setup.inputUnits.push_back(unitText);
    u->inputs.push_back(in);
  }
  if (!ok) return false;

  setup.start = start_;
  setup.stop = stop_;
  setup.step = step_;
  setup.error = [this](int line, std::string text) { error(line, std::move(text)); };
  setup.warning = [this](int line, std::string text) { warning(line, std::move(text)); };
  setup.assignedFile = [this, who](int lu, int line, bool reading) -> std::string {
    for (const auto& a : deck_.assignments) {
      if (a.logicalUnit != lu) continue;
      std::string path = ResolveDeckFile(folder_, a.file, reading);
      std::string what = std::string(reading ? "the data file of " : "the output file of ") + who +
                         " (logical unit " + std::to_string(lu) + ", ASSIGN in line " + std::to_string(a.line) + ")";
      fileUses_.push_back({path, !reading, what, a.line, true});
      return path;
    }
    error(line, who + ": no ASSIGN line gives a file to logical unit " + std::to_string(lu));
    return {};
  };
  setup.resultFile = [this, who, &card](bool plot) {
    std::string path;
    if (plot) {
      path = ResultFileName(base_, ".PLT");
    } else {
      ++printers_;
      path = ResultFileName(base_, printers_ == 1 ? ".OUT" : ".OU" + std::to_string(printers_));
    }
    fileUses_.push_back({path, true, (plot ? "the plot file of " : "the output file of ") + who, card.line});
    return path;
  };
  if (type->type == 65 && plotWriters_++ > 0) {
    error(card.line, who + ": a deck has one plot writer (TYPE 65), and unit " + std::to_string(firstPlotWriter_) +
                         " is one already");
    return false;
  }
  if (type->type == 65) firstPlotWriter_ = card.number;
  if (!u->model->setup(setup)) {
    failed_ = true;
    return false;
  }
  u->outputCount = u->model->outputCount();
  u->stateCount = u->model->derivativeCount();
  if (card.hasDerivatives) {
    if (static_cast<int>(card.derivatives.size()) != u->stateCount) {
      error(card.line, who + " (" + type->name + ") has " + std::to_string(u->stateCount) + " derivative" +
                           (u->stateCount == 1 ? "" : "s") + "; DERIVATIVES gives " + std::to_string(card.derivatives.size()));
      return false;
    }
    for (std::size_t k = 0; k < card.derivatives.size(); ++k) {
      double v = 0;
      if (!staticValue(card.derivatives[k].text, card.derivatives[k].line,
                       who + " initial value of derivative " + std::to_string(k + 1), v))
        return false;
      u->derivativeInitials.push_back(v);
    }
  } else if (u->model->derivativesRequired()) {
    error(card.line, who + " (" + type->name + ") needs DERIVATIVES " + std::to_string(u->stateCount) + " with the initial value" +
                         (u->stateCount == 1 ? "" : "s") + " of its state");
    return false;
  } else {
    u->derivativeInitials.assign(u->stateCount, 0.0);
  }
  if (card.trace) {
    u->trace = true;
    if (card.traceTimes.size() == 2) {
      if (!staticValue(card.traceTimes[0].text, card.traceLine, "the TRACE start", u->traceFrom) ||
          !staticValue(card.traceTimes[1].text, card.traceLine, "the TRACE stop", u->traceTo))
        return false;
    }
  }
  u->outputOffset = static_cast<int>(outputs_.size());
  outputs_.resize(outputs_.size() + u->outputCount, 0.0);
  u->mirrorSlots.assign(u->outputCount, -1);
  u->fresh.assign(u->outputCount, 0.0);
  u->stateOffset = static_cast<int>(stateStart_.size());
  stateStart_.insert(stateStart_.end(), u->derivativeInitials.begin(), u->derivativeInitials.end());
  stateEnd_ = stateStart_;
  u->in.resize(u->inputs.size());
  u->a.resize(u->stateCount);
  u->b.resize(u->stateCount);
  u->factors.resize(u->stateCount);
  units_[index] = std::move(u);
  return true;
}

bool Simulation::openResults() {
  bool ok = true;
  for (auto& u : units_) ok = u->model->open() && ok;
  return ok;
}

// Points each input of every unit at what it reads, once the values no longer grow, and lists
// the units that have work at the start or the end of a step.
void Simulation::resolveInputs() {
  stepBeginners_.clear();
  stepEnders_.clear();
  for (auto& u : units_) {
    u->sources.clear();
    for (const auto& in : u->inputs) u->sources.push_back(in.slot >= 0 ? &values_[in.slot] : &in.constant);
    u->inputCount = static_cast<int>(u->inputs.size());
    u->stateAt = stateEnd_.data() + u->stateOffset;
    u->stateFrom = stateStart_.data() + u->stateOffset;
    u->outputAt = outputs_.data() + u->outputOffset;
    u->outputTracked = values_.size() + static_cast<std::size_t>(u->outputOffset);
    u->stateTracked = values_.size() + outputs_.size() + static_cast<std::size_t>(u->stateOffset);
    if (u->model->endsSteps() || u->trace) stepEnders_.push_back(u.get());
    if (u->stateCount && u->model->beginsSteps()) stepBeginners_.push_back(u.get());
  }
}

inline void Simulation::gatherInputs(const Unit& u, double* in) const {
  const double* const* const sources = u.sources.data();
  // A few inputs: copied one by one, without the set-up of a vectorized copy.
#pragma GCC unroll 1
  for (int k = 0, count = u.inputCount; k < count; ++k) in[k] = *sources[k];
}

std::string Simulation::trackedName(std::size_t index) const {
  if (index < values_.size()) {
    if (index >= 1 && index <= deck_.definitions.size()) return deck_.definitions[index - 1].name;
    for (const auto& r : refs_)
      if (r.slot == static_cast<int>(index)) return "[" + std::to_string(r.unit) + "," + std::to_string(r.output) + "]";
    return "TIME";
  }
  index -= values_.size();
  for (const auto& u : units_) {
    if (index >= static_cast<std::size_t>(u->outputOffset) && index < static_cast<std::size_t>(u->outputOffset + u->outputCount))
      return "[" + std::to_string(u->card->number) + "," + std::to_string(index - u->outputOffset + 1) + "]";
  }
  index -= outputs_.size();
  for (const auto& u : units_) {
    if (index >= static_cast<std::size_t>(u->stateOffset) && index < static_cast<std::size_t>(u->stateOffset + u->stateCount))
      return "derivative " + std::to_string(index - u->stateOffset + 1) + " of unit " + std::to_string(u->card->number);
  }
  return "a value";
}

void Simulation::traceUnit(const Unit& u, double time) {
  if (time < u.traceFrom || time > u.traceTo) return;
  auto& lines = const_cast<Unit&>(u).traceLines;
  if (lines == TraceLineLimit) {
    runLines_.push_back("TRACE unit " + std::to_string(u.card->number) + ": further lines left out");
    ++lines;
  }
  if (lines > TraceLineLimit) return;
  ++lines;
  std::string text = "TRACE unit " + std::to_string(u.card->number) + " at TIME = " + Number(time) + ": inputs";
  gatherInputs(u, u.in.data());
  for (double v : u.in) text += " " + Number(v);
  text += "; outputs";
  for (int k = 0; k < u.outputCount; ++k) text += " " + Number(outputs_[u.outputOffset + k]);
  if (u.stateCount) {
    text += "; derivatives";
    for (int k = 0; k < u.stateCount; ++k) text += " " + Number(stateEnd_[u.stateOffset + k]);
  }
  runLines_.push_back(text);
}

// The values a pass reads before it computes them: equations' names and unit outputs that
// later items of the deck compute, and the units' states (their derivatives see the estimate).
// A feedback loop runs through them; solving a step means finding them where a pass returns them.
void Simulation::findLoopValues() {
  std::vector<char> computed(values_.size(), 0), computedInPass(values_.size(), 0);
  for (const DeckItem& item : deck_.order) {
    if (item.kind == DeckItem::Kind::Equation) computedInPass[item.index + 1] = 1;
    else
      for (int slot : units_[item.index]->mirrorSlots)
        if (slot >= 0) computedInPass[slot] = 1;
  }
  auto read = [&](int slot) {
    if (slot >= 0 && computedInPass[slot] && !computed[slot]) {
      loopSlots_.push_back(slot);
      computedInPass[slot] = 0;  // once
    }
  };
  for (const DeckItem& item : deck_.order) {
    if (item.kind == DeckItem::Kind::Equation) {
      for (int r : expressions_[item.index].reads()) read(r);
      computed[item.index + 1] = 1;
      continue;
    }
    const Unit& u = *units_[item.index];
    for (const auto& in : u.inputs) read(in.slot);
    for (int slot : u.mirrorSlots)
      if (slot >= 0) computed[slot] = 1;
  }
  const std::size_t size = loopSlots_.size() + stateStart_.size();
  loopStart_.resize(size);
  loopResult_.resize(size);
  loopNext_.resize(size);
}

void Simulation::readLoop(std::vector<double>& loop) const {
  std::size_t k = 0;
  for (int slot : loopSlots_) loop[k++] = values_[slot];
  for (double x : stateEnd_) loop[k++] = x;
}

void Simulation::writeLoop(const std::vector<double>& loop) {
  mirrorsFollowOutputs_ = false;
  std::size_t k = 0;
  for (int slot : loopSlots_) values_[slot] = loop[k++];
  for (double& x : stateEnd_) x = loop[k++];
}

// The values and outputs; a step's states start from stateStart_, which the step keeps.
void Simulation::rememberValues(std::vector<double>& into) const {
  std::copy(values_.begin(), values_.end(), into.begin());
  std::copy(outputs_.begin(), outputs_.end(), into.begin() + static_cast<std::ptrdiff_t>(values_.size()));
}

// Converged when no value moved by more than the tolerance in the last pass; otherwise `worst`
// becomes the one that moved most. A pass measures the values as it writes them: what a pass does
// not compute (TIME, constants, constant inputs) cannot move.
bool Simulation::settled(std::size_t& worst) const {
  if (move_.largest > 0) worst = move_.worst;
  return move_.settled;
}

// The items a pass computes, in deck order, and what each reads: an equation its names and
// outputs, a unit its connected inputs and, where its derivatives read their estimate, its own
// states. A unit without outputs or derivatives (a printer) gives a pass nothing and is left
// out: it does its work at the end of the step.
void Simulation::findItemReads() {
  const std::size_t stateBase = values_.size() + outputs_.size();
  items_.clear();
  for (const DeckItem& item : deck_.order) {
    ItemTrack track;
    if (item.kind == DeckItem::Kind::Equation) {
      track.equation = item.index;
      track.reads = expressions_[item.index].reads();
    } else {
      Unit& u = *units_[item.index];
      if (u.outputCount == 0 && u.stateCount == 0) continue;
      track.unit = &u;
      for (const auto& in : u.inputs)
        if (in.slot >= 0) track.reads.push_back(in.slot);
      if (u.model->derivativesReadState())
        for (int k = 0; k < u.stateCount; ++k) track.reads.push_back(static_cast<int>(stateBase + u.stateOffset + k));
      track.repeatable = u.model->repeatable();
    }
    items_.push_back(std::move(track));
  }
  // Per tracked value, the marks of the items that read it, each list at readerStart_[value] up
  // to the next.
  const std::size_t tracked = stateBase + stateEnd_.size();
  std::vector<int> counts(tracked + 1, 0);
  for (const ItemTrack& track : items_)
    for (int r : track.reads) ++counts[static_cast<std::size_t>(r) + 1];
  readerStart_.assign(tracked + 1, 0);
  for (std::size_t v = 1; v <= tracked; ++v) readerStart_[v] = readerStart_[v - 1] + counts[v];
  readerMarks_.assign(static_cast<std::size_t>(readerStart_[tracked]), nullptr);
  std::vector<int> filled(readerStart_.begin(), readerStart_.end() - 1);
  for (std::size_t i = 0; i < items_.size(); ++i)
    for (int r : items_[i].reads) readerMarks_[static_cast<std::size_t>(filled[r]++)] = &items_[i].stale;
}

namespace {
bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }
}  // namespace

// A value the pass computed, `before` and `now`: when its bits changed, the items that read it are
// marked to be computed again, and it is measured for convergence (the same bits cannot move it).
inline void Simulation::took(std::size_t tracked, double before, double now) {
  if (SameBits(before, now)) return;
  bool* const* const marks = readerMarks_.data();
  for (int k = readerStart_[tracked], end = readerStart_[tracked + 1]; k < end; ++k) *marks[k] = true;
  move_.Take(tracked, before, now);
}

[[gnu::always_inline]] inline bool Simulation::evaluateEquation(int index, double time, Fault& fault) {
  const char* err = nullptr;
  double v = expressions_[index].evaluate(values_.data(), err);
  if (err || !InRange(v)) {
    fault = equationFault(index, time, err, v);
    return false;
  }
  took(index + 1, values_[index + 1], v);
  values_[index + 1] = v;
  return true;
}

// The faults of a pass, kept apart from its loop, which then needs no room for their strings.
[[gnu::noinline]] Simulation::Fault Simulation::equationFault(int index, double time, const char* err, double value) const {
  const Definition& def = deck_.definitions[index];
  return {def.line, "at TIME = " + Number(time) + ": " + def.name + (err ? std::string(": ") + err : " " + OutOfRange(value))};
}

[[gnu::noinline]] Simulation::Fault Simulation::outputFault(const Unit& u, int output, double time, double value) const {
  return {u.card->line, "at TIME = " + Number(time) + ": output " + std::to_string(output + 1) + " of unit " +
                            std::to_string(u.card->number) + " (" + u.type->name + ") " + OutOfRange(value)};
}

[[gnu::always_inline]] inline bool Simulation::computeUnit(Unit& u, double time, double dt, int iteration, bool mirrorsFollow,
                                                         Fault& fault) {
  // The unit's fields are read into locals: the calls into the model could change them as far as
  // the compiler knows, and would have them read again after each.
  double* const in = u.in.data();
  gatherInputs(u, in);
  double* const x = u.stateAt;
  if (const int states = u.stateCount) {
    double* const a = u.a.data();
    double* const b = u.b.data();
    u.model->derivatives(time, in, x, a, b);
    const double* const x0 = u.stateFrom;
    AdvanceFactor* const factors = u.factors.data();
    const std::size_t tracked = u.stateTracked;
    for (int k = 0; k < states; ++k) {
      const double next = factors[k].advance(x0[k], a[k], b[k], dt);
      took(tracked + k, x[k], next);
      x[k] = next;
    }
  }
  double* const fresh = u.fresh.data();
  u.model->compute(time, in, x, fresh, iteration);
  double* const out = u.outputAt;
  const int outputs = u.outputCount;
  const int* const mirrorSlots = u.mirrorSlots.data();
  const std::size_t tracked = u.outputTracked;
  double* const values = values_.data();
  for (int k = 0; k < outputs; ++k) {
    const double before = out[k], now = fresh[k];
    if (!InRange(now)) {
      std::copy(fresh, fresh + outputs, out);  // what the unit computed, as the run stopped
      fault = outputFault(u, k, time, now);
      return false;
    }
    out[k] = now;
    const int slot = mirrorSlots[k];
    if (slot >= 0 && mirrorsFollow) {
      // The value an equation or input reads held the output's bits: one measure serves both,
      // and it is the value's, which comes first among equal changes.
      took(static_cast<std::size_t>(slot), before, now);
      values[slot] = now;
      continue;
    }
    // No item reads an output at its own index, so it is only measured.
    if (!SameBits(before, now)) move_.Take(tracked + k, before, now);
    if (slot >= 0) {
      took(static_cast<std::size_t>(slot), values[slot], now);
      values[slot] = now;
    }
  }
  return true;
}

// One pass over the equations and units in deck order. False with `fault` when a value cannot
// be computed or leaves the range of values. In a pass of substitution after the first, an item
// none of whose reads changed since it was last computed keeps what it computed then: it would
// compute the same again.
bool Simulation::pass(double time, double dt, int iteration, Fault& fault, PassKind kind) {
  const bool reuse = kind == PassKind::SubstituteAgain;
  move_ = PassMove{tolerance_, kind == PassKind::SecondSolution};
  const bool mirrorsFollow = mirrorsFollowOutputs_;
  for (ItemTrack& track : items_) {
    if (reuse && !track.stale) continue;
    track.stale = !track.repeatable;  // an item whose outputs move on their own is computed in every pass
    const bool ok = track.unit ? computeUnit(*track.unit, time, dt, iteration, mirrorsFollow, fault)
                               : evaluateEquation(track.equation, time, fault);
    if (!ok) return false;
  }
  // A pass that computed every unit left every mirrored value equal to its output.
  if (!reuse) mirrorsFollowOutputs_ = true;
  return true;
}

// Plain substitution: passes until the values settle. False when they do not within MAXITER
// passes, or a pass cannot be computed (a loop running away).
bool Simulation::substitute(double time, double dt, int& passes, std::size_t& worst) {
  Fault fault;  // the second solution meets it again if it is the deck's
  for (int iteration = 1; iteration <= iterationLimit_; ++iteration) {
    ++passes;
    // The first pass starts from the step's start, kept for a second solution.
    if (iteration == 1) rememberValues(stepStart_);
    if (!pass(time, dt, iteration, fault, iteration > 1 ? PassKind::SubstituteAgain : PassKind::Substitute)) return false;
    if (settled(worst)) return true;
  }
  return false;
}

// How far the last pass moved the loop's values: the largest change, relative to the value's
// size (absolute below 1), as the convergence test measures it.
double Simulation::loopMove() const {
  double move = 0;
  for (std::size_t k = 0; k < loopStart_.size(); ++k)
    move = std::max(move, std::fabs(loopResult_[k] - loopStart_[k]) / std::max(1.0, std::fabs(loopResult_[k])));
  return move;
}

// The step solved again from its start, each pass starting from the loop values the secant
// update proposes. A proposal whose pass cannot be computed, or moves the values ten times more
// than the best pass so far, is dropped: the next pass starts from the best pass's start moved
// towards its results, half as far as the time before, with a fresh history (a loop too steep
// for the secant model is then approached in smaller steps). A pass that cannot be computed from
// values that were not proposed is a fault of the deck (`fault`). Without convergence the last
// pass starts where the best one started, and the run goes on with what that pass computed: the
// values that came closest, each as the deck computes it from the others.
bool Simulation::accelerate(double time, double dt, int& passes, std::size_t& worst, Fault& fault) {
  accelerator_.reset(loopStart_.size());
  bool proposed = false;
  double bestMove = HUGE_VAL, damping = 1;
  for (int iteration = 1; iteration <= iterationLimit_; ++iteration) {
    ++passes;
    if (iteration == iterationLimit_ && bestMove < HUGE_VAL) writeLoop(bestStart_);
    readLoop(loopStart_);
    const bool computed = pass(time, dt, iteration, fault, PassKind::SecondSolution);
    if (!computed && !proposed) return false;
    if (computed && settled(worst)) return true;
    if (iteration == iterationLimit_) break;  // the run goes on with what this last pass computed
    double move = HUGE_VAL;
    if (computed) {
      readLoop(loopResult_);
      move = loopMove();
      if (move < bestMove) {
        bestMove = move;
        bestStart_ = loopStart_;
        bestResult_ = loopResult_;
      }
    }
    if (proposed && move > 10 * bestMove) {
      damping /= 2;
      for (std::size_t k = 0; k < loopNext_.size(); ++k) loopNext_[k] = bestStart_[k] + damping * (bestResult_[k] - bestStart_[k]);
      accelerator_.reset(loopStart_.size());
      proposed = false;
      fault = {};
    } else {
      proposed = accelerator_.propose(loopStart_.data(), loopResult_.data(), loopNext_.data());
    }
    writeLoop(loopNext_);
  }
  return false;
}

bool Simulation::doStep(double time, double dt, RunSummary& summary) {
  values_[0] = time;
  if (dt > 0)
    for (Unit* u : stepBeginners_) u->model->beginStep(time - dt, &stateStart_[u->stateOffset]);
  std::copy(stateStart_.begin(), stateStart_.end(), stateEnd_.begin());
  stepStart_.resize(values_.size() + outputs_.size());

  int passes = 0;
  std::size_t worst = 0;
  bool converged = substitute(time, dt, passes, worst);
  if (!converged) {
    std::copy(stepStart_.begin(), stepStart_.begin() + values_.size(), values_.begin());
    std::copy(stepStart_.begin() + values_.size(), stepStart_.begin() + values_.size() + outputs_.size(), outputs_.begin());
    mirrorsFollowOutputs_ = false;  // the start may have followed a second solution's proposal
    std::copy(stateStart_.begin(), stateStart_.end(), stateEnd_.begin());
    Fault fault;
    converged = accelerate(time, dt, passes, worst, fault);
    if (!fault.text.empty()) {
      error(fault.line, fault.text);
      return false;
    }
  }
  summary.iterations += passes;
  summary.mostIterations = std::max(summary.mostIterations, passes);
  if (!converged) {
    if (++summary.unconvergedSteps == 1) summary.firstUnconverged = time;
    if (summary.unconvergedSteps <= MessageLimit)
      runLines_.push_back("*** Warning at TIME = " + Number(time) + ": the step did not converge in " +
                          std::to_string(iterationLimit_) + " iterations (" + trackedName(worst) +
                          " still changes); the run goes on with the last values");
    else if (summary.unconvergedSteps == MessageLimit + 1)
      runLines_.push_back("*** Further steps that did not converge are only counted");
  }
  std::string why;
  for (Unit* u : stepEnders_) {
    gatherInputs(*u, u->in.data());
    why.clear();
    if (!u->model->endStep(time, u->in.data(), u->outputCount ? &outputs_[u->outputOffset] : nullptr, why)) {
      error(u->card->line, "at TIME = " + Number(time) + ": " + why);
      return false;
    }
    if (u->trace) traceUnit(*u, time);
  }
  // The next step starts where this one ended (copied: the units point into both arrays).
  std::copy(stateEnd_.begin(), stateEnd_.end(), stateStart_.begin());
  return true;
}

void Simulation::report(double time) {
  for (auto& u : units_) u->model->flush();
  if (progress_) progress_(time);
}

bool Simulation::run(RunSummary& summary, const RunControl& control) {
  using Clock = std::chrono::steady_clock;
  const auto began = Clock::now();
  double lastReport = CoarseSeconds();
  double reached = start_;
  auto stopHere = [&](long k, double time) {
    bool stop = (control.stopRequested && *control.stopRequested) || (control.stepLimit >= 0 && k >= control.stepLimit);
    if (stop && k < steps_) {
      summary.stopped = true;
      summary.stoppedAt = time;
    }
    return summary.stopped;
  };
  bool ok = doStep(start_, 0, summary);
  for (long k = 1; ok && k <= steps_ && !stopHere(k - 1, start_ + static_cast<double>(k - 1) * step_); ++k) {
    const double time = start_ + static_cast<double>(k) * step_;
    ok = doStep(time, step_, summary);
    if (!ok) break;
    summary.steps = k;
    reached = time;
    if (const double now = CoarseSeconds(); now - lastReport >= control.progressSeconds) {
      lastReport = now;
      report(time);
    }
  }
  for (auto& u : units_) {
    std::string why;
    if (!u->model->finish(why)) {
      error(u->card->line, why);
      ok = false;
    }
    for (auto& f : u->model->writtenFiles()) summary.files.push_back(f);
  }
  summary.seconds = std::chrono::duration<double>(Clock::now() - began).count();
  if (progress_) progress_(reached);
  return ok;
}

}  // namespace talpix
