#include "framework/controls/TIWImage.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/controls/TIWContainer.h"

namespace orv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder of picture files for one test.
class TIWImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-image-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  static RgbaImage picture(int w, int h) {
    RgbaImage img(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        std::uint8_t* p = img.pixel(x, y);
        p[0] = static_cast<std::uint8_t>(x % 2 ? 255 : 0), p[1] = 0,
        p[2] = static_cast<std::uint8_t>(y % 2 ? 255 : 0);
        p[3] = 255;
      }
    }
    return img;
  }

  // A 24-bit bitmap file, bottom-up, from its documented layout.
  static Bytes bitmap(int w, int h) {
    const RgbaImage img = picture(w, h);
    const std::size_t stride = ((w * 24 + 31) / 32) * 4;
    Bytes b = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
      for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](unsigned v) {
      b.push_back(static_cast<std::uint8_t>(v)), b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put32(static_cast<std::uint32_t>(54 + stride * h)), put32(0), put32(54);
    put32(40), put32(static_cast<std::uint32_t>(w)), put32(static_cast<std::uint32_t>(h)), put16(1),
        put16(24);
    put32(0), put32(0), put32(0), put32(0), put32(0), put32(0);
    for (int row = 0; row < h; ++row) {
      Bytes line(stride, 0);
      for (int x = 0; x < w; ++x) {
        const std::uint8_t* p = img.pixel(x, h - 1 - row);
        line[x * 3] = p[2], line[x * 3 + 1] = p[1], line[x * 3 + 2] = p[0];
      }
      b.insert(b.end(), line.begin(), line.end());
    }
    return b;
  }

  std::string dir_;
};

TEST_F(TIWImageTest, LoadingAPictureTakesItsSizeWithAutoSize) {
  TIWContainer page;
  TIWImage& image = page.addNew<TIWImage>();
  image.SetBounds(15, 40, 89, 112);
  image.setCacheFileHRef("/$/cache/old.gif");
  image.setDoRefreshControl(false);
  image.Picture().LoadFromFile(write("plot.gif", encodeGif(picture(300, 200))));
  EXPECT_EQ(image.Left(), 15);
  EXPECT_EQ(image.Top(), 40);
  EXPECT_EQ(image.Width(), 300);
  EXPECT_EQ(image.Height(), 200);
  EXPECT_FALSE(image.RenderSize());  // the tag carries no width or height
  EXPECT_TRUE(image.DoRefreshControl());
  EXPECT_EQ(image.CacheFileHRef(), "");
  EXPECT_FALSE(image.IsEmpty());
}

TEST_F(TIWImageTest, WithoutAutoSizeTheControlKeepsItsSize) {
  TIWImage image;
  image.setUseSize(true);  // turns AutoSize off
  EXPECT_FALSE(image.AutoSize());
  EXPECT_TRUE(image.RenderSize());
  image.Picture().LoadFromFile(write("a.png", encodePng(picture(30, 20))));
  EXPECT_EQ(image.Width(), 89);
  EXPECT_EQ(image.Height(), 112);
  EXPECT_EQ(image.Picture().Width(), 30);
}

TEST_F(TIWImageTest, MissingOrBrokenFilesRaiseAndLeaveTheImageAsItWas) {
  TIWImage image;
  image.Picture().LoadFromFile(write("good.bmp", bitmap(7, 3)));
  image.setDoRefreshControl(false);
  const Bytes gif = encodeGif(picture(40, 40));
  struct Case {
    const char* label;
    std::string path;
  };
  const Case cases[] = {
      {"missing", dir_ + "/missing.gif"},
      {"truncated", write("cut.gif", Bytes(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(
                                                                          gif.size() / 2)))},
      {"not a picture", write("text.gif", Bytes{'G', 'I', 'F', '?'})},
      {"a folder", dir_},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_THROW(image.Picture().LoadFromFile(c.path), PictureError);
    EXPECT_EQ(image.Width(), 7);
    EXPECT_EQ(image.Picture().Format(), PictureFormat::Bmp);
    EXPECT_FALSE(image.DoRefreshControl());
  }
}

TEST_F(TIWImageTest, AGifServedAsGifGoesOutByteForByte) {
  TIWImage image;
  image.setOutputType(TIWImageOutput::ioGIF);
  const Bytes file = encodeGif(picture(12, 9));
  image.Picture().LoadFromFile(write("line.gif", file));
  EXPECT_EQ(image.OutputPicture(), file);
  EXPECT_STREQ(image.OutputContentType(), "image/gif");
}

TEST_F(TIWImageTest, ABitmapServedAsGifIsConvertedWithoutTransparency) {
  TIWImage image;
  image.setOutputType(TIWImageOutput::ioGIF);
  image.Picture().LoadFromFile(write("plot.bmp", bitmap(21, 13)));
  const Bytes gif = image.OutputPicture();
  ASSERT_EQ(detectPictureFormat(gif), PictureFormat::Gif);
  const RgbaImage back = decodePicture(gif);
  EXPECT_EQ(back.width, 21);
  EXPECT_EQ(back.height, 13);
  EXPECT_EQ(back.pixels, picture(21, 13).pixels);
  for (std::size_t i = 0; i + 1 < gif.size(); ++i)
    ASSERT_FALSE(gif[i] == 0x21 && gif[i + 1] == 0xF9);
}

