#include "examples/solver/LineChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "examples/solver/BitmapFont.h"

namespace orv::solver {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kFrame{70, 70, 70};
constexpr Rgb kGrid{228, 228, 228};
constexpr Rgb kText{30, 30, 30};
constexpr Rgb kGuide{150, 150, 150};
constexpr Rgb kPalette[] = {
    {0, 90, 200}, {210, 50, 40}, {0, 140, 70}, {230, 130, 0}, {130, 60, 170}};

constexpr int kTick = 4;
constexpr int kGap = 3;

Rgb seriesColour(std::size_t i) { return kPalette[i % std::size(kPalette)]; }

std::vector<double> ticks(double lo, double hi, double step) {
  std::vector<double> t;
  const double eps = step * 1e-9;
  for (double k = std::ceil((lo - eps) / step);; k += 1) {
    const double v = k * step;
    if (v > hi + eps || t.size() > 1000) break;
    t.push_back(std::fabs(v) < eps ? 0.0 : v);
  }
  return t;
}

// Clips the segment to the rectangle (Liang-Barsky); false when nothing is left.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top,
                 double right, double bottom) {
  double t0 = 0;
  double t1 = 1;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, r);
    } else {
      t1 = std::min(t1, r);
    }
    if (t0 > t1) return false;
  }
  const double nx0 = x0 + t0 * dx;
  const double ny0 = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  return true;
}

}  // namespace

double LineChart::niceStep(double range, int target) {
  if (!(range > 0) || !std::isfinite(range)) return 1;
  const double rough = range / std::max(target, 1);
  const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * magnitude >= rough * (1 - 1e-9)) return m * magnitude;
  }
  return 10 * magnitude;
}

std::string LineChart::tickLabel(double value, double step) {
  if (std::fabs(value) < std::fabs(step) * 1e-9) value = 0;
  char buffer[64];
  const double big = std::max(std::fabs(value), std::fabs(step));
  if (big >= 1e6 || (big > 0 && std::fabs(step) < 1e-4)) {
    std::snprintf(buffer, sizeof buffer, "%.3g", value);
  } else {
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  }
  return buffer;
}

