#pragma once
// Text measurement at the server's logical resolution (96 pixels per inch) with
// FreeType and fontconfig, the way the desktop's text-extent call measures:
//  - width: the sum of the hinted whole-pixel advance widths of the glyphs at the
//    font's pixel size, no kerning;
//  - height: the font's ascent plus descent in pixels (the OS/2 win metrics, rounded up).
// Family names map to metric-compatible fonts (Arial -> Liberation Sans, Times New
// Roman -> Liberation Serif, Courier New -> Liberation Mono, Century SchoolBk -> C059,
// Bookman Old Style -> URW Bookman, Symbol -> Standard Symbols PS, MS Sans Serif ->
// Liberation Sans); an unknown family falls back to Liberation Sans (logged once).
//
// Loaded faces are cached process-wide; every function is safe from many threads.
#include <string>

namespace orv {

// Style bits as the font codes use them.
enum FontStyleBits : unsigned {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};

// The page's measuring object (the role of its hidden bitmap canvas). Cheap to create;
// the faces behind it are shared.
class TextMeasurer {
 public:
  // Width in pixels of S in the family at the point size (96 dpi) and style bits.
  int GetWidth(const std::string& s, const std::string& fontName, int size, unsigned style) const;
  // Height in pixels of a line of text in that font (independent of the text).
  int GetHeight(const std::string& s, const std::string& fontName, int size, unsigned style) const;
};

}  // namespace orv
