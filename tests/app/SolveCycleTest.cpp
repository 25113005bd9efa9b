// The solve cycle run for real: pages built from layout files in temporary server
// directories, a solver program written for the tests (tests/app/SolveTestSupport.h),
// the solver input file it was given, the result, error and plot files it wrote, the
// status texts and the files each way of failing leaves behind, the time limit, and
// cycles of two pages running at the same moment. Also the pieces of the cycle that
// need no page, and the pool of cycle numbers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <mutex>
#include <set>
#include <thread>

#include "app/CycleNumberPool.h"
#include "app/Messages.h"
#include "app/SolveCycle.h"
#include "app/WDiagramU.h"
#include "platform/Beep.h"
#include "tests/app/SolveTestSupport.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using test::buildIn;
using test::checkBoxItem;
using test::cycleFilesIn;
using test::dropDownItem;
using test::exists;
using test::filesIn;
using test::gifOf;
using test::inputItem;
using test::Items;
using test::outputItem;
using test::plotItem;
using test::radioItem;
using test::readFile;
using test::seenCycleNumber;
using test::ServerDir;
using test::writeCalculation;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr TIWColor kGrey = 0x808080;

// Keeps the solver's files for the length of a test ("Shift key held").
class KeepFiles {
 public:
  KeepFiles() { setKeepFiles(true); }
  ~KeepFiles() { setKeepFiles(false); }
};

// ---------------------------------------------------------------------------------------
// Pieces without a page.

TEST(SolveCycleNamesTest, BaseIsTheLayoutNameUpToItsFirstDlyInAnyCase) {
  struct Case {
    const char* dly;
    const char* base;
  };
  const Case cases[] = {
      {"/srv/calc/pump.dly", "/srv/calc/pump@8001_4711"},
      {"/srv/calc/PUMP.Dly", "/srv/calc/PUMP@8001_4711"},
      {"/srv/calc/pump.dly.DLY", "/srv/calc/pump@8001_4711"},
      {"/srv/calc/pump.DLYX", "/srv/calc/pump@8001_4711"},
      // A folder named like a layout never moves the files out of the layout's folder.
      {"/srv/a.dly.d/pump.DLY", "/srv/a.dly.d/pump@8001_4711"},
      {"/srv/my calc/pump.DLY", "/srv/my calc/pump@8001_4711"},
      {"/srv/calc/noext", "/srv/calc/noext@8001_4711"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dly);
    EXPECT_EQ(detail::solveCycleBase(c.dly, 8001, 4711), c.base);
  }
  EXPECT_EQ(detail::solveCycleBase("/x/c.DLY", 9000, 0), "/x/c@9000_0");
  EXPECT_EQ(detail::solveCycleBase("/x/c.DLY", 8001, 9998), "/x/c@8001_9998");
}

