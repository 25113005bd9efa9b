// The solver's expression language in-process: precedence, functions, texts, the
// positions of syntax errors and the evaluation errors.
#include "examples/solver/Expression.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv::solver {
namespace {

Value eval(const std::string& text) {
  Expression e = Expression::parse(text);
  e.bind([](const std::string&) { return Expression::kUnbound; });
  return e.evaluate({});
}

struct NumberCase {
  const char* text;
  long double expected;
};

TEST(ExpressionTest, FollowsPrecedenceAndFunctions) {
  const NumberCase cases[] = {
      {"1+2*3", 7},         {"(1+2)*3", 9},      {"10-4-3", 3},
      {"10/4/5", 0.5},      {"2^3^2", 512},      {"-2^2", -4},
      {"2^-1", 0.5},        {"-3*-2", 6},        {"+4", 4},
      {"2*3^2", 18},        {"-(2+3)", -5},      {"1 + 2 * 3 - 4 / 2", 5},
      {"sqrt(16)", 4},      {"exp(0)", 1},       {"ln(exp(2))", 2},
      {"log10(1000)", 3},   {"sin(pi/2)", 1},    {"cos(0)", 1},
      {"tan(0)", 0},        {"abs(-3)", 3},      {"min(3,1,2)", 1},
      {"max(3, 1, 2)", 3},  {"SQRT(4)", 2},      {"Max(1,2)", 2},
      {"1e3", 1000},        {"1.5E-1", 0.15},    {"5.", 5},
      {".5", 0.5},          {"2<3", 1},          {"3<=2", 0},
      {"2>=2", 1},          {"2==2", 1},         {"2<>2", 0},
      {"2!=3", 1},          {"1+1<3", 1},        {"if(1<2, 10, 20)", 10},
      {"if(0, 1/0, 3)", 3}, {"log10(100)^2", 4}, {"'a'=='a'", 1},
      {"'a'<>'b'", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Value v = eval(c.text);
    ASSERT_FALSE(v.isText());
    EXPECT_NEAR(static_cast<double>(v.number()), static_cast<double>(c.expected), 1e-12);
  }
  EXPECT_NEAR(static_cast<double>(eval("pi").number()), M_PI, 1e-15);
}

TEST(ExpressionTest, JoinsAndQuotesTexts) {
  EXPECT_EQ(eval("'a' + \"b\"").text(), "ab");
  EXPECT_EQ(eval("'It''s'").text(), "It's");
  EXPECT_EQ(eval("if(2>1, 'yes', 'no')").text(), "yes");
  EXPECT_EQ(eval("'m³/h'").text(), "m³/h");
}

TEST(ExpressionTest, ListsAndBindsVariables) {
  Expression e = Expression::parse("a*B + sqrt(A) + c$ + b");
  EXPECT_EQ(e.variables(), (std::vector<std::string>{"a", "B", "c$"}));
  std::vector<Value> table{Value(Number{4}), Value(Number{3}), Value(std::string("x"))};
  Expression n = Expression::parse("a*B + sqrt(A)");
  n.bind([](const std::string& name) -> std::size_t {
    const std::string f = foldName(name);
    return f == "a" ? 0 : f == "b" ? 1 : Expression::kUnbound;
  });
  EXPECT_EQ(n.evaluate(table).number(), 14);
}

struct SyntaxCase {
  const char* text;
  std::size_t position;
  const char* reason;
};

TEST(ExpressionTest, ReportsSyntaxErrorsWithTheirPosition) {
  const SyntaxCase cases[] = {
      {"1+", 3, "a value or name is expected"},
      {"", 1, "a value or name is expected"},
      {"(1+2", 1, "\")\" is expected"},
      {"(1+2 3", 6, "\")\" is expected"},
      {"1 2", 3, "unexpected character"},
      {"1)", 2, "\")\" without \"(\""},
      {"foo(1)", 1, "unknown function foo"},
      {"sqrt(1,2)", 1, "sqrt takes 1 argument"},
      {"min(1)", 1, "min takes 2 or more arguments"},
      {"if(1,2)", 1, "if takes 3 arguments: if(condition, then, else)"},
      {"1e", 3, "digits of the exponent are expected"},
      {"1.2.3", 4, "malformed number"},
      {"2x", 2, "malformed number"},
      {"'abc", 1, "text without its closing quote"},
      {"1<2<3", 4, "comparisons cannot be chained"},
      {"max(1;2)", 6, "\",\" or \")\" is expected"},
      {"ΔΔ + @", 6, "unexpected character"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      Expression::parse(c.text);
      ADD_FAILURE() << "no syntax error";
    } catch (const Expression::SyntaxError& e) {
      EXPECT_EQ(e.position(), c.position);
      EXPECT_STREQ(e.what(), c.reason);
    }
  }
}

struct EvalErrorCase {
  const char* text;
  const char* message;
};

TEST(ExpressionTest, RefusesValuesThatCannotBeComputed) {
  const EvalErrorCase cases[] = {
      {"1/0", "Division by zero"},
      {"0^-1", "Division by zero"},
      {"sqrt(-1)", "Square root of a negative number"},
      {"ln(0)", "ln of a number that is not positive"},
      {"log10(-1)", "log10 of a number that is not positive"},
      {"(-8)^(1/3)", "Negative number raised to a non-integer power"},
      {"exp(100000)", "Numeric overflow"},
      {"1e4000*1e4000*1e4000", "Numeric overflow"},
      {"'a'*2", "Text and number mixed"},
      {"'a'-'b'", "Texts can only be joined (+) or compared"},
      {"-'a'", "Text used in arithmetic"},
      {"sqrt('a')", "Text used in arithmetic"},
      {"x + 1", "Unknown variable x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      eval(c.text);
      ADD_FAILURE() << "no evaluation error";
    } catch (const Expression::EvaluationError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(ExpressionTest, RefusesExpressionsTooDeepToEvaluate) {
  const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
  std::string longSum = "1";
  for (int i = 0; i < 5000; ++i) longSum += "+1";
  const std::string signs = std::string(5000, '-') + "1";
  for (const std::string& text : {deep, longSum, signs}) {
    SCOPED_TRACE(text.substr(0, 20));
    try {
      Expression::parse(text);
      ADD_FAILURE() << "no syntax error";
    } catch (const Expression::SyntaxError& e) {
      EXPECT_STREQ(e.what(), "the expression is too long or nested too deeply");
    }
  }
  // What a person writes stays well inside the limits.
  std::string sum = "1";
  for (int i = 0; i < 500; ++i) sum += " + 1";
  EXPECT_EQ(eval(sum).number(), 501);
  EXPECT_EQ(eval(std::string(100, '(') + "2" + std::string(100, ')')).number(), 2);
}

TEST(ExpressionTest, KeepsTheExtendedRangeOfThePage) {
  // The page's infinity (1E3999) is a finite extended value and stays computable.
  const Value v = eval("1e3999 * 2");
  EXPECT_TRUE(std::isfinite(v.number()));
  EXPECT_GT(v.number(), 1e3999L);
}

TEST(ExpressionTest, NamesFollowTheirRules) {
  EXPECT_TRUE(isVariableName("Q"));
  EXPECT_TRUE(isVariableName("eta_p"));
  EXPECT_TRUE(isVariableName("Fluid$"));
  EXPECT_TRUE(isVariableName("Δp"));
  EXPECT_FALSE(isVariableName("$"));
  EXPECT_FALSE(isVariableName("1a"));
  EXPECT_FALSE(isVariableName("a b"));
  EXPECT_FALSE(isVariableName("a$b"));
  EXPECT_TRUE(isTextName("A$"));
  EXPECT_FALSE(isTextName("A"));
  EXPECT_EQ(foldName("Eta_P$"), "eta_p$");
}

}  // namespace
}  // namespace orv::solver
