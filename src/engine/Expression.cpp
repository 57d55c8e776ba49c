#include "Expression.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <unordered_set>

namespace talpix {

namespace {

struct FunctionEntry {
  const char* name;
  Expression::Op op;
  int minArgs;
  int maxArgs;
};

constexpr std::array<FunctionEntry, 12> Functions{{
    {"SIN", Expression::Op::Sin, 1, 1},     {"COS", Expression::Op::Cos, 1, 1},
    {"TAN", Expression::Op::Tan, 1, 1},     {"EXP", Expression::Op::Exp, 1, 1},
    {"LOG", Expression::Op::Log, 1, 1},     {"LOG10", Expression::Op::Log10, 1, 1},
    {"SQRT", Expression::Op::Sqrt, 1, 1},   {"ABS", Expression::Op::Abs, 1, 1},
    {"INT", Expression::Op::Int, 1, 1},     {"MIN", Expression::Op::Min, 2, 16},
    {"MAX", Expression::Op::Max, 2, 16},    {"MOD", Expression::Op::Mod, 2, 2},
}};

const FunctionEntry* FindFunction(const std::string& upperName) {
  for (const auto& f : Functions)
    if (upperName == f.name) return &f;
  return nullptr;
}

using Op = Expression::Op;
using Instruction = Expression::Instruction;

// The operation with `leaf` (a value or a number) as its operand: `withValue` or the form that
// takes a number.
Instruction WithOperand(Op withValue, const Instruction& leaf) {
  const Op op = leaf.op == Op::Load ? withValue : static_cast<Op>(static_cast<int>(withValue) + 1);
  return {op, leaf.arg, leaf.value};
}

// Whether `code` is a chain as it stands: one value or number, then operations each with one
// value or number, or a change of sign.
bool IsChain(const std::vector<Instruction>& code) {
  if (code.empty() || (code[0].op != Op::Load && code[0].op != Op::Number)) return false;
  return std::all_of(code.begin() + 1, code.end(), [](const Instruction& in) {
    return in.op == Op::Neg || (in.op >= Op::AddLoad && in.op <= Op::DivNumber);
  });
}

// Appends to `code` (postfix) the same as a chain: the innermost operation first, each next one
// applied to the result with its other operand, a value or a number. False, leaving `code` as it
// was, when some operation has a computed operand on both sides (A*B+C*D), or is not one of
// + - * / MIN MAX of two and a change of sign. Each operation computes what the stack computes:
// the operands of - / MIN MAX keep their order, and only + and * take theirs swapped, which
// gives the same bits.
bool AppendChain(std::vector<Instruction>& code) {
  struct Entry {
    bool computed;     // the chain's result, or else `leaf`
    Instruction leaf;  // a Load or Number
  };
  // Code that needs a deeper stack than the limit was refused when compiled (and is refused here).
  std::array<Entry, ExpressionStackLimit + 1> stack;
  std::size_t depth = 0;
  const std::size_t postfix = code.size();
  code.reserve(2 * postfix);  // a chain is never longer than the code it rewrites
  // Starts the chain from a leaf; a second computed operand would need a stack.
  auto start = [&](const Instruction& leaf) {
    if (code.size() != postfix) return false;
    code.push_back(leaf);
    return true;
  };
  auto rewrite = [&]() -> bool {
    for (std::size_t i = 0; i < postfix; ++i) {
      const Instruction in = code[i];  // a copy: the chain grows the same vector
      if (in.op == Op::Number || in.op == Op::Load) {
        if (depth == stack.size()) return false;
        stack[depth++] = {false, in};
        continue;
      }
      if (depth == 0) return false;
      if (in.op == Op::Neg || (in.op >= Op::AddLoad && in.op <= Op::DivNumber)) {
        Entry& top = stack[depth - 1];
        if (!top.computed && !start(top.leaf)) return false;
        top.computed = true;
        code.push_back(in);
        continue;
      }
      Op right, left;  // the operation with a leaf on the right, and on the left
      switch (in.op) {
        case Op::Add: right = left = Op::AddLoad; break;
        case Op::Mul: right = left = Op::MulLoad; break;
        case Op::Sub: right = Op::SubLoad, left = Op::LoadSub; break;
        case Op::Div: right = Op::DivLoad, left = Op::LoadDiv; break;
        case Op::Min: right = Op::MinLoad, left = Op::LoadMin; break;
        case Op::Max: right = Op::MaxLoad, left = Op::LoadMax; break;
        default: return false;
      }
      if ((in.op == Op::Min || in.op == Op::Max) && in.arg != 2) return false;
      if (depth < 2) return false;
      const Entry b = stack[--depth];
      Entry& a = stack[depth - 1];
      if (!b.computed) {
        if (!a.computed && !start(a.leaf)) return false;
        code.push_back(WithOperand(right, b.leaf));
      } else if (!a.computed) {
        code.push_back(WithOperand(left, a.leaf));
      } else {
        return false;
      }
      a.computed = true;
    }
    return depth == 1 && (stack[0].computed || start(stack[0].leaf));
  };
  if (rewrite()) return true;
  code.resize(postfix);
  return false;
}

// Nesting of parentheses and unary signs the parser follows before refusing the text.
constexpr int NestingLimit = 100;

}  // namespace

bool Expression::IsFunctionName(const std::string& upperName) { return FindFunction(upperName) != nullptr; }

class ExpressionParser {
 public:
  ExpressionParser(std::string_view text, const Expression::Resolver& resolver, Expression& out)
      : text_(text), resolver_(resolver), out_(out) {}