TEST(SolveCycleNamesTest, PlotFileGetsPortAndNumberBeforeItsExtension) {
  struct Case {
    const char* fn;
    const char* cycle;
  };
  const Case cases[] = {
      {"/srv/IMGS/plot.gif", "/srv/IMGS/plot@8001_7.gif"},
      {"/srv/IMGS/Plot.Two.GIF", "/srv/IMGS/Plot.Two@8001_7.GIF"},
      {"/srv/IMGS/plot", "/srv/IMGS/plot@8001_7"},
      {"/srv/IM.GS/plot", "/srv/IM.GS/plot@8001_7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fn);
    EXPECT_EQ(detail::plotCycleFile(c.fn, 8001, 7), c.cycle);
  }
}

TEST(SolveCycleNamesTest, CommandLineQuotesOnlyPartsWithBlanks) {
  EXPECT_EQ(detail::solverCommandLine("CALC.EXE", "/srv/c@8001_1.TXT"),
            "CALC.EXE /DIAGRAMINPUT=/srv/c@8001_1.TXT");
  EXPECT_EQ(detail::solverCommandLine("CALC.EXE", "/srv/my calc/c@8001_1.TXT"),
            "CALC.EXE \"/DIAGRAMINPUT=/srv/my calc/c@8001_1.TXT\"");
  EXPECT_EQ(detail::solverCommandLine("MY CALC.EXE", "/srv/c.TXT"),
            "\"MY CALC.EXE\" /DIAGRAMINPUT=/srv/c.TXT");
}

TEST(SolveCycleNamesTest, ResultFieldSplitsAtTheFirstBracket) {
  struct Case {
    const char* field;
    const char* value;
    const char* units;
  };
  const Case cases[] = {
      {"12.5 [kW]", "12.5", "[kW]"},
      {"  12.5   [kW]  ", "12.5", "[kW]"},
      {"12.5", "12.5", ""},
      {" 12.5 ", " 12.5 ", ""},
      {"1 [a] [b]", "1", "[a] [b]"},
      {"[m]", "", "[m]"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    const detail::ResultField f = detail::splitResultField(c.field);
    EXPECT_EQ(f.value, c.value);
    EXPECT_EQ(f.units, c.units);
  }
}

TEST(SolveCycleNamesTest, SecondsPrintWithoutTrailingZeros) {
  EXPECT_EQ(detail::secondsText(300s), "300");
  EXPECT_EQ(detail::secondsText(250ms), "0.25");
  EXPECT_EQ(detail::secondsText(1500ms), "1.5");
  EXPECT_EQ(detail::secondsText(2001ms), "2.001");
  EXPECT_EQ(detail::secondsText(kDefaultSolverTimeLimit), "300");
}

TEST(CycleNumberPoolTest, HeldNumberIsDrawnAgain) {
  std::vector<int> draws = {5, 5, 5, 7, 5};
  std::size_t next = 0;
  CycleNumberPool pool([&] { return draws[next++]; });
  {
    const CycleNumberPool::Lease first = pool.acquire();
    EXPECT_EQ(first.number(), 5);
    const CycleNumberPool::Lease second = pool.acquire();
    EXPECT_EQ(second.number(), 7);  // 5 was drawn twice more while held
    EXPECT_EQ(next, 4u);
    EXPECT_EQ(pool.heldCount(), 2u);
  }
  EXPECT_EQ(pool.heldCount(), 0u);
  EXPECT_EQ(pool.acquire().number(), 5);  // released numbers can be drawn again
}

TEST(CycleNumberPoolTest, CandidatesAreTakenIntoTheRange) {
  std::vector<int> draws = {9999, -3, 20000};
  std::size_t next = 0;
  CycleNumberPool pool([&] { return draws[next++]; });
  const auto a = pool.acquire();
  const auto b = pool.acquire();
  const auto c = pool.acquire();
  EXPECT_EQ(a.number(), 0);
  EXPECT_EQ(b.number(), 3);
  EXPECT_EQ(c.number(), 2);
}

TEST(CycleNumberPoolTest, ProcessPoolDrawsFromZeroTo9998) {
  std::vector<CycleNumberPool::Lease> leases;
  for (int i = 0; i < 200; ++i) leases.push_back(CycleNumberPool::process().acquire());
  std::set<int> seen;
  for (const auto& lease : leases) {
    EXPECT_GE(lease.number(), 0);
    EXPECT_LE(lease.number(), 9998);
    seen.insert(lease.number());
  }
  EXPECT_EQ(seen.size(), leases.size());  // no two held at once share a number
}

TEST(CycleNumberPoolTest, ManyThreadsNeverHoldTheSameNumber) {
  CycleNumberPool pool;  // the real, seeded generator
  constexpr int kThreads = 8;
  constexpr int kRounds = 300;
  std::mutex mutex;  // guards inUse
  std::set<int> inUse;
  std::atomic<int> clashes{0};
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      start.arrive_and_wait();
      for (int r = 0; r < kRounds; ++r) {
        const auto lease = pool.acquire();
        {
          std::lock_guard lock(mutex);
          if (!inUse.insert(lease.number()).second) ++clashes;
        }
        std::lock_guard lock(mutex);
        inUse.erase(lease.number());
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(clashes.load(), 0);
  EXPECT_EQ(pool.heldCount(), 0u);
}

// ---------------------------------------------------------------------------------------
// The solver input file.

TEST(SolveCycleTest, InputFileHoldsEveryKindOfInputByteForByte) {
  ServerDir dir;
  dir.writeBytes("IMGS/plot.gif", gifOf(2, 2, 10));
  dir.writeBytes("IMGS/Other.GIF", gifOf(3, 3, 20));
  dir.writeBytes("answer.txt", "1\t2\tx\r\n");
  Items items;
  items.add(inputItem("T1", "0", "0", "2000", "F2"))
      .add(inputItem("Fluid$", "Water"))
      .add(inputItem("Note", "x", "-inf", "inf", "S0"))
      .add(inputItem("Time", "0", "0", "24", "T1"))
      .add(dropDownItem("Mat$", 0, {"Steel//k=45", "Copper//k=398"}))
      .add(dropDownItem("Q2", 0, {"'Steel'//k=45"}))
      .add(dropDownItem("Plain", 1, {"Water", "Oil"}))
      .add(dropDownItem("None", -1, {"A"}))
      .add(dropDownItem("Apos", 0, {"it's"}))
      .add(checkBoxItem("Insulated", {"Insulated=1", "--", "Insulated=0"}))
      .add(checkBoxItem("Other", {"A=1", "--", "A=0", "--", "A=2"}))
      .add(checkBoxItem("Both", {"B=1", "B=2"}))
      .add(radioItem({"Water", "Air"}, {{"M=1", "N=1"}, {"M=2"}}))
      .add(outputItem("Q"))
      .add(outputItem("P"))
      .add(outputItem("Name$", "", false, "S0"))
      .add(plotItem(1, "plot.gif"))
      .add(plotItem(2, "Other.GIF"));
  const std::string mainDir = writeCalculation(dir, items.lines());
  auto page = buildIn(mainDir);

  page->InputList[0].aIWInput->setText("1,500");  // passes as 1500, written as typed
  page->InputList[1].aIWInput->setText("It's \xC3\xA9");
  page->InputList[2].aIWInput->setText("hello");
  page->InputList[3].aIWInput->setText("1:30");
  page->CheckBoxList[0]->setChecked(true);
  page->CheckBoxList[2]->setChecked(true);
  page->RadioGroupList[0].aIWRadio->setItemIndex(1);
  ASSERT_EQ(page->InputList[7].aIWComboBox->ItemIndex(), -1);

  page->SolveButtonClick(*page->SolveButton);
  ASSERT_EQ(page->Status->Text(), "");

  const int n = seenCycleNumber(mainDir);
  ASSERT_GE(n, 0);
  const std::string base = "CALC@8001_" + std::to_string(n);
  const std::string suffix = "@8001_" + std::to_string(n);
  const std::string expected =
      "T1=1,500\r\n"
      "Fluid$='It's \xE9'\r\n"
      "Note='hello'\r\n"
      "Time=1:30\r\n"
      "Mat$='Steel//k=45'\r\n"
      "k=45\r\n"
      "k=45\r\n"
      "Plain='Oil'\r\n"
      "Insulated=1\r\n"
      "A=0\r\n"
      "A=2\r\n"
      "B=1\r\n"
      "B=2\r\n"
      "M=2\r\n"
      "$EXPORT '" +
      mainDir + base +
      ".out' /U /D Q P Name$ \r\n"
      "$EXPORTPLOT '" +
      mainDir + "IMGS/plot" + suffix +
      ".gif' 1 /R=1\r\n"
      "$EXPORTPLOT '" +
      mainDir + "IMGS/Other" + suffix + ".GIF' 2 /R=1\r\n";
  EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT"), expected);
  EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT.args"),
            "1\n/DIAGRAMINPUT=" + mainDir + base + ".TXT\n");
  EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT.cwd"),
            std::filesystem::canonical(mainDir).string() + "\n");
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());
  EXPECT_THAT(cycleFilesIn(mainDir + "IMGS"), IsEmpty());
}

