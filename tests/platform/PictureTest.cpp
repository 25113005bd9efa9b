#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/platform/TempDir.h"

namespace orv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------------------------------
// Fixture writers for the desktop formats, written from their file layouts (not from
// the readers under test).

void put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A picture whose every pixel tells its position: red = 40 * x, green = 30 * y, blue 99.
RgbaImage testImage(int w, int h) {
  RgbaImage img(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = img.pixel(x, y);
      p[0] = static_cast<std::uint8_t>(40 * x), p[1] = static_cast<std::uint8_t>(30 * y), p[2] = 99,
      p[3] = 255;
    }
  }
  return img;
}

void putInfoHeader(Bytes& b, int w, int h, int bits, std::uint32_t compression,
                   std::uint32_t colors) {
  put32(b, 40);
  put32(b, static_cast<std::uint32_t>(w));
  put32(b, static_cast<std::uint32_t>(h));
  put16(b, 1);
  put16(b, static_cast<unsigned>(bits));
  put32(b, compression);
  put32(b, 0);  // image size (may be 0 for uncompressed)
  put32(b, 2835), put32(b, 2835);
  put32(b, colors);
  put32(b, 0);
}

// A bitmap file around a DIB: header, optional masks and palette, then the pixels.
Bytes bmpFile(const Bytes& dibHeaderAndTables, const Bytes& pixels) {
  Bytes b = {'B', 'M'};
  put32(b, static_cast<std::uint32_t>(14 + dibHeaderAndTables.size() + pixels.size()));
  put32(b, 0);
  put32(b, static_cast<std::uint32_t>(14 + dibHeaderAndTables.size()));
  b.insert(b.end(), dibHeaderAndTables.begin(), dibHeaderAndTables.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

Bytes bmp24(const RgbaImage& img, bool topDown = false) {
  Bytes header;
  putInfoHeader(header, img.width, topDown ? -img.height : img.height, 24, 0, 0);
  Bytes pixels;
  const std::size_t stride = ((img.width * 24 + 31) / 32) * 4;
  for (int row = 0; row < img.height; ++row) {
    const int y = topDown ? row : img.height - 1 - row;
    Bytes line(stride, 0);
    for (int x = 0; x < img.width; ++x) {
      line[x * 3] = img.pixel(x, y)[2], line[x * 3 + 1] = img.pixel(x, y)[1],
               line[x * 3 + 2] = img.pixel(x, y)[0];
    }
    pixels.insert(pixels.end(), line.begin(), line.end());
  }
  return bmpFile(header, pixels);
}

// 32-bit with bit fields (masks after the header), top-down.
Bytes bmp32Bitfields(const RgbaImage& img) {
  Bytes header;
  putInfoHeader(header, img.width, -img.height, 32, 3, 0);
  put32(header, 0x00FF0000), put32(header, 0x0000FF00), put32(header, 0x000000FF);
  Bytes pixels;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      const std::uint8_t* p = img.pixel(x, y);
      put32(pixels, (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2]);
    }
  }
  return bmpFile(header, pixels);
}

// 16-bit 5-5-5, every pixel pure blue (0x001F).
Bytes bmp16Blue(int w, int h) {
  Bytes header;
  putInfoHeader(header, w, h, 16, 0, 0);
  const std::size_t stride = ((w * 16 + 31) / 32) * 4;
  Bytes pixels;
  for (int y = 0; y < h; ++y) {
    Bytes line(stride, 0);
    for (int x = 0; x < w; ++x) line[x * 2] = 0x1F;
    pixels.insert(pixels.end(), line.begin(), line.end());
  }
  return bmpFile(header, pixels);
}

