#include "framework/render/FontTag.h"

#include <string>

namespace orv {

std::unique_ptr<TIWHTMLTag> FontToStringTag(const TIWFont& font, std::string_view text) {
  if (!font.Enabled()) return nullptr;
  auto tag = std::make_unique<TIWHTMLTag>("font");
  if (!font.FontName().empty()) tag->Add(" FACE=" + font.FontName());
  if (font.Color() != clNone && font.Color() != clWindowText)
    tag->Add(" color=" + ColorToRGBString(font.Color()));
  tag->AddStringParam("STYLE", "font-size:" + std::to_string(font.PxSize()) + "px;");
  std::string open;
  std::string close;
  const struct {
    FontStyleBits bit;
    const char* name;
  } styles[] = {{fsBold, "B"}, {fsItalic, "I"}, {fsUnderline, "U"}, {fsStrikeOut, "STRIKE"}};
  for (const auto& s : styles) {
    if (!font.hasStyle(s.bit)) continue;
    open += std::string("<") + s.name + ">";
    close.insert(0, std::string("</") + s.name + ">");
  }
  tag->Contents().AddText(open + std::string(text) + close);
  return tag;
}

}  // namespace orv
