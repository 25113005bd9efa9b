// Plot pictures: the real program draws each requested plot window into a GIF or PNG
// file that decodes to the declared size and changes with the inputs; the chart and
// font parts are checked in-process.
#include <gtest/gtest.h>

#include <filesystem>

#include "examples/solver/BitmapFont.h"
#include "examples/solver/LineChart.h"
#include "tests/examples/SolverHarness.h"

namespace orv::solver::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const Lines kPlotEquations = {
    "a = 2",
    "y = a*x^2",
    "x = 1",
    "PLOT 1",
    "  SIZE 300 200",
    "  TITLE Parabola",
    "  X x",
    "  XMIN 0",
    "  XMAX 2*x + 1",
    "  Y 'a x²' y",
    "  Y 'line' a*x",
    "  XTITLE x [m]",
    "  YTITLE y [m²]",
    "END",
    "PLOT 2",
    "  SIZE 240 160",
    "  X a",
    "  XMIN 0",
    "  XMAX 10",
    "  Y y",
    "END",
};

std::string plotLine(const SolverHarness& h, const std::string& file, int window) {
  return "$EXPORTPLOT '" + h.path(file) + "' " + std::to_string(window) + " /R=1";
}

// Counts pixels close to a colour.
int countNear(const DecodedPicture& p, int r, int g, int b, int tolerance = 40) {
  int n = 0;
  for (std::size_t i = 0; i + 2 < p.rgb.size(); i += 3) {
    if (std::abs(p.rgb[i] - r) <= tolerance && std::abs(p.rgb[i + 1] - g) <= tolerance &&
        std::abs(p.rgb[i + 2] - b) <= tolerance) {
      ++n;
    }
  }
  return n;
}

TEST(SolverPlotTest, DrawsEachPlotWindowAsGifOrPngOfTheDeclaredSize) {
  SolverHarness h;
  h.writeEquations(kPlotEquations);
  const auto o = h.run({h.exportLine({"y"}), plotLine(h, "p1.gif", 1), plotLine(h, "p2.png", 2),
                        plotLine(h, "p1.PNG", 1)});
  ASSERT_EQ(o.exitCode, 0) << (o.error ? *o.error : "");
  EXPECT_EQ(o.result, "2");

  const auto gif = decodeGif(h.path("p1.gif"));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->width, 300);
  EXPECT_EQ(gif->height, 200);
  const auto png = decodePng(h.path("p2.png"));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 240);
  EXPECT_EQ(png->height, 160);
  const auto png1 = decodePng(h.path("p1.PNG"));
  ASSERT_TRUE(png1);
  EXPECT_EQ(png1->width, 300);

  for (const auto* p : {&*gif, &*png}) {
    // Mostly white paper, dark text and frame, the first curve in blue, the second red.
    EXPECT_GT(countNear(*p, 255, 255, 255, 8), p->width * p->height / 2);
    EXPECT_GT(countNear(*p, 70, 70, 70, 30), 200);
    EXPECT_GT(countNear(*p, 0, 90, 200), 100);
  }
  EXPECT_GT(countNear(*gif, 210, 50, 40), 100);
  // GIF and PNG of the same window hold the same picture, up to the GIF's colour table.
  ASSERT_EQ(gif->rgb.size(), png1->rgb.size());
  int differing = 0;
  for (std::size_t i = 0; i < gif->rgb.size(); ++i)
    differing += std::abs(gif->rgb[i] - png1->rgb[i]) > 24;
  EXPECT_LT(differing, static_cast<int>(gif->rgb.size() / 100));
}

TEST(SolverPlotTest, RedrawsThePictureWhenAnInputChanges) {
  SolverHarness h;
  h.writeEquations(kPlotEquations);
  ASSERT_EQ(h.run({h.exportLine({"y"}), plotLine(h, "p.png", 1)}).exitCode, 0);
  const auto first = decodePng(h.path("p.png"));
  ASSERT_EQ(h.run({"x=3", h.exportLine({"y"}), plotLine(h, "p.png", 1)}).exitCode, 0);
  const auto second = decodePng(h.path("p.png"));
  ASSERT_EQ(h.run({"x=3", h.exportLine({"y"}), plotLine(h, "p.png", 1)}).exitCode, 0);
  const auto third = decodePng(h.path("p.png"));
  ASSERT_TRUE(first && second && third);
  EXPECT_EQ(second->width, 300);
  EXPECT_NE(first->rgb, second->rgb);
  EXPECT_EQ(second->rgb, third->rgb);  // the same inputs draw the same picture
}