  bool parse(std::string& error) {
    skipBlanks();
    if (pos_ >= text_.size()) return fail("the expression is empty");
    if (!sum()) {
      error = error_;
      return false;
    }
    skipBlanks();
    if (pos_ < text_.size()) {
      fail(describeUnexpected());
      error = error_;
      return false;
    }
    if (maxDepth_ > ExpressionStackLimit) {
      error = "the expression is too long to evaluate";
      return false;
    }
    out_.depth_ = maxDepth_;
    // The chain: the code itself where it is one, else its rewriting after it, if it has one.
    out_.stackSize_ = static_cast<std::uint32_t>(out_.code_.size());
    if (IsChain(out_.code_)) out_.chainBegin_ = 0;
    else if (AppendChain(out_.code_)) out_.chainBegin_ = out_.stackSize_;
    else out_.code_.shrink_to_fit();
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }

  std::string describeUnexpected() const {
    if (pos_ >= text_.size()) return "the expression ends too early";
    return std::string("unexpected \"") + text_[pos_] + "\" at position " + std::to_string(pos_ + 1);
  }

  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  bool peek(char c) {
    skipBlanks();
    return pos_ < text_.size() && text_[pos_] == c;
  }

  void emit(Expression::Op op, int arg = 0, double value = 0, int stackChange = -1) {
    depth_ += stackChange;
    maxDepth_ = std::max(maxDepth_, depth_);
    if (fuseWithOperand(op)) return;
    out_.code_.push_back({op, arg, value});
  }

  // An arithmetic operation whose right operand was just pushed by a load or a number takes that
  // operand itself: one instruction instead of two, computing the same.
  bool fuseWithOperand(Expression::Op op) {
    using Op = Expression::Op;
    if (out_.code_.empty()) return false;
    Expression::Instruction& operand = out_.code_.back();
    if (operand.op != Op::Load && operand.op != Op::Number) return false;
    const bool load = operand.op == Op::Load;
    switch (op) {
      case Op::Add: operand.op = load ? Op::AddLoad : Op::AddNumber; return true;
      case Op::Sub: operand.op = load ? Op::SubLoad : Op::SubNumber; return true;
      case Op::Mul: operand.op = load ? Op::MulLoad : Op::MulNumber; return true;
      case Op::Div: operand.op = load ? Op::DivLoad : Op::DivNumber; return true;
      default: return false;
    }
  }

  bool sum() {
    if (!product()) return false;
    while (true) {
      if (peek('+')) {
        ++pos_;
        if (!product()) return false;
        emit(Expression::Op::Add);
      } else if (peek('-')) {
        ++pos_;
        if (!product()) return false;
        emit(Expression::Op::Sub);
      } else {
        return true;
      }
    }
  }

  bool product() {
    if (!unary()) return false;
    while (true) {
      if (peek('*')) {
        ++pos_;
        if (!unary()) return false;
        emit(Expression::Op::Mul);
      } else if (peek('/')) {
        ++pos_;
        if (!unary()) return false;
        emit(Expression::Op::Div);
      } else {
        return true;
      }
    }
  }

  bool unary() {
    if (++nesting_ > NestingLimit) return fail("the expression is nested too deeply");
    bool ok;
    if (peek('-')) {
      ++pos_;
      ok = unary();
      if (ok) emit(Expression::Op::Neg, 0, 0, 0);
    } else if (peek('+')) {
      ++pos_;
      ok = unary();
    } else {
      ok = power();
    }
    --nesting_;
    return ok;
  }

  bool power() {
    if (!primary()) return false;
    if (peek('^')) {
      ++pos_;
      if (!unary()) return false;  // right-grouping, and 2^-1 is allowed
      emit(Expression::Op::Pow);
    }
    return true;
  }

