#include "framework/server/TBrowser.h"

#include <cctype>
#include <optional>
#include <utility>

#include "framework/server/ServerText.h"

namespace orv {
namespace {

using detail::findNoCase;

struct Version {
  int major = 0;
  int minor = 0;
};

bool contains(std::string_view ua, std::string_view what) {
  return ua.find(what) != std::string_view::npos;
}

// The version number that follows the marker ("Chrome/" -> "Chrome/45.0.2454.85").
std::optional<Version> versionAfter(std::string_view ua, std::string_view marker) {
  const auto pos = ua.find(marker);
  if (pos == std::string_view::npos) return std::nullopt;
  std::size_t i = pos + marker.size();
  auto readInt = [&](int& out) {
    const std::size_t start = i;
    long v = 0;
    while (i < ua.size() && std::isdigit(static_cast<unsigned char>(ua[i]))) {
      if (v < 100000) v = v * 10 + (ua[i] - '0');
      ++i;
    }
    out = static_cast<int>(v);
    return i > start;
  };
  Version v;
  if (!readInt(v.major)) return std::nullopt;
  if (i < ua.size() && ua[i] == '.') {
    ++i;
    // "3.6" is minor 6, "3.60" minor 60: minor versions count, they are not fractions.
    if (!readInt(v.minor)) v.minor = 0;
  }
  return v;
}

struct Minimum {
  BrowserKind kind;
  Version min;
};

// The order in which browsers are tried, with their oldest supported versions.
constexpr Minimum kMinimums[] = {
    {BrowserKind::Edge, {12, 0}},          {BrowserKind::FirefoxMobile, {14, 0}},
    {BrowserKind::Firefox, {3, 6}},        {BrowserKind::InternetExplorer, {7, 0}},
    {BrowserKind::OperaNext, {15, 0}},     {BrowserKind::ChromeMobile, {18, 0}},
    {BrowserKind::Chrome, {7, 0}},         {BrowserKind::AndroidWebKit, {2, 0}},
    {BrowserKind::SafariMobile, {4, 0}},   {BrowserKind::Safari, {5, 0}},
    {BrowserKind::OperaMobile, {11, 0}},   {BrowserKind::Opera, {12, 0}},
    {BrowserKind::SearchEngine, {0, 0}},
};

constexpr std::string_view kSearchEngines[] = {
    "Googlebot", "Mediapartners", "AdsBot", "BingPreview", "Bingbot",    "AdIdxBot",
    "MSNBot",    "facebookexternalhit",     "Facebot",     "Baiduspider", "Yandex"};

bool isMobile(std::string_view ua) {
  return contains(ua, "Mobile") || contains(ua, "Tablet") || contains(ua, "Android");
}

// Each recogniser answers the version when the agent is that browser.
std::optional<Version> recognise(BrowserKind kind, std::string_view ua) {
  switch (kind) {
    case BrowserKind::Edge:
      if (auto v = versionAfter(ua, "Edge/")) return v;
      if (auto v = versionAfter(ua, "EdgA/")) return v;
      if (auto v = versionAfter(ua, "EdgiOS/")) return v;
      return versionAfter(ua, "Edg/");
    case BrowserKind::FirefoxMobile:
      if (!isMobile(ua)) return std::nullopt;
      if (auto v = versionAfter(ua, "FxiOS/")) return v;
      return versionAfter(ua, "Firefox/");
    case BrowserKind::Firefox:
      return versionAfter(ua, "Firefox/");
    case BrowserKind::InternetExplorer:
      if (contains(ua, "Opera")) return std::nullopt;
      if (auto v = versionAfter(ua, "MSIE ")) return v;
      if (contains(ua, "Trident/")) return versionAfter(ua, "rv:");
      return std::nullopt;
    case BrowserKind::OperaNext:
      if (isMobile(ua)) return std::nullopt;
      return versionAfter(ua, "OPR/");
    case BrowserKind::ChromeMobile:
      if (!isMobile(ua) || contains(ua, "OPR/")) return std::nullopt;
      if (auto v = versionAfter(ua, "CriOS/")) return v;
      return versionAfter(ua, "Chrome/");
    case BrowserKind::Chrome:
      if (contains(ua, "OPR/")) return std::nullopt;
      return versionAfter(ua, "Chrome/");
    case BrowserKind::AndroidWebKit:
      // The stock browser of old Android versions: WebKit without Chrome.
      if (!contains(ua, "AppleWebKit") || contains(ua, "Chrome/")) return std::nullopt;
      return versionAfter(ua, "Android ");
    case BrowserKind::SafariMobile:
      if (!contains(ua, "Safari") || !contains(ua, "Mobile") ||
          !(contains(ua, "iPhone") || contains(ua, "iPad") || contains(ua, "iPod")))
        return std::nullopt;
      return versionAfter(ua, "Version/");
    case BrowserKind::Safari:
      if (!contains(ua, "Safari") || !contains(ua, "AppleWebKit")) return std::nullopt;
      return versionAfter(ua, "Version/");
    case BrowserKind::OperaMobile:
      if (!contains(ua, "Opera Mobi") && !contains(ua, "Opera Mini")) return std::nullopt;
      if (auto v = versionAfter(ua, "Version/")) return v;
      return versionAfter(ua, "Opera/");
    case BrowserKind::Opera:
      if (!contains(ua, "Opera")) return std::nullopt;
      if (auto v = versionAfter(ua, "Version/")) return v;
      if (auto v = versionAfter(ua, "Opera/")) return v;
      return versionAfter(ua, "Opera ");
    case BrowserKind::SearchEngine:
      for (std::string_view bot : kSearchEngines)
        if (findNoCase(ua, bot) != std::string_view::npos) return Version{};
      return std::nullopt;
    case BrowserKind::Unknown:
      break;
  }
  return std::nullopt;
}

Version minimumOf(BrowserKind kind) {
  for (const Minimum& m : kMinimums)
    if (m.kind == kind) return m.min;
  return {};
}

}  // namespace

std::unique_ptr<TBrowser> TBrowser::CreateBrowser(std::string_view userAgent) {
  // Crawlers often claim to be a browser as well; they are recognised first.
  if (recognise(BrowserKind::SearchEngine, userAgent))
    return std::make_unique<TBrowser>(BrowserKind::SearchEngine, 0, 0, std::string(userAgent));
  for (const Minimum& m : kMinimums) {
    if (auto v = recognise(m.kind, userAgent))
      return std::make_unique<TBrowser>(m.kind, v->major, v->minor, std::string(userAgent));
  }
  return std::make_unique<TBrowser>(BrowserKind::Unknown, 0, 0, std::string(userAgent));
}

TBrowser::TBrowser(BrowserKind kind, int major, int minor, std::string userAgent)
    : kind_(kind), major_(major), minor_(minor), userAgent_(std::move(userAgent)) {}

std::string_view TBrowser::Name() const {
  switch (kind_) {
    case BrowserKind::Edge: return "Microsoft Edge";
    case BrowserKind::FirefoxMobile: return "Firefox Mobile";
    case BrowserKind::Firefox: return "Firefox";
    case BrowserKind::InternetExplorer: return "Internet Explorer";
    case BrowserKind::OperaNext: return "Opera (Edition Next)";
    case BrowserKind::ChromeMobile: return "Chrome Mobile";
    case BrowserKind::Chrome: return "Chrome";
    case BrowserKind::AndroidWebKit: return "Android WebKit";
    case BrowserKind::SafariMobile: return "Safari Mobile";
    case BrowserKind::Safari: return "Safari";
    case BrowserKind::OperaMobile: return "Opera Mobile";
    case BrowserKind::Opera: return "Opera";
    case BrowserKind::SearchEngine: return "Search engine";
    case BrowserKind::Unknown: break;
  }
  return "Unknown browser";
}

bool TBrowser::IsSupported() const {
  if (kind_ == BrowserKind::Unknown) return false;
  const Version min = minimumOf(kind_);
  return major_ > min.major || (major_ == min.major && minor_ >= min.minor);
}

bool TBrowser::IsAndroid() const { return contains(userAgent_, "Android"); }

}  // namespace orv