// Palette bitmaps (1, 4 or 8 bits): entry i is grey 10 * i; pixel (x, y) uses entry
// (x + y) % entries.
Bytes bmpPalette(int w, int h, int bits) {
  const int entries = 1 << bits;
  Bytes header;
  putInfoHeader(header, w, h, bits, 0, static_cast<std::uint32_t>(entries));
  for (int i = 0; i < entries; ++i) {
    const auto g = static_cast<std::uint8_t>(10 * i);
    header.insert(header.end(), {g, g, g, 0});
  }
  const std::size_t stride = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
  Bytes pixels;
  for (int row = 0; row < h; ++row) {
    const int y = h - 1 - row;
    Bytes line(stride, 0);
    for (int x = 0; x < w; ++x) {
      const unsigned index = static_cast<unsigned>((x + y) % entries);
      const std::size_t bit = static_cast<std::size_t>(x) * bits;
      line[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
    }
    pixels.insert(pixels.end(), line.begin(), line.end());
  }
  return bmpFile(header, pixels);
}

// RLE8: palette entry 1 is red, 2 is blue; each row is a run of red then literal blues.
Bytes bmpRle8(int w, int h) {
  Bytes header;
  putInfoHeader(header, w, h, 8, 1, 3);
  header.insert(header.end(), {0, 0, 0, 0, /*red*/ 0, 0, 255, 0, /*blue*/ 255, 0, 0, 0});
  Bytes pixels;
  const int runs = w / 2, literals = w - runs;
  for (int row = 0; row < h; ++row) {
    pixels.push_back(static_cast<std::uint8_t>(runs));
    pixels.push_back(1);
    if (literals >= 3) {
      pixels.push_back(0);
      pixels.push_back(static_cast<std::uint8_t>(literals));
      for (int i = 0; i < literals; ++i) pixels.push_back(2);
      if (literals % 2) pixels.push_back(0);
    } else {
      pixels.push_back(static_cast<std::uint8_t>(literals));
      pixels.push_back(2);
    }
    pixels.push_back(0), pixels.push_back(0);  // end of line
  }
  pixels.push_back(0), pixels.push_back(1);  // end of bitmap
  return bmpFile(header, pixels);
}

// An icon image as a 32-bit DIB (height doubled) with its AND mask; (0,0) transparent.
Bytes iconDib(int w, int h) {
  Bytes dib;
  putInfoHeader(dib, w, 2 * h, 32, 0, 0);
  for (int row = 0; row < h; ++row) {
    for (int x = 0; x < w; ++x) {
      const int y = h - 1 - row;
      const std::uint8_t alpha = (x == 0 && y == 0) ? 0 : 255;
      dib.insert(dib.end(), {0, 0, 255, alpha});  // red
    }
  }
  const std::size_t maskStride = ((w + 31) / 32) * 4;
  dib.insert(dib.end(), maskStride * h, 0);
  return dib;
}

struct IconImage {
  int width, height, bits;
  Bytes data;
};

Bytes icoFile(const std::vector<IconImage>& images) {
  Bytes b;
  put16(b, 0), put16(b, 1), put16(b, static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (const IconImage& i : images) {
    b.push_back(static_cast<std::uint8_t>(i.width == 256 ? 0 : i.width));
    b.push_back(static_cast<std::uint8_t>(i.height == 256 ? 0 : i.height));
    b.push_back(0), b.push_back(0);
    put16(b, 1), put16(b, static_cast<unsigned>(i.bits));
    put32(b, static_cast<std::uint32_t>(i.data.size()));
    put32(b, offset);
    offset += static_cast<std::uint32_t>(i.data.size());
  }
  for (const IconImage& i : images) b.insert(b.end(), i.data.begin(), i.data.end());
  return b;
}

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes fixture(const std::string& name) {
  return readFile(std::string(ORV_TESTDATA_DIR) + "/platform/" + name);
}

std::string writeTemp(const test::TempDir& dir, const std::string& name, const Bytes& bytes) {
  return dir.write(name, std::string(bytes.begin(), bytes.end()));
}

// ---------------------------------------------------------------------------------------

struct FormatCase {
  const char* label;
  std::function<Bytes()> make;
  PictureFormat format;
  int width, height;
  // A pixel to check: position and expected RGBA (tolerance for lossy formats).
  int x, y;
  std::array<int, 4> rgba;
  int tolerance;
};

std::vector<FormatCase> formatCases() {
  const RgbaImage img = testImage(7, 5);
  return {
      {"GIF",
       [=] { return encodeGif(img); },
       PictureFormat::Gif,
       7,
       5,
       3,
       2,
       {120, 60, 99, 255},
       0},
      {"PNG",
       [=] { return encodePng(img); },
       PictureFormat::Png,
       7,
       5,
       3,
       2,
       {120, 60, 99, 255},
       0},
      {"JPEG",
       [=] { return encodeJpeg(img, 100); },
       PictureFormat::Jpeg,
       7,
       5,
       3,
       2,
       {120, 60, 99, 255},
       12},
      {"BMP 24-bit bottom-up",
       [=] { return bmp24(img); },
       PictureFormat::Bmp,
       7,
       5,
       6,
       4,
       {240, 120, 99, 255},
       0},
      {"BMP 24-bit top-down",
       [=] { return bmp24(img, true); },
       PictureFormat::Bmp,
       7,
       5,
       1,
       3,
       {40, 90, 99, 255},
       0},
      {"BMP 32-bit bit fields",
       [=] { return bmp32Bitfields(img); },
       PictureFormat::Bmp,
       7,
       5,
       2,
       1,
       {80, 30, 99, 255},
       0},
      {"BMP 16-bit",
       [] { return bmp16Blue(3, 2); },
       PictureFormat::Bmp,
       3,
       2,
       2,
       1,
       {0, 0, 255, 255},
       0},
      {"BMP 1-bit",
       [] { return bmpPalette(9, 3, 1); },
       PictureFormat::Bmp,
       9,
       3,
       1,
       0,
       {10, 10, 10, 255},
       0},
      {"BMP 4-bit",
       [] { return bmpPalette(5, 4, 4); },
       PictureFormat::Bmp,
       5,
       4,
       3,
       2,
       {50, 50, 50, 255},
       0},
      {"BMP 8-bit",
       [] { return bmpPalette(6, 3, 8); },
       PictureFormat::Bmp,
       6,
       3,
       5,
       2,
       {70, 70, 70, 255},
       0},
      {"BMP RLE8",
       [] { return bmpRle8(6, 3); },
       PictureFormat::Bmp,
       6,
       3,
       4,
       1,
       {0, 0, 255, 255},
       0},
      {"ICO 32-bit",
       [] {
         return icoFile({{16, 16, 32, iconDib(16, 16)}});
       },
       PictureFormat::Ico,
       16,
       16,
       0,
       0,
       {255, 0, 0, 0},
       0},
      {"ICO with PNG",
       [=] {
         return icoFile({{7, 5, 32, encodePng(img)}});
       },
       PictureFormat::Ico,
       7,
       5,
       3,
       2,
       {120, 60, 99, 255},
       0},
      {"ICO takes 32x32 of several sizes",
       [] {
         return icoFile({{16, 16, 32, iconDib(16, 16)},
                         {32, 32, 32, iconDib(32, 32)},
                         {48, 48, 32, iconDib(48, 48)}});
       },
       PictureFormat::Ico,
       32,
       32,
       5,
       5,
       {255, 0, 0, 255},
       0},
      {"ICO without 32x32 takes the largest",
       [] {
         return icoFile({{16, 16, 32, iconDib(16, 16)}, {48, 48, 32, iconDib(48, 48)}});
       },
       PictureFormat::Ico,
       48,
       48,
       1,
       1,
       {255, 0, 0, 255},
       0},
      {"interlaced GIF with a transparent colour",
       [] { return fixture("interlaced.gif"); },
       PictureFormat::Gif,
       5,
       9,
       2,
       4,
       {0, 255, 0, 255},
       0},
      {"animated GIF shows its first frame",
       [] { return fixture("animated.gif"); },
       PictureFormat::Gif,
       4,
       3,
       2,
       2,
       {255, 0, 0, 255},
       0},
      {"greyscale JPEG",
       [] { return fixture("gray.jpg"); },
       PictureFormat::Jpeg,
       6,
       4,
       1,
       1,
       {128, 128, 128, 255},
       2},
      {"progressive JPEG",
       [] { return fixture("progressive.jpg"); },
       PictureFormat::Jpeg,
       9,
       7,
       4,
       3,
       {200, 40, 40, 255},
       6},
      {"PNG with alpha",
       [] { return fixture("alpha.png"); },
       PictureFormat::Png,
       3,
       3,
       0,
       0,
       {0, 255, 0, 255},
       0},
      {"16-bit grey PNG",
       [] { return fixture("gray16.png"); },
       PictureFormat::Png,
       4,
       2,
       0,
       1,
       {255, 255, 255, 255},
       0},
  };
}

TEST(PictureTest, EachFormatLoadsWithItsSizeAndPixels) {
  test::TempDir dir;
  for (const FormatCase& c : formatCases()) {
    SCOPED_TRACE(c.label);
    const Bytes bytes = c.make();
    const std::string path = writeTemp(dir, "picture.bin", bytes);  // the content tells the format
    Picture picture;
    int changes = 0;
    picture.OnChange = [&](Picture&) { ++changes; };
    ASSERT_NO_THROW(picture.LoadFromFile(path));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Format(), c.format);
    EXPECT_EQ(picture.Width(), c.width);
    EXPECT_EQ(picture.Height(), c.height);
    EXPECT_FALSE(picture.Empty());
    ASSERT_EQ(picture.Bytes().size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), picture.Bytes().begin()));
    const RgbaImage pixels = picture.Decode();
    ASSERT_EQ(pixels.width, c.width);
    ASSERT_EQ(pixels.height, c.height);
    const std::uint8_t* p = pixels.pixel(c.x, c.y);
    for (int i = 0; i < 4; ++i)
      EXPECT_NEAR(p[i], c.rgba[static_cast<std::size_t>(i)], c.tolerance) << "channel " << i;
  }
}

