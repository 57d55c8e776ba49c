#pragma once
// Expressions of the deck language: numbers in any usual form, names, unit outputs [u,o],
// + - * / ^ with the usual precedence (^ binds tightest and groups to the right, so -2^2 is -4
// and 2^3^2 is 512), parentheses and the functions SIN COS TAN EXP LOG LOG10 SQRT ABS MIN MAX INT
// MOD. Names are resolved when the expression is compiled; evaluation reads a flat value array.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace talpix {

class Expression {
 public:
  // What a name or a unit output [u,o] stands for: an index into the value array, or -1 after
  // setting `error` to the message the deck's author sees.
  struct Resolver {
    std::function<int(const std::string& name, std::string& error)> name;
    std::function<int(int unit, int output, std::string& error)> output;
  };

  // Compiles `text`; on failure returns an empty expression and sets `error`.
  static Expression Compile(std::string_view text, const Resolver& resolver, std::string& error);

  // The value, or NaN with `error` naming the fault (division by zero, a function outside its
  // domain, a result too large to hold).
  double evaluate(const double* values, const char*& error) const;

  // The value indices the expression reads, each once.
  const std::vector<int>& reads() const { return reads_; }
  bool empty() const { return code_.empty(); }
  // True when the whole expression is one number (no names, no operations).
  bool isNumber() const { return code_.size() == 1 && code_[0].op == Op::Number; }
  // True when the whole expression is one name or unit output, read as it is (no operations).
  bool isName() const { return code_.size() == 1 && code_[0].op == Op::Load; }

  // The functions the language knows (upper case), for telling them from names.
  static bool IsFunctionName(const std::string& upperName);

  enum class Op : std::uint8_t {
    Number, Load, Neg, Add, Sub, Mul, Div, Pow,
    Sin, Cos, Tan, Exp, Log, Log10, Sqrt, Abs, Int, Min, Max, Mod,
    // An operation whose right operand is a value (arg) or a number rather than the stack's top.
    AddLoad, SubLoad, MulLoad, DivLoad, AddNumber, SubNumber, MulNumber, DivNumber
  };
  struct Instruction {
    Op op;
    int arg = 0;  // value index (Load and the ...Load operations) or argument count (Min, Max)
    double value = 0;
  };

 private:
  friend class ExpressionParser;
  std::vector<Instruction> code_;
  std::vector<int> reads_;
  int depth_ = 0;  // stack depth needed to evaluate
};

// The largest stack an expression may need; deeper ones are refused when compiled.
inline constexpr int ExpressionStackLimit = 64;

// The top of the stack is held in `top` (a register) and only what lies below it in `below`:
// most operations then touch no memory but the values they load. Every operation computes what it
// would on a plain stack, in the same order. Defined here so that a run's loop can inline it.
inline double Expression::evaluate(const double* values, const char*& error) const {
  std::array<double, ExpressionStackLimit + 1> below;
  double top = 0;
  double* next = below.data();  // where a push keeps the top it covers (the first keeps nothing)
  auto fail = [&](const char* why) {
    error = why;
    return NAN;
  };
  for (const Instruction& in : code_) {
    switch (in.op) {
      case Op::Number: *next++ = top; top = in.value; break;
      case Op::Load: *next++ = top; top = values[in.arg]; break;
      case Op::Neg: top = -top; break;
      case Op::Add: top = *--next + top; break;
      case Op::Sub: top = *--next - top; break;
      case Op::Mul: top = *--next * top; break;
      case Op::Div:
        if (top == 0) return fail("division by zero");
        top = *--next / top;
        break;
      case Op::AddLoad: top += values[in.arg]; break;
      case Op::SubLoad: top -= values[in.arg]; break;
      case Op::MulLoad: top *= values[in.arg]; break;
      case Op::AddNumber: top += in.value; break;
      case Op::SubNumber: top -= in.value; break;
      case Op::MulNumber: top *= in.value; break;
      case Op::DivLoad:
      case Op::DivNumber: {
        const double divisor = in.op == Op::DivLoad ? values[in.arg] : in.value;
        if (divisor == 0) return fail("division by zero");
        top /= divisor;
        break;
      }
      case Op::Pow: {
        const double r = std::pow(*--next, top);
        if (std::isnan(r)) return fail("a negative number raised to a power that is not whole");
        top = r;
        break;
      }
      case Op::Sin: top = std::sin(top); break;
      case Op::Cos: top = std::cos(top); break;
      case Op::Tan: top = std::tan(top); break;
      case Op::Exp: top = std::exp(top); break;
      case Op::Log:
      case Op::Log10:
        if (top <= 0) return fail(in.op == Op::Log ? "LOG of a number that is not above zero" : "LOG10 of a number that is not above zero");
        top = in.op == Op::Log ? std::log(top) : std::log10(top);
        break;
      case Op::Sqrt:
        if (top < 0) return fail("SQRT of a negative number");
        top = std::sqrt(top);
        break;
      case Op::Abs: top = std::fabs(top); break;
      case Op::Int: top = std::trunc(top); break;
      case Op::Min:
      case Op::Max: {
        // The arguments in the order written: the n - 1 below the top, then the top.
        const int n = in.arg;
        next -= n - 1;
        double r = next[0];
        for (int i = 1; i < n - 1; ++i) r = in.op == Op::Min ? std::min(r, next[i]) : std::max(r, next[i]);
        top = in.op == Op::Min ? std::min(r, top) : std::max(r, top);
        break;
      }
      case Op::Mod: {
        if (top == 0) return fail("MOD with a divisor of zero");
        top = std::fmod(*--next, top);  // sign of the dividend, as a - b*INT(a/b)
        break;
      }
    }
  }
  if (next != below.data() + 1) return fail("the expression is empty");
  if (!std::isfinite(top)) return fail("the result is too large to hold");
  return top;
}

}  // namespace talpix