TEST(SolverPlotTest, LeavesGapsWherePointsCannotBeComputed) {
  SolverHarness h;
  h.writeEquations({"x = 0.5", "y = 1/(x - 1) + sqrt(x)", "PLOT 1", "X x", "XMIN -1", "XMAX 3",
                    "POINTS 5", "Y y", "END"});
  const auto o = h.run({h.exportLine({"y"}), plotLine(h, "p.gif", 1)});
  EXPECT_EQ(o.exitCode, 0) << (o.error ? *o.error : "");
  EXPECT_TRUE(decodeGif(h.path("p.gif")));
}

TEST(SolverPlotTest, WritesToPathsWithApostrophes) {
  SolverHarness h;
  h.writeEquations(kPlotEquations);
  fs::create_directory(h.path("it's"));
  const auto o = h.run({h.exportLine({"y"}), plotLine(h, "it's/p.gif", 2)});
  EXPECT_EQ(o.exitCode, 0) << (o.error ? *o.error : "");
  EXPECT_TRUE(decodeGif(h.path("it's/p.gif")));
}

TEST(SolverPlotTest, ReportsPlotsThatCannotBeDrawn) {
  struct Case {
    const char* label;
    Lines equations;
    std::string message;
  };
  const Case cases[] = {
      {"no computable point",
       {"x = 1", "PLOT 1", "X x", "XMIN -2", "XMAX -1", "Y sqrt(x)", "END"},
       "Plot window 1 has no point that can be drawn"},
      {"unknown variable in a curve",
       {"x = 1", "PLOT 1", "X x", "XMIN 0", "XMAX 1", "Y x + q", "END"},
       "Unknown variable q in Y of PLOT 1 (CALC.EQN line 2)"},
      {"unknown x variable",
       {"x = 1", "PLOT 1", "X zz", "XMIN 0", "XMAX 1", "Y x", "END"},
       "Unknown variable zz in PLOT 1 (CALC.EQN line 2)"},
      {"range that cannot be computed",
       {"x = 1", "PLOT 1", "X x", "XMIN 0", "XMAX 1/(x-1)", "Y x", "END"},
       "Division by zero in XMAX of PLOT 1 (CALC.EQN line 2)"},
      {"empty fixed y range",
       {"x = 1", "PLOT 1", "X x", "XMIN 0", "XMAX 2", "YMIN 5", "YMAX 5", "Y x", "END"},
       "The y range of PLOT 1 (CALC.EQN line 2) is empty"},
      {"range beyond what a picture can show",
       {"x = 1", "PLOT 1", "X x", "XMIN 0", "XMAX 1e3999", "Y x", "END"},
       "PLOT 1 (CALC.EQN line 2) cannot be drawn: its range is too large"},
      {"size below the minimum",
       {"x = 1", "PLOT 1", "SIZE 50 40", "END"},
       "Syntax error in CALC.EQN line 3 at position 6: the size must be from 120 x 90 to 2000 x "
       "2000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SolverHarness h;
    h.writeEquations(c.equations);
    const auto o = h.run({h.exportLine({"x"}), plotLine(h, "p.png", 1)});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_FALSE(o.resultBytes);
    EXPECT_FALSE(fs::exists(h.path("p.png")));
    ASSERT_TRUE(o.error);
    EXPECT_EQ(*o.error, c.message);
  }
}

TEST(LineChartTest, ChoosesNiceStepsAndLabels) {
  struct StepCase {
    double range;
    int target;
    double step;
  };
  const StepCase steps[] = {{10, 5, 2},        {1, 5, 0.2},  {100, 4, 50}, {7, 7, 1},
                            {0.003, 3, 0.001}, {120, 6, 20}, {1e6, 4, 5e5}};
  for (const auto& c : steps) {
    SCOPED_TRACE(c.range);
    EXPECT_DOUBLE_EQ(LineChart::niceStep(c.range, c.target), c.step);
  }
  EXPECT_EQ(LineChart::tickLabel(0.2, 0.2), "0.2");
  EXPECT_EQ(LineChart::tickLabel(5, 1), "5");
  EXPECT_EQ(LineChart::tickLabel(-1e-17, 0.1), "0.0");
  EXPECT_EQ(LineChart::tickLabel(-20, 10), "-20");
  EXPECT_EQ(LineChart::tickLabel(2e6, 1e6), "2e+06");
  EXPECT_EQ(LineChart::tickLabel(5e-5, 1e-5), "5e-05");
}

ChartSpec sampleSpec() {
  ChartSpec spec;
  spec.width = 200;
  spec.height = 150;
  spec.xMin = 0;
  spec.xMax = 10;
  ChartSeries s;
  for (int i = 0; i <= 10; ++i) {
    s.xs.push_back(i);
    s.ys.push_back(i * i);
  }
  s.currentY = 25;
  spec.series.push_back(s);
  return spec;
}

TEST(LineChartTest, DrawsAPictureOfTheRequestedSize) {
  const RgbImage image = LineChart::render(sampleSpec());
  EXPECT_EQ(image.width(), 200);
  EXPECT_EQ(image.height(), 150);
  EXPECT_EQ(image.pixels().size(), 200u * 150u * 3u);
}

TEST(LineChartTest, MarksTheCurrentPointOnlyInsideTheRange) {
  ChartSpec spec = sampleSpec();
  const RgbImage plain = LineChart::render(spec);
  spec.currentX = 5;
  const RgbImage marked = LineChart::render(spec);
  spec.currentX = 50;
  const RgbImage outside = LineChart::render(spec);
  EXPECT_NE(plain.pixels(), marked.pixels());
  EXPECT_EQ(plain.pixels(), outside.pixels());
}

TEST(LineChartTest, RefusesWhatCannotBeDrawn) {
  ChartSpec small = sampleSpec();
  small.width = LineChart::kMinWidth - 1;
  EXPECT_THROW(LineChart::render(small), std::invalid_argument);
  ChartSpec empty = sampleSpec();
  empty.xMax = empty.xMin;
  EXPECT_THROW(LineChart::render(empty), std::invalid_argument);
  ChartSpec none = sampleSpec();
  for (auto& y : none.series[0].ys) y.reset();
  EXPECT_THROW(LineChart::render(none), std::invalid_argument);
  ChartSpec flat = sampleSpec();  // a constant curve still gets a y range
  for (auto& y : flat.series[0].ys) y = 3;
  EXPECT_NO_THROW(LineChart::render(flat));
}

TEST(BitmapFontTest, HasAGlyphForEveryPrintableCharacter) {
  for (char32_t c = 32; c < 127; ++c) {
    SCOPED_TRACE(static_cast<int>(c));
    EXPECT_NE(BitmapFont::glyph(c), nullptr);
  }
  for (char32_t c : {U'°', U'²', U'³', U'µ', U'·', U'Δ', U'ρ', U'η', U'λ', U'ν'}) {
    EXPECT_NE(BitmapFont::glyph(c), nullptr);
  }
  EXPECT_EQ(BitmapFont::glyph(U'€'), nullptr);
}

TEST(BitmapFontTest, MeasuresAndDrawsAcrossAndUpwards) {
  EXPECT_EQ(BitmapFont::textWidth(""), 0);
  EXPECT_EQ(BitmapFont::textWidth("abc"), 17);
  EXPECT_EQ(BitmapFont::textWidth("m³"), 11);
  EXPECT_EQ(BitmapFont::textWidth("ab", 2), 22);

  auto inked = [](const RgbImage& img, int& maxX, int& maxY) {
    int n = 0;
    maxX = maxY = -1;
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) {
        if (img.pixel(x, y) == Rgb{0, 0, 0}) {
          ++n;
          maxX = std::max(maxX, x);
          maxY = std::max(maxY, y);
        }
      }
    }
    return n;
  };
  RgbImage across(40, 40);
  BitmapFont::drawText(across, 0, 0, "Hi€", Rgb{0, 0, 0});
  int ax = 0;
  int ay = 0;
  const int inkAcross = inked(across, ax, ay);
  EXPECT_GT(inkAcross, 0);
  EXPECT_LT(ax, BitmapFont::textWidth("Hi€"));
  EXPECT_LT(ay, BitmapFont::kAscent);

  RgbImage up(40, 40);
  BitmapFont::drawText(up, 0, 0, "Hi€", Rgb{0, 0, 0}, 1, BitmapFont::Direction::Up);
  int ux = 0;
  int uy = 0;
  EXPECT_EQ(inked(up, ux, uy), inkAcross);  // the same glyphs, turned
  EXPECT_LT(ux, BitmapFont::kAscent);
  EXPECT_LT(uy, BitmapFont::textWidth("Hi€"));
}

}  // namespace
}  // namespace orv::solver::test