TEST(PictureTest, TransparentPixelsOfGifPngAndIconsStayTransparentWhenDecoded) {
  const RgbaImage gif = decodePicture(fixture("interlaced.gif"));
  EXPECT_EQ(gif.pixel(0, 0)[3], 0);
  EXPECT_EQ(gif.pixel(1, 0)[3], 255);
  EXPECT_EQ(decodePicture(fixture("alpha.png")).pixel(1, 1)[3], 0);
}

TEST(PictureTest, MissingFileRaisesAClearError) {
  test::TempDir dir;
  Picture picture;
  try {
    picture.LoadFromFile(dir.file("nope.gif"));
    FAIL() << "no error";
  } catch (const PictureError& e) {
    EXPECT_STREQ(e.what(), "Cannot open picture file \"nope.gif\": No such file or directory");
  }
  EXPECT_TRUE(picture.Empty());
}

TEST(PictureTest, FoldersAndDevicesAreRefusedUnread) {
  test::TempDir dir;
  struct Case {
    std::string path;
    const char* message;
  };
  const Case cases[] = {
      {dir.path(), "is not a readable picture (it is not a file)"},
      {"/dev/zero", "\"zero\" is not a readable picture (it is not a file)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    try {
      Picture().LoadFromFile(c.path);
      FAIL() << "no error";
    } catch (const PictureError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST(PictureTest, FilesThatAreNoPicturesRaiseAndLeaveThePictureAsItWas) {
  test::TempDir dir;
  Picture picture;
  picture.LoadFromFile(writeTemp(dir, "good.gif", fixture("animated.gif")));
  struct Case {
    const char* label;
    Bytes bytes;
    const char* message;
  };
  const Case cases[] = {
      {"empty file", {}, "\"bad.bin\" is not a readable picture (the file is empty)"},
      {"text",
       {'h', 'e', 'l', 'l', 'o'},
       "\"bad.bin\" is not a readable picture (the file is not in a known picture format)"},
      {"bitmap signature only",
       {'B', 'M', 0, 0},
       "\"bad.bin\" is not a readable picture (the file is not in a known picture format)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    try {
      picture.LoadFromFile(writeTemp(dir, "bad.bin", c.bytes));
      FAIL() << "no error";
    } catch (const PictureError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(picture.Format(), PictureFormat::Gif);
    EXPECT_EQ(picture.Width(), 4);
  }
}

// Every strict prefix of a valid file is a truncated file: each must raise (and, under
// AddressSanitizer, never read past its bytes).
TEST(PictureTest, EveryTruncationOfEveryFormatRaises) {
  for (const FormatCase& c : formatCases()) {
    SCOPED_TRACE(c.label);
    const Bytes whole = c.make();
    for (std::size_t length = 0; length < whole.size(); ++length) {
      SCOPED_TRACE(length);
      Picture picture;
      EXPECT_THROW(picture.LoadFromBytes(
                       Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length))),
                   PictureError);
    }
  }
}

TEST(PictureTest, TruncatedFileNamesTheReason) {
  test::TempDir dir;
  const Bytes whole = encodeGif(testImage(20, 20));
  const std::string path = writeTemp(dir, "cut.gif", Bytes(whole.begin(), whole.begin() + 40));
  try {
    Picture().LoadFromFile(path);
    FAIL() << "no error";
  } catch (const PictureError& e) {
    EXPECT_STREQ(e.what(), "\"cut.gif\" is not a readable picture (the file is truncated)");
  }
}

// Damaged bytes anywhere: the reader either accepts the file or raises, never crashes or
// reads outside the buffer.
TEST(PictureTest, CorruptedFilesNeverCrash) {
  std::mt19937 random(12345);
  for (const FormatCase& c : formatCases()) {
    SCOPED_TRACE(c.label);
    const Bytes whole = c.make();
    for (int round = 0; round < 200; ++round) {
      Bytes damaged = whole;
      const int hits = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < hits; ++i) {
        damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
      }
      try {
        const RgbaImage image = decodePicture(damaged);
        EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height * 4);
      } catch (const PictureError&) {
      }
    }
  }
}

