#pragma once
// Text measurement at the server's logical resolution (96 pixels per inch) with
// FreeType and fontconfig, the way the desktop's text-extent call measures:
//  - width: the sum of the hinted whole-pixel advance widths of the glyphs at the
//    font's pixel size, no kerning;
//  - height: the font's ascent plus descent in pixels: (usWinAscent + usWinDescent of
//    the OS/2 table) scaled to the pixel size, rounded up.
// A point size becomes a pixel size (pixels per em) the way the desktop sets a font's
// height from its size: size × 96 / 72, rounded to the nearest whole pixel, halves
// away from zero (8 pt -> 11, 9 pt -> 12, 10 pt -> 13, 12 pt -> 16). A negative size
// asks, as there, for a cell height (ascent plus descent) of |size| × 96 / 72 pixels;
// 0 takes the default size of 8 points. Pixel sizes are capped at 2000.
// Family names map to metric-compatible fonts (Arial -> Liberation Sans, Times New
// Roman -> Liberation Serif, Courier New -> Liberation Mono, Century SchoolBk -> C059,
// Bookman Old Style -> URW Bookman, Symbol -> Standard Symbols PS, MS Sans Serif ->
// Liberation Sans), other names go to fontconfig as they are, and a comma-separated
// list ("Sans-Serif, Helvetica, Arial") is tried name by name. A family found nowhere
// falls back to Liberation Sans, noted once per name in the application log. Bold and
// italic pick the family's bold and italic faces; a family without a bold face is
// emboldened the way the desktop does it, one pixel wider per character. Underline and
// strike-out change nothing. Text is UTF-8; ill-formed bytes measure as U+FFFD.
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
// the faces behind it are shared. Holds no state, so one object may serve any thread.
class TextMeasurer {
 public:
  // Width in pixels of S in the family at the point size (96 dpi) and style bits.
  int GetWidth(const std::string& s, const std::string& fontName, int size, unsigned style) const;
  // Height in pixels of a line of text in that font (independent of the text).
  int GetHeight(const std::string& s, const std::string& fontName, int size, unsigned style) const;

  // Pixels per em of a point size at 96 dpi (positive sizes; see above).
  static int pixelsPerEm(int pointSize);
};

}  // namespace orv