TEST(SolveCycleTest, PageWithoutOutputsEndsTheExportLineWithItsSwitches) {
  ServerDir dir;
  const std::string mainDir = writeCalculation(dir, {inputItem("T1", "3")});
  dir.writeBytes("answer.txt", "\r\n");
  auto page = buildIn(mainDir);
  page->SolveButtonClick(*page->SolveButton);
  const int n = seenCycleNumber(mainDir);
  ASSERT_GE(n, 0);
  const std::string base = "CALC@8001_" + std::to_string(n);
  EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT"),
            "T1=3\r\n$EXPORT '" + mainDir + base + ".out' /U /D \r\n");
}

TEST(SolveCycleTest, FilesAreNamedAfterTheLayoutInItsOwnFolder) {
  struct Case {
    const char* sub;
    const char* layout;
    const char* solver;
    const char* stem;
  };
  const Case cases[] = {
      {"", "CALC.DLY", "CALC.EXE", "CALC"},
      {"plain/", "pump.dly", "pump.EXE", "pump"},
      {"mixed/", "Pump.Dly", "Pump.exe", "Pump"},
      {"calc.dly.d/", "calc.DLY", "calc.EXE", "calc"},
      {"my calc/", "Heat Pump.DLY", "Heat Pump.EXE", "Heat Pump"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    ServerDir dir;
    const std::string mainDir =
        writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q")}, c.sub, c.layout, c.solver);
    dir.writeBytes(std::string(c.sub) + "error.txt", "named\r\n");
    auto page = buildIn(mainDir, std::nullopt, 8123);
    page->SolveButtonClick(*page->SolveButton);
    // The error file, the input file's name with ".err", was found.
    EXPECT_EQ(page->Status->Text(), "Error: named");
    const int n = seenCycleNumber(mainDir, 8123);
    ASSERT_GE(n, 0);
    ASSERT_LE(n, 9998);
    const std::string base = std::string(c.stem) + "@8123_" + std::to_string(n);
    EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT.args"),
              "1\n/DIAGRAMINPUT=" + mainDir + base + ".TXT\n");
    EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT"),
              "T1=3\r\n$EXPORT '" + mainDir + base + ".out' /U /D Q \r\n");
    EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());
  }
}