// Big-endian CRC-32 of PNG chunks (polynomial 0xEDB88320).
std::uint32_t crc32(const std::uint8_t* data, std::size_t n) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

TEST(PictureTest, FilesThatLieAboutTheirSizeRaise) {
  const RgbaImage img = testImage(4, 4);
  struct Case {
    const char* label;
    Bytes bytes;
  };
  std::vector<Case> cases;
  {  // a bitmap claiming 50 x 50 with the pixels of 4 x 4
    Bytes b = bmp24(img);
    set32(b, 18, 50), set32(b, 22, 50);
    cases.push_back({"bitmap larger than its pixels", b});
  }
  {  // a bitmap claiming a billion pixels
    Bytes b = bmp24(img);
    set32(b, 18, 100000), set32(b, 22, 100000);
    cases.push_back({"bitmap beyond the size limit", b});
  }
  {  // pixels said to start beyond the end of the file
    Bytes b = bmp24(img);
    set32(b, 10, 1u << 30);
    cases.push_back({"bitmap pixel offset beyond the file", b});
  }
  {  // pixels said to start inside the headers
    Bytes b = bmpPalette(4, 4, 8);
    set32(b, 10, 20);
    cases.push_back({"bitmap pixel offset inside its headers", b});
  }
  {  // RLE without its end-of-bitmap code
    Bytes b = bmpRle8(6, 3);
    b.resize(b.size() - 2);
    cases.push_back({"RLE bitmap without its end", b});
  }
  {  // a GIF whose logical screen is 65535 x 65535
    Bytes b = encodeGif(img);
    b[6] = b[7] = b[8] = b[9] = 0xFF;
    cases.push_back({"GIF screen beyond the size limit", b});
  }
  {  // a PNG whose header claims 20000 x 20000 (with a correct checksum)
    Bytes b = encodePng(img);
    set32(b, 16, 0), set32(b, 20, 0);
    b[16] = 0, b[17] = 0, b[18] = 0x4E, b[19] = 0x20;  // big-endian 20000
    b[20] = 0, b[21] = 0, b[22] = 0x4E, b[23] = 0x20;
    const std::uint32_t crc = crc32(&b[12], 17);
    b[29] = static_cast<std::uint8_t>(crc >> 24), b[30] = static_cast<std::uint8_t>(crc >> 16);
    b[31] = static_cast<std::uint8_t>(crc >> 8), b[32] = static_cast<std::uint8_t>(crc);
    cases.push_back({"PNG beyond the size limit", b});
  }
  {  // a JPEG whose frame header claims 60000 x 60000
    Bytes b = encodeJpeg(img);
    for (std::size_t i = 0; i + 9 < b.size(); ++i) {
      if (b[i] == 0xFF && b[i + 1] == 0xC0) {
        b[i + 5] = 0xEA, b[i + 6] = 0x60, b[i + 7] = 0xEA, b[i + 8] = 0x60;
        break;
      }
    }
    cases.push_back({"JPEG beyond the size limit", b});
  }
  {  // an icon whose image lies beyond the end of the file
    Bytes b = icoFile({{16, 16, 32, iconDib(16, 16)}});
    set32(b, 6 + 12, 1u << 20);
    cases.push_back({"icon image beyond the file", b});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_THROW(Picture().LoadFromBytes(c.bytes), PictureError);
  }
}

