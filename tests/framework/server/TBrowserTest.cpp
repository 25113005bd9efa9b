#include <gtest/gtest.h>

#include "framework/server/TBrowser.h"

namespace orv {
namespace {

struct Case {
  const char* ua;
  BrowserKind kind;
  bool supported;
};

TEST(TBrowserTest, RecognisesBrowsersInOrderWithTheirMinimumVersions) {
  const Case cases[] = {
      {"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
       "Chrome/120.0.0.0 Safari/537.36 Edg/120.0.2210.91",
       BrowserKind::Edge, true},
      {"Mozilla/5.0 (Windows NT 10.0) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/42.0 "
       "Safari/537.36 Edge/12.10240",
       BrowserKind::Edge, true},
      {"Mozilla/5.0 (Android 13; Mobile; rv:121.0) Gecko/121.0 Firefox/121.0",
       BrowserKind::FirefoxMobile, true},
      {"Mozilla/5.0 (Android; Mobile; rv:10.0) Gecko/10.0 Firefox/10.0", BrowserKind::FirefoxMobile,
       false},
      {"Mozilla/5.0 (X11; Linux x86_64; rv:121.0) Gecko/20100101 Firefox/121.0", BrowserKind::Firefox,
       true},
      {"Mozilla/5.0 (Windows; U; Windows NT 6.1) Gecko/20100101 Firefox/3.6.28", BrowserKind::Firefox,
       true},
      {"Mozilla/5.0 (Windows; U; Windows NT 6.1) Gecko/2009 Firefox/3.5.19", BrowserKind::Firefox,
       false},
      {"Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.0)", BrowserKind::InternetExplorer, true},
      {"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)", BrowserKind::InternetExplorer, false},
      {"Mozilla/5.0 (Windows NT 10.0; Trident/7.0; rv:11.0) like Gecko", BrowserKind::InternetExplorer,
       true},
      {"Mozilla/5.0 (Windows NT 10.0) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/119.0 "
       "Safari/537.36 OPR/105.0.0.0",
       BrowserKind::OperaNext, true},
      {"Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 (KHTML, like Gecko) "
       "Chrome/120.0.0.0 Mobile Safari/537.36",
       BrowserKind::ChromeMobile, true},
      {"Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0.0.0 "
       "Safari/537.36",
       BrowserKind::Chrome, true},
      {"Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/534.10 (KHTML, like Gecko) Chrome/6.0 "
       "Safari/534.10",
       BrowserKind::Chrome, false},
      {"Mozilla/5.0 (Linux; U; Android 2.3.6; en-us) AppleWebKit/533.1 (KHTML, like Gecko) "
       "Version/4.0 Mobile Safari/533.1",
       BrowserKind::AndroidWebKit, true},
      {"Mozilla/5.0 (iPhone; CPU iPhone OS 17_1 like Mac OS X) AppleWebKit/605.1.15 (KHTML, like "
       "Gecko) Version/17.1 Mobile/15E148 Safari/604.1",
       BrowserKind::SafariMobile, true},
      {"Mozilla/5.0 (Macintosh; Intel Mac OS X 14_1) AppleWebKit/605.1.15 (KHTML, like Gecko) "
       "Version/17.1 Safari/605.1.15",
       BrowserKind::Safari, true},
      {"Mozilla/5.0 (Macintosh; Intel Mac OS X 10_5_8) AppleWebKit/531.22.7 (KHTML, like Gecko) "
       "Version/4.0.5 Safari/531.22.7",
       BrowserKind::Safari, false},
      {"Opera/9.80 (Android 2.3.3; Linux; Opera Mobi/ADR-1111101157; U; es-ES) Presto/2.9.201 "
       "Version/11.50",
       BrowserKind::OperaMobile, true},
      {"Opera/9.80 (Windows NT 6.1; WOW64) Presto/2.12.388 Version/12.16", BrowserKind::Opera, true},
      {"Opera/9.80 (Windows NT 6.1) Presto/2.10 Version/11.64", BrowserKind::Opera, false},
      {"Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
       BrowserKind::SearchEngine, true},
      {"Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)",
       BrowserKind::SearchEngine, true},
      {"Mozilla/5.0 (compatible; YandexBot/3.0)", BrowserKind::SearchEngine, true},
      {"facebookexternalhit/1.1", BrowserKind::SearchEngine, true},
      {"curl/7.88.1", BrowserKind::Unknown, false},
      {"", BrowserKind::Unknown, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ua);
    const auto b = TBrowser::CreateBrowser(c.ua);
    EXPECT_EQ(b->Kind(), c.kind);
    EXPECT_EQ(b->IsSupported(), c.supported);
    EXPECT_EQ(b->UserAgent(), c.ua);
  }
}

TEST(TBrowserTest, BingbotInAnyCaseIsASearchEngineNotABrowser) {
  for (const char* ua : {"BINGBOT", "bingbot", "Mozilla/5.0 Chrome/120.0 Safari/537.36 BingBot/2.0"}) {
    SCOPED_TRACE(ua);
    const auto b = TBrowser::CreateBrowser(ua);
    EXPECT_TRUE(b->IsSearchEngine());
    EXPECT_EQ(b->Name(), "Search engine");
  }
}

TEST(TBrowserTest, UnknownBrowserIsNamedSo) {
  EXPECT_EQ(TBrowser::CreateBrowser("Lynx/2.8.9")->Name(), "Unknown browser");
}

}  // namespace
}  // namespace orv