// ---------------------------------------------------------------------------------------
// Checks of the inputs.

struct CheckCase {
  const char* name;
  const char* typed;
  const char* lower;
  const char* upper;
  const char* format;
  const char* status;  // "" when the input passes
};

class SolveCycleCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SolveCycleCheckTest, RejectedInputEndsTheCycleBeforeTheSolverRuns) {
  const CheckCase& c = GetParam();
  ServerDir dir;
  dir.writeBytes("answer.txt", "5\r\n");
  const std::string mainDir =
      writeCalculation(dir, {inputItem("A", "1"), inputItem("T", "0", c.lower, c.upper, c.format),
                             inputItem("Later", "0", "0", "1"), outputItem("Q")});
  auto page = buildIn(mainDir);
  TIWEdit* edit = page->InputList[1].aIWInput;
  edit->setText(c.typed);
  page->InputList[2].aIWInput->setText("bad");  // never looked at when T fails

  page->SolveButtonClick(*page->SolveButton);

  if (std::string(c.status).empty()) {
    EXPECT_EQ(page->Status->Text(), "Illegal input for Later = bad");  // T passed
    return;
  }
  EXPECT_EQ(page->Status->Text(), c.status);
  EXPECT_TRUE(page->Status->Visible());
  EXPECT_EQ(page->ActiveControl(), edit);
  EXPECT_FALSE(exists(mainDir + "seen"));         // the solver never ran
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());  // the input file is gone
  EXPECT_EQ(page->OutputList[0].aIWOutput->Text(), "init");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SolveCycleCheckTest,
    ::testing::Values(CheckCase{"NotANumber", "abc", "0", "10", "F2", "Illegal input for T = abc"},
                      CheckCase{"Empty", "", "0", "10", "F2", "Illegal input for T = "},
                      CheckCase{"UnitsOutsideTimeForm", "12 [kPa]", "0", "100", "A4",
                                "Illegal input for T = 12 [kPa]"},
                      CheckCase{"BelowLower", "-1", "0", "10", "F2",
                                "The value entered for T must be greater than 0.00"},
                      CheckCase{"AboveUpper", "10.5", "0", "10", "F2",
                                "The value entered for T must be less than 10.00"},
                      CheckCase{"AboveUpperAuto", "1,500", "0", "1000", "A4",
                                "The value entered for T must be less than 1000"},
                      CheckCase{"InfAboveFiniteUpper", "inf", "0", "1e6", "A4",
                                "The value entered for T must be less than 1000000"},
                      CheckCase{"BeyondInfiniteUpper", "1e4000", "0", "inf", "F2",
                                "The value entered for T must be less than infinity"},
                      CheckCase{"BelowInfiniteLower", "-1e4000", "-inf", "inf", "F2",
                                "The value entered for T must be greater than -infinity"},
                      CheckCase{"EqualToLower", "0", "0", "10", "F2", ""},
                      CheckCase{"EqualToUpper", "10", "0", "10", "F2", ""},
                      CheckCase{"InfPassesInfiniteUpper", "inf", "0", "inf", "F2", ""},
                      CheckCase{"TimeForm", "1:30", "0", "2", "T1", ""},
                      CheckCase{"ThousandsSeparator", "1,5", "15", "15", "F2", ""}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(SolveCycleTest, StringInputsAreNeverChecked) {
  ServerDir dir;
  dir.writeBytes("answer.txt", "\r\n");
  const std::string mainDir =
      writeCalculation(dir, {inputItem("S$", "x", "0", "1"), inputItem("U", "x", "0", "1", "S0")});
  auto page = buildIn(mainDir);
  page->InputList[0].aIWInput->setText("not a number");
  page->InputList[1].aIWInput->setText("5000");
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->Status->Text(), "");
  const std::string base = "CALC@8001_" + std::to_string(seenCycleNumber(mainDir));
  EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT"),
            "S$='not a number'\r\nU='5000'\r\n$EXPORT '" + mainDir + base + ".out' /U /D \r\n");
}

