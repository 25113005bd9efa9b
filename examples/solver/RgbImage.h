#pragma once
// An RGB picture in memory (8 bits per channel, rows top to bottom) with the few
// drawing operations the charts need: filled and framed rectangles, anti-aliased thick
// lines, filled circles and dashed guides. Coordinates outside the picture are clipped.
//
// A plain value type; not shared between threads.
#include <cstdint>
#include <vector>

namespace orv::solver {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

class RgbImage {
 public:
  RgbImage(int width, int height, Rgb background = {255, 255, 255});

  int width() const { return width_; }
  int height() const { return height_; }
  // width × height × 3 bytes, R G B per pixel, rows top to bottom.
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

  Rgb pixel(int x, int y) const;
  void setPixel(int x, int y, Rgb colour);
  // Mixes the colour into the pixel with coverage alpha (0 = none, 1 = all).
  void blendPixel(int x, int y, Rgb colour, double alpha);

  void fillRect(int x, int y, int w, int h, Rgb colour);
  // A one-pixel frame whose outer edge is the rectangle.
  void frameRect(int x, int y, int w, int h, Rgb colour);
  // A line of the given width between two points given in pixel-centre coordinates
  // (pixel (i, j) covers [i, i+1) × [j, j+1), its centre is (i + 0.5, j + 0.5)).
  void drawLine(double x0, double y0, double x1, double y1, double lineWidth, Rgb colour);
  void fillCircle(double cx, double cy, double radius, Rgb colour);
  // Dashed one-pixel guides along a row or a column (dash and gap in pixels).
  void dashedHorizontal(int x0, int x1, int y, Rgb colour, int dash = 3, int gap = 3);
  void dashedVertical(int x, int y0, int y1, Rgb colour, int dash = 3, int gap = 3);

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace orv::solver