TEST(PictureTest, GifIsKeptByteForByte) {
  test::TempDir dir;
  for (const char* name : {"interlaced.gif", "animated.gif"}) {
    SCOPED_TRACE(name);
    const Bytes original = fixture(name);
    Picture picture;
    picture.LoadFromFile(writeTemp(dir, name, original));
    EXPECT_EQ(picture.SaveAs(PictureFormat::Gif), original);
    Picture copy(picture);  // copies share the same bytes
    EXPECT_EQ(copy.SaveAs(PictureFormat::Gif), original);
  }
}

TEST(PictureTest, EveryPictureConvertsToEachBrowserFormatAtItsSize) {
  for (const FormatCase& c : formatCases()) {
    SCOPED_TRACE(c.label);
    Picture picture;
    picture.LoadFromBytes(c.make());
    for (PictureFormat target : {PictureFormat::Gif, PictureFormat::Png, PictureFormat::Jpeg}) {
      SCOPED_TRACE(pictureContentType(target));
      const Bytes converted = picture.SaveAs(target);
      EXPECT_EQ(detectPictureFormat(converted), target);
      const RgbaImage decoded = decodePicture(converted);
      EXPECT_EQ(decoded.width, c.width);
      EXPECT_EQ(decoded.height, c.height);
      if (target == c.format) continue;  // written unchanged
      // Converted pictures are opaque.
      for (std::size_t i = 3; i < decoded.pixels.size(); i += 4) ASSERT_EQ(decoded.pixels[i], 255);
    }
  }
}