TEST(SolveCycleTest, LineBreakTypedIntoAFieldAddsNoStatement) {
  ServerDir dir;
  dir.writeBytes("answer.txt", "\r\n");
  const std::string mainDir = writeCalculation(dir, {inputItem("S$", "x"), inputItem("N", "1")});
  auto page = buildIn(mainDir);
  page->InputList[0].aIWInput->setText("a\r\n$EXPORT '/tmp/elsewhere.out' /U /D Q\nb");
  page->InputList[1].aIWInput->setText("5\n");  // a legal number once trimmed
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->Status->Text(), "");
  const std::string base = "CALC@8001_" + std::to_string(seenCycleNumber(mainDir));
  EXPECT_EQ(readFile(mainDir + "seen/" + base + ".TXT"),
            "S$='a  $EXPORT '/tmp/elsewhere.out' /U /D Q b'\r\n"
            "N=5 \r\n"
            "$EXPORT '" +
                mainDir + base + ".out' /U /D \r\n");
}

// ---------------------------------------------------------------------------------------
// The solver's run and its answer.

TEST(SolveCycleTest, SolverThatCannotStartKeepsTheInputFileAndBeeps) {
  ServerDir dir;
  const std::string mainDir = writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q")});
  auto page = buildIn(mainDir);
  ::chmod((mainDir + "CALC.EXE").c_str(), 0644);  // no longer a program
  const auto beeps = beepCount(25);
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->Status->Text(), "Error: The program did not run.  Restart and try again.");
  EXPECT_TRUE(page->Status->Visible());
  EXPECT_EQ(beepCount(25), beeps + 1);
  const std::vector<std::string> left = cycleFilesIn(mainDir);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_THAT(left[0], ::testing::MatchesRegex("CALC@8001_[0-9]+\\.TXT"));
  EXPECT_EQ(
      readFile(mainDir + left[0]),
      "T1=3\r\n$EXPORT '" + mainDir + left[0].substr(0, left[0].size() - 4) + ".out' /U /D Q \r\n");
}

TEST(SolveCycleTest, ErrorFileWinsAndGoesWithTheResultFile) {
  ServerDir dir;
  dir.writeBytes("IMGS/plot.gif", gifOf(2, 2, 10));
  dir.writeBytes("plot-1.gif", gifOf(4, 4, 99));
  dir.writeBytes("answer.txt", "1\r\n");
  dir.writeBytes("error.txt", "Division by zero in \xE9q. 3\r\nsecond line\r\n");
  const std::string mainDir =
      writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q"), plotItem(1, "plot.gif")});
  auto page = buildIn(mainDir);
  const std::string before = test::bytesOf(page->PlotList[0].theImage->Picture());
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->Status->Text(), "Error: Division by zero in \xC3\xA9q. 3");
  EXPECT_TRUE(page->Status->Visible());
  // Outputs and plots keep their previous content.
  EXPECT_EQ(page->OutputList[0].aIWOutput->Text(), "init");
  EXPECT_EQ(page->OutputList[0].aIWOutput->WebFont().Color(), kGrey);
  EXPECT_EQ(test::bytesOf(page->PlotList[0].theImage->Picture()), before);
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());
  EXPECT_THAT(cycleFilesIn(mainDir + "IMGS"), IsEmpty());
}