RgbImage LineChart::render(const ChartSpec& spec) {
  if (spec.width < kMinWidth || spec.height < kMinHeight) {
    throw std::invalid_argument("the picture is too small for its axes and labels");
  }
  if (!(spec.xMax > spec.xMin) || !std::isfinite(spec.xMin) || !std::isfinite(spec.xMax)) {
    throw std::invalid_argument("the x range is empty");
  }

  // Range of the y axis: the computed points and the current points, unless given.
  double lo = INFINITY;
  double hi = -INFINITY;
  for (const auto& s : spec.series) {
    for (const auto& y : s.ys) {
      if (y && std::isfinite(*y)) {
        lo = std::min(lo, *y);
        hi = std::max(hi, *y);
      }
    }
    if (s.currentY && std::isfinite(*s.currentY) && spec.currentX && *spec.currentX >= spec.xMin &&
        *spec.currentX <= spec.xMax) {
      lo = std::min(lo, *s.currentY);
      hi = std::max(hi, *s.currentY);
    }
  }
  if (!(lo <= hi)) throw std::invalid_argument("no point can be computed");
  // Engineers read magnitudes from zero when the data does not sit far away from it.
  if (lo > 0 && lo <= 0.6 * hi) lo = 0;
  if (hi < 0 && hi >= 0.6 * lo) hi = 0;
  if (spec.yMin) lo = *spec.yMin;
  if (spec.yMax) hi = *spec.yMax;
  if (!(hi > lo)) {
    const double pad = std::max(std::fabs(lo) * 0.1, 1.0);
    if (!spec.yMin) lo -= pad;
    if (!spec.yMax) hi += pad;
    if (!(hi > lo)) hi = lo + pad;
  }

  const int fontH = BitmapFont::lineHeight();
  const int top = spec.title.empty() ? fontH / 2 + 4 : fontH + 10;
  const int bottom = kTick + kGap + fontH + (spec.xTitle.empty() ? 4 : 4 + fontH + 4);
  const int plotH = spec.height - top - bottom;
  const int yTarget = std::clamp(plotH / 30, 2, 8);
  double yStep = niceStep(hi - lo, yTarget);
  if (!spec.yMin) lo = std::floor(lo / yStep + 1e-9) * yStep;
  if (!spec.yMax) hi = std::ceil(hi / yStep - 1e-9) * yStep;
  yStep = niceStep(hi - lo, yTarget);
  const auto yTicks = ticks(lo, hi, yStep);

  int yLabelW = 0;
  for (double v : yTicks) yLabelW = std::max(yLabelW, BitmapFont::textWidth(tickLabel(v, yStep)));
  const int left = 4 + (spec.yTitle.empty() ? 0 : fontH + 4) + yLabelW + kGap + kTick;

  // X ticks: as many as fit with room between their labels.
  const double xRange = spec.xMax - spec.xMin;
  int right = 10;
  double xStep = 0;
  std::vector<double> xTicks;
  for (int target = 10; target >= 1; --target) {
    xStep = niceStep(xRange, target);
    xTicks = ticks(spec.xMin, spec.xMax, xStep);
    int widest = 0;
    for (double v : xTicks) widest = std::max(widest, BitmapFont::textWidth(tickLabel(v, xStep)));
    right = std::max(10, widest / 2 + 3);
    const int plotW = spec.width - left - right;
    const double pixelsPerTick = xTicks.size() > 1 ? plotW * xStep / xRange : plotW;
    if (pixelsPerTick >= widest + 12) break;
  }

  const int x0 = left;
  const int x1 = spec.width - right;
  const int y0 = top;
  const int y1 = spec.height - bottom;
  if (x1 - x0 < 20 || y1 - y0 < 20) {
    throw std::invalid_argument("the picture is too small for its axes and labels");
  }

  auto px = [&](double x) { return x0 + (x - spec.xMin) / xRange * (x1 - x0); };
  auto py = [&](double y) { return y1 - (y - lo) / (hi - lo) * (y1 - y0); };

  RgbImage image(spec.width, spec.height, kWhite);

  // Grid, frame, ticks and their labels.
  for (double v : xTicks) {
    const int x = static_cast<int>(std::lround(px(v)));
    image.fillRect(x, y0, 1, y1 - y0, kGrid);
    image.fillRect(x, y1, 1, kTick, kFrame);
    const std::string label = tickLabel(v, xStep);
    BitmapFont::drawText(image, x - BitmapFont::textWidth(label) / 2, y1 + kTick + kGap, label,
                         kText);
  }
  for (double v : yTicks) {
    const int y = static_cast<int>(std::lround(py(v)));
    image.fillRect(x0, y, x1 - x0, 1, kGrid);
    image.fillRect(x0 - kTick, y, kTick, 1, kFrame);
    const std::string label = tickLabel(v, yStep);
    BitmapFont::drawText(image, x0 - kTick - kGap - BitmapFont::textWidth(label),
                         y - BitmapFont::kAscent / 2, label, kText);
  }
  image.frameRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, kFrame);

  if (!spec.title.empty()) {
    BitmapFont::drawText(image, (spec.width - BitmapFont::textWidth(spec.title)) / 2, 4, spec.title,
                         kText);
  }
  if (!spec.xTitle.empty()) {
    BitmapFont::drawText(image, x0 + (x1 - x0 - BitmapFont::textWidth(spec.xTitle)) / 2,
                         y1 + kTick + kGap + fontH + 4, spec.xTitle, kText);
  }
  if (!spec.yTitle.empty()) {
    const int w = BitmapFont::textWidth(spec.yTitle);
    BitmapFont::drawText(image, 4, y0 + (y1 - y0 - w) / 2, spec.yTitle, kText, 1,
                         BitmapFont::Direction::Up);
  }

  // Curves, clipped to the plot area.
  const double cl = x0 + 0.5;
  const double ct = y0 + 0.5;
  const double cr = x1 + 0.5;
  const double cb = y1 + 0.5;
  for (std::size_t si = 0; si < spec.series.size(); ++si) {
    const auto& s = spec.series[si];
    const std::size_t n = std::min(s.xs.size(), s.ys.size());
    for (std::size_t i = 1; i < n; ++i) {
      if (!s.ys[i - 1] || !s.ys[i]) continue;
      double ax = px(s.xs[i - 1]) + 0.5;
      double ay = py(*s.ys[i - 1]) + 0.5;
      double bx = px(s.xs[i]) + 0.5;
      double by = py(*s.ys[i]) + 0.5;
      if (!std::isfinite(ay) || !std::isfinite(by)) continue;
      if (clipSegment(ax, ay, bx, by, cl, ct, cr, cb)) {
        image.drawLine(ax, ay, bx, by, 2.0, seriesColour(si));
      }
    }
    // A single computable point between gaps would vanish: show it as a dot.
    for (std::size_t i = 0; i < n; ++i) {
      const bool alone = s.ys[i] && (i == 0 || !s.ys[i - 1]) && (i + 1 == n || !s.ys[i + 1]);
      if (!alone) continue;
      const double y = py(*s.ys[i]);
      if (y >= y0 && y <= y1) image.fillCircle(px(s.xs[i]) + 0.5, y + 0.5, 1.5, seriesColour(si));
    }
  }

  // The current point of every series, with guides to both axes.
  if (spec.currentX && *spec.currentX >= spec.xMin && *spec.currentX <= spec.xMax) {
    const double cx = px(*spec.currentX);
    for (std::size_t si = 0; si < spec.series.size(); ++si) {
      const auto& cy = spec.series[si].currentY;
      if (!cy || !std::isfinite(*cy) || *cy < lo || *cy > hi) continue;
      const double yPix = py(*cy);
      const int ix = static_cast<int>(std::lround(cx));
      const int iy = static_cast<int>(std::lround(yPix));
      image.dashedVertical(ix, iy, y1 - 1, kGuide);
      image.dashedHorizontal(x0 + 1, ix, iy, kGuide);
      image.fillCircle(cx + 0.5, yPix + 0.5, 4.5, kFrame);
      image.fillCircle(cx + 0.5, yPix + 0.5, 3.2, seriesColour(si));
    }
  }

  // Legend in the top right corner of the plot area.
  int labelled = 0;
  int legendTextW = 0;
  for (const auto& s : spec.series) {
    if (s.label.empty()) continue;
    ++labelled;
    legendTextW = std::max(legendTextW, BitmapFont::textWidth(s.label));
  }
  if (labelled > 0) {
    const int rowH = fontH + 3;
    const int boxW = 4 + 14 + 4 + legendTextW + 4;
    const int boxH = 3 + labelled * rowH;
    // The corner of the plot area that hides the fewest curve samples.
    const int corners[4][2] = {{x1 - 4 - boxW, y0 + 4},
                               {x0 + 5, y0 + 4},
                               {x1 - 4 - boxW, y1 - 4 - boxH},
                               {x0 + 5, y1 - 4 - boxH}};
    int best = 0;
    std::size_t fewest = static_cast<std::size_t>(-1);
    for (int c = 0; c < 4; ++c) {
      std::size_t hidden = 0;
      for (const auto& s : spec.series) {
        for (std::size_t i = 0; i < std::min(s.xs.size(), s.ys.size()); ++i) {
          if (!s.ys[i]) continue;
          const double sx = px(s.xs[i]);
          const double sy = py(*s.ys[i]);
          if (sx >= corners[c][0] - 2 && sx <= corners[c][0] + boxW + 2 &&
              sy >= corners[c][1] - 2 && sy <= corners[c][1] + boxH + 2) {
            ++hidden;
          }
        }
      }
      if (hidden < fewest) {
        fewest = hidden;
        best = c;
      }
    }
    const int bx = corners[best][0];
    const int by = corners[best][1];
    image.fillRect(bx, by, boxW, boxH, kWhite);
    image.frameRect(bx, by, boxW, boxH, kGrid);
    int row = 0;
    for (std::size_t si = 0; si < spec.series.size(); ++si) {
      const auto& s = spec.series[si];
      if (s.label.empty()) continue;
      const int ty = by + 3 + row * rowH;
      const double ly = ty + BitmapFont::kAscent / 2 + 0.5;
      image.drawLine(bx + 4.5, ly, bx + 18.5, ly, 2.0, seriesColour(si));
      BitmapFont::drawText(image, bx + 22, ty, s.label, kText);
      ++row;
    }
  }
  return image;
}

}  // namespace orv::solver
