#pragma once
// Expressions of the deck language: numbers in any usual form, names, unit outputs [u,o],
// + - * / ^ with the usual precedence (^ binds tightest and groups to the right, so -2^2 is -4
// and 2^3^2 is 512), parentheses and the functions SIN COS TAN EXP LOG LOG10 SQRT ABS MIN MAX INT
// MOD. Names are resolved when the expression is compiled; evaluation reads a flat value array.
#include <algorithm>
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
  double evaluate(const double* values, const char*& error) const {
    return chainBegin_ == NoChain ? evaluateStack(values, error) : evaluateChain(values, error);
  }
  // The same value and fault computed on a stack, as every expression can be; evaluate() takes
  // the chain where the expression has one.
  double evaluateStack(const double* values, const char*& error) const;
  // Whether the expression is evaluated as a chain of operations without a stack.
  bool isChain() const { return chainBegin_ != NoChain; }

  // The value indices the expression reads, each once.
  const std::vector<int>& reads() const { return reads_; }
  bool empty() const { return code_.empty(); }
  // True when the whole expression is one number (no names, no operations).
  bool isNumber() const { return stackSize_ == 1 && code_[0].op == Op::Number; }
  // True when the whole expression is one name or unit output, read as it is (no operations).
  bool isName() const { return stackSize_ == 1 && code_[0].op == Op::Load; }

  // The functions the language knows (upper case), for telling them from names.
  static bool IsFunctionName(const std::string& upperName);

  enum class Op : std::uint8_t {
    Number, Load, Neg, Add, Sub, Mul, Div, Pow,
    Sin, Cos, Tan, Exp, Log, Log10, Sqrt, Abs, Int, Min, Max, Mod,
    // An operation whose right operand is a value (arg) or a number (value) rather than the
    // stack's top: each with a value, then with a number.
    AddLoad, AddNumber, SubLoad, SubNumber, MulLoad, MulNumber, DivLoad, DivNumber,
    // Chains only. MIN and MAX of the result and the operand, and operations whose operand comes
    // first: operand - result, operand / result, MIN(operand, result), MAX(operand, result).
    MinLoad, MinNumber, MaxLoad, MaxNumber,
    LoadSub, NumberSub, LoadDiv, NumberDiv, LoadMin, NumberMin, LoadMax, NumberMax
  };
  struct Instruction {
    Op op;
    int arg = 0;  // value index (Load and the ...Load operations) or argument count (Min, Max)
    double value = 0;
  };

 private:
  friend class ExpressionParser;
  // NaN, with `why` as the fault of the evaluation.
  static double Failed(const char*& error, const char* why) {
    error = why;
    return NAN;
  }
  // A chain (one value or number, then operations each with one value or number, or a change of
  // sign: QAUX=[4,1]*PHEAT-QTANK, QTANK=[4,1]*MIN(PHEAT,MAX(0,KTANK*([6,1]-[3,1])))) needs no
  // stack; most equations of a deck are chains, and this is inlined where they are evaluated.
  double evaluateChain(const double* values, const char*& error) const {
    const Instruction* in = code_.data() + chainBegin_;
    const Instruction* const end = code_.data() + code_.size();
    double top = in->op == Op::Load ? values[in->arg] : in->value;
    // One case per operation and kind of operand: each reads its own operand, so that an
    // operation costs one jump.
    for (++in; in != end; ++in) {
      switch (in->op) {
        case Op::Neg: top = -top; break;
        case Op::AddLoad: top += values[in->arg]; break;
        case Op::AddNumber: top += in->value; break;
        case Op::SubLoad: top -= values[in->arg]; break;
        case Op::SubNumber: top -= in->value; break;
        case Op::MulLoad: top *= values[in->arg]; break;
        case Op::MulNumber: top *= in->value; break;
        case Op::DivLoad:
          if (values[in->arg] == 0) return Failed(error, "division by zero");
          top /= values[in->arg];
          break;
        case Op::DivNumber:
          if (in->value == 0) return Failed(error, "division by zero");
          top /= in->value;
          break;
        case Op::MinLoad: top = std::min(top, values[in->arg]); break;
        case Op::MinNumber: top = std::min(top, in->value); break;
        case Op::MaxLoad: top = std::max(top, values[in->arg]); break;
        case Op::MaxNumber: top = std::max(top, in->value); break;
        case Op::LoadSub: top = values[in->arg] - top; break;
        case Op::NumberSub: top = in->value - top; break;
        case Op::LoadDiv:
        case Op::NumberDiv:
          if (top == 0) return Failed(error, "division by zero");
          top = (in->op == Op::LoadDiv ? values[in->arg] : in->value) / top;
          break;
        case Op::LoadMin: top = std::min(values[in->arg], top); break;
        case Op::NumberMin: top = std::min(in->value, top); break;
        case Op::LoadMax: top = std::max(values[in->arg], top); break;
        default: top = std::max(in->value, top); break;  // NumberMax
      }
    }
    if (!std::isfinite(top)) return Failed(error, "the result is too large to hold");
    return top;
  }
  // The stack's code (postfix) in the first stackSize_ instructions, and the chain from
  // chainBegin_ to the end: the same instructions where the code is a chain as it stands, else its
  // rewriting after them. NoChain where the expression needs the stack.
  static constexpr std::uint32_t NoChain = UINT32_MAX;
  std::vector<Instruction> code_;
  std::uint32_t stackSize_ = 0, chainBegin_ = NoChain;
  std::vector<int> reads_;
  int depth_ = 0;  // stack depth needed to evaluate
};

// The largest stack an expression may need; deeper ones are refused when compiled.
inline constexpr int ExpressionStackLimit = 64;

}  // namespace talpix
