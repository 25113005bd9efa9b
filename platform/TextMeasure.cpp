#include "platform/TextMeasure.h"

#include <algorithm>
#include <climits>

#include "platform/CodePage.h"
#include "platform/FontCache.h"

namespace orv {

namespace detail {
namespace {

constexpr int kDpi = 96;
constexpr int kDefaultPointSize = 8;

// The desktop's multiply-then-divide: rounded to nearest, halves away from zero.
int mulDiv(int a, int b, int c) {
  const long long n = static_cast<long long>(a) * b;
  const long long q = n >= 0 ? (n + c / 2) / c : -((-n + c / 2) / c);
  return static_cast<int>(std::clamp<long long>(q, INT_MIN + 1, INT_MAX));
}

// The font height the desktop derives from a point size: negative = em height in
// pixels, positive = cell height in pixels.
int fontHeight(int size) {
  if (size == 0) size = kDefaultPointSize;
  return -mulDiv(size, kDpi, 72);
}

const FontCache::SizedFont& sizedFont(const std::string& fontName, int size, unsigned style) {
  return FontCache::instance().sized(fontName, (style & fsBold) != 0, (style & fsItalic) != 0,
                                     fontHeight(size));
}

}  // namespace
}  // namespace detail

int TextMeasurer::pixelsPerEm(int pointSize) { return detail::mulDiv(pointSize, detail::kDpi, 72); }

int TextMeasurer::GetWidth(const std::string& s, const std::string& fontName, int size,
                           unsigned style) const {
  if (s.empty()) return 0;
  const FontCache::SizedFont& font = detail::sizedFont(fontName, size, style);
  long long width = 0;
  std::size_t pos = 0;
  while (pos < s.size()) width += font.advance(utf8Decode(s, pos));
  return static_cast<int>(std::min<long long>(width, INT_MAX));
}

int TextMeasurer::GetHeight(const std::string& /*s*/, const std::string& fontName, int size,
                            unsigned style) const {
  return detail::sizedFont(fontName, size, style).height();
}

}  // namespace orv
