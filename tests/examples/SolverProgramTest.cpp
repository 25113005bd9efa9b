// The solver program as the page runs it: a real process in a temporary folder, its
// equations file, its input file, and the result or error file it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "platform/CodePage.h"
#include "tests/examples/SolverHarness.h"

namespace orv::solver::test {
namespace {

namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

// Runs equations and input statements and returns the result fields, failing the test
// when the run did not succeed cleanly.
std::vector<std::string> solveFields(SolverHarness& h, const Lines& equations, Lines input,
                                     const Lines& exports) {
  h.writeEquations(equations);
  input.push_back(h.exportLine(exports));
  const auto o = h.run(input);
  EXPECT_EQ(o.exitCode, 0) << (o.error ? *o.error : "");
  EXPECT_FALSE(o.error) << *o.error;
  if (!o.result) {
    ADD_FAILURE() << "no result file";
    return {};
  }
  return SolverHarness::fields(*o.result);
}

TEST(SolverProgramTest, SolvesAssignmentsInDependencyOrder) {
  SolverHarness h;
  EXPECT_EQ(solveFields(h, {"c = b*2", "b = a + 1", "a = 3"}, {}, {"c", "b", "a"}),
            (Lines{"8", "4", "3"}));
}

TEST(SolverProgramTest, SolvesALongChainWithoutDeepRecursion) {
  SolverHarness h;
  Lines eqn;
  for (int i = 5000; i >= 1; --i)
    eqn.push_back("x" + std::to_string(i) + " = x" + std::to_string(i - 1) + " + 1");
  eqn.push_back("x0 = 0");
  EXPECT_EQ(solveFields(h, eqn, {}, {"x5000"}), (Lines{"5000"}));
}

TEST(SolverProgramTest, AppliesPrecedenceAndFunctionsInEquations) {
  SolverHarness h;
  const Lines eqn = {"p1 = 1 + 2*3^2",
                     "p2 = -2^2 + (1+2)*3",
                     "p3 = sqrt(16) + abs(-1)",
                     "p4 = ln(exp(2)) * log10(1000)",
                     "p5 = min(4, 2, 8) + max(1, 5)",
                     "p6 = sin(pi/2) + cos(0) + tan(0)",
                     "p7 = if(p1 > 18, 1, 0)  # comment",
                     "p8 = 10/4; p9 = 2^-1"};
  EXPECT_EQ(solveFields(h, eqn, {}, {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"}),
            (Lines{"19", "5", "5", "6", "7", "2", "1", "2.5", "0.5"}));
}

TEST(SolverProgramTest, InputOverridesTheDefaultsOfTheEquationsFile) {
  SolverHarness h;
  EXPECT_EQ(solveFields(h, {"a = 1", "b = a*10", "c = 2"}, {"a=5", "c = b + 1"}, {"a", "b", "c"}),
            (Lines{"5", "50", "51"}));
}

TEST(SolverProgramTest, ReadsInputValuesAsThePageReadsNumbers) {
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"x=1,500", "1500.0"}, {"x=1:30", "1.5"},       {"x= 2.5 ", "2.5"},
      {"x=inf", "infinity"}, {"x=-inf", "-infinity"}, {"x=1e3", "1000.0"},
      {"x=5.", "5.0"},       {"x=2*3", "6.0"},        {"X=7", "7.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    SolverHarness h;
    EXPECT_EQ(solveFields(h, {"x = 0", "VAR x FORMAT=F1"}, {c.input}, {"x"}), (Lines{c.expected}));
  }
}

TEST(SolverProgramTest, KeepsTextVariablesAsWritten) {
  SolverHarness h;
  const Lines eqn = {"Unit$ = 'kg'", "Label$ = Fluid$ + ' (' + Unit$ + ')'",
                     "Kind$ = if(Fluid$ == 'Water', 'aqueous', 'other')", "Fluid$ = 'Oil'"};
  EXPECT_EQ(solveFields(h, eqn, {"Fluid$='It's; #1 fluid'"}, {"Fluid$", "Label$", "Kind$"}),
            (Lines{"It's; #1 fluid", "It's; #1 fluid (kg)", "other"}));
  SolverHarness h2;
  EXPECT_EQ(solveFields(h2, eqn, {"Fluid$='Water'"}, {"Kind$"}), (Lines{"aqueous"}));
}

TEST(SolverProgramTest, TakesTheLinesOfDropDownsCheckBoxesAndRadioButtons) {
  SolverHarness h;
  const Lines eqn = {"k = 1",    "rho = 1",    "nu = 1",
                     "useK = 0", "eta_m = 80", "Total = k*useK + rho*nu*1E6 + eta_m"};
  const Lines input = {"Mat$='Steel//k=45'", "k=45",        "rho=998; nu=1E-6", "useK=1",
                       "eta_m=91.4",         "Class$='IE3'"};
  EXPECT_EQ(solveFields(h, eqn, input, {"Mat$", "k", "Total", "Class$"}),
            (Lines{"Steel//k=45", "45", "1134", "IE3"}));
}

TEST(SolverProgramTest, WritesEachFieldInItsDisplayFormatWithUnits) {
  const Lines eqn = {"a = 1234.5678",
                     "b = a",
                     "c = 12340",
                     "d = 123.456",
                     "e = 2500000",
                     "t1 = 1.5",
                     "t2 = 2.50694",
                     "z = 2.5",
                     "w = 1234",
                     "n = -0.04",
                     "Name$ = 'Pump A'",
                     "VAR a FORMAT=F2 UNITS=m³/h",
                     "VAR b FORMAT=E3 UNITS=kPa",
                     "VAR c FORMAT=G3",
                     "VAR d FORMAT=A4 UNITS=m",
                     "VAR e FORMAT=A4",
                     "VAR t1 FORMAT=T1 UNITS=h",
                     "VAR t2 FORMAT=T2",
                     "VAR z FORMAT=F0",
                     "VAR w FORMAT=E0",
                     "VAR n FORMAT=F1 UNITS='deg C'",
                     "VAR Name$ UNITS=x FORMAT=S0"};
  const Lines names = {"a", "b", "c", "d", "e", "t1", "t2", "z", "w", "n", "Name$"};
  {
    SolverHarness h;
    h.writeEquations(eqn);
    const auto o = h.run({h.exportLine(names)});
    ASSERT_TRUE(o.result) << (o.error ? *o.error : "");
    EXPECT_EQ(SolverHarness::fields(*o.result),
              (Lines{"1234.57 [m³/h]", "1.235E+03 [kPa]", "12.34E3", "123.5 [m]", "2.500E+06",
                     "1:30 [h]", "2:30:25", "3", "1E+03", "-0.0 [deg C]", "Pump A"}));
    // One line in the system's code page, ended by CR LF.
    EXPECT_EQ(o.resultBytes->substr(0, 15), "1234.57 [m\xB3/h]\t");
    EXPECT_EQ(o.resultBytes->substr(o.resultBytes->size() - 2), "\r\n");
    EXPECT_EQ(o.resultBytes->find('\n'), o.resultBytes->size() - 1);
  }
  {
    SolverHarness h;  // without /U: no units; without /D: the automatic format
    h.writeEquations(eqn);
    const auto o = h.run({h.exportLine({"a", "t1", "e", "Name$"}, false, false)});
    ASSERT_TRUE(o.result);
    EXPECT_EQ(SolverHarness::fields(*o.result), (Lines{"1235", "1.5", "2.500E+06", "Pump A"}));
  }
  {
    SolverHarness h;  // /U alone
    h.writeEquations(eqn);
    const auto o = h.run({h.exportLine({"a", "c"}, true, false)});
    ASSERT_TRUE(o.result);
    EXPECT_EQ(SolverHarness::fields(*o.result), (Lines{"1235 [m³/h]", "12340"}));
  }
}

TEST(SolverProgramTest, WritesAnEmptyLineForAnEmptyExportList) {
  SolverHarness h;
  h.writeEquations({"a = 1"});
  const auto o = h.run({h.exportLine({})});
  EXPECT_EQ(o.exitCode, 0);
  ASSERT_TRUE(o.resultBytes);
  EXPECT_EQ(*o.resultBytes, "\r\n");
}

TEST(SolverProgramTest, KeepsTextFieldsOnOneLine) {
  SolverHarness h;
  h.writeEquations({"A$ = 'x' + T$ + 'y'", "T$ = 'a\tb'"});
  const auto o = h.run({h.exportLine({"A$", "T$"})});
  ASSERT_TRUE(o.result);
  EXPECT_EQ(SolverHarness::fields(*o.result), (Lines{"xa by", "a b"}));
}

struct ErrorCase {
  const char* label;
  Lines equations;
  Lines input;  // statements before the export line
  Lines exports;
  std::string message;  // the whole first line of the error file
};

TEST(SolverProgramTest, WritesEveryErrorAsOneLineOfTheErrorFile) {
  const ErrorCase cases[] = {
      {"unknown variable",
       {"a = 1", "b = a + c"},
       {},
       {"b"},
       "Unknown variable c in the equation of b (CALC.EQN line 2)"},
      {"unknown variable in an input statement",
       {"a = 1"},
       {"b = a + q"},
       {"b"},
       "Unknown variable q in the equation of b (the input file line 1)"},
      {"unknown exported variable",
       {"a = 1"},
       {},
       {"a", "zz"},
       "Unknown variable zz in the $EXPORT list"},
      {"division by zero",
       {"a = 0", "b = 1/a"},
       {},
       {"b"},
       "Division by zero in the equation of b (CALC.EQN line 2)"},
      {"division by zero from an input",
       {"a = 1", "b = 1/a"},
       {"a=0"},
       {"b"},
       "Division by zero in the equation of b (CALC.EQN line 2)"},
      {"cyclic definition",
       {"a = b + 1", "b = c", "c = a"},
       {},
       {"a"},
       "Cyclic definition: a -> b -> c -> a (CALC.EQN line 1)"},
      {"self reference", {"a = a + 1"}, {}, {"a"}, "Cyclic definition: a -> a (CALC.EQN line 1)"},
      {"cycle through an input",
       {"a = 1", "b = a*2"},
       {"a = b"},
       {"b"},
       "Cyclic definition: a -> b -> a (the input file line 1)"},
      {"above the range",
       {"a = 5", "VAR a UNITS=m FORMAT=F1 MIN=0 MAX=10"},
       {"a=12"},
       {"a"},
       "a = 12.0 m is out of its range 0.0 to 10.0 m (CALC.EQN line 2)"},
      {"below a minimum",
       {"a = -1", "VAR a MIN=0"},
       {},
       {"a"},
       "a = -1 is out of its range 0 to infinity (CALC.EQN line 2)"},
      {"computed value out of range",
       {"a = 2", "b = a*10", "VAR b MAX=10 UNITS=m/s FORMAT=F2"},
       {},
       {"a"},
       "b = 20.00 m/s is out of its range -infinity to 10.00 m/s (CALC.EQN line 3)"},
      {"range checked before its dependants",
       {"a = 0", "b = 1/a", "VAR a MIN=1"},
       {},
       {"b"},
       "a = 0 is out of its range 1 to infinity (CALC.EQN line 3)"},
      {"syntax: unclosed parenthesis",
       {"a = (1 + 2"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 1 at position 5: \")\" is expected"},
      {"syntax: not an assignment",
       {"a = 1", "a + b = 3"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 2 at position 1: not a valid variable name"},
      {"syntax: a lone name",
       {"a = 1", "  b  # nothing"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 2 at position 3: \"name = expression\" is expected"},
      {"syntax: second statement of a line",
       {"a = 1; b = 2 +"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 1 at position 15: a value or name is expected"},
      {"syntax: unknown function",
       {"a = foo(2)"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 1 at position 5: unknown function foo"},
      {"syntax: pi cannot be defined",
       {"pi = 3"},
       {},
       {},
       "Syntax error in CALC.EQN line 1 at position 1: pi is a built-in constant"},
      {"syntax: input statement",
       {"a = 1"},
       {"a=2*/3"},
       {"a"},
       "Syntax error in the input file line 1 at position 5: unexpected character"},
      {"syntax: unknown display format",
       {"a = 1", "VAR a FORMAT=X2"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 2 at position 14: unknown display format (A, E, F, G, S or "
       "T and one digit)"},
      {"syntax: range that is no number",
       {"a = 1", "VAR a MIN=abc"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 2 at position 11: not a number"},
      {"syntax: unknown directive",
       {"a = 1"},
       {"$FOO 1"},
       {"a"},
       "Syntax error in the input file line 1 at position 1: unknown directive $FOO"},
      {"square root of a negative number",
       {"a = -4", "b = sqrt(a)"},
       {},
       {"b"},
       "Square root of a negative number in the equation of b (CALC.EQN line 2)"},
      {"text in arithmetic",
       {"a$ = 'x'", "b = a$ * 2"},
       {},
       {"b"},
       "Text and number mixed in the equation of b (CALC.EQN line 2)"},
      {"number for a text variable",
       {"A$ = 3"},
       {},
       {"A$"},
       "A number given for a text variable in the equation of A$ (CALC.EQN line 1)"},
      {"defined twice",
       {"a = 1", "b = 2", "A = 3"},
       {},
       {"a"},
       "A is defined twice (CALC.EQN lines 1 and 3)"},
      {"declared twice",
       {"a = 1", "VAR a FORMAT=F1", "VAR A UNITS=m"},
       {},
       {"a"},
       "A is declared twice (CALC.EQN lines 2 and 3)"},
      {"overflow",
       {"a = 10^4000", "b = a^2"},
       {},
       {"b"},
       "Numeric overflow in the equation of b (CALC.EQN line 2)"},
      {"plot block without END",
       {"a = 1", "PLOT 1", "X a"},
       {},
       {"a"},
       "PLOT 1 (CALC.EQN line 2) has no END line"},
      {"plot block without curve",
       {"a = 1", "PLOT 1", "X a", "XMIN 0", "XMAX 1", "END"},
       {},
       {"a"},
       "PLOT 1 (CALC.EQN line 2) needs its X, XMIN, XMAX and at least one Y line"},
      {"unknown plot setting",
       {"a = 1", "PLOT 1", "COLOUR red", "END"},
       {},
       {"a"},
       "Syntax error in CALC.EQN line 3 at position 1: unknown plot setting COLOUR"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SolverHarness h;
    h.writeEquations(c.equations);
    Lines input = c.input;
    input.push_back(h.exportLine(c.exports));
    const auto o = h.run(input);
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_FALSE(o.resultBytes) << *o.resultBytes;
    ASSERT_TRUE(o.errorBytes);
    EXPECT_EQ(*o.errorBytes, utf8ToCp1252(c.message) + "\r\n");
  }
}

TEST(SolverProgramTest, ReportsProblemsOfTheInputFileItself) {
  struct Case {
    const char* label;
    std::function<Lines(const SolverHarness&)> input;
    std::string (*message)(const SolverHarness&);
  };
  const Case cases[] = {
      {"no export line", [](const SolverHarness&) { return Lines{"a=1"}; },
       [](const SolverHarness&) { return std::string("The input file has no $EXPORT line"); }},
      {"two export lines",
       [](const SolverHarness& h) {
         return Lines{h.exportLine({"a"}), h.exportLine({"a"})};
       },
       [](const SolverHarness&) {
         return std::string("The input file has more than one $EXPORT line");
       }},
      {"export without a file", [](const SolverHarness&) { return Lines{"$EXPORT /U /D a"}; },
       [](const SolverHarness&) {
         return std::string(
             "Syntax error in the input file line 1 at position 9: a file name in apostrophes is "
             "expected");
       }},
      {"unknown export switch",
       [](const SolverHarness& h) { return Lines{"$EXPORT '" + h.resultFile() + "' /X a"}; },
       [](const SolverHarness& h) {
         return "Syntax error in the input file line 1 at position " +
                std::to_string(h.resultFile().size() + 12) + ": unknown switch /X";
       }},
      {"plot window not declared",
       [](const SolverHarness& h) {
         return Lines{h.exportLine({"a"}), "$EXPORTPLOT '" + h.path("p.gif") + "' 3 /R=1"};
       },
       [](const SolverHarness&) {
         return std::string("Plot window 3 is not declared in CALC.EQN");
       }},
      {"plot file of another type",
       [](const SolverHarness& h) {
         return Lines{h.exportLine({"a"}), "$EXPORTPLOT '" + h.path("p.bmp") + "' 1 /R=1"};
       },
       [](const SolverHarness& h) {
         return "A plot file must end in .gif or .png: " + h.path("p.bmp");
       }},
      {"plot line without window",
       [](const SolverHarness& h) {
         return Lines{h.exportLine({"a"}), "$EXPORTPLOT '" + h.path("p.gif") + "' /R=1"};
       },
       [](const SolverHarness& h) {
         return "Syntax error in the input file line 2 at position " +
                std::to_string(h.path("p.gif").size() + 20) + ": a plot window number is expected";
       }},
      {"plot into a missing folder",
       [](const SolverHarness& h) {
         return Lines{h.exportLine({"a"}), "$EXPORTPLOT '" + h.path("nofolder/p.gif") + "' 1 /R=1"};
       },
       [](const SolverHarness& h) {
         return "The file cannot be written: " + h.path("nofolder/p.gif");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SolverHarness h;
    h.writeEquations({"a = 1", "PLOT 1", "X a", "XMIN 0", "XMAX 2", "Y a", "END"});
    const auto o = h.run(c.input(h));
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_FALSE(o.resultBytes);
    ASSERT_TRUE(o.error);
    EXPECT_EQ(*o.error, c.message(h));
  }
}

TEST(SolverProgramTest, ReportsAMissingEquationsFile) {
  SolverHarness h;
  const auto o = h.run({h.exportLine({"a"})});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_FALSE(o.resultBytes);
  ASSERT_TRUE(o.error);
  EXPECT_EQ(*o.error, "The equations file was not found: CALC.EQN");
}

TEST(SolverProgramTest, ReportsAMissingInputFileBesideIt) {
  SolverHarness h;
  h.writeEquations({"a = 1"});
  const int rc = h.runCommand("CALC.EXE /DIAGRAMINPUT=" + h.path("GONE.TXT"), h.dir());
  EXPECT_EQ(rc, 1);
  const auto err = readFile(h.path("GONE.err"));
  ASSERT_TRUE(err);
  EXPECT_EQ(*err, "The file cannot be read: " + h.path("GONE.TXT") + "\r\n");
}

TEST(SolverProgramTest, LeavesTheResultFileOrTheErrorFileNeverBoth) {
  {
    SolverHarness h;  // a failing run removes an old result file of the same name
    h.writeEquations({"a = 1/0"});
    writeFile(h.resultFile(), "old\r\n");
    const auto o = h.run({h.exportLine({"a"})});
    EXPECT_TRUE(o.error);
    EXPECT_FALSE(o.resultBytes);
  }
  {
    SolverHarness h;  // a successful run removes an old error file of the same name
    h.writeEquations({"a = 1"});
    writeFile(h.errorFile(), "old\r\n");
    const auto o = h.run({h.exportLine({"a"})});
    EXPECT_TRUE(o.result);
    EXPECT_FALSE(o.errorBytes);
  }
  {
    SolverHarness h;  // a plot that fails after the values were computed: no result file
    h.writeEquations({"a = 1", "PLOT 1", "X a", "XMIN 2", "XMAX 1", "Y a", "END"});
    const auto o = h.run({h.exportLine({"a"}), "$EXPORTPLOT '" + h.path("p.png") + "' 1 /R=1"});
    EXPECT_FALSE(o.resultBytes);
    ASSERT_TRUE(o.error);
    EXPECT_EQ(*o.error, "The x range of PLOT 1 (CALC.EQN line 2) is empty: from 2 to 1");
  }
  {
    SolverHarness h;  // nothing but the two files of the cycle is left behind
    h.writeEquations({"a = 1"});
    h.run({h.exportLine({"a"})});
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(h.dir())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Lines{"CALC.EQN", "CALC.EXE", "CALC@8001_4711.TXT", "CALC@8001_4711.out"}));
  }
}

TEST(SolverProgramTest, WithoutTheInputSwitchPrintsUsageAndWritesNothing) {
  SolverHarness h;
  h.writeEquations({"a = 1"});
  EXPECT_EQ(h.runCommand("CALC.EXE", h.dir()), 2);
  EXPECT_EQ(h.runCommand("CALC.EXE /DIAGRAMINPUT=", h.dir()), 2);
  EXPECT_EQ(std::distance(fs::directory_iterator(h.dir()), fs::directory_iterator()), 2);
}

TEST(SolverProgramTest, AcceptsTheSwitchInAnyCaseWithDashOrSlash) {
  SolverHarness h;
  h.writeEquations({"a = 1"});
  writeFile(h.inputFile(), h.exportLine({"a"}) + "\r\n");
  EXPECT_EQ(h.runCommand("CALC.EXE -diagramInput=" + h.inputFile(), h.dir()), 0);
  EXPECT_EQ(h.collect(0).result, "1");
}

TEST(SolverProgramTest, TakesAnInputPathWithBlanks) {
  SolverHarness h;
  h.writeEquations({"a = 1"});
  const std::string sub = h.path("with blanks");
  fs::create_directory(sub);
  const std::string input = sub + "/CALC@8001_1.TXT";
  writeFile(input, "$EXPORT '" + sub + "/CALC@8001_1.out' /U /D a \r\n");
  EXPECT_EQ(h.runCommand("CALC.EXE /DIAGRAMINPUT=" + input, h.dir()), 0);
  EXPECT_EQ(readFile(sub + "/CALC@8001_1.out"), "1\r\n");
}

TEST(SolverProgramTest, FindsItsEquationsFileBesideItselfInAnyLetterCase) {
  SolverHarness h;
  fs::create_directory(h.path("prog"));
  fs::create_directory(h.path("work"));
  fs::copy_file(ORV_SOLVER_EXE, h.path("prog/Calc.exe"));
  writeFile(h.path("prog/CALC.eqn"), "a = 42\n");
  writeFile(h.path("work/in.TXT"), "$EXPORT '" + h.path("work/in.out") + "' /U /D a \r\n");
  EXPECT_EQ(h.runCommand(h.path("prog/Calc.exe") + " /DIAGRAMINPUT=" + h.path("work/in.TXT"),
                         h.path("work")),
            0);
  EXPECT_EQ(readFile(h.path("work/in.out")), "42\r\n");
}

TEST(SolverProgramTest, ReadsEquationsFilesInAnyCommonEncoding) {
  struct Case {
    const char* label;
    std::string bytes;
  };
  const Case cases[] = {
      {"UTF-8", "U$ = 'm³/h'\n"},
      {"UTF-8 with byte-order mark", "\xEF\xBB\xBFU$ = 'm³/h'\r\n"},
      {"Windows-1252", "U$ = 'm\xB3/h'\r"},
      {"UTF-16LE", std::string("\xFF\xFEU\0$\0 \0=\0 \0'\0m\0\xB3\0/\0h\0'\0", 24)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SolverHarness h;
    writeFile(h.path("CALC.EQN"), c.bytes);
    const auto o = h.run({h.exportLine({"U$"})});
    ASSERT_TRUE(o.result) << (o.error ? *o.error : "");
    EXPECT_EQ(*o.resultBytes, "m\xB3/h\r\n");
  }
}

}  // namespace
}  // namespace orv::solver::test
