#pragma once
// A font as an old-style "font" element around a text.
#include <memory>
#include <string_view>

#include "framework/render/TIWFont.h"
#include "framework/render/TIWHTMLTag.h"

namespace orv {

// A "font" tag with the raw attribute lines " FACE=" + name (when the font has a name)
// and " color=" + colour text (unless the colour is clNone or the window-text colour),
// STYLE = "font-size:" + PxSize + "px;", and as content the text wrapped in "<B>",
// "<I>", "<U>", "<STRIKE>" for the styles present (closed in reverse order). None when
// the font is disabled.
std::unique_ptr<TIWHTMLTag> FontToStringTag(const TIWFont& font, std::string_view text);

}  // namespace orv