TEST_F(TIWImageTest, EachOutputTypeWritesItsFormat) {
  struct Case {
    TIWImageOutput type;
    PictureFormat format;
    const char* contentType;
  };
  const Case cases[] = {
      {TIWImageOutput::ioGIF, PictureFormat::Gif, "image/gif"},
      {TIWImageOutput::ioPNG, PictureFormat::Png, "image/png"},
      {TIWImageOutput::ioJPEG, PictureFormat::Jpeg, "image/jpeg"},
  };
  TIWImage image;
  image.Picture().LoadFromFile(write("p.bmp", bitmap(10, 6)));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contentType);
    image.setCacheFileHRef("/$/x");
    image.setOutputType(c.type);
    if (c.type != TIWImageOutput::ioPNG) {
      EXPECT_EQ(image.CacheFileHRef(), "");  // the old file has another format
    }
    EXPECT_STREQ(image.OutputContentType(), c.contentType);
    const Bytes out = image.OutputPicture();
    EXPECT_EQ(detectPictureFormat(out), c.format);
    EXPECT_EQ(decodePicture(out).width, 10);
  }
}

TEST_F(TIWImageTest, AssigningAPictureObjectChoosesTheOutputType) {
  struct Case {
    const char* label;
    Bytes file;
    TIWImageOutput type;
  };
  const Case cases[] = {
      {"GIF", encodeGif(picture(3, 3)), TIWImageOutput::ioGIF},
      {"JPEG", encodeJpeg(picture(3, 3)), TIWImageOutput::ioJPEG},
      {"PNG", encodePng(picture(3, 3)), TIWImageOutput::ioPNG},
      {"bitmap", bitmap(3, 3), TIWImageOutput::ioPNG},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Picture source;
    source.LoadFromBytes(c.file);
    TIWImage image;
    image.setOutputType(TIWImageOutput::ioJPEG == c.type ? TIWImageOutput::ioGIF
                                                         : TIWImageOutput::ioJPEG);
    image.setPicture(source);
    EXPECT_EQ(image.OutputType(), c.type);
    EXPECT_EQ(image.Width(), 3);
  }
}

TEST_F(TIWImageTest, LoadingTheSameFileAgainForgetsTheCacheFile) {
  TIWImage image;
  const std::string path = write("plot.gif", encodeGif(picture(5, 5)));
  image.Picture().LoadFromFile(path);
  image.setCacheFileHRef("/$/cache/1.gif");
  image.Picture().LoadFromFile(path);
  EXPECT_EQ(image.CacheFileHRef(), "");
}

// A page with a cache: stores what it is given under a new address each time.
class CachingPage : public TIWContainer {
 public:
  std::optional<std::string> StoreCacheFile(const std::string& contentType,
                                            const Bytes& bytes) override {
    files.push_back({contentType, bytes});
    return "/$/cache/" + std::to_string(files.size()) + ".gif";
  }
  std::vector<std::pair<std::string, Bytes>> files;
};

TEST_F(TIWImageTest, PreProcessedImagesWriteTheirFileAtOnceAndDropThePicture) {
  CachingPage page;
  TIWImage& image = page.addNew<TIWImage>();
  image.setOutputType(TIWImageOutput::ioGIF);
  image.setPreProcessImage(true);
  const Bytes file = encodeGif(picture(8, 4));
  image.Picture().LoadFromFile(write("x.gif", file));
  ASSERT_EQ(page.files.size(), 1u);
  EXPECT_EQ(page.files[0].first, "image/gif");
  EXPECT_EQ(page.files[0].second, file);
  EXPECT_EQ(image.CacheFileHRef(), "/$/cache/1.gif");
  EXPECT_TRUE(image.Picture().Empty());
  EXPECT_FALSE(image.IsEmpty());
  EXPECT_EQ(image.Width(), 8);

  TIWImage loose;  // on no page: keeps its picture
  loose.setPreProcessImage(true);
  loose.Picture().LoadFromFile(write("y.gif", file));
  EXPECT_FALSE(loose.Picture().Empty());
  EXPECT_EQ(loose.CacheFileHRef(), "");
}

TEST_F(TIWImageTest, ClickHandlersExcludeEachOther) {
  TIWImage image;
  EXPECT_FALSE(image.SupportsSubmit());
  int clicks = 0;
  std::vector<std::pair<int, int>> downs;
  image.setOnClick([&](TIWCustomControl&) { ++clicks; });
  EXPECT_TRUE(image.SupportsSubmit());
  EXPECT_TRUE(image.HasTabOrder());
  image.Submit("");
  EXPECT_EQ(clicks, 1);
  image.setOnMouseDown([&](TIWCustomControl&, int x, int y) { downs.emplace_back(x, y); });
  EXPECT_FALSE(image.OnClick);
  image.Submit("12,34");
  EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{12, 34}}));
  try {
    image.Submit("12,abc");
    FAIL() << "accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
  EXPECT_THROW(image.Submit("12"), std::runtime_error);
  EXPECT_EQ(downs.size(), 1u);
  image.setOnClick([&](TIWCustomControl&) { ++clicks; });
  EXPECT_FALSE(image.OnMouseDown);
}

TEST_F(TIWImageTest, BorderAndTextChangesMarkTheImage) {
  TIWImage image;
  image.setDoRefreshControl(false);
  image.BorderOptions().setWidth(2);
  EXPECT_TRUE(image.DoRefreshControl());
  image.setDoRefreshControl(false);
  image.setAltText("plot");
  EXPECT_TRUE(image.DoRefreshControl());
  EXPECT_EQ(image.AltText(), "plot");
}

}  // namespace
}  // namespace orv