TEST(SolveCycleTest, HeldShiftKeepsTheErrorFileButNotTheResultFile) {
  KeepFiles keep;
  ServerDir dir;
  dir.writeBytes("answer.txt", "1\r\n");
  dir.writeBytes("error.txt", "bad\r\n");
  const std::string mainDir = writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q")});
  auto page = buildIn(mainDir);
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->Status->Text(), "Error: bad");
  const std::string base = "CALC@8001_" + std::to_string(seenCycleNumber(mainDir));
  EXPECT_THAT(cycleFilesIn(mainDir), ElementsAre(base + ".TXT", base + ".err"));
}

TEST(SolveCycleTest, NoAnswerAtAllIsReportedAfterTheWait) {
  ServerDir dir;
  const std::string mainDir = writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q")});
  auto page = buildIn(mainDir);
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->Status->Text(),
            "Error: An output file from the ORV distributable program was not found.");
  EXPECT_TRUE(page->Status->Visible());
  EXPECT_GE(seenCycleNumber(mainDir), 0);
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());
  EXPECT_EQ(page->OutputList[0].aIWOutput->Text(), "init");
}

TEST(SolveCycleTest, ResultsFillTheOutputsWithAndWithoutUnits) {
  ServerDir dir;
  dir.writeBytes("answer.txt", "12.5 [kW]\t 3.25 [bar] \t7\tHello [x]\t1.0E+03\r\nignored\r\n");
  const std::string mainDir = writeCalculation(
      dir,
      {outputItem("Q", "kW", true, "A4", 0x0000FF), outputItem("P", "bar", false, "F2", 0x00FF00),
       outputItem("R", "m", true, "A4", 0x123456), outputItem("Name$", "", true, "S0", 0x111111),
       outputItem("E", "", false, "E2", 0x222222),
       outputItem("Missing", "", true, "A4", 0x333333)});
  auto page = buildIn(mainDir);
  const auto& out = page->OutputList;
  page->StatusLabelAsyncClick(*page->Status, StringList());

  page->SolveButtonClick(*page->SolveButton);

  EXPECT_EQ(page->Status->Text(), "");
  EXPECT_FALSE(page->Status->Visible());
  EXPECT_EQ(out[0].aIWOutput->Text(), "12.5 [kW]");
  EXPECT_EQ(out[1].aIWOutput->Text(), "3.25");
  EXPECT_EQ(out[2].aIWOutput->Text(), "7 ");         // units shown, none given: one blank
  EXPECT_EQ(out[3].aIWOutput->Text(), "Hello [x]");  // a string result as written
  EXPECT_EQ(out[4].aIWOutput->Text(), "1.0E+03");    // digits as the solver wrote them
  EXPECT_EQ(out[5].aIWOutput->Text(), " ");          // fewer fields than outputs
  EXPECT_EQ(out[0].aIWOutput->WebFont().Color(), 0x0000FF);
  EXPECT_EQ(out[1].aIWOutput->WebFont().Color(), 0x00FF00);
  EXPECT_EQ(out[2].aIWOutput->WebFont().Color(), 0x123456);
  EXPECT_EQ(out[3].aIWOutput->WebFont().Color(), kGrey);  // string results keep the grey
  EXPECT_EQ(out[4].aIWOutput->WebFont().Color(), 0x222222);
  EXPECT_EQ(out[5].aIWOutput->WebFont().Color(), 0x333333);
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());

  page->GrayOut();
  for (const OutputRec& rec : out) EXPECT_EQ(rec.aIWOutput->WebFont().Color(), kGrey);

  // The next successful cycle gives numeric outputs their colours back.
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(out[0].aIWOutput->WebFont().Color(), 0x0000FF);
  EXPECT_EQ(out[3].aIWOutput->WebFont().Color(), kGrey);
}