  bool number() {
    std::size_t start = pos_;
    auto digits = [&] {
      std::size_t from = pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      return pos_ > from;
    };
    bool whole = digits();
    bool fraction = false;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      fraction = digits();
    }
    if (!whole && !fraction) return fail("a number is incomplete at position " + std::to_string(start + 1));
    if (pos_ < text_.size() && (text_[pos_] == 'E' || text_[pos_] == 'e')) {
      std::size_t mark = pos_++;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!digits()) {
        pos_ = mark;
        return fail("the exponent of the number at position " + std::to_string(start + 1) + " has no digits");
      }
    }
    std::string literal(text_.substr(start, pos_ - start));
    if (literal.back() == '.') literal.pop_back();  // "12." reads as 12
    double value = 0;
    auto [end, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (ec != std::errc() || end != literal.data() + literal.size() || !std::isfinite(value))
      return fail("the number " + literal + " cannot be held");
    emit(Expression::Op::Number, 0, value, +1);
    return true;
  }

  bool primary() {
    skipBlanks();
    if (pos_ >= text_.size()) return fail("the expression ends too early");
    char c = text_[pos_];
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return number();
    if (c == '(') {
      ++pos_;
      if (++nesting_ > NestingLimit) return fail("the expression is nested too deeply");
      if (!sum()) return false;
      --nesting_;
      if (!peek(')')) return fail("a \")\" is missing at position " + std::to_string(pos_ + 1));
      ++pos_;
      return true;
    }
    if (c == '[') return unitOutput();
    if (std::isalpha(static_cast<unsigned char>(c))) return name();
    return fail(describeUnexpected());
  }

  bool wholeNumber(int& value) {
    skipBlanks();
    std::size_t start = pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ == start) return false;
    auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + pos_, value);
    return ec == std::errc();
  }

  bool unitOutput() {
    std::size_t start = pos_++;
    int unit = 0, output = 0;
    bool ok = wholeNumber(unit) && peek(',');
    if (ok) {
      ++pos_;
      ok = wholeNumber(output) && peek(']');
    }
    if (!ok) return fail("a unit output is written [unit,output], as in [3,1] (position " + std::to_string(start + 1) + ")");
    ++pos_;
    std::string why;
    int index = resolver_.output ? resolver_.output(unit, output, why) : -1;
    if (index < 0) return fail(why.empty() ? "unknown unit output" : why);
    load(index);
    return true;
  }

  void load(int index) {
    emit(Expression::Op::Load, index, 0, +1);
    if (read_.insert(index).second) out_.reads_.push_back(index);
  }

  bool name() {
    std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
      ++pos_;
    std::string upper(text_.substr(start, pos_ - start));
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (peek('(')) {
      const FunctionEntry* f = FindFunction(upper);
      if (!f) return fail("unknown function " + upper);
      ++pos_;
      int count = 0;
      if (++nesting_ > NestingLimit) return fail("the expression is nested too deeply");
      while (true) {
        if (!sum()) return false;
        ++count;
        if (peek(',')) {
          ++pos_;
          continue;
        }
        if (peek(')')) {
          ++pos_;
          break;
        }
        return fail("a \")\" is missing after the arguments of " + upper);
      }
      --nesting_;
      if (count < f->minArgs || count > f->maxArgs) {
        if (f->minArgs == f->maxArgs)
          return fail(upper + " takes " + std::to_string(f->minArgs) + (f->minArgs == 1 ? " argument" : " arguments"));
        return fail(upper + " takes " + std::to_string(f->minArgs) + " to " + std::to_string(f->maxArgs) + " arguments");
      }
      emit(f->op, count, 0, 1 - count);
      return true;
    }
    if (FindFunction(upper)) return fail(upper + " is a function: write " + upper + "(...)");
    if (upper == "INF") {  // the program's infinity, as tables and forms write it
      emit(Expression::Op::Number, 0, 1e99, +1);
      return true;
    }
    std::string why;
    int index = resolver_.name ? resolver_.name(upper, why) : -1;
    if (index < 0) return fail(why.empty() ? "unknown name " + upper : why);
    load(index);
    return true;
  }

  std::string_view text_;
  const Expression::Resolver& resolver_;
  Expression& out_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  int maxDepth_ = 0;
  int nesting_ = 0;
  std::unordered_set<int> read_;  // the indices in out_.reads_, found without a search of the list
  std::string error_;
};

Expression Expression::Compile(std::string_view text, const Resolver& resolver, std::string& error) {
  Expression e;
  ExpressionParser parser(text, resolver, e);
  if (!parser.parse(error)) {
    if (error.empty()) error = parser.error();
    return Expression();
  }
  return e;
}

