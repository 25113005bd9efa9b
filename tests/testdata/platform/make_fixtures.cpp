// Writes the picture fixtures of this folder with the codec libraries themselves, so
// that the tests read files that our own writers did not produce. Not part of the build:
//   g++ -std=c++20 make_fixtures.cpp -lgif -lpng -ljpeg -o /tmp/make_fixtures && /tmp/make_fixtures
// run inside this folder.
#include <gif_lib.h>
#include <png.h>

#include <cstdio>

#include <jpeglib.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void writeInterlacedGif() {
  // 5 x 9, interlaced, 4-colour global map, colour 3 transparent at (0,0).
  int error = 0;
  GifFileType* gif = EGifOpenFileName("interlaced.gif", false, &error);
  GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colors);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, 5, 9, 2, 0, map);
  GraphicsControlBlock gcb{};
  gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
  gcb.TransparentColor = 3;
  GifByteType ext[4];
  const size_t len = EGifGCBToExtension(&gcb, ext);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext);
  EGifPutImageDesc(gif, 0, 0, 5, 9, true, nullptr);
  // Interlaced rows are written in pass order.
  const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = start[pass]; y < 9; y += step[pass]) {
      GifPixelType line[5];
      for (int x = 0; x < 5; ++x) line[x] = static_cast<GifPixelType>((x == 0 && y == 0) ? 3 : y % 3);
      EGifPutLine(gif, line, 5);
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
}

void writeAnimatedGif() {
  // Screen 4 x 3; frame 1 fills it with red (global map); frame 2 is a 2 x 2 blue patch
  // at (1,1) with a local map. The picture is the first frame.
  int error = 0;
  GifFileType* gif = EGifOpenFileName("animated.gif", false, &error);
  GifColorType global[2] = {{255, 0, 0}, {0, 0, 0}};
  GifColorType local[2] = {{0, 0, 255}, {0, 0, 0}};
  ColorMapObject* globalMap = GifMakeMapObject(2, global);
  ColorMapObject* localMap = GifMakeMapObject(2, local);
  EGifPutScreenDesc(gif, 4, 3, 1, 0, globalMap);
  EGifPutImageDesc(gif, 0, 0, 4, 3, false, nullptr);
  GifPixelType red[4] = {0, 0, 0, 0};
  for (int y = 0; y < 3; ++y) EGifPutLine(gif, red, 4);
  EGifPutImageDesc(gif, 1, 1, 2, 2, false, localMap);
  GifPixelType blue[2] = {0, 0};
  for (int y = 0; y < 2; ++y) EGifPutLine(gif, blue, 2);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(globalMap);
  GifFreeMapObject(localMap);
}

void writeJpeg(const char* name, int width, int height, bool gray, bool progressive) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  FILE* out = std::fopen(name, "wb");
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = gray ? 1 : 3;
  cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * cinfo.input_components);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < width; ++x) {
      if (gray) {
        row[x] = 128;
      } else {
        row[x * 3] = 200, row[x * 3 + 1] = 40, row[x * 3 + 2] = 40;
      }
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::fclose(out);
  jpeg_destroy_compress(&cinfo);
}

void writeAlphaPng() {
  // 3 x 3 RGBA: opaque green except a fully transparent centre.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 3;
  image.format = PNG_FORMAT_RGBA;
  unsigned char pixels[3 * 3 * 4];
  for (int i = 0; i < 9; ++i) {
    pixels[i * 4] = 0, pixels[i * 4 + 1] = 255, pixels[i * 4 + 2] = 0, pixels[i * 4 + 3] = (i == 4) ? 0 : 255;
  }
  png_image_write_to_file(&image, "alpha.png", 0, pixels, 0, nullptr);
}

void writeGray16Png() {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 4;
  image.height = 2;
  image.format = PNG_FORMAT_LINEAR_Y;  // 16-bit grey
  std::uint16_t pixels[8] = {0, 0, 0, 0, 65535, 65535, 65535, 65535};
  png_image_write_to_file(&image, "gray16.png", 0, pixels, 0, nullptr);
}

}  // namespace

int main() {
  writeInterlacedGif();
  writeAnimatedGif();
  writeJpeg("gray.jpg", 6, 4, true, false);
  writeJpeg("progressive.jpg", 9, 7, false, true);
  writeAlphaPng();
  writeGray16Png();
  return 0;
}
