#include <gtest/gtest.h>

#include "framework/server/TIWCompressor.h"
#include "framework/server/ZStream.h"
#include "transport/TInHTTPRequestInfo.h"
#include "transport/TInHTTPResponseInfo.h"

namespace orv {
namespace {

TEST(TIWCompressorTest, ContentTypePatterns) {
  struct Case {
    const char* type;
    bool compressible;
  };
  for (const Case& c : {Case{"text/html; charset=UTF-8", true}, Case{"text/plain", true},
                        Case{"text/xml; charset=UTF-8", true}, Case{"application/javascript", true},
                        Case{"application/x-javascript", true},
                        Case{"application/x-javascript; charset=UTF-8", false},
                        Case{"application/json", true}, Case{"application/json; charset=UTF-8", false},
                        Case{"application/xhtml+xml", true}, Case{"application/rss+xml", true},
                        Case{"image/svg+xml", true}, Case{"image/png", false},
                        Case{"TEXT/html", false}, Case{"text", false}, Case{"", false}}) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(TIWCompressor::IsCompressibleType(c.type), c.compressible);
  }
}

struct Exchange {
  TInHTTPRequestInfo request;
  TInHTTPResponseInfo response;
};

Exchange make(const std::string& accept, std::string body, const std::string& type = "text/html; charset=UTF-8") {
  Exchange e;
  e.request.AcceptEncoding = accept;
  e.response.setContentType(type);
  e.response.ContentText = std::move(body);
  return e;
}

TEST(TIWCompressorTest, RespectsMinSizeAndThePreferredMethod) {
  TIWCompressionOptions options;
  const TIWCompressor compressor(options);
  struct Case {
    std::size_t size;
    const char* accept;
    const char* encoding;
  };
  for (const Case& c : {Case{900, "gzip, deflate", ""}, Case{1023, "gzip", ""},
                        Case{1024, "gzip", "gzip"}, Case{2000, "deflate, gzip", "gzip"},
                        Case{2000, "deflate", "deflate"}, Case{2000, "identity", ""}}) {
    SCOPED_TRACE(std::to_string(c.size) + " " + c.accept);
    Exchange e = make(c.accept, std::string(c.size, 'x'));
    compressor.Compress(e.request, e.response);
    EXPECT_EQ(e.response.ContentEncoding, c.encoding);
    if (*c.encoding) {
      ASSERT_TRUE(e.response.ContentStream);
      EXPECT_EQ(detail::zDecompress(e.response.ContentStream->readAll()), std::string(c.size, 'x'));
      EXPECT_EQ(e.response.ContentLength, static_cast<std::int64_t>(e.response.ContentStream->size()));
    } else {
      EXPECT_EQ(e.response.ContentText.size(), c.size);
    }
  }
}

TEST(TIWCompressorTest, MinSizeZeroCompressesAnySize) {
  TIWCompressionOptions options;
  options.SetMinSize(0);
  const TIWCompressor compressor(options);
  Exchange e = make("gzip", "tiny");
  compressor.Compress(e.request, e.response);
  EXPECT_EQ(e.response.ContentEncoding, "gzip");
}

TEST(TIWCompressorTest, LeavesAloneWhatMustNotBeCompressed) {
  const TIWCompressor compressor{TIWCompressionOptions()};
  {
    Exchange e = make("gzip", std::string(2000, 'x'));
    e.response.setResponseNo(404);
    compressor.Compress(e.request, e.response);
    EXPECT_EQ(e.response.ContentEncoding, "");
  }
  {
    Exchange e = make("gzip", std::string(2000, 'x'));
    e.response.CustomHeaders.emplace_back("Content-Encoding", "gzip");
    compressor.Compress(e.request, e.response);
    EXPECT_EQ(e.response.ContentEncoding, "");
  }
  {
    Exchange e = make("gzip", std::string(2000, 'x'));
    e.response.CustomMarkers.push_back("no-compression");
    compressor.Compress(e.request, e.response);
    EXPECT_EQ(e.response.ContentEncoding, "");
  }
  {
    Exchange e = make("gzip", std::string(2000, 'x'), "image/png");
    compressor.Compress(e.request, e.response);
    EXPECT_EQ(e.response.ContentEncoding, "");
  }
}

TEST(TIWCompressorTest, DisallowedMethodsAreNotUsed) {
  TIWCompressionOptions options;
  options.SetAllowGZip(false);
  const TIWCompressor compressor(options);
  Exchange e = make("gzip", std::string(2000, 'x'));
  compressor.Compress(e.request, e.response);
  EXPECT_EQ(e.response.ContentEncoding, "");
  Exchange d = make("gzip, deflate", std::string(2000, 'x'));
  compressor.Compress(d.request, d.response);
  EXPECT_EQ(d.response.ContentEncoding, "deflate");
}

}  // namespace
}  // namespace orv
