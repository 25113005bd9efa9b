// Controls and pictures: the memory and build time of one page-sized set of controls,
// and the load and GIF conversion times of a 640 x 480 picture.
//
//   build/bin/bench_controls
//
// Memory is read from the allocator (bytes in use before and after building the set),
// so it counts every allocation the controls make, not only their object sizes.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWCheckBox.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/controls/TIWContainer.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWImage.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWMemo.h"
#include "framework/controls/TIWRadioGroup.h"
#include "framework/controls/TIWRectangle.h"
#include "platform/Picture.h"

namespace orv {
namespace {

// A calculator page's mix, 200 controls in all: inputs with name and units labels,
// outputs with name labels, drop-downs, check boxes, radio groups, labels, boxes, memos,
// pictures and the page's own buttons, placed and styled the way the page does it.
std::unique_ptr<TIWContainer> buildPage() {
  auto page = std::make_unique<TIWContainer>();
  int y = 30;
  auto place = [&](TIWCustomControl& c, int w, int h) {
    c.SetBounds(20 + (y % 600), y, w, h);
    c.WebFont().setFontName("Arial");
    c.WebFont().setSize(10);
    c.Hide();
    y += 7;
  };
  for (int i = 0; i < 30; ++i) {  // 90 controls
    TIWEdit& edit = page->addNew<TIWEdit>();
    place(edit, 110, 24);
    edit.setText("1.25");
    TIWRectangle& name = page->addNew<TIWRectangle>();
    place(name, 40, 16);
    name.setText("X" + std::to_string(i) + "=");
    name.setAlignment(TAlignment::taRightJustify);
    name.setZIndex(9000);
    TIWRectangle& units = page->addNew<TIWRectangle>();
    place(units, 30, 24);
    units.setText("[m/s]");
  }
  for (int i = 0; i < 25; ++i) {  // 50 controls
    TIWRectangle& output = page->addNew<TIWRectangle>();
    place(output, 90, 18);
    output.setText("12.5 [kW]");
    output.WebFont().setColor(0x808080);
    TIWRectangle& name = page->addNew<TIWRectangle>();
    place(name, 40, 18);
    name.setText("P" + std::to_string(i) + "=");
  }
  for (int i = 0; i < 8; ++i) {  // 16 controls
    TIWComboBox& combo = page->addNew<TIWComboBox>();
    place(combo, 120, 21);
    for (const char* item : {"Steel", "Copper", "Aluminium", "Brass", "Titanium"})
      combo.Items().add(item);
    combo.setItemIndex(0);
    place(page->addNew<TIWRectangle>(), 50, 16);
  }
  for (int i = 0; i < 8; ++i) {  // 8 controls
    TIWCheckBox& check = page->addNew<TIWCheckBox>();
    place(check, 120, 21);
    check.setCaption("Include losses");
    for (const char* line : {"L=1", "--", "L=0"}) check.ExtraTagParams().add(line);
  }
  for (int i = 0; i < 4; ++i) {  // 4 controls
    TIWRadioGroup& radio = page->addNew<TIWRadioGroup>();
    place(radio, 90, 60);
    for (const char* caption : {"Laminar", "Turbulent", "Transition"}) radio.Items().add(caption);
  }
  for (int i = 0; i < 10; ++i) place(page->addNew<TIWRectangle>(), 200, 2);  // boxes and rules
  for (int i = 0; i < 4; ++i) {                                              // 4 memos
    TIWMemo& memo = page->addNew<TIWMemo>();
    place(memo, 200, 80);
    memo.setText("A note about the calculation\r\nand its assumptions.\r\n");
  }
  for (int i = 0; i < 4; ++i) place(page->addNew<TIWImage>(), 300, 200);  // pictures (not loaded)
  for (int i = 0; i < 4; ++i) {                                           // header lines
    TIWLabel& header = page->addNew<TIWLabel>();
    place(header, 500, 16);
    header.setCaption("header " + std::to_string(i + 1));
    header.setAutoSize(false);
  }
  for (const char* caption : {"Solve", "Save", "Load", "Help", "Continue"}) {  // 5 buttons
    TIWButton& button = page->addNew<TIWButton>();
    place(button, 75, 25);
    button.setCaption(caption);
    button.OnClick = [](TIWCustomControl&) {};
  }
  place(page->addNew<TIWEdit>(), 107, 25);       // the input set's name
  place(page->addNew<TIWComboBox>(), 123, 21);   // the list of input sets
  place(page->addNew<TIWRectangle>(), 698, 23);  // the status bar
  place(page->addNew<TIWRectangle>(), 100, 20);  // two label items
  place(page->addNew<TIWRectangle>(), 100, 20);
  return page;
}

void BM_PageOf200Controls(benchmark::State& state) {
  std::size_t bytes = 0;
  std::size_t controls = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    std::unique_ptr<TIWContainer> page = buildPage();
    const std::size_t after = mallinfo2().uordblks;
    bytes = after - before;
    controls = page->ComponentCount();
    benchmark::DoNotOptimize(page.get());
  }
  state.counters["controls"] = static_cast<double>(controls);
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["bytes_per_control"] = static_cast<double>(bytes) / static_cast<double>(controls);
}
BENCHMARK(BM_PageOf200Controls)->Unit(benchmark::kMicrosecond);

// A plot as the solver draws one: white, axes, grid and three coloured curves.
RgbaImage plotPicture() {
  RgbaImage img(640, 480);
  for (std::size_t i = 0; i < img.pixels.size(); ++i) img.pixels[i] = 255;
  auto set = [&](int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (x < 0 || y < 0 || x >= 640 || y >= 480) return;
    std::uint8_t* p = img.pixel(x, y);
    p[0] = r, p[1] = g, p[2] = b;
  };
  for (int x = 40; x < 620; x += 58) {
    for (int y = 20; y < 440; ++y) set(x, y, 200, 200, 200);
  }
  for (int x = 40; x < 620; ++x) set(x, 440, 0, 0, 0);
  for (int y = 20; y < 441; ++y) set(40, y, 0, 0, 0);
  for (int x = 40; x < 620; ++x) {
    const int t = x - 40;
    set(x, 440 - (t * t) / 800, 255, 0, 0);
    set(x, 240 + (t % 97) - 48, 0, 0, 255);
    set(x, 100 + t / 4, 0, 128, 0);
  }
  return img;
}

// A photograph-like picture with thousands of colours.
RgbaImage photoPicture() {
  RgbaImage img(640, 480);
  std::uint32_t seed = 7;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      seed = seed * 1103515245u + 12345u;
      std::uint8_t* p = img.pixel(x, y);
      p[0] = static_cast<std::uint8_t>(x * 255 / 639);
      p[1] = static_cast<std::uint8_t>(y * 255 / 479);
      p[2] = static_cast<std::uint8_t>(((x + y) / 5 + (seed >> 28)) & 0xFF);
      p[3] = 255;
    }
  }
  return img;
}

