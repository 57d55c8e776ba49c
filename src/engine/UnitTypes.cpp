#include "UnitTypes.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>

#include "Deck.h"
#include "EngineFiles.h"

namespace talpix {

namespace {

// The library's formatting, exact for every double.
int FormatResultNumberExactly(double x, char* out) {
  if (x == 0) x = 0;  // no "-0"
  char buf[40];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 6);
  int n = static_cast<int>(r.ptr - buf);
  for (int i = 0; i < n; ++i) out[i] = buf[i] == 'e' ? 'E' : buf[i];
  return n;
}

// Powers of ten that a double holds exactly.
constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int ExactPowerLimit = 22;

// magnitude * 10^shift with a single rounding; false when 10^shift is not held exactly.
bool ShiftDecimal(double magnitude, int shift, double& scaled) {
  if (shift > ExactPowerLimit || shift < -ExactPowerLimit) return false;
  scaled = shift >= 0 ? magnitude * ExactPowersOfTen[shift] : magnitude / ExactPowersOfTen[-shift];
  return true;
}

// The seven significant digits of a positive magnitude and its decimal exponent, where plain
// double arithmetic decides them beyond doubt: the magnitude moved into [1E6, 1E7) with one
// rounding lies within a billionth of the exact product, so unless it lies that close to a half,
// its rounding to a whole number is the exact product's. False otherwise (and for magnitudes that
// need a power of ten beyond 1E22).
bool SevenDigits(double magnitude, std::int64_t& digits, int& exponent) {
  const int binary = static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff) - 1023;
  exponent = (binary * 78913) >> 18;  // floor(binary * log10(2)): the exponent or one below
  double scaled = 0;
  if (!ShiftDecimal(magnitude, 6 - exponent, scaled)) return false;
  if (scaled < 1e6) {
    --exponent;
    if (!ShiftDecimal(magnitude, 6 - exponent, scaled)) return false;
  } else if (scaled >= 1e7) {
    ++exponent;
    if (!ShiftDecimal(magnitude, 6 - exponent, scaled)) return false;
  }
  if (!(scaled >= 1e6 && scaled < 1e7)) return false;
  digits = static_cast<std::int64_t>(scaled);  // positive: truncation is the floor
  const double fraction = scaled - static_cast<double>(digits);
  if (std::fabs(fraction - 0.5) < 1e-7) return false;
  if (fraction > 0.5) ++digits;
  if (digits == 10000000) {  // 9.9999999 rounds up to 1.000000 of the next exponent
    digits = 1000000;
    ++exponent;
  }
  return true;
}

}  // namespace

// The same text as the library's formatting, written from the seven digits where they are
// certain (nearly every number a run writes), which takes a fraction of its time.
int FormatResultNumber(double x, char* out) {
  if (x == 0) {
    std::memcpy(out, "0.000000E+00", 12);
    return 12;
  }
  std::int64_t digits = 0;
  int exponent = 0;
  if (!std::isfinite(x) || !SevenDigits(std::fabs(x), digits, exponent)) return FormatResultNumberExactly(x, out);
  int n = 0;
  if (x < 0) out[n++] = '-';
  char written[7];
  for (int i = 6; i >= 0; --i, digits /= 10) written[i] = static_cast<char>('0' + digits % 10);
  out[n++] = written[0];
  out[n++] = '.';
  std::memcpy(out + n, written + 1, 6);
  n += 6;
  out[n++] = 'E';
  out[n++] = exponent < 0 ? '-' : '+';
  const int e = exponent < 0 ? -exponent : exponent;  // at most 28 here
  out[n++] = static_cast<char>('0' + e / 10);
  out[n++] = static_cast<char>('0' + e % 10);
  return n;
}

