#pragma once
// Colour values of the framework. A colour is a 32-bit integer in the platform layout
// $00BBGGRR (red in the low byte). Special values:
//  - clNone ($1FFFFFFF): no colour; nothing is rendered for it;
//  - clWebTransparent (-1): renders as "transparent";
//  - $FFxxxxxx: a system colour; the low byte indexes the system colour table, which
//    resolves to the desktop's default scheme (clBtnFace is #F0F0F0, window text
//    #000000, window #FFFFFF, highlight #0078D7, ...).
// Page descriptions name colours (clWebCRIMSON, clBtnFace); IWColorToIdent and
// IdentToIWColor translate between such names and values: the web colour table first,
// then the platform's standard colour names.
//
// Everything here is constant data and pure functions: safe from any thread.
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

using TIWColor = std::int32_t;

namespace detail {
// #RRGGBB as written in colour tables -> $00BBGGRR.
constexpr TIWColor rgbToColor(std::uint32_t rrggbb) {
  return static_cast<TIWColor>(((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) |
                               ((rrggbb >> 16) & 0xFF));
}
constexpr TIWColor systemColor(std::uint32_t index) {
  return static_cast<TIWColor>(0xFF000000u | index);
}
}  // namespace detail

inline constexpr TIWColor clNone = 0x1FFFFFFF;
inline constexpr TIWColor clDefault = 0x20000000;
inline constexpr TIWColor clWebTransparent = -1;

// The platform's standard colours (values in $00BBGGRR).
inline constexpr TIWColor clBlack = 0x000000;
inline constexpr TIWColor clMaroon = 0x000080;
inline constexpr TIWColor clGreen = 0x008000;
inline constexpr TIWColor clOlive = 0x008080;
inline constexpr TIWColor clNavy = 0x800000;
inline constexpr TIWColor clPurple = 0x800080;
inline constexpr TIWColor clTeal = 0x808000;
inline constexpr TIWColor clGray = 0x808080;
inline constexpr TIWColor clSilver = 0xC0C0C0;
inline constexpr TIWColor clRed = 0x0000FF;
inline constexpr TIWColor clLime = 0x00FF00;
inline constexpr TIWColor clYellow = 0x00FFFF;
inline constexpr TIWColor clBlue = 0xFF0000;
inline constexpr TIWColor clFuchsia = 0xFF00FF;
inline constexpr TIWColor clAqua = 0xFFFF00;
inline constexpr TIWColor clWhite = 0xFFFFFF;
inline constexpr TIWColor clMoneyGreen = 0xC0DCC0;
inline constexpr TIWColor clSkyBlue = 0xF0CAA6;
inline constexpr TIWColor clCream = 0xF0FBFF;
inline constexpr TIWColor clMedGray = 0xA4A0A0;

// System colours: $FF000000 + index into the system colour table.
inline constexpr TIWColor clScrollBar = detail::systemColor(0);
inline constexpr TIWColor clBackground = detail::systemColor(1);
inline constexpr TIWColor clActiveCaption = detail::systemColor(2);
inline constexpr TIWColor clInactiveCaption = detail::systemColor(3);
inline constexpr TIWColor clMenu = detail::systemColor(4);
inline constexpr TIWColor clWindow = detail::systemColor(5);
inline constexpr TIWColor clWindowFrame = detail::systemColor(6);
inline constexpr TIWColor clMenuText = detail::systemColor(7);
inline constexpr TIWColor clWindowText = detail::systemColor(8);
inline constexpr TIWColor clCaptionText = detail::systemColor(9);
inline constexpr TIWColor clActiveBorder = detail::systemColor(10);
inline constexpr TIWColor clInactiveBorder = detail::systemColor(11);
inline constexpr TIWColor clAppWorkSpace = detail::systemColor(12);
inline constexpr TIWColor clHighlight = detail::systemColor(13);
inline constexpr TIWColor clHighlightText = detail::systemColor(14);
inline constexpr TIWColor clBtnFace = detail::systemColor(15);
inline constexpr TIWColor clBtnShadow = detail::systemColor(16);
inline constexpr TIWColor clGrayText = detail::systemColor(17);
inline constexpr TIWColor clBtnText = detail::systemColor(18);
inline constexpr TIWColor clInactiveCaptionText = detail::systemColor(19);
inline constexpr TIWColor clBtnHighlight = detail::systemColor(20);
inline constexpr TIWColor cl3DDkShadow = detail::systemColor(21);
inline constexpr TIWColor cl3DLight = detail::systemColor(22);
inline constexpr TIWColor clInfoText = detail::systemColor(23);
inline constexpr TIWColor clInfoBk = detail::systemColor(24);
inline constexpr TIWColor clHotLight = detail::systemColor(26);
inline constexpr TIWColor clGradientActiveCaption = detail::systemColor(27);
inline constexpr TIWColor clGradientInactiveCaption = detail::systemColor(28);
inline constexpr TIWColor clMenuHighlight = detail::systemColor(29);
inline constexpr TIWColor clMenuBar = detail::systemColor(30);

// The named web colours, in table order (after clWebTransparent): name, #RRGGBB.
// MEDIUMPURPLE (#9370D8) and PEACHPUFF (#FFDA89) deliberately keep the values of the
// framework's own table, which differ from the CSS keywords of the same names.
#define ORV_WEB_COLOR_TABLE(X)      \
  X(ALICEBLUE, 0xF0F8FF)            \
  X(ANTIQUEWHITE, 0xFAEBD7)         \
  X(AQUA, 0x00FFFF)                 \
  X(AQUAMARINE, 0x7FFFD4)           \
  X(AZURE, 0xF0FFFF)                \
  X(BEIGE, 0xF5F5DC)                \
  X(BISQUE, 0xFFE4C4)               \
  X(BLACK, 0x000000)                \
  X(BLANCHEDALMOND, 0xFFEBCD)       \
  X(BLUE, 0x0000FF)                 \
  X(BLUEVIOLET, 0x8A2BE2)           \
  X(BROWN, 0xA52A2A)                \
  X(BURLYWOOD, 0xDEB887)            \
  X(CADETBLUE, 0x5F9EA0)            \
  X(CHARTREUSE, 0x7FFF00)           \
  X(CHOCOLATE, 0xD2691E)            \
  X(CORAL, 0xFF7F50)                \
  X(CORNFLOWERBLUE, 0x6495ED)       \
  X(CORNSILK, 0xFFF8DC)             \
  X(CRIMSON, 0xDC143C)              \
  X(CYAN, 0x00FFFF)                 \
  X(DARKBLUE, 0x00008B)             \
  X(DARKCYAN, 0x008B8B)             \
  X(DARKGOLDENROD, 0xB8860B)        \
  X(DARKGRAY, 0xA9A9A9)             \
  X(DARKGREEN, 0x006400)            \
  X(DARKKHAKI, 0xBDB76B)            \
  X(DARKMAGENTA, 0x8B008B)          \
  X(DARKOLIVEGREEN, 0x556B2F)       \
  X(DARKORANGE, 0xFF8C00)           \
  X(DARKORCHID, 0x9932CC)           \
  X(DARKRED, 0x8B0000)              \
  X(DARKSALMON, 0xE9967A)           \
  X(DARKSEAGREEN, 0x8FBC8F)         \
  X(DARKSLATEBLUE, 0x483D8B)        \
  X(DARKSLATEGRAY, 0x2F4F4F)        \
  X(DARKTURQUOISE, 0x00CED1)        \
  X(DARKVIOLET, 0x9400D3)           \
  X(DEEPPINK, 0xFF1493)             \
  X(DEEPSKYBLUE, 0x00BFFF)          \
  X(DIMGRAY, 0x696969)              \
  X(DODGERBLUE, 0x1E90FF)           \
  X(FIREBRICK, 0xB22222)            \
  X(FLORALWHITE, 0xFFFAF0)          \
  X(FORESTGREEN, 0x228B22)          \
  X(FUCHSIA, 0xFF00FF)              \
  X(GAINSBORO, 0xDCDCDC)            \
  X(GHOSTWHITE, 0xF8F8FF)           \
  X(GOLD, 0xFFD700)                 \
  X(GOLDENROD, 0xDAA520)            \
  X(GRAY, 0x808080)                 \
  X(GREEN, 0x008000)                \
  X(GREENYELLOW, 0xADFF2F)          \
  X(HONEYDEW, 0xF0FFF0)             \
  X(HOTPINK, 0xFF69B4)              \
  X(INDIANRED, 0xCD5C5C)            \
  X(INDIGO, 0x4B0082)               \
  X(IVORY, 0xFFFFF0)                \
  X(KHAKI, 0xF0E68C)                \
  X(LAVENDER, 0xE6E6FA)             \
  X(LAVENDERBLUSH, 0xFFF0F5)        \
  X(LAWNGREEN, 0x7CFC00)            \
  X(LEMONCHIFFON, 0xFFFACD)         \
  X(LIGHTBLUE, 0xADD8E6)            \
  X(LIGHTCORAL, 0xF08080)           \
  X(LIGHTCYAN, 0xE0FFFF)            \
  X(LIGHTGOLDENRODYELLOW, 0xFAFAD2) \
  X(LIGHTGREEN, 0x90EE90)           \
  X(LIGHTGRAY, 0xD3D3D3)            \
  X(LIGHTPINK, 0xFFB6C1)            \
  X(LIGHTSALMON, 0xFFA07A)          \
  X(LIGHTSEAGREEN, 0x20B2AA)        \
  X(LIGHTSKYBLUE, 0x87CEFA)         \
  X(LIGHTSLATEBLUE, 0x8470FF)       \
  X(LIGHTSLATEGRAY, 0x778899)       \
  X(LIGHTSTEELBLUE, 0xB0C4DE)       \
  X(LIGHTYELLOW, 0xFFFFE0)          \
  X(LIME, 0x00FF00)                 \
  X(LIMEGREEN, 0x32CD32)            \
  X(LINEN, 0xFAF0E6)                \
  X(MAGENTA, 0xFF00FF)              \
  X(MAROON, 0x800000)               \
  X(MEDIUMAQUAMARINE, 0x66CDAA)     \
  X(MEDIUMBLUE, 0x0000CD)           \
  X(MEDIUMORCHID, 0xBA55D3)         \
  X(MEDIUMPURPLE, 0x9370D8)         \
  X(MEDIUMSEAGREEN, 0x3CB371)       \
  X(MEDIUMSLATEBLUE, 0x7B68EE)      \
  X(MEDIUMSPRINGGREEN, 0x00FA9A)    \
  X(MEDIUMTURQUOISE, 0x48D1CC)      \
  X(MEDIUMVIOLETRED, 0xC71585)      \
  X(MIDNIGHTBLUE, 0x191970)         \
  X(MINTCREAM, 0xF5FFFA)            \
  X(MISTYROSE, 0xFFE4E1)            \
  X(MOCCASIN, 0xFFE4B5)             \
  X(NAVAJOWHITE, 0xFFDEAD)          \
  X(NAVY, 0x000080)                 \
  X(OLDLACE, 0xFDF5E6)              \
  X(OLIVE, 0x808000)                \
  X(OLIVEDRAB, 0x6B8E23)            \
  X(ORANGE, 0xFFA500)               \
  X(ORANGERED, 0xFF4500)            \
  X(ORCHID, 0xDA70D6)               \
  X(PALEGOLDENROD, 0xEEE8AA)        \
  X(PALEGREEN, 0x98FB98)            \
  X(PALETURQUOISE, 0xAFEEEE)        \
  X(PALEVIOLETRED, 0xDB7093)        \
  X(PAPAYAWHIP, 0xFFEFD5)           \
  X(PEACHPUFF, 0xFFDA89)            \
  X(PERU, 0xCD853F)                 \
  X(PINK, 0xFFC0CB)                 \
  X(PLUM, 0xDDA0DD)                 \
  X(POWDERBLUE, 0xB0E0E6)           \
  X(PURPLE, 0x800080)               \
  X(RED, 0xFF0000)                  \
  X(ROSYBROWN, 0xBC8F8F)            \
  X(ROYALBLUE, 0x4169E1)            \
  X(SADDLEBROWN, 0x8B4513)          \
  X(SALMON, 0xFA8072)               \
  X(SANDYBROWN, 0xF4A460)           \
  X(SEAGREEN, 0x2E8B57)             \
  X(SEASHELL, 0xFFF5EE)             \
  X(SIENNA, 0xA0522D)               \
  X(SILVER, 0xC0C0C0)               \
  X(SKYBLUE, 0x87CEEB)              \
  X(SLATEBLUE, 0x6A5ACD)            \
  X(SLATEGRAY, 0x708090)            \
  X(SNOW, 0xFFFAFA)                 \
  X(SPRINGGREEN, 0x00FF7F)          \
  X(STEELBLUE, 0x4682B4)            \
  X(TAN, 0xD2B48C)                  \
  X(TEAL, 0x008080)                 \
  X(THISTLE, 0xD8BFD8)              \
  X(TOMATO, 0xFF6347)               \
  X(TURQUOISE, 0x40E0D0)            \
  X(VIOLET, 0xEE82EE)               \
  X(VIOLETRED, 0xD02090)            \
  X(WHEAT, 0xF5DEB3)                \
  X(WHITE, 0xFFFFFF)                \
  X(WHITESMOKE, 0xF5F5F5)           \
  X(YELLOW, 0xFFFF00)

#define ORV_DEFINE_WEB_COLOR(name, rgb) \
  inline constexpr TIWColor clWeb##name = detail::rgbToColor(rgb);
ORV_WEB_COLOR_TABLE(ORV_DEFINE_WEB_COLOR)
#undef ORV_DEFINE_WEB_COLOR

// Number of entries of the web colour table, clWebTransparent included.
inline constexpr int kWebColorCount = 142;

// A colour resolved to a plain $00BBGGRR value: system colours through the system
// colour table; other values keep their low 24 bits.
TIWColor ColorToRGB(TIWColor color);

// "transparent" for -1, empty for clNone, else "#RRGGBB" in upper-case hexadecimal.
std::string ColorToRGBString(TIWColor color);

// The name of a colour: the first web colour table entry with that value, else a
// standard colour name. False when neither holds the value.
bool IWColorToIdent(TIWColor color, std::string& name);

// The value of a colour name (case-insensitive): web colour table first, then the
// standard colour names. False when neither knows the name.
bool IdentToIWColor(std::string_view name, TIWColor& color);

}  // namespace orv
