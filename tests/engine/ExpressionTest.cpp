#include "Expression.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

namespace talpix {
namespace {

// Names A (2), B (10) and Z (0) and the unit output [3,1] (5); anything else is unknown.
Expression Compile(const std::string& text, std::string& error) {
  Expression::Resolver r;
  r.name = [](const std::string& name, std::string& why) {
    if (name == "A") return 0;
    if (name == "B") return 1;
    if (name == "Z") return 3;
    why = "unknown name " + name;
    return -1;
  };
  r.output = [](int unit, int output, std::string& why) {
    if (unit == 3 && output == 1) return 2;
    why = "no output [" + std::to_string(unit) + "," + std::to_string(output) + "]";
    return -1;
  };
  return Expression::Compile(text, r, error);
}

const double Values[] = {2, 10, 5, 0};

TEST(Expression, PrecedenceAndFunctions) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"1+2*3", 7},          {"(1+2)*3", 9},       {"10-4-3", 3},         {"8/4/2", 1},
      {"-2^2", -4},          {"2^3^2", 512},       {"2^-1", 0.5},         {"2*-3", -6},
      {"-(3-5)", 2},         {"+4", 4},            {"1.5E2", 150},        {".5", 0.5},
      {"12.", 12},           {"1e-3*1000", 1},     {"2.8000E+0001", 28},  {"a*B+[3,1]", 25},
      {"a ^ 2 * b", 40},     {"MOD(7,3)", 1},      {"MOD(-7,3)", -1},     {"INT(-2.7)", -2},
      {"INT(2.7)", 2},       {"MIN(3,1,2)", 1},    {"MAX(1,5)", 5},       {"SQRT(16)", 4},
      {"LOG(EXP(2))", 2},    {"LOG10(1000)", 3},   {"ABS(-3)", 3},        {"SIN(0)+COS(0)", 1},
      {"TAN(0)", 0},         {"inf", 1e99},        {"-INF", -1e99},       {"sqrt(a*8)", 4},
      {"b/a-a", 3},          {"a-b*[3,1]", -48},   {"(a+1)/b*4", 1.2},    {"-a-b-1", -13},
  };
  for (const auto& c : cases) {
    std::string error;
    Expression e = Compile(c.text, error);
    ASSERT_FALSE(e.empty()) << c.text << ": " << error;
    const char* fault = nullptr;
    EXPECT_NEAR(e.evaluate(Values, fault), c.value, 1e-12 * std::max(1.0, std::fabs(c.value))) << c.text;
    EXPECT_EQ(fault, nullptr) << c.text;
  }
}

TEST(Expression, FaultsOfTheTextAreNamed) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"QHET+1", "unknown name QHET"},
      {"1+", "the expression ends too early"},
      {"(1+2", "a \")\" is missing at position 5"},
      {"FOO(1)", "unknown function FOO"},
      {"MOD(1)", "MOD takes 2 arguments"},
      {"MIN(1)", "MIN takes 2 to 16 arguments"},
      {"SIN", "SIN is a function: write SIN(...)"},
      {"1.5E+", "the exponent of the number at position 1 has no digits"},
      {"[3]", "a unit output is written [unit,output], as in [3,1] (position 1)"},
      {"[4,2]", "no output [4,2]"},
      {"2 3", "unexpected \"3\" at position 3"},
      {"2#3", "unexpected \"#\" at position 2"},
      {"", "the expression is empty"},
      {"1E999", "the number 1E999 cannot be held"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_TRUE(Compile(c.text, error).empty()) << c.text;
    EXPECT_EQ(error, c.message) << c.text;
  }
  std::string deep(300, '(');
  std::string error;
  EXPECT_TRUE(Compile(deep + "1" + std::string(300, ')'), error).empty());
  EXPECT_EQ(error, "the expression is nested too deeply");
}

TEST(Expression, FaultsOfEvaluationAreNamed) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"1/(a-2)", "division by zero"},
      {"a/z", "division by zero"},
      {"b*2/0", "division by zero"},
      {"SQRT(-1)", "SQRT of a negative number"},
      {"LOG(0)", "LOG of a number that is not above zero"},
      {"LOG10(-1)", "LOG10 of a number that is not above zero"},
      {"MOD(1,0)", "MOD with a divisor of zero"},
      {"(-8)^0.5", "a negative number raised to a power that is not whole"},
      {"EXP(1000)", "the result is too large to hold"},
      {"b*1E308*10", "the result is too large to hold"},
      {"-a/z", "division by zero"},
  };
  for (const auto& c : cases) {
    std::string error;
    Expression e = Compile(c.text, error);
    ASSERT_FALSE(e.empty()) << c.text << ": " << error;
    const char* fault = nullptr;
    EXPECT_TRUE(std::isnan(e.evaluate(Values, fault))) << c.text;
    ASSERT_NE(fault, nullptr) << c.text;
    EXPECT_STREQ(fault, c.message) << c.text;
  }
}

// Expressions whose operations each take a name or a number are evaluated as a chain, with the
// operands of - / MIN and MAX in their order and those of + and * swapped where the name stands
// first: the same bits and faults as on the stack, signed zeros and overflow included.
TEST(Expression, ChainsComputeWhatTheStackComputes) {
  struct Case {
    const char* text;
    bool chain;
  } cases[] = {
      {"-A", true},           {"A-B", true},          {"2-A", true},          {"A/B", true},
      {"1/A", true},          {"B/(A-2)", true},      {"MIN(A,3)", true},     {"MIN(3,A)", true},
      {"MAX(A,B)", true},     {"MAX(0,A*B)", true},   {"MIN(Z,-A)", true},    {"1/(1/(A+B))", true},
      {"A-(B-(Z-[3,1]))", true},                      {"B*MIN(A,MAX(0,[3,1]*(B-A)))", true},
      {"-(A*1E308)*10", true}, {"2*(A-B)/3", true},   {"Z*A+B", true},        {"A", true},
      {"A*B+[3,1]*Z", false}, {"MIN(A,B,Z)", false},  {"SQRT(A)+1", false},   {"(A+B)*(A-B)", false},
  };
  const double sets[][4] = {{2, 10, 5, 0}, {-0.0, 0.0, -3, 1e300}, {1e308, -1e308, 0.5, -0.0}, {0.0, -0.0, -0.0, 0.0}};
  for (const auto& c : cases) {
    std::string error;
    Expression e = Compile(c.text, error);
    ASSERT_FALSE(e.empty()) << c.text << ": " << error;
    EXPECT_EQ(e.isChain(), c.chain) << c.text;
    for (const auto& values : sets) {
      const char *chainFault = nullptr, *stackFault = nullptr;
      const double chained = e.evaluate(values, chainFault), stacked = e.evaluateStack(values, stackFault);
      EXPECT_EQ(chainFault == nullptr, stackFault == nullptr) << c.text;
      if (chainFault && stackFault) EXPECT_STREQ(chainFault, stackFault) << c.text;
      if (!chainFault) EXPECT_EQ(std::bit_cast<std::uint64_t>(chained), std::bit_cast<std::uint64_t>(stacked)) << c.text << " " << values[0];
    }
  }
}

}  // namespace
}  // namespace talpix