namespace {

bool Whole(double v) { return std::floor(v) == v; }

// Whether a logical unit given as a parameter stays within the numbers a logical unit can be
// (INF or 1E10 would not convert); reports it at the parameter's line otherwise.
bool WithinLogicalUnits(const UnitSetup& s, int index) {
  double v = s.parameters[index];
  if (v <= LogicalUnitLimit) return true;
  char written[32];
  std::snprintf(written, sizeof written, "%.10g", v);
  s.error(s.parameterLines[index], LogicalUnitOutOfRange(written) + " (unit " + std::to_string(s.unitNumber) + ")");
  return false;
}

// ---------------------------------------------------------------- TYPE 1: thermal mass
// One node of heat capacity C (kWh/K) losing UA (kW/K) to its surroundings and gaining Q (kW):
// C dT/dt = Q - UA (T - Tsur), time in hours.
class ThermalMass : public UnitModel {
 public:
  bool setup(UnitSetup& s) override {
    c_ = s.parameters[0];
    ua_ = s.parameters[1];
    rate_ = -ua_ / c_;
    bool ok = true;
    if (!(c_ > 0)) { s.error(s.parameterLines[0], "the heat capacity of unit " + std::to_string(s.unitNumber) + " must be above 0"); ok = false; }
    if (ua_ < 0) { s.error(s.parameterLines[1], "the loss coefficient of unit " + std::to_string(s.unitNumber) + " must not be negative"); ok = false; }
    return ok;
  }
  int outputCount() const override { return 2; }
  std::string outputUnit(int i) const override { return i == 0 ? "C" : "kW"; }
  int derivativeCount() const override { return 1; }
  void derivatives(double, const double* in, const double*, double* a, double* b) const override {
    a[0] = (in[1] + ua_ * in[0]) / c_;
    b[0] = rate_;
  }
  bool derivativesReadState() const override { return false; }
  void compute(double, const double* in, const double* x, double* out, int) override {
    out[0] = x[0];
    out[1] = ua_ * (x[0] - in[0]);
  }

 private:
  double c_ = 1, ua_ = 0;
  double rate_ = 0;  // -UA / C, the same every call
};

// ---------------------------------------------------------------- TYPE 2: on/off controller
// Heating mode: switches on below set point - band/2, off above set point + band/2, and keeps
// its state in between. Cooling mode the other way round.
class OnOffController : public UnitModel {
 public:
  bool setup(UnitSetup& s) override {
    band_ = s.parameters[0];
    double mode = s.parameters[1];
    bool ok = true;
    if (band_ < 0) { s.error(s.parameterLines[0], "the dead band of unit " + std::to_string(s.unitNumber) + " must not be negative"); ok = false; }
    if (mode != 1 && mode != 2) { s.error(s.parameterLines[1], "the mode of unit " + std::to_string(s.unitNumber) + " must be 1 (heating) or 2 (cooling)"); ok = false; }
    heating_ = mode == 1;
    return ok;
  }
  int outputCount() const override { return 1; }
  void compute(double, const double* in, const double*, double* out, int iteration) override {
    if (iteration <= ControllerStickIterations) {
      double low = in[1] - band_ / 2, high = in[1] + band_ / 2;
      bool on = on_;
      if (in[0] < low) on = heating_;
      else if (in[0] > high) on = !heating_;
      current_ = on ? 1 : 0;
    }
    out[0] = current_;
  }
  bool endStep(double, const double*, const double* out, std::string&) override {
    on_ = out[0] > 0.5;
    return true;
  }
  bool endsSteps() const override { return true; }

 private:
  double band_ = 0;
  bool heating_ = true;
  bool on_ = false;
  double current_ = 0;
};

// ---------------------------------------------------------------- TYPE 3: solar collector
// Flat-plate collector with efficiency eta0 - a1 (Tin - Ta) / G on the inlet temperature; the
// useful gain is never negative (the pump would stop) and is 0 when the control is below 0.5.
class SolarCollector : public UnitModel {
 public:
  bool setup(UnitSetup& s) override {
    area_ = s.parameters[0];
    eta0_ = s.parameters[1];
    a1_ = s.parameters[2];
    flow_ = s.parameters[3];
    bool ok = true;
    auto bad = [&](int i, const std::string& what) {
      s.error(s.parameterLines[i], what + " (unit " + std::to_string(s.unitNumber) + ")");
      ok = false;
    };
    if (!(area_ > 0)) bad(0, "the collector area must be above 0");
    if (eta0_ < 0 || eta0_ > 1) bad(1, "the optical efficiency must lie between 0 and 1");
    if (a1_ < 0) bad(2, "the heat loss coefficient must not be negative");
    if (!(flow_ > 0)) bad(3, "the flow capacity rate must be above 0");
    return ok;
  }
  int outputCount() const override { return 3; }
  std::string outputUnit(int i) const override { return i == 0 ? "C" : i == 1 ? "kW" : "-"; }
  void compute(double, const double* in, const double*, double* out, int) override {
    double tin = in[0], ta = in[1], g = in[2];
    double q = in[3] >= 0.5 ? std::max(0.0, area_ * (eta0_ * g - a1_ * (tin - ta)) / 1000.0) : 0.0;
    out[0] = tin + q / flow_;
    out[1] = q;
    out[2] = g > 0 ? q * 1000.0 / (area_ * g) : 0.0;
  }

