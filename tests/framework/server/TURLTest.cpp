#include <gtest/gtest.h>

#include "framework/server/Messages.h"
#include "framework/server/ServerErrors.h"
#include "framework/server/TURL.h"
#include "tests/framework/server/ServerTestSupport.h"

namespace orv {
namespace {

TEST(TURLTest, MapsPathsBelowTheRoot) {
  struct Case {
    const char* path;
    const char* file;
  };
  for (const Case& c : {Case{"/a.css", "/srv/www/a.css"}, Case{"a.css", "/srv/www/a.css"},
                        Case{"/sub/x/b.png", "/srv/www/sub/x/b.png"},
                        Case{"/sub/../b.png", "/srv/www/b.png"},
                        Case{"/./c.gif", "/srv/www/c.gif"}}) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(TURL::UrlPathToFilePath("/srv/www/", c.path), c.file);
  }
}

TEST(TURLTest, RefusesEveryWayOut) {
  for (const char* path : {"/../x.css", "/sub/../../x.css", "/a/b/../../../x", "/c:x.css",
                           "/a\\b.css", "/.hidden", "/sub/.git/config", "/name./x",
                           "/a/..", "//etc/passwd/../../../.."}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(test::errorOf([&] { TURL::UrlPathToFilePath("/srv/www/", path); }),
              "URL contains illegal characters.");
  }
  EXPECT_EQ(test::errorOf([&] {
              TURL::UrlPathToFilePath("/srv/www/", std::string("/a\0b.css", 8));
            }),
            "URL contains illegal characters.");
}

TEST(TURLTest, RootItselfMayHoldDotNames) {
  EXPECT_EQ(TURL::UrlPathToFilePath("/home/u/.local/app/wwwroot/", "/a.css"),
            "/home/u/.local/app/wwwroot/a.css");
}

TEST(GetUrlPathTest, NormalisesThePathInfo) {
  struct Case {
    const char* pathInfo;
    const char* urlBase;
    const char* path;
  };
  for (const Case& c : {Case{"", "", "/"}, Case{"/", "", "/"}, Case{"/$", "", "/$/"},
                        Case{"/../secret.css", "", "secret.css"}, Case{"//a//b", "", "/a/b"},
                        Case{"/app/$/", "/app/", "/$/"}, Case{"/APP/x.css", "/app/", "/x.css"},
                        Case{"/app", "/app/", "/app"}, Case{"/other/x", "/app/", "/other/x"}}) {
    SCOPED_TRACE(c.pathInfo);
    EXPECT_EQ(detail::urlPathFromPathInfo(c.pathInfo, c.urlBase), c.path);
  }
  EXPECT_EQ(test::errorOf([] { detail::urlPathFromPathInfo("/a\\b", ""); }),
            "Invalid characters in URL.");
}

TEST(StartParamsTest, UnsafeParametersAreRecognised) {
  struct Case {
    const char* text;
    bool unsafe;
  };
  for (const Case& c : {Case{"a=1", false}, Case{"a=<SCRIPT>", true}, Case{"a=<embed", true},
                        Case{"a=<applet", true}, Case{"a=<frameset", true}, Case{"a=<form", true},
                        Case{"a=<iframe", true}, Case{"a=<meta", true}, Case{"a=<layer", true},
                        Case{"a=<object", true}, Case{"a=<img", true}, Case{"a=<link", true},
                        Case{"a=<div", true}, Case{"a=JavaScript :x", true},
                        Case{"a=vbscript:x", true}, Case{"a=javascript is nice", false},
                        Case{"href = x", true}, Case{"a=src=1", true}, Case{"a=url(x)", true},
                        Case{"a=eval  (1)", true}, Case{"a=expression(1)", true},
                        Case{"a=evaluation", false}, Case{"a=<b>bold</b>", false}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(detail::isUnsafeStartParam(c.text), c.unsafe);
  }
}

TEST(StartParamsTest, FormatsTheSafeParameters) {
  EXPECT_EQ(detail::formatStartParams({}), "");
  EXPECT_EQ(detail::formatStartParams({"a=1", "IW_width=5", "b=x y", "c=<script>", "d"}),
            "?a=1&b=x%20y&d");
  EXPECT_EQ(detail::formatStartParams({"name=Jos\xC3\xA9"}), "?name=Jos%C3%A9");
}

}  // namespace
}  // namespace orv
