// The shown calculator page of the fixture layout, rendered to a file and opened in
// headless Chromium: every visible control's element sits at the control's position,
// and elements whose size the page fixes have that size. The screenshot is kept under
// tests/artifacts/ for reviewers.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/WDiagramU.h"
#include "tests/app/PageTestSupport.h"
#include "tests/framework/render/FixedRenderSession.h"

namespace orv {
namespace {

struct Box {
  double left = 0, top = 0, width = 0, height = 0;
};

// Where the page puts a control: its position, and its size when the page fixes it.
struct Expected {
  int left, top;
  std::optional<std::pair<int, int>> size;
};

Expected expectedBox(const TIWCustomControl& c) {
  Expected e{c.HTMLLeft(), c.HTMLTop(), std::nullopt};
  const bool sizeWritten = (c.RenderSize() && c.StyleRenderOptions().RenderSize()) || !c.AutoSize();
  if (dynamic_cast<const TIWCheckBox*>(&c) != nullptr ||
      dynamic_cast<const TIWRadioGroup*>(&c) != nullptr)
    return e;  // sized by their content
  if (const auto* memo = dynamic_cast<const TIWMemo*>(&c)) {
    // A text area's border lies outside the size written.
    e.size = {{c.HTMLWidth() + 2 * memo->BorderWidth(), c.HTMLHeight() + 2 * memo->BorderWidth()}};
    return e;
  }
  if (const auto* label = dynamic_cast<const TIWLabel*>(&c)) {
    if (label->RenderSize() != label->AutoSize()) e.size = {{c.HTMLWidth(), c.HTMLHeight()}};
    return e;
  }
  if (dynamic_cast<const TIWImage*>(&c) != nullptr || sizeWritten)
    e.size = {{c.HTMLWidth(), c.HTMLHeight()}};
  return e;
}

// Runs a command and returns its standard output and exit status.
std::pair<std::string, int> run(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  std::string out;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int status = ::pclose(pipe);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

TEST(CalculatorPageBrowserTest, EveryItemSitsAtItsPlaceInChromium) {
  test::ServerDir dir;
  dir.copyFixture("full");
  dir.writeBytes("pump.exe", "");
  auto page = test::buildPage(dir);
  page->IWContinueBClick(*page->IWContinueB);

  testing::FixedRenderSession session;
  session.cachePrefix = "picture";
  std::string html;
  page->GenerateForm(session, html);
  const std::string out = dir.path() + "out/";
  std::filesystem::create_directories(out);
  std::ofstream(out + "page.html", std::ios::binary) << html;
  for (const auto& [href, file] : session.cacheFiles)
    std::ofstream(out + href, std::ios::binary) << file.bytes;

  std::map<std::string, Expected> expected;
  std::string ids;
  for (const TIWCustomControl* c : page->Components()) {
    if (!c->Visible()) continue;
    expected.emplace(c->HTMLName(), expectedBox(*c));
    ids += " " + quoted(c->HTMLName());
  }
  ASSERT_GT(expected.size(), 20u);

  const std::string artifacts = std::string(ORV_SOURCE_DIR) + "/tests/artifacts/";
  std::filesystem::create_directories(artifacts);
  const std::string command =
      std::string(ORV_NODE) + " " +
      quoted(std::string(ORV_SOURCE_DIR) + "/tests/app/browser/page_positions.mjs") + " " +
      quoted(out + "page.html") + " " + quoted(artifacts + "calculator_page.png") + ids;
  const auto [output, status] = run(command);
  ASSERT_EQ(0, status) << output;

  std::istringstream lines(output);
  std::string line;
  std::size_t seen = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string id;
    Box box;
    fields >> id;
    SCOPED_TRACE(line);
    ASSERT_TRUE(fields >> box.left >> box.top >> box.width >> box.height) << "element not found";
    const Expected& e = expected.at(id);
    EXPECT_NEAR(e.left, box.left, 0.5);
    EXPECT_NEAR(e.top, box.top, 0.5);
    if (e.size) {
      EXPECT_NEAR(e.size->first, box.width, 0.5);
      EXPECT_NEAR(e.size->second, box.height, 0.5);
    }
    ++seen;
  }
  EXPECT_EQ(expected.size(), seen);
  EXPECT_TRUE(std::filesystem::file_size(artifacts + "calculator_page.png") > 1000);
}

}  // namespace
}  // namespace orv