 private:
  double area_ = 1, eta0_ = 0, a1_ = 0, flow_ = 1;
};

// ---------------------------------------------------------------- TYPE 6: profile
// Mode 1: mean + amplitude sin(2 pi (t - shift) / period). Mode 2: a square wave, mean +
// amplitude for the first half of each period from the shift, mean - amplitude for the second.
class Profile : public UnitModel {
 public:
  bool setup(UnitSetup& s) override {
    mode_ = s.parameters[0];
    mean_ = s.parameters[1];
    amplitude_ = s.parameters[2];
    period_ = s.parameters[3];
    shift_ = s.parameters[4];
    bool ok = true;
    if (mode_ != 1 && mode_ != 2) { s.error(s.parameterLines[0], "the mode of unit " + std::to_string(s.unitNumber) + " must be 1 (sine) or 2 (square wave)"); ok = false; }
    if (!(period_ > 0)) { s.error(s.parameterLines[3], "the period of unit " + std::to_string(s.unitNumber) + " must be above 0"); ok = false; }
    return ok;
  }
  int outputCount() const override { return 1; }
  void compute(double time, const double*, const double*, double* out, int) override {
    double phase = (time - shift_) / period_;
    if (mode_ == 1) {
      out[0] = mean_ + amplitude_ * std::sin(2 * std::numbers::pi * phase);
    } else {
      double frac = phase - std::floor(phase);
      out[0] = frac < 0.5 ? mean_ + amplitude_ : mean_ - amplitude_;
    }
  }

