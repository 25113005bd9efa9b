// The calculator page of the fixture layout (tests/testdata/app/full/PUMP.DLY) rendered
// in full: the title screen and the shown calculator, compared with golden documents,
// and an update after an input changed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/WDiagramU.h"
#include "tests/app/PageTestSupport.h"
#include "tests/framework/render/FixedRenderSession.h"
#include "tests/framework/render/GoldenFile.h"

namespace orv {
namespace {

class CalculatorPageRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.copyFixture("full");
    dir_.writeBytes("pump.exe", "");
    page_ = test::buildPage(dir_);
  }
  std::string render() {
    std::string out;
    page_->GenerateForm(session_, out);
    return out;
  }

  test::ServerDir dir_;
  testing::FixedRenderSession session_;
  std::unique_ptr<TORVServerForm> page_;
};

TEST_F(CalculatorPageRenderTest, TitleScreen) {
  testing::expectMatchesGolden("calculator_title.html", render());
  EXPECT_TRUE(session_.cacheFiles.empty());  // the pictures are hidden on the title screen
}

TEST_F(CalculatorPageRenderTest, ShownCalculator) {
  render();
  page_->IWContinueBClick(*page_->IWContinueB);
  testing::expectMatchesGolden("calculator_shown.html", render());
  // One page-owned GIF file per visible picture, written as loaded.
  ASSERT_EQ(4u, session_.cacheFiles.size());
  for (const auto& [href, file] : session_.cacheFiles) {
    SCOPED_TRACE(href);
    EXPECT_TRUE(file.formOwned);
    EXPECT_EQ("image/gif", file.contentType);
    EXPECT_EQ("GIF8", file.bytes.substr(0, 4));
  }
}

TEST_F(CalculatorPageRenderTest, UpdateAfterAnInputChanged) {
  page_->IWContinueBClick(*page_->IWContinueB);
  ASSERT_FALSE(page_->OutputList.empty());
  page_->OutputList.front().aIWOutput->WebFont().setColor(clGreen);  // as a solve leaves it
  render();
  for (TIWCustomControl* c : page_->Components()) c->setDoRefreshControl(false);
  ASSERT_FALSE(page_->InputList.empty());
  TIWEdit* input = page_->InputList.front().aIWInput;
  ASSERT_NE(nullptr, input);
  StringList params;
  page_->IWEdit1AsyncChange(*input, params);
  session_.callBack = true;
  std::string none;
  page_->GenerateForm(session_, none);
  testing::expectMatchesGolden("calculator_update.xml", session_.response.StreamResponse());
}

}  // namespace
}  // namespace orv