// The top of the stack is held in `top` (a register) and only what lies below it in `below`:
// most operations then touch no memory but the values they load. Every operation computes what it
// would on a plain stack, in the same order. Each operation jumps straight to the next one's code
// (a jump of its own, which the processor predicts far better than one shared jump).
double Expression::evaluateStack(const double* values, const char*& error) const {
  static const void* const code[] = {
      &&Number, &&Load, &&Neg, &&Add, &&Sub, &&Mul, &&Div, &&Pow, &&Sin, &&Cos, &&Tan, &&Exp, &&Log, &&Log10,
      &&Sqrt, &&Abs, &&Int, &&Min, &&Max, &&Mod, &&AddLoad, &&AddNumber, &&SubLoad, &&SubNumber, &&MulLoad,
      &&MulNumber, &&DivLoad, &&DivNumber};
  // One entry per operation of the stack's code: the ones after DivNumber belong to chains.
  static_assert(sizeof code / sizeof code[0] == static_cast<int>(Op::DivNumber) + 1);
  std::array<double, ExpressionStackLimit + 1> below;
  double top = 0;
  double* next = below.data();  // where a push keeps the top it covers (the first keeps nothing)
  const Instruction* in = code_.data();
  const Instruction* const end = in + stackSize_;
#define TAL_NEXT_OPERATION \
  if (++in == end) goto Done;  \
  goto* code[static_cast<int>(in->op)]
  if (in == end) goto Done;
  goto* code[static_cast<int>(in->op)];
Number:
  *next++ = top;
  top = in->value;
  TAL_NEXT_OPERATION;
Load:
  *next++ = top;
  top = values[in->arg];
  TAL_NEXT_OPERATION;
Neg:
  top = -top;
  TAL_NEXT_OPERATION;
Add:
  top = *--next + top;
  TAL_NEXT_OPERATION;
Sub:
  top = *--next - top;
  TAL_NEXT_OPERATION;
Mul:
  top = *--next * top;
  TAL_NEXT_OPERATION;
Div:
  if (top == 0) return Failed(error, "division by zero");
  top = *--next / top;
  TAL_NEXT_OPERATION;
AddLoad:
  top += values[in->arg];
  TAL_NEXT_OPERATION;
SubLoad:
  top -= values[in->arg];
  TAL_NEXT_OPERATION;
MulLoad:
  top *= values[in->arg];
  TAL_NEXT_OPERATION;
DivLoad:
  if (values[in->arg] == 0) return Failed(error, "division by zero");
  top /= values[in->arg];
  TAL_NEXT_OPERATION;
AddNumber:
  top += in->value;
  TAL_NEXT_OPERATION;
SubNumber:
  top -= in->value;
  TAL_NEXT_OPERATION;
MulNumber:
  top *= in->value;
  TAL_NEXT_OPERATION;
DivNumber:
  if (in->value == 0) return Failed(error, "division by zero");
  top /= in->value;
  TAL_NEXT_OPERATION;
Pow: {
  const double r = std::pow(*--next, top);
  if (std::isnan(r)) return Failed(error, "a negative number raised to a power that is not whole");
  top = r;
  TAL_NEXT_OPERATION;
}
Sin:
  top = std::sin(top);
  TAL_NEXT_OPERATION;
Cos:
  top = std::cos(top);
  TAL_NEXT_OPERATION;
Tan:
  top = std::tan(top);
  TAL_NEXT_OPERATION;
Exp:
  top = std::exp(top);
  TAL_NEXT_OPERATION;
Log:
  if (top <= 0) return Failed(error, "LOG of a number that is not above zero");
  top = std::log(top);
  TAL_NEXT_OPERATION;
Log10:
  if (top <= 0) return Failed(error, "LOG10 of a number that is not above zero");
  top = std::log10(top);
  TAL_NEXT_OPERATION;
Sqrt:
  if (top < 0) return Failed(error, "SQRT of a negative number");
  top = std::sqrt(top);
  TAL_NEXT_OPERATION;
Abs:
  top = std::fabs(top);
  TAL_NEXT_OPERATION;
Int:
  top = std::trunc(top);
  TAL_NEXT_OPERATION;
Min:
Max: {
  // The arguments in the order written: the n - 1 below the top, then the top.
  const bool min = in->op == Op::Min;
  const int n = in->arg;
  next -= n - 1;
  double r = next[0];
  for (int i = 1; i < n - 1; ++i) r = min ? std::min(r, next[i]) : std::max(r, next[i]);
  top = min ? std::min(r, top) : std::max(r, top);
  TAL_NEXT_OPERATION;
}
Mod:
  if (top == 0) return Failed(error, "MOD with a divisor of zero");
  top = std::fmod(*--next, top);  // sign of the dividend, as a - b*INT(a/b)
  TAL_NEXT_OPERATION;
#undef TAL_NEXT_OPERATION
Done:
  if (next != below.data() + 1) return Failed(error, "the expression is empty");
  if (!std::isfinite(top)) return Failed(error, "the result is too large to hold");
  return top;
}

}  // namespace talpix