 private:
  double mode_ = 1, mean_ = 0, amplitude_ = 0, period_ = 1, shift_ = 0;
};

// Opens only regular files; "" and `why` set otherwise.
bool IsRegularFile(const std::string& path, std::string& why) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    why = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    why = "not a regular file";
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- TYPE 9: data reader
// Reads the file assigned to its logical unit: SKIP header lines, then rows of at least NCOL
// numbers (separated by blanks, commas or tabs) at times FIRST, FIRST + INTERVAL, ...; outputs the
// columns interpolated linearly in time. After the last row the data start again from the first.
class DataReader : public UnitModel {
 public:
  bool setup(UnitSetup& s) override {
    const auto& p = s.parameters;
    bool ok = true;
    auto bad = [&](int i, const std::string& what) {
      s.error(s.parameterLines[i], what + " (unit " + std::to_string(s.unitNumber) + ")");
      ok = false;
    };
    if (!WithinLogicalUnits(s, 0)) ok = false;
    else if (!(p[0] >= 1 && Whole(p[0]))) bad(0, "the logical unit must be a whole number from 1");
    if (!(p[1] >= 1 && p[1] <= 100 && Whole(p[1]))) bad(1, "the number of columns must be a whole number from 1 to 100");
    if (!(p[3] > 0)) bad(3, "the interval between rows must be above 0");
    if (!(p[4] >= 0 && p[4] <= 1e6 && Whole(p[4]))) bad(4, "the number of lines to skip must be a whole number from 0");
    if (!ok) return false;
    columns_ = static_cast<int>(p[1]);
    first_ = p[2];
    interval_ = p[3];
    std::string file = s.assignedFile(static_cast<int>(p[0]), s.parameterLines[0], true);
    if (file.empty()) return false;
    std::string why;
    if (!IsRegularFile(file, why)) {
      s.error(s.parameterLines[0], "data file " + file + " cannot be read: " + why);
      return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), std::fclose);
    if (!in) {
      s.error(s.parameterLines[0], "data file " + file + " cannot be opened");
      return false;
    }
    LineReader lines(in.get(), DataLineLimit);
    std::string line;
    const long skip = static_cast<long>(p[4]);
    for (LineReader::Result read; (read = lines.next(line)) != LineReader::Result::End;) {
      const long number = lines.lineNumber();
      if (read == LineReader::Result::TooLong) {
        s.error(s.parameterLines[0], "data file " + file + " line " + std::to_string(number) + " is longer than the " +
                                         std::to_string(DataLineLimit) + " characters read of a line");
        return false;
      }
      if (read == LineReader::Result::Failed) {
        s.error(s.parameterLines[0], "data file " + file + " could not be read whole (line " + std::to_string(number) +
                                         "): " + std::strerror(errno));
        return false;
      }
      if (number <= skip) continue;
      if (line.find_first_not_of(" \t,") == std::string::npos) continue;  // empty line
      if (data_.size() + columns_ > DataValueLimit) {
        s.error(s.parameterLines[0], "data file " + file + " line " + std::to_string(number) + ": the file holds more than the " +
                                         std::to_string(DataValueLimit) + " numbers a data reader keeps");
        return false;
      }
      int got = 0;
      const char* c = line.data();
      const char* end = c + line.size();
      while (got < columns_) {
        while (c < end && (*c == ' ' || *c == '\t' || *c == ',')) ++c;
        if (c == end) break;
        const char* from = c;
        if (*c == '+') ++c;  // from_chars takes no plus sign
        double v = 0;
        auto r = std::from_chars(c, end, v);
        if (r.ec != std::errc() || (r.ptr < end && *r.ptr != ' ' && *r.ptr != '\t' && *r.ptr != ',')) {
          const char* stop = from;
          while (stop < end && *stop != ' ' && *stop != '\t' && *stop != ',') ++stop;
          s.error(s.parameterLines[0], "data file " + file + " line " + std::to_string(number) + ": \"" +
                                           std::string(from, stop) + "\" is not a number");
          return false;
        }
        data_.push_back(v);
        c = r.ptr;
        ++got;
      }
      if (got < columns_) {
        s.error(s.parameterLines[0], "data file " + file + " line " + std::to_string(number) + " holds " +
                                         std::to_string(got) + " numbers; the unit reads " + std::to_string(columns_));
        return false;
      }
    }
    rows_ = data_.size() / columns_;
    if (rows_ == 0) {
      s.error(s.parameterLines[0], "data file " + file + " holds no rows of data");
      return false;
    }
    return true;
  }
  int outputCount() const override { return columns_; }
  void compute(double time, const double*, const double*, double* out, int) override {
    // The rows repeat after the last one (a year of weather serves every year).
    double rows = static_cast<double>(rows_);
    double pos = std::fmod((time - first_) / interval_, rows);
    if (pos < 0) pos += rows;
    std::size_t i = std::min(static_cast<std::size_t>(pos), rows_ - 1);
    double f = pos - static_cast<double>(i);
    const double* a = &data_[i * columns_];
    if (f == 0 || rows_ == 1) {
      std::copy(a, a + columns_, out);
      return;
    }
    const double* b = &data_[((i + 1) % rows_) * columns_];
    for (int k = 0; k < columns_; ++k) out[k] = a[k] + f * (b[k] - a[k]);
  }

 private:
  int columns_ = 1;
  double first_ = 0, interval_ = 1;
  std::vector<double> data_;
  std::size_t rows_ = 0;
};

