#include "framework/render/TIWColor.h"

#include <array>
#include <cstdio>

namespace orv {

namespace {

struct NamedColor {
  const char* name;
  TIWColor value;
};

// Searched in this order; the first entry with a value names it (AQUA before CYAN,
// FUCHSIA before MAGENTA).
#define ORV_WEB_COLOR_ENTRY(name, rgb) NamedColor{"clWeb" #name, clWeb##name},
constexpr std::array<NamedColor, kWebColorCount> kWebColors{
    {NamedColor{"clWebTransparent", clWebTransparent}, ORV_WEB_COLOR_TABLE(ORV_WEB_COLOR_ENTRY)}};
#undef ORV_WEB_COLOR_ENTRY

// The platform's standard colour names, in its own table order.
constexpr NamedColor kStandardColors[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clActiveBorder", clActiveBorder},
    {"clActiveCaption", clActiveCaption},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clBackground", clBackground},
    {"clBtnFace", clBtnFace},
    {"clBtnHighlight", clBtnHighlight},
    {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},
    {"clCaptionText", clCaptionText},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clGrayText", clGrayText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clHotLight", clHotLight},
    {"clInactiveBorder", clInactiveBorder},
    {"clInactiveCaption", clInactiveCaption},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clMenu", clMenu},
    {"clMenuBar", clMenuBar},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuText", clMenuText},
    {"clNone", clNone},
    {"clScrollBar", clScrollBar},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clWindowText", clWindowText},
};

// The desktop's default colour scheme, indexed like the system colour table; slot 25
// is unused by the platform and resolves to black like any unknown index.
constexpr std::uint32_t kSystemColorsRGB[] = {
    0xC8C8C8,  //  0 scroll bar
    0x000000,  //  1 desktop background
    0x99B4D1,  //  2 active caption
    0xBFCDDB,  //  3 inactive caption
    0xF0F0F0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x646464,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0x000000,  //  9 caption text
    0xB4B4B4,  // 10 active border
    0xF4F7FC,  // 11 inactive border
    0xABABAB,  // 12 application workspace
    0x0078D7,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xF0F0F0,  // 15 button face
    0xA0A0A0,  // 16 button shadow
    0x6D6D6D,  // 17 grey text
    0x000000,  // 18 button text
    0x000000,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x696969,  // 21 3D dark shadow
    0xE3E3E3,  // 22 3D light
    0x000000,  // 23 tooltip text
    0xFFFFE1,  // 24 tooltip background
    0x000000,  // 25 (unused)
    0x0066CC,  // 26 hot-tracked item
    0xB9D1EA,  // 27 active caption gradient
    0xD7E4F2,  // 28 inactive caption gradient
    0x3399FF,  // 29 menu highlight
    0xF0F0F0,  // 30 menu bar
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

TIWColor ColorToRGB(TIWColor color) {
  const auto raw = static_cast<std::uint32_t>(color);
  if ((raw & 0xFF000000u) == 0xFF000000u) {
    const std::uint32_t index = raw & 0xFFu;
    const std::uint32_t rgb = index < std::size(kSystemColorsRGB) ? kSystemColorsRGB[index] : 0;
    return detail::rgbToColor(rgb);
  }
  return static_cast<TIWColor>(raw & 0x00FFFFFFu);
}

std::string ColorToRGBString(TIWColor color) {
  if (color == clWebTransparent) return "transparent";
  if (color == clNone) return {};
  const auto bgr = static_cast<std::uint32_t>(ColorToRGB(color));
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF,
                (bgr >> 16) & 0xFF);
  return text;
}

bool IWColorToIdent(TIWColor color, std::string& name) {
  for (const NamedColor& entry : kWebColors) {
    if (entry.value == color) {
      name = entry.name;
      return true;
    }
  }
  for (const NamedColor& entry : kStandardColors) {
    if (entry.value == color) {
      name = entry.name;
      return true;
    }
  }
  return false;
}

bool IdentToIWColor(std::string_view name, TIWColor& color) {
  for (const NamedColor& entry : kWebColors) {
    if (equalsIgnoringCase(entry.name, name)) {
      color = entry.value;
      return true;
    }
  }
  for (const NamedColor& entry : kStandardColors) {
    if (equalsIgnoringCase(entry.name, name)) {
      color = entry.value;
      return true;
    }
  }
  return false;
}

}  // namespace orv