TEST(SolveCycleTest, HeldShiftKeepsInputAndResultFiles) {
  KeepFiles keep;
  ServerDir dir;
  dir.writeBytes("IMGS/plot.gif", gifOf(2, 2, 10));
  dir.writeBytes("plot-1.gif", gifOf(5, 3, 99));
  dir.writeBytes("answer.txt", "4\r\n");
  const std::string mainDir =
      writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q"), plotItem(1, "plot.gif")});
  auto page = buildIn(mainDir);
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->OutputList[0].aIWOutput->Text(), "4");
  const std::string n = std::to_string(seenCycleNumber(mainDir));
  EXPECT_THAT(cycleFilesIn(mainDir),
              ElementsAre("CALC@8001_" + n + ".TXT", "CALC@8001_" + n + ".out"));
  EXPECT_THAT(cycleFilesIn(mainDir + "IMGS"), ElementsAre("plot@8001_" + n + ".gif"));
}

TEST(SolveCycleTest, PlotsAreReloadedFromTheCyclesOwnFiles) {
  ServerDir dir;
  const std::string shared = gifOf(2, 3, 10);
  const std::string drawn = gifOf(5, 4, 200);
  dir.writeBytes("IMGS/plot.gif", shared);
  dir.writeBytes("IMGS/kept.gif", gifOf(3, 3, 30));
  dir.writeBytes("plot-1.gif", drawn);  // the solver draws window 1 only
  dir.writeBytes("answer.txt", "1\r\n");
  const std::string mainDir = writeCalculation(
      dir, {outputItem("Q"), plotItem(1, "plot.gif", 300, 100), plotItem(2, "kept.gif", 50, 100)});
  auto page = buildIn(mainDir);
  const PlotInfoRec& plot = page->PlotList[0];
  ASSERT_EQ(plot.Width, 2);
  ASSERT_EQ(plot.Height, 3);
  const std::string keptBefore = test::bytesOf(page->PlotList[1].theImage->Picture());
  // Moved beyond the status bar's right edge: the bar widens to the plot.
  plot.theImage->setLeft(1000);

  page->SolveButtonClick(*page->SolveButton);

  ASSERT_EQ(page->Status->Text(), "");
  EXPECT_EQ(test::bytesOf(plot.theImage->Picture()), drawn);
  EXPECT_EQ(plot.theImage->Picture().Width(), 5);
  EXPECT_EQ(plot.theImage->Width(), 2);  // the size the page was built with
  EXPECT_EQ(plot.theImage->Height(), 3);
  EXPECT_EQ(page->Status->Left() + page->Status->Width(), 1002);
  // A plot the solver did not draw keeps its picture.
  EXPECT_EQ(test::bytesOf(page->PlotList[1].theImage->Picture()), keptBefore);
  // The shared picture is never written; the cycle's own file is gone.
  EXPECT_EQ(readFile(mainDir + "IMGS/plot.gif"), shared);
  EXPECT_THAT(cycleFilesIn(mainDir + "IMGS"), IsEmpty());
}

TEST(SolveCycleTest, UnreadablePlotEndsTheHandlerWithItsErrorAndRemovesTheFiles) {
  ServerDir dir;
  dir.writeBytes("IMGS/plot.gif", gifOf(2, 2, 10));
  dir.writeBytes("plot-1.gif", "not a picture");
  dir.writeBytes("answer.txt", "1\r\n");
  const std::string mainDir = writeCalculation(dir, {outputItem("Q"), plotItem(1, "plot.gif")});
  auto page = buildIn(mainDir);
  EXPECT_THROW(page->SolveButtonClick(*page->SolveButton), PictureError);
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());
  EXPECT_THAT(cycleFilesIn(mainDir + "IMGS"), IsEmpty());
}

TEST(SolveCycleTest, SolverBeyondTheTimeLimitIsStoppedAndItsFilesRemoved) {
  ServerDir dir;
  dir.writeBytes("IMGS/plot.gif", gifOf(2, 2, 10));
  dir.writeBytes("plot-1.gif", gifOf(4, 4, 99));
  dir.writeBytes("answer.txt", "1\r\n");
  dir.writeBytes("hang", "");  // answers, then does not end
  const std::string mainDir =
      writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q"), plotItem(1, "plot.gif")});
  auto page = buildIn(mainDir, 250ms);
  EXPECT_EQ(page->SolverTimeLimit(), 250ms);
  const auto started = std::chrono::steady_clock::now();

  page->SolveButtonClick(*page->SolveButton);

  EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);  // not the solver's minute
  EXPECT_EQ(page->Status->Text(), "Error: The program did not finish within 0.25 seconds.");
  EXPECT_TRUE(page->Status->Visible());
  EXPECT_GE(seenCycleNumber(mainDir), 0);
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());
  EXPECT_THAT(cycleFilesIn(mainDir + "IMGS"), IsEmpty());
  EXPECT_EQ(page->OutputList[0].aIWOutput->Text(), "init");
}