// ---------------------------------------------------------------- TYPE 24: integrator
// Integrates each input over time (output i = integral of input i in h), taking the input's
// end-of-step value over each step as the masses do, so that energy balances close. With a reset
// interval above 0 the integrals start again from 0 on the clock: at every multiple of the
// interval from time 0, whenever the run started (a daily sum printed at 48 covers 24 to 48).
class Integrator : public UnitModel {
 public:
  bool setup(UnitSetup& s) override {
    reset_ = s.parameters[0];
    count_ = s.inputCount;
    if (reset_ < 0) {
      s.error(s.parameterLines[0], "the reset interval of unit " + std::to_string(s.unitNumber) + " must not be negative");
      return false;
    }
    if (reset_ > 0) period_ = Period(s.start);
    for (const auto& u : s.inputUnits) units_.push_back(u == "kW" ? "kWh" : u == "-" ? "-" : u + "*h");
    return true;
  }
  int outputCount() const override { return count_; }
  std::string outputUnit(int i) const override { return units_[i]; }
  int derivativeCount() const override { return count_; }
  bool derivativesRequired() const override { return false; }
  bool beginsSteps() const override { return reset_ > 0; }
  void beginStep(double stepStart, double* x) override {
    if (reset_ <= 0) return;
    double period = Period(stepStart);
    if (period <= period_) return;
    period_ = period;
    std::fill(x, x + count_, 0.0);
  }
  void derivatives(double, const double* in, const double*, double* a, double* b) const override {
    for (int i = 0; i < count_; ++i) {
      a[i] = in[i];
      b[i] = 0;
    }
  }
  bool derivativesReadState() const override { return false; }
  void compute(double, const double*, const double* x, double* out, int) override {
    for (int i = 0; i < count_; ++i) out[i] = x[i];  // a few values: no call to the library's copy
  }

 private:
  // The interval of the clock `t` lies in; a time within rounding of a multiple counts as that
  // multiple (the step times are start + k * step, not sums).
  double Period(double t) const { return std::floor(t / reset_ + 1e-9); }

  double reset_ = 0, period_ = 0;
  int count_ = 0;
  std::vector<std::string> units_;
};

// ---------------------------------------------------------------- column files
// A names line, a units line (starting with a blank, so that it is never taken for data) and one
// row per printed step, every column 14 characters wide.
class ColumnFile {
 public:
  ~ColumnFile() {
    flush();
    if (file_) std::fclose(file_);
  }
  bool open(const std::string& path, const std::vector<std::string>& names, const std::vector<std::string>& units,
            std::string& why) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {  // never a FIFO or a device
      why = path + " cannot be written: it is not a regular file";
      return false;
    }
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
      why = path + " cannot be written: " + std::strerror(errno);
      return false;
    }
    path_ = path;
    // Rows are gathered here and handed over whole: the stream's own buffer would write out
    // whatever part of a row filled it.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    std::string heading;
    for (const auto& n : names) heading += Column(n);
    heading += '\n';
    for (const auto& u : units) heading += Column(u);
    heading += '\n';
    std::fwrite(heading.data(), 1, heading.size(), file_);
    pending_.resize(PendingLimit + RowRoom(names.size()));
    return true;
  }
  // A row of TIME and `count` values.
  void row(double time, const double* values, std::size_t count) {
    ++count;
    if (last_.size() < count) last_.resize(count);
    if (pending_.size() - used_ < RowRoom(count)) {
      flush();
      if (pending_.size() < RowRoom(count)) pending_.resize(RowRoom(count));
    }
    char* at = pending_.data() + used_;
    for (std::size_t i = 0; i < count; ++i) {
      const char* num = last_[i].text(i == 0 ? time : values[i - 1]);
      const int n = last_[i].length;  // 1 to 16
      // Blanks and digits are moved as whole blocks of NumberRoom whatever their length, which
      // costs less than moving just so many; what lies beyond is written over or never handed on.
      std::memset(at, ' ', NumberRoom);
      if (n < ColumnWidth) [[likely]] {
        // Every column takes its width, so where the next one starts does not wait for this
        // number's length.
        std::memcpy(at + ColumnWidth - n, num, NumberRoom);
        at += ColumnWidth;
      } else {
        std::memcpy(at + 1, num, NumberRoom);
        at += 1 + n;
      }
    }
    *at++ = '\n';
    used_ = static_cast<std::size_t>(at - pending_.data());
    if (used_ >= PendingLimit) flush();
  }
  // Hands the whole rows gathered so far to the system.
  void flush() {
    if (!file_ || used_ == 0) return;
    std::fwrite(pending_.data(), 1, used_, file_);
    used_ = 0;
  }
  bool close(std::string& why) {
    if (!file_) return true;
    flush();
    bool ok = !std::ferror(file_);
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    if (!ok) why = "writing " + path_ + " failed: " + std::strerror(errno);
    return ok;
  }
  const std::string& path() const { return path_; }

 private:
  static std::string Column(const std::string& text) {
    std::string t = text.empty() ? "-" : text;
    return t.size() >= ColumnWidth - 1 ? " " + t : std::string(ColumnWidth - t.size(), ' ') + t;
  }
  static constexpr std::size_t PendingLimit = 1 << 20;
  static constexpr std::size_t NumberRoom = 16;  // the longest number FormatResultNumber writes
  static constexpr int ColumnWidth = 14;          // a longer text takes one blank and its length
  // A column's last number and its text: many columns repeat their value for many rows (a
  // switch, a flow that is off, a set point), and their text is then not formatted again.
  struct LastNumber {
    std::uint64_t bits = 0;
    int length = 0;  // 0 before the first number
    char written[40] = {};
    const char* text(double v) {
      const auto next = std::bit_cast<std::uint64_t>(v);
      if (length == 0 || next != bits) {
        bits = next;
        length = FormatResultNumber(v, written);
      }
      return written;
    }
  };
  std::vector<LastNumber> last_;  // per column
  std::FILE* file_ = nullptr;
  std::string path_;
  // What a row of `count` numbers may take as it is written: each number's blanks and digits in
  // whole blocks, and the newline.
  static std::size_t RowRoom(std::size_t count) { return count * 2 * NumberRoom + 1; }
  std::vector<char> pending_;  // whole rows not yet written: the first used_ bytes
  std::size_t used_ = 0;
};

