#pragma once
// The font of a control (its WebFont): family, size in points and pixels, style bits,
// colour, and the CSS style text built from them.
//
// A font belongs to one control (or stands alone in a test). Its OnChange tells the
// owner that the rendered text changed, so that the owner is marked for refresh; it
// fires once per setter call that changes anything, and once for an Assign that changes
// anything. Not copyable: Assign copies the values and leaves OnChange alone, so a copy
// never reports to the wrong control. Used by the thread that holds the page's session.
#include <functional>
#include <string>

#include "framework/render/TIWColor.h"
#include "platform/TextMeasure.h"  // FontStyleBits: fsBold, fsItalic, fsUnderline, fsStrikeOut

namespace orv {

class TIWFont {
 public:
  TIWFont() = default;
  TIWFont(const TIWFont&) = delete;
  TIWFont& operator=(const TIWFont&) = delete;

  // Copies every value of `other` (not its OnChange); reports one change when any
  // value differed.
  void Assign(const TIWFont& other);

  TIWColor Color() const { return color_; }
  void setColor(TIWColor color);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  const std::string& FontName() const { return fontName_; }
  void setFontName(const std::string& name);
  const std::string& FontFamily() const { return fontFamily_; }
  void setFontFamily(const std::string& family);
  const std::string& FontVariant() const { return fontVariant_; }
  void setFontVariant(const std::string& variant);
  // Points. Setting it also sets PxSize = Size * 96 / 72, truncated toward zero.
  int Size() const { return size_; }
  void setSize(int points);
  int PxSize() const { return pxSize_; }
  void setPxSize(int pixels);
  // A set of FontStyleBits.
  unsigned Style() const { return style_; }
  void setStyle(unsigned style);
  bool hasStyle(FontStyleBits bit) const { return (style_ & bit) != 0; }

  // The style text: empty when disabled, else the font part followed by the colour
  // part. A default font yields
  // "font-weight: normal; font-style: normal; text-decoration: none;font-size: 13px; ".
  std::string FontToStringStyle() const;
  // Relative to a base font (none: as above): the font part only when the name
  // (ignoring case), the size or the style differ, the colour part only when the colour
  // differs.
  std::string FontToStringStyle(const TIWFont* baseFont) const;

  // The cached style text (filled by FontToStringStyle, emptied by every change).
  const std::string& RenderedStyle() const { return renderedStyle_; }

  // Raised after a change of any value that the style text shows.
  std::function<void(TIWFont& sender)> OnChange;

 private:
  std::string fontPart() const;
  std::string colorPart() const;
  void changed();

  TIWColor color_ = clNone;
  bool enabled_ = true;
  std::string fontName_;
  std::string fontFamily_;
  std::string fontVariant_;
  int size_ = 10;
  int pxSize_ = 13;
  unsigned style_ = 0;
  mutable std::string renderedStyle_;
};

}  // namespace orv