TEST(SolveCycleTest, DefaultTimeLimitIsFiveMinutes) {
  TORVServerForm page(ServerFormSettings{"/nonexistent/", 8001});
  EXPECT_EQ(page.SolverTimeLimit(), std::chrono::seconds(300));
  EXPECT_EQ(msg::programDidNotFinish(detail::secondsText(page.SolverTimeLimit())),
            "Error: The program did not finish within 300 seconds.");
}

TEST(SolveCycleTest, CycleHidesTheSaveAndLoadCompanions) {
  ServerDir dir;
  dir.writeBytes("answer.txt", "1\r\n");
  const std::string mainDir = writeCalculation(dir, {inputItem("T1", "3"), outputItem("Q")});
  auto page = buildIn(mainDir);
  page->SaveEdit->Show();
  page->LoadFilesBox->Show();
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_FALSE(page->SaveEdit->Visible());
  EXPECT_FALSE(page->LoadFilesBox->Visible());
}

TEST(SolveCycleTest, PageWithoutLayoutRunsNothing) {
  ServerDir dir;  // empty: no layout, no solver
  auto page = buildIn(dir.path());
  const auto beeps = beepCount(25);
  page->SolveButtonClick(*page->SolveButton);
  EXPECT_EQ(page->Status->Text(), "Error: The program did not run.  Restart and try again.");
  EXPECT_EQ(beepCount(25), beeps + 1);
  EXPECT_THAT(filesIn(dir.path()), IsEmpty());
}

// ---------------------------------------------------------------------------------------
// Concurrent cycles.

TEST(SolveCycleTest, TwoPagesSolvingAtOnceNeverTouchEachOthersFiles) {
  ServerDir dir;
  dir.writeBytes("IMGS/plot.gif", gifOf(2, 2, 10));
  const std::string pictureA = gifOf(3, 3, 101);
  const std::string pictureB = gifOf(4, 4, 202);
  dir.writeBytes("plot-1-111.gif", pictureA);
  dir.writeBytes("plot-1-222.gif", pictureB);
  dir.writeBytes("answer-from-input", "");
  dir.writeBytes("barrier", "2");  // each solver waits until both are running
  const std::string mainDir =
      writeCalculation(dir, {inputItem("T1", "0"), outputItem("Q"), plotItem(1, "plot.gif")});
  auto a = buildIn(mainDir);
  auto b = buildIn(mainDir);
  a->InputList[0].aIWInput->setText("111");
  b->InputList[0].aIWInput->setText("222");

  std::latch start(2);
  auto solve = [&start](TORVServerForm& page) {
    start.arrive_and_wait();
    page.SolveButtonClick(*page.SolveButton);
  };
  std::thread ta(solve, std::ref(*a));
  std::thread tb(solve, std::ref(*b));
  ta.join();
  tb.join();

  EXPECT_EQ(a->Status->Text(), "");
  EXPECT_EQ(b->Status->Text(), "");
  EXPECT_EQ(a->OutputList[0].aIWOutput->Text(), "111");
  EXPECT_EQ(b->OutputList[0].aIWOutput->Text(), "222");
  EXPECT_EQ(test::bytesOf(a->PlotList[0].theImage->Picture()), pictureA);
  EXPECT_EQ(test::bytesOf(b->PlotList[0].theImage->Picture()), pictureB);
  EXPECT_EQ(filesIn(mainDir + "arrived").size(), 2u);  // both ran at the same moment
  EXPECT_THAT(cycleFilesIn(mainDir), IsEmpty());
  EXPECT_THAT(cycleFilesIn(mainDir + "IMGS"), IsEmpty());
}

}  // namespace
}  // namespace orv