// Printer (TYPE 25) and plot writer (TYPE 65): a row of TIME and the inputs at every printed step
// from START to STOP in steps of INTERVAL.
class ColumnWriter : public UnitModel {
 public:
  explicit ColumnWriter(bool plot) : plot_(plot) {}
  bool setup(UnitSetup& s) override {
    interval_ = s.parameters[0];
    from_ = s.parameters[1];
    to_ = s.parameters[2];
    step_ = s.step;
    firstTime_ = from_ - 1e-9 * step_;
    lastTime_ = to_ + 1e-9 * step_;
    onlyOnInterval_ = interval_ >= step_ * (1 - 1e-9);
    bool ok = true;
    if (!(interval_ > 0)) { s.error(s.parameterLines[0], "the printing interval of unit " + std::to_string(s.unitNumber) + " must be above 0"); ok = false; }
    if (to_ < from_) { s.error(s.parameterLines[2], "the stop time of unit " + std::to_string(s.unitNumber) + " lies before its start time"); ok = false; }
    if (ok && interval_ < s.step * (1 - 1e-9))
      s.warning(s.parameterLines[0], "unit " + std::to_string(s.unitNumber) + " prints every step: its interval is shorter than the time step");
    if (s.inputCount > ColumnInputLimit) {
      std::string text = "unit " + std::to_string(s.unitNumber) + " has " + std::to_string(s.inputCount) +
                         " inputs; with TIME only " + std::to_string(ColumnInputLimit) + " can be plotted";
      if (plot_) {
        s.error(s.cardLine, text);
        ok = false;
      } else {
        s.warning(s.cardLine, text);
      }
    }
    std::string path;
    if (!plot_ && s.parameters[3] != 0) {
      double lu = s.parameters[3];
      if (!WithinLogicalUnits(s, 3)) return false;
      if (!(lu >= 1 && Whole(lu))) {
        s.error(s.parameterLines[3], "the logical unit of unit " + std::to_string(s.unitNumber) + " must be 0 or a whole number from 1");
        return false;
      }
      path = s.assignedFile(static_cast<int>(lu), s.parameterLines[3], false);
      if (path.empty()) return false;
    } else {
      path = s.resultFile(plot_);
    }
    if (!ok) return false;
    std::vector<std::string> names{"TIME"}, units{"h"};
    for (int i = 0; i < s.inputCount; ++i) {
      std::string label = i < static_cast<int>(s.labels.size()) ? s.labels[i] : "";
      std::string unit = s.inputUnits[i];
      // LABEL(unit) gives the column's unit where the source does not know it.
      if (auto open = label.find('('); open != std::string::npos && label.back() == ')' && open > 0) {
        unit = label.substr(open + 1, label.size() - open - 2);
        label.resize(open);
      }
      if (label.empty()) label = "VALUE" + std::to_string(i + 1);
      names.push_back(label);
      units.push_back(unit.empty() ? "-" : unit);
    }
    path_ = path;
    names_ = std::move(names);
    units_ = std::move(units);
    report_ = s.error;
    fileLine_ = plot_ ? s.cardLine : s.parameterLines[3];
    inputs_ = static_cast<std::size_t>(s.inputCount);
    return true;
  }
  bool open() override {
    std::string why;
    if (file_.open(path_, names_, units_, why)) return true;
    report_(fileLine_, why);
    return false;
  }
  int outputCount() const override { return 0; }
  void compute(double, const double*, const double*, double*, int) override {}
  bool endsSteps() const override { return true; }
  bool endStep(double time, const double* in, const double*, std::string&) override {
    if (time < firstTime_ || time > lastTime_) return true;
    if (onlyOnInterval_) {
      if (time < quietUntil_) return true;
      if (!onInterval(time)) {
        quietUntil_ = quietBefore(time);
        return true;
      }
    }
    file_.row(time, in, inputs_);
    return true;
  }
  void flush() override { file_.flush(); }
  bool finish(std::string& error) override { return file_.close(error); }
  std::vector<std::string> writtenFiles() const override {
    if (file_.path().empty()) return {};
    return {file_.path()};
  }