TEST(PictureTest, GifConversionKeepsFewColoursExactlyInAPackedTable) {
  RgbaImage img(10, 4);
  const std::uint8_t colours[3][3] = {{255, 255, 255}, {255, 0, 0}, {0, 0, 128}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 10; ++x) {
      std::memcpy(img.pixel(x, y), colours[(x + y) % 3], 3);
      img.pixel(x, y)[3] = 255;
    }
  }
  const Bytes gif = encodeGif(img);
  // Logical screen descriptor: global table present, size field 1 -> 2^(1+1) = 4 entries.
  EXPECT_EQ(gif[10] & 0x80, 0x80);
  EXPECT_EQ(gif[10] & 0x07, 1);
  // No graphic control extension, so no transparent colour.
  for (std::size_t i = 0; i + 1 < gif.size(); ++i)
    ASSERT_FALSE(gif[i] == 0x21 && gif[i + 1] == 0xF9);
  const RgbaImage back = decodePicture(gif);
  EXPECT_EQ(back.pixels, img.pixels);
}

TEST(PictureTest, GifConversionOfManyColoursStaysCloseToTheOriginal) {
  RgbaImage img(64, 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      std::uint8_t* p = img.pixel(x, y);
      p[0] = static_cast<std::uint8_t>(x * 4), p[1] = static_cast<std::uint8_t>(y * 5),
      p[2] = static_cast<std::uint8_t>((x + y) * 2);
      p[3] = 255;
    }
  }
  const Bytes gif = encodeGif(img);
  EXPECT_EQ(gif[10] & 0x07, 7);  // a full table of 256 colours
  const RgbaImage back = decodePicture(gif);
  ASSERT_EQ(back.width, 64);
  double error = 0;
  for (std::size_t i = 0; i < img.pixels.size(); ++i) {
    if (i % 4 != 3) error += std::abs(int{img.pixels[i]} - int{back.pixels[i]});
  }
  EXPECT_LT(error / (64 * 48 * 3), 6.0);
  // White stays white: the table's entries are true means, not 5-bit approximations.
  RgbaImage white(300, 1);
  for (int x = 0; x < 300; ++x) {
    std::uint8_t* p = white.pixel(x, 0);
    p[0] = static_cast<std::uint8_t>(x < 150 ? 255 : x % 256),
    p[1] = static_cast<std::uint8_t>(x < 150 ? 255 : (x * 7) % 256);
    p[2] = static_cast<std::uint8_t>(x < 150 ? 255 : (x * 13) % 256), p[3] = 255;
  }
  const RgbaImage whiteBack = decodePicture(encodeGif(white));
  EXPECT_EQ(whiteBack.pixel(0, 0)[0], 255);
  EXPECT_EQ(whiteBack.pixel(0, 0)[1], 255);
  EXPECT_EQ(whiteBack.pixel(0, 0)[2], 255);
}

