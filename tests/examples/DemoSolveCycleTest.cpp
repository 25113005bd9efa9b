// The calculator page's real solve cycle on the demo calculation: the pump layout and
// its equations in a temporary server folder, the demo's solver program beside them as
// PUMP.EXE, and the page's own Solve button.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/WDiagramU.h"
#include "tests/app/SolveTestSupport.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

constexpr TIWColor kGrey = 0x808080;  // outputs that show no result yet

// A server folder holding the demo as an author installs it.
class DemoSolveCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(std::string(ORV_SOURCE_DIR) + "/examples/pump", dir_.path(),
             fs::copy_options::recursive);
    fs::copy_file(ORV_SOLVER_EXE, dir_.path() + "PUMP.EXE");
    page_ = test::buildIn(dir_.path());
  }

  TIWEdit& input(const std::string& name) {
    for (const InputRec& rec : page_->InputList) {
      if (rec.VarName == name) return *rec.aIWInput;
    }
    throw std::runtime_error("no input " + name);
  }
  const OutputRec& output(const std::string& name) {
    for (const OutputRec& rec : page_->OutputList) {
      if (rec.VarName == name) return rec;
    }
    throw std::runtime_error("no output " + name);
  }
  std::string text(const std::string& name) { return output(name).aIWOutput->Text(); }
  void solve() { page_->SolveButtonClick(*page_->SolveButton); }

  test::ServerDir dir_;
  std::unique_ptr<TORVServerForm> page_;
};

TEST_F(DemoSolveCycleTest, StartingInputsGiveTheDutyPoint) {
  ASSERT_EQ(page_->PlotList.size(), 2u);
  std::vector<std::string> before;
  for (const PlotInfoRec& plot : page_->PlotList) {
    before.push_back(test::bytesOf(plot.theImage->Picture()));
  }
  for (const OutputRec& rec : page_->OutputList) {
    EXPECT_EQ(rec.aIWOutput->WebFont().Color(), kGrey) << rec.VarName;
  }

  solve();

  EXPECT_EQ(page_->Status->Text(), "");
  EXPECT_FALSE(page_->Status->Visible());
  EXPECT_EQ(text("v"), "2.12 [m/s]");
  EXPECT_EQ(text("H"), "28.23 [m]");
  EXPECT_EQ(text("P_shaft"), "6.40 [kW]");
  EXPECT_EQ(text("NPSHa"), "11.51 [m]");
  EXPECT_EQ(text("Regime$"), "turbulent");  // a string output shows no units
  EXPECT_EQ(text("Cavitation$"), "OK");
  EXPECT_EQ(text("Medium$"), "water, 20 \xC2\xB0" "C");
  // Numeric outputs get the colours of their lines back; string ones stay grey.
  EXPECT_EQ(output("v").aIWOutput->WebFont().Color(), 0);
  EXPECT_EQ(output("H").aIWOutput->WebFont().Color(), 160);
  EXPECT_EQ(output("P_shaft").aIWOutput->WebFont().Color(), 160);
  EXPECT_EQ(output("Cavitation$").aIWOutput->WebFont().Color(), kGrey);
  // The shipped plot pictures are the ones drawn for the starting inputs.
  for (std::size_t i = 0; i < page_->PlotList.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(test::bytesOf(page_->PlotList[i].theImage->Picture()) == before[i]);
  }
  EXPECT_EQ(page_->PlotList[0].Width, 330);
  EXPECT_EQ(page_->PlotList[0].Height, 220);

  // Another flow rate: both plots are drawn anew at the size the page was built with.
  input("Q").setText("90");
  solve();
  ASSERT_EQ(page_->Status->Text(), "");
  EXPECT_NE(text("v"), "2.12 [m/s]");
  for (std::size_t i = 0; i < page_->PlotList.size(); ++i) {
    SCOPED_TRACE(i);
    const PlotInfoRec& plot = page_->PlotList[i];
    EXPECT_TRUE(test::bytesOf(plot.theImage->Picture()) != before[i]);
    EXPECT_EQ(plot.theImage->Picture().Width(), plot.Width);
    EXPECT_EQ(plot.theImage->Picture().Height(), plot.Height);
    EXPECT_EQ(plot.theImage->Width(), plot.Width);
    EXPECT_EQ(plot.theImage->Height(), plot.Height);
  }
  // The cycle cleans up after itself.
  EXPECT_TRUE(test::cycleFilesIn(dir_.path()).empty());
  EXPECT_TRUE(test::cycleFilesIn(dir_.path() + "IMGS").empty());
}

TEST_F(DemoSolveCycleTest, InputOutsideItsBoundsIsRejectedBeforeTheSolverRuns) {
  solve();
  ASSERT_EQ(text("v"), "2.12 [m/s]");
  input("D").setText("3");

  solve();

  EXPECT_EQ(page_->Status->Text(), "The value entered for D must be greater than 5.0");
  EXPECT_TRUE(page_->Status->Visible());
  EXPECT_EQ(text("v"), "2.12 [m/s]");
}

TEST_F(DemoSolveCycleTest, SolverErrorIsShownWithItsMessage) {
  // Legal on the page, but the flow velocity leaves the range the equations declare.
  input("Q").setText("4000");

  solve();

  EXPECT_EQ(page_->Status->Text(),
            "Error: v = 141.47 m/s is out of its range -infinity to 10.00 m/s "
            "(PUMP.EQN line 76)");
  EXPECT_TRUE(page_->Status->Visible());
  EXPECT_EQ(output("v").aIWOutput->WebFont().Color(), kGrey);  // no result shown yet
  EXPECT_TRUE(test::cycleFilesIn(dir_.path()).empty());

  // Back in range, the next cycle succeeds again.
  input("Q").setText("60");
  solve();
  EXPECT_EQ(page_->Status->Text(), "");
  EXPECT_FALSE(page_->Status->Visible());
  EXPECT_EQ(text("v"), "2.12 [m/s]");
  EXPECT_EQ(output("v").aIWOutput->WebFont().Color(), 0);
}

}  // namespace
}  // namespace orv
