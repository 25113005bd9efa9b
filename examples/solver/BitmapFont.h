#pragma once
// The small built-in font of the solver's charts: fixed-width glyphs of 5 × 9 pixels
// (7 above the baseline, 2 below for descenders) in a 6-pixel advance, for printable
// ASCII and the few other characters engineering labels need (° ² ³ µ · Δ ρ η λ ν).
// Characters it lacks print as "?". Glyphs scale by whole factors.
//
// Stateless; the glyph table is constant data shared by all callers.
#include <string_view>

#include "examples/solver/RgbImage.h"

namespace orv::solver {

class BitmapFont {
 public:
  static constexpr int kGlyphWidth = 5;
  static constexpr int kGlyphHeight = 9;
  static constexpr int kAdvance = 6;
  static constexpr int kAscent = 7;  // rows above and on the baseline

  enum class Direction {
    Across,  // left to right
    Up,      // rotated a quarter turn counter-clockwise, read bottom to top
  };

  // Width in pixels of a UTF-8 text at the scale (its length along the reading direction).
  static int textWidth(std::string_view utf8, int scale = 1);
  // Height of one line of text at the scale.
  static int lineHeight(int scale = 1) { return kGlyphHeight * scale; }

  // Draws the text with the top left corner of its first glyph cell at (x, y). For
  // Up, (x, y) is the top left corner of the rotated text's bounding box.
  static void drawText(RgbImage& image, int x, int y, std::string_view utf8, Rgb colour,
                       int scale = 1, Direction direction = Direction::Across);

  // The 9 rows of a glyph, bit 4 the leftmost pixel; nullptr when the font lacks it.
  static const unsigned char* glyph(char32_t c);
};

}  // namespace orv::solver