TEST(PictureTest, TransparencyIsBlendedOntoWhiteWhenConverted) {
  Picture picture;
  picture.LoadFromBytes(fixture("alpha.png"));
  EXPECT_EQ(decodePicture(picture.SaveAs(PictureFormat::Png)).pixel(1, 1)[3], 0);  // unchanged
  const RgbaImage back = decodePicture(picture.SaveAs(PictureFormat::Gif));
  const std::uint8_t white[4] = {255, 255, 255, 255}, green[4] = {0, 255, 0, 255};
  EXPECT_EQ(std::memcmp(back.pixel(1, 1), white, 4), 0);
  EXPECT_EQ(std::memcmp(back.pixel(0, 0), green, 4), 0);
}

TEST(PictureTest, DrawnPicturesAndClearing) {
  Picture picture;
  int changes = 0;
  picture.OnChange = [&](Picture&) { ++changes; };
  picture.SetImage(testImage(5, 3));
  EXPECT_EQ(picture.Format(), PictureFormat::Bmp);
  EXPECT_EQ(picture.Width(), 5);
  EXPECT_TRUE(picture.Bytes().empty());
  EXPECT_EQ(decodePicture(picture.SaveAs(PictureFormat::Png)).pixels, testImage(5, 3).pixels);
  picture.Clear();
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(changes, 2);
  EXPECT_THROW(picture.SaveAs(PictureFormat::Gif), PictureError);
  EXPECT_THROW(encodeGif(RgbaImage()), PictureError);
  EXPECT_THROW(encodePng(RgbaImage(0, 5)), PictureError);
}

TEST(PictureTest, AssignedCopiesDoNotTakeTheHandler) {
  Picture source;
  int sourceChanges = 0;
  source.OnChange = [&](Picture&) { ++sourceChanges; };
  source.LoadFromBytes(fixture("animated.gif"));
  Picture copy = source;
  EXPECT_FALSE(copy.OnChange);
  Picture target;
  int targetChanges = 0;
  target.OnChange = [&](Picture&) { ++targetChanges; };
  target = source;
  EXPECT_EQ(targetChanges, 1);
  EXPECT_EQ(sourceChanges, 1);
  EXPECT_EQ(target.Width(), 4);
}

}  // namespace
}  // namespace orv
