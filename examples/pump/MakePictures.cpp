// Draws the demo's fixed pictures into a folder (normally examples/pump/IMGS):
//   SCHEME.GIF  the pipe system (IMG item)
//   ARROW.GIF   the flow arrow laid over it (LINE item)
// with the same drawing code and font as the solver's charts, so the demo ships no
// picture that cannot be rebuilt:  orv_demo_pictures examples/pump/IMGS
#include <cstdio>
#include <fstream>
#include <string>

#include "examples/solver/BitmapFont.h"
#include "examples/solver/RgbImage.h"
#include "platform/Picture.h"

namespace {

using orv::solver::BitmapFont;
using orv::solver::Rgb;
using orv::solver::RgbImage;

constexpr Rgb kInk{40, 40, 40};
constexpr Rgb kPipe{110, 110, 120};
constexpr Rgb kWater{150, 195, 240};
constexpr Rgb kTank{60, 60, 70};
constexpr Rgb kDim{200, 60, 40};
constexpr Rgb kPump{0, 90, 200};

bool writeGif(const RgbImage& image, const std::string& path) {
  orv::RgbaImage rgba(image.width(), image.height());
  for (std::size_t p = 0; p < static_cast<std::size_t>(image.width()) * image.height(); ++p) {
    for (int c = 0; c < 3; ++c) rgba.pixels[p * 4 + c] = image.pixels()[p * 3 + c];
    rgba.pixels[p * 4 + 3] = 255;
  }
  const auto bytes = orv::encodeGif(rgba);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

void arrowHead(RgbImage& img, double x, double y, double dx, double dy, Rgb colour) {
  img.drawLine(x, y, x - 5 * dx - 3 * dy, y - 5 * dy + 3 * dx, 1.5, colour);
  img.drawLine(x, y, x - 5 * dx + 3 * dy, y - 5 * dy - 3 * dx, 1.5, colour);
}

void tank(RgbImage& img, int x, int y, int w, int h, int waterTop) {
  img.fillRect(x + 2, waterTop, w - 4, y + h - 2 - waterTop, kWater);
  img.fillRect(x, y, 2, h, kTank);
  img.fillRect(x + w - 2, y, 2, h, kTank);
  img.fillRect(x, y + h - 2, w, 2, kTank);
}

void pipe(RgbImage& img, double x0, double y0, double x1, double y1) {
  img.drawLine(x0, y0, x1, y1, 6, kPipe);
  img.drawLine(x0, y0, x1, y1, 2, Rgb{210, 215, 225});
}

RgbImage scheme() {
  RgbImage img(330, 170);
  // Suction tank, water level at y = 100; pump centreline at y = 138.
  tank(img, 10, 80, 72, 80, 100);
  // Discharge tank, water level at y = 30.
  tank(img, 248, 14, 72, 70, 30);
  pipe(img, 70, 138, 118, 138);  // suction line
  pipe(img, 134, 124, 134, 44);  // riser
  pipe(img, 131, 44, 262, 44);   // discharge line
  pipe(img, 262, 41, 262, 70);   // into the tank, below its level
  // The pump: a volute casing drawn as two circles and a discharge nozzle.
  img.fillCircle(134, 138, 15, kPump);
  img.fillCircle(134, 138, 11, Rgb{255, 255, 255});
  img.fillCircle(134, 138, 4, kPump);
  // Levels and heights.
  img.dashedHorizontal(84, 214, 100, kDim);
  img.dashedHorizontal(214, 246, 30, kDim);
  img.drawLine(210.5, 32, 210.5, 98, 1.2, kDim);
  arrowHead(img, 210.5, 31, 0, -1, kDim);
  arrowHead(img, 210.5, 99, 0, 1, kDim);
  BitmapFont::drawText(img, 216, 60, "dz", kDim);
  img.dashedHorizontal(96, 118, 138, kDim);
  img.drawLine(100.5, 102, 100.5, 136, 1.2, kDim);
  arrowHead(img, 100.5, 101, 0, -1, kDim);
  arrowHead(img, 100.5, 137, 0, 1, kDim);
  BitmapFont::drawText(img, 86, 112, "z", kDim);
  BitmapFont::drawText(img, 92, 115, "s", kDim);
  // Captions.
  BitmapFont::drawText(img, 10, 66, "suction", kInk);
  BitmapFont::drawText(img, 155, 143, "pump", kInk);
  BitmapFont::drawText(img, 248, 90, "discharge", kInk);
  BitmapFont::drawText(img, 150, 56, "L, D", kInk);
  return img;
}

RgbImage arrow() {
  RgbImage img(44, 14);
  img.drawLine(2, 9.5, 30, 9.5, 2, kDim);
  arrowHead(img, 32, 9.5, 1, 0, kDim);
  img.drawLine(32, 9.5, 27, 6.5, 2, kDim);
  img.drawLine(32, 9.5, 27, 12.5, 2, kDim);
  BitmapFont::drawText(img, 36, 3, "Q", kDim);
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orv_demo_pictures <folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool ok = writeGif(scheme(), dir + "/SCHEME.GIF") && writeGif(arrow(), dir + "/ARROW.GIF");
  if (!ok) std::fprintf(stderr, "cannot write the pictures into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