 private:
  // Whether `time` lies within a millionth of a step of a whole number of intervals from the start.
  bool onInterval(double time) const {
    const double intervals = (time - from_) / interval_;
    // The nearest whole number. Half way between two, either lies half an interval (at least
    // about half a step) away, so the answer does not depend on which is taken.
    const double k = std::fabs(intervals) < 0x1p52
                         ? static_cast<double>(static_cast<std::int64_t>(intervals + (intervals < 0 ? -0.5 : 0.5)))
                         : intervals;
    return !(std::fabs(time - from_ - k * interval_) > 1e-6 * step_);  // true as well where it is not a number
  }

  // After a step that did not print at `time`: a time before which no step prints, a quarter of a
  // step short of the next multiple of the interval (steps in between are then passed over without
  // a division). Only where the times are small enough beside the step that rounding cannot come
  // near that quarter; otherwise every step is looked at.
  double quietBefore(double time) const {
    if (std::fabs(from_) + std::fabs(to_) + interval_ >= 1e8 * step_) return -HUGE_VAL;
    const double next = from_ + (std::floor((time - from_) / interval_) + 1) * interval_;
    return next - step_ / 4;
  }

  bool plot_;
  double interval_ = 1, from_ = 0, to_ = 0, step_ = 1;
  double quietUntil_ = -HUGE_VAL;
  double firstTime_ = 0, lastTime_ = 0;  // the times printed, with a billionth of a step to spare
  bool onlyOnInterval_ = true;           // false when the interval is shorter than a step: every step prints
  std::string path_;
  std::vector<std::string> names_, units_;
  std::function<void(int line, std::string text)> report_;
  int fileLine_ = 0;
  ColumnFile file_;
  std::size_t inputs_ = 0;
};

const std::vector<TypeInfo>& Types() {
  static const std::vector<TypeInfo> types{
      {1, "thermal mass", 2, 2, false, [] { return std::make_unique<ThermalMass>(); }},
      {2, "on/off controller", 2, 2, false, [] { return std::make_unique<OnOffController>(); }},
      {3, "solar collector", 4, 4, false, [] { return std::make_unique<SolarCollector>(); }},
      {6, "profile", 5, 0, false, [] { return std::make_unique<Profile>(); }},
      {9, "data reader", 5, 0, false, [] { return std::make_unique<DataReader>(); }},
      {24, "integrator", 1, -1, false, [] { return std::make_unique<Integrator>(); }},
      {25, "printer", 4, -1, true, [] { return std::make_unique<ColumnWriter>(false); }},
      {65, "plot writer", 3, -1, true, [] { return std::make_unique<ColumnWriter>(true); }},
  };
  return types;
}

}  // namespace

const TypeInfo* FindType(int type) {
  for (const auto& t : Types())
    if (t.type == type) return &t;
  return nullptr;
}

std::string KnownTypeList() {
  std::string list;
  for (const auto& t : Types()) list += (list.empty() ? "" : ", ") + std::to_string(t.type) + " " + t.name;
  return list;
}

}  // namespace talpix
