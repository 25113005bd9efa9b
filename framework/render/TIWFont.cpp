#include "framework/render/TIWFont.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace orv {

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return lower(x) == lower(y);
  });
}

// A family name with a space is quoted for CSS, inner apostrophes doubled.
std::string cssFamilyName(const std::string& name) {
  if (name.find(' ') == std::string::npos) return name;
  std::string quoted = "'";
  for (char c : name) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  quoted += '\'';
  return quoted;
}

}  // namespace

void TIWFont::Assign(const TIWFont& other) {
  if (&other == this) return;
  const bool differs = color_ != other.color_ || enabled_ != other.enabled_ ||
                       fontName_ != other.fontName_ || fontFamily_ != other.fontFamily_ ||
                       fontVariant_ != other.fontVariant_ || size_ != other.size_ ||
                       pxSize_ != other.pxSize_ || style_ != other.style_;
  if (!differs) return;
  color_ = other.color_;
  enabled_ = other.enabled_;
  fontName_ = other.fontName_;
  fontFamily_ = other.fontFamily_;
  fontVariant_ = other.fontVariant_;
  size_ = other.size_;
  pxSize_ = other.pxSize_;
  style_ = other.style_;
  changed();
}

void TIWFont::setColor(TIWColor color) {
  if (color == color_) return;
  color_ = color;
  changed();
}

void TIWFont::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  changed();
}

void TIWFont::setFontName(const std::string& name) {
  if (name == fontName_) return;
  fontName_ = name;
  changed();
}

void TIWFont::setFontFamily(const std::string& family) {
  if (family == fontFamily_) return;
  fontFamily_ = family;
  changed();
}

void TIWFont::setFontVariant(const std::string& variant) {
  if (variant == fontVariant_) return;
  fontVariant_ = variant;
  changed();
}

void TIWFont::setSize(int points) {
  // 96 pixels per inch, 72 points per inch; computed wide so no size can overflow.
  const std::int64_t px = static_cast<std::int64_t>(points) * 96 / 72;
  const int pixels = static_cast<int>(std::clamp<std::int64_t>(px, INT_MIN, INT_MAX));
  if (points == size_ && pixels == pxSize_) return;
  size_ = points;
  pxSize_ = pixels;
  changed();
}

void TIWFont::setPxSize(int pixels) {
  if (pixels == pxSize_) return;
  pxSize_ = pixels;
  changed();
}

void TIWFont::setStyle(unsigned style) {
  if (style == style_) return;
  style_ = style;
  changed();
}

void TIWFont::changed() {
  renderedStyle_.clear();
  if (OnChange) OnChange(*this);
}

std::string TIWFont::fontPart() const {
  std::string text;
  if (!fontName_.empty()) text += "font-family: " + cssFamilyName(fontName_) + "; ";
  text += hasStyle(fsBold) ? "font-weight: bold; " : "font-weight: normal; ";
  text += hasStyle(fsItalic) ? "font-style: italic; " : "font-style: normal; ";
  text += "text-decoration:";
  if (hasStyle(fsUnderline)) text += " underline";
  if (hasStyle(fsStrikeOut)) text += " line-through";
  if (!hasStyle(fsUnderline) && !hasStyle(fsStrikeOut)) text += " none";
  text += ";";
  text += "font-size: " + std::to_string(pxSize_) + "px; ";
  if (!fontFamily_.empty()) text += "font-family: " + fontFamily_ + "; ";
  if (!fontVariant_.empty()) text += "font-variant: " + fontVariant_ + "; ";
  return text;
}

std::string TIWFont::colorPart() const {
  // The window text colour is the browser's default text colour: nothing to write.
  if (color_ == clNone || color_ == clWindowText) return {};
  return "color: " + ColorToRGBString(color_) + "; ";
}

std::string TIWFont::FontToStringStyle() const {
  if (!enabled_) return {};
  if (renderedStyle_.empty()) renderedStyle_ = fontPart() + colorPart();
  return renderedStyle_;
}

std::string TIWFont::FontToStringStyle(const TIWFont* baseFont) const {
  if (!enabled_) return {};
  if (baseFont == nullptr) return FontToStringStyle();
  std::string text;
  if (!equalsIgnoringCase(fontName_, baseFont->fontName_) || size_ != baseFont->size_ ||
      style_ != baseFont->style_) {
    text += fontPart();
  }
  if (color_ != baseFont->color_) text += colorPart();
  return text;
}

}  // namespace orv
