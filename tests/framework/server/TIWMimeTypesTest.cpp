#include <gtest/gtest.h>

#include "framework/server/TIWMimeTypes.h"

namespace orv {
namespace {

TEST(TIWMimeTypesTest, TableRowsGiveTheirContentTypes) {
  struct Case {
    const char* ext;
    const char* type;
    bool isStatic;
  };
  const Case cases[] = {
      {".JS", "application/x-javascript; charset=UTF-8", true},
      {".css", "text/css; charset=UTF-8", true},
      {".png", "image/png", true},
      {".jpg", "image/jpeg", true},
      {".JPEG", "image/jpeg", true},
      {".jpe", "image/jpeg", true},
      {".gif", "image/gif", true},
      {".wav", "audio/wav", true},
      {".ogg", "audio/ogg", true},
      {".mp3", "audio/mpeg", true},
      {".wmv", "video/x-ms-wmv", true},
      {".mov", "video/quicktime", true},
      {".avi", "video/x-msvideo", true},
      {".mpg", "video/mpeg", true},
      {".mpeg", "video/mpeg", true},
      {".swf", "application/x-shockwave-flash", true},
      {".zip", "application/zip", true},
      {".pdf", "application/pdf", true},
      {".xml", "text/xml; charset=UTF-8", true},
      {".ico", "image/x-ico", true},
      {".txt", "text/plain; charset=UTF-8", true},
      {".rss", "application/rss+xml; charset=UTF-8", true},
      {".gz", "application/x-gzip", true},
      {".gzip", "application/x-gzip", true},
      {".woff", "application/font-woff", true},
      {".ttf", "application/font-ttf", true},
      {".otf", "application/font-otf", true},
      {".svg", "image/svg+xml", true},
      {".html", "text/html; charset=UTF-8", false},
      {".htm", "text/html; charset=UTF-8", false},
      {".exe", "application/octet-stream", false},
      {".tmp", "application/octet-stream", false},
  };
  EXPECT_EQ(std::size(cases), 32u);
  TIWMimeTypes table;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    EXPECT_EQ(table.GetAsString(c.ext), c.type);
    std::string type;
    EXPECT_EQ(table.IsStaticFile(std::string("/dir/file") + c.ext, type), c.isStatic);
    if (c.isStatic) {
      EXPECT_EQ(type, c.type);
    }
  }
}

TEST(TIWMimeTypesTest, UnknownExtensionFallsBackToOctetStream) {
  TIWMimeTypes table;
  EXPECT_EQ(table.GetAsString(".DLY"), "application/octet-stream");
  EXPECT_EQ(table.GetAsString(""), "application/octet-stream");
}

TEST(TIWMimeTypesTest, StaticFileNeedsANameAndAStaticExtension) {
  TIWMimeTypes table;
  for (const char* name : {"", "/", "/$/", "/noext", "/a.html", "/dir.png/file"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(table.IsStaticFile(name));
  }
  EXPECT_TRUE(table.IsStaticFile("a.PNG"));
}

TEST(TIWMimeTypesTest, ImageFilesAreTheFiveImageExtensions) {
  for (const char* n : {"a.jpg", "a.PNG", "a.gif", "a.jpeg", "a.jpe"}) EXPECT_TRUE(TIWMimeTypes::IsImageFile(n)) << n;
  for (const char* n : {"a.ico", "a.svg", "a", "a.bmp"}) EXPECT_FALSE(TIWMimeTypes::IsImageFile(n)) << n;
}

TEST(TIWMimeTypesTest, RegisterReplacesAndUnregisterRemoves) {
  TIWMimeTypes table;
  table.RegisterType(".dly", "text/x-layout", true);
  EXPECT_EQ(table.GetAsString(".DLY"), "text/x-layout");
  EXPECT_TRUE(table.IsStaticFile("x.dly"));
  table.RegisterType("PNG", "image/x-png", false);
  EXPECT_EQ(table.GetAsString(".png"), "image/x-png");
  EXPECT_FALSE(table.IsStaticFile("x.png"));
  table.UnregisterType(".dly");
  EXPECT_EQ(table.GetAsString(".dly"), "application/octet-stream");
}

}  // namespace
}  // namespace orv
