#include "examples/solver/RgbImage.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace orv::solver {

RgbImage::RgbImage(int width, int height, Rgb background) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("picture size must be positive");
  pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  fillRect(0, 0, width, height, background);
}

Rgb RgbImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                         static_cast<std::size_t>(x)) *
                        3;
  return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

void RgbImage::setPixel(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                         static_cast<std::size_t>(x)) *
                        3;
  pixels_[i] = colour.r;
  pixels_[i + 1] = colour.g;
  pixels_[i + 2] = colour.b;
}

void RgbImage::blendPixel(int x, int y, Rgb colour, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || !(alpha > 0)) return;
  alpha = std::min(alpha, 1.0);
  const Rgb old = pixel(x, y);
  auto mix = [alpha](std::uint8_t from, std::uint8_t to) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * alpha));
  };
  setPixel(x, y, {mix(old.r, colour.r), mix(old.g, colour.g), mix(old.b, colour.b)});
}

void RgbImage::fillRect(int x, int y, int w, int h, Rgb colour) {
  const int x0 = std::max(x, 0);
  const int y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width_);
  const int y1 = std::min(y + h, height_);
  for (int j = y0; j < y1; ++j) {
    for (int i = x0; i < x1; ++i) setPixel(i, j, colour);
  }
}

void RgbImage::frameRect(int x, int y, int w, int h, Rgb colour) {
  if (w <= 0 || h <= 0) return;
  fillRect(x, y, w, 1, colour);
  fillRect(x, y + h - 1, w, 1, colour);
  fillRect(x, y, 1, h, colour);
  fillRect(x + w - 1, y, 1, h, colour);
}

void RgbImage::drawLine(double x0, double y0, double x1, double y1, double lineWidth, Rgb colour) {
  // Coverage from the distance of each pixel centre to the segment: a capsule of half
  // the line width, with a one-pixel soft edge. Slow for long lines, but charts are small.
  const double half = lineWidth / 2;
  const double reach = half + 1;
  const int ix0 = static_cast<int>(std::floor(std::min(x0, x1) - reach));
  const int ix1 = static_cast<int>(std::ceil(std::max(x0, x1) + reach));
  const int iy0 = static_cast<int>(std::floor(std::min(y0, y1) - reach));
  const int iy1 = static_cast<int>(std::ceil(std::max(y0, y1) + reach));
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  for (int j = std::max(iy0, 0); j <= std::min(iy1, height_ - 1); ++j) {
    for (int i = std::max(ix0, 0); i <= std::min(ix1, width_ - 1); ++i) {
      const double px = i + 0.5;
      const double py = j + 0.5;
      double t = len2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = px - (x0 + t * dx);
      const double ey = py - (y0 + t * dy);
      const double dist = std::sqrt(ex * ex + ey * ey);
      const double coverage = std::clamp(half + 0.5 - dist, 0.0, 1.0);
      // Blending the maximum coverage only once per pixel would need a mask; mixing
      // again where consecutive segments overlap darkens joints a little, which the eye
      // does not notice at these widths.
      if (coverage > 0) blendPixel(i, j, colour, coverage);
    }
  }
}

void RgbImage::fillCircle(double cx, double cy, double radius, Rgb colour) {
  const int i0 = static_cast<int>(std::floor(cx - radius - 1));
  const int i1 = static_cast<int>(std::ceil(cx + radius + 1));
  const int j0 = static_cast<int>(std::floor(cy - radius - 1));
  const int j1 = static_cast<int>(std::ceil(cy + radius + 1));
  for (int j = j0; j <= j1; ++j) {
    for (int i = i0; i <= i1; ++i) {
      const double d = std::hypot(i + 0.5 - cx, j + 0.5 - cy);
      blendPixel(i, j, colour, std::clamp(radius + 0.5 - d, 0.0, 1.0));
    }
  }
}

void RgbImage::dashedHorizontal(int x0, int x1, int y, Rgb colour, int dash, int gap) {
  if (x0 > x1) std::swap(x0, x1);
  for (int x = x0; x <= x1; ++x) {
    if ((x - x0) % (dash + gap) < dash) setPixel(x, y, colour);
  }
}

void RgbImage::dashedVertical(int x, int y0, int y1, Rgb colour, int dash, int gap) {
  if (y0 > y1) std::swap(y0, y1);
  for (int y = y0; y <= y1; ++y) {
    if ((y - y0) % (dash + gap) < dash) setPixel(x, y, colour);
  }
}

}  // namespace orv::solver