// A 24-bit bitmap file of a picture, as the solver writes its plots.
std::vector<std::uint8_t> bitmapFile(const RgbaImage& img) {
  const std::size_t stride = ((img.width * 24 + 31) / 32) * 4;
  std::vector<std::uint8_t> b = {'B', 'M'};
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto put16 = [&](unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v)), b.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  put32(static_cast<std::uint32_t>(54 + stride * img.height)), put32(0), put32(54);
  put32(40), put32(static_cast<std::uint32_t>(img.width)),
      put32(static_cast<std::uint32_t>(img.height));
  put16(1), put16(24);
  for (int i = 0; i < 6; ++i) put32(0);
  for (int row = 0; row < img.height; ++row) {
    std::vector<std::uint8_t> line(stride, 0);
    for (int x = 0; x < img.width; ++x) {
      const std::uint8_t* p = img.pixel(x, img.height - 1 - row);
      line[x * 3] = p[2], line[x * 3 + 1] = p[1], line[x * 3 + 2] = p[0];
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

enum Source { kPlotBmp, kPlotGif, kPlotPng, kPhotoJpeg, kPhotoBmp };

std::vector<std::uint8_t> sourceFile(Source source) {
  switch (source) {
    case kPlotBmp:
      return bitmapFile(plotPicture());
    case kPlotGif:
      return encodeGif(plotPicture());
    case kPlotPng:
      return encodePng(plotPicture());
    case kPhotoJpeg:
      return encodeJpeg(photoPicture());
    case kPhotoBmp:
      return bitmapFile(photoPicture());
  }
  return {};
}

const char* sourceName(Source source) {
  switch (source) {
    case kPlotBmp:
      return "plot.bmp";
    case kPlotGif:
      return "plot.gif";
    case kPlotPng:
      return "plot.png";
    case kPhotoJpeg:
      return "photo.jpg";
    case kPhotoBmp:
      return "photo.bmp";
  }
  return "?";
}

// The benchmark's picture files, removed when the program ends.
struct PictureFolder {
  PictureFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "orv-bench-pictures-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~PictureFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

// Writes the source file once into the folder and returns its path.
std::string sourcePath(Source source) {
  static const PictureFolder folder;
  const std::string path = folder.path + "/" + sourceName(source);
  if (!std::filesystem::exists(path)) {
    const std::vector<std::uint8_t> bytes = sourceFile(source);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  return path;
}

// Picture.LoadFromFile of a 640 x 480 picture: read, detect, decode once to prove it.
void BM_PictureLoad640x480(benchmark::State& state) {
  const auto source = static_cast<Source>(state.range(0));
  const std::string path = sourcePath(source);
  state.SetLabel(sourceName(source));
  for (auto _ : state) {
    Picture picture;
    picture.LoadFromFile(path);
    benchmark::DoNotOptimize(picture.Width());
  }
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_PictureLoad640x480)
    ->Arg(kPlotBmp)
    ->Arg(kPlotGif)
    ->Arg(kPlotPng)
    ->Arg(kPhotoJpeg)
    ->Arg(kPhotoBmp)
    ->Unit(benchmark::kMillisecond);

// The conversion an image with OutputType ioGIF does for a non-GIF picture: decode the
// loaded file and write a GIF (exact colours for a plot, median cut for a photograph).
void BM_GifConversion640x480(benchmark::State& state) {
  const auto source = static_cast<Source>(state.range(0));
  Picture picture;
  picture.LoadFromFile(sourcePath(source));
  state.SetLabel(sourceName(source));
  std::size_t size = 0;
  for (auto _ : state) {
    const std::vector<std::uint8_t> gif = picture.SaveAs(PictureFormat::Gif);
    size = gif.size();
    benchmark::DoNotOptimize(gif.data());
  }
  state.counters["gif_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_GifConversion640x480)
    ->Arg(kPlotBmp)
    ->Arg(kPlotPng)
    ->Arg(kPhotoJpeg)
    ->Arg(kPhotoBmp)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
