#pragma once
// Draws one plot window of the solver: a line chart with a framed plot area, grid lines
// at "nice" tick values (1, 2 or 5 times a power of ten), tick labels, axis titles and
// a title in the built-in bitmap font, one anti-aliased curve per series (gaps where a
// sample could not be computed), the current point of each series marked with dashed
// guides to the axes, and a legend when the series carry labels.
//
// Pure computation on its arguments; safe from any thread.
#include <optional>
#include <string>
#include <vector>

#include "examples/solver/RgbImage.h"

namespace orv::solver {

struct ChartSeries {
  std::string label;                      // legend text; empty for none
  std::vector<double> xs;                 // sample positions, ascending
  std::vector<std::optional<double>> ys;  // one per x; empty where not computable
  std::optional<double> currentY;         // the value at the chart's current x
};

struct ChartSpec {
  int width = 360;
  int height = 240;
  std::string title;
  std::string xTitle;
  std::string yTitle;
  double xMin = 0;
  double xMax = 1;
  std::optional<double> yMin;  // automatic when empty
  std::optional<double> yMax;
  std::vector<ChartSeries> series;
  std::optional<double> currentX;  // where the current point lies
};

class LineChart {
 public:
  // The smallest picture the layout of axes, labels and titles fits in.
  static constexpr int kMinWidth = 120;
  static constexpr int kMinHeight = 90;

  // Throws std::invalid_argument, its text saying why, when the picture is too small,
  // the x range is empty or not finite, or no series has a single computable point.
  static RgbImage render(const ChartSpec& spec);

  // Tick values from lo to hi (inclusive, within a small tolerance) for about `target`
  // intervals; the step is 1, 2 or 5 times a power of ten.
  static double niceStep(double range, int target);
  // A tick label: as many decimals as the step needs, no "-0".
  static std::string tickLabel(double value, double step);
};

}  // namespace orv::solver
