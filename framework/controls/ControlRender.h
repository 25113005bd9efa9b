#pragma once
// Pieces the controls share when they render: style texts, the bits of the common
// asynchronous properties, and writers of property elements of a "control" element.
// Pure functions; used by the rendering thread.
#include <string>
#include <string_view>

#include "framework/controls/ControlTypes.h"
#include "framework/render/TIWColor.h"

namespace orv {

class TIWXMLTag;

// Bits of the common properties of an asynchronous "control" element.
namespace AsyncProperty {
inline constexpr unsigned kEnabled = 0x1;
inline constexpr unsigned kCss = 0x2;
inline constexpr unsigned kVisibility = 0x4;
inline constexpr unsigned kLeft = 0x8;
inline constexpr unsigned kTop = 0x10;
inline constexpr unsigned kHeight = 0x20;
inline constexpr unsigned kWidth = 0x40;
inline constexpr unsigned kZIndex = 0x80;
inline constexpr unsigned kHint = 0x100;
inline constexpr unsigned kFont = 0x200;
inline constexpr unsigned kAll = 0x3FF;
inline constexpr unsigned kAllButEnabled = kAll & ~kEnabled;
}  // namespace AsyncProperty

namespace detail {

// "text-align: left; " / "right; " / "center; ".
std::string textAlignStyle(TAlignment alignment);
// "vertical-align: middle; " / "top; " / "bottom; " / "baseline; ".
std::string verticalAlignStyle(TIWVerticalAlign align);
// "background-color: #RRGGBB; " (empty for clNone).
std::string backgroundStyle(TIWColor color);
// "width: W px; height: H px; ".
std::string sizeStyle(int width, int height);
// "cursor: ...; " (empty for crAuto).
std::string cursorStyle(TIWCursor cursor);

// Property elements of an asynchronous "control" element; texts are HTML-escaped with
// line ends converted. A string property with skipEmpty is left out when empty.
void addStringProperty(TIWXMLTag& control, std::string_view name, std::string_view value,
                       bool skipEmpty = false);
void addBoolProperty(TIWXMLTag& control, std::string_view name, bool value);
void addIntegerProperty(TIWXMLTag& control, std::string_view name, long long value);
void addColorProperty(TIWXMLTag& control, std::string_view name, TIWColor color);
void addPixelProperty(TIWXMLTag& control, std::string_view name, int pixels);
// A "style" element of name:value pairs split from a style text (at ";", then at the
// first ":"), one "attribute" element each; nothing when the text holds no pair.
void addStyleProperty(TIWXMLTag& control, std::string_view styleText);

}  // namespace detail
}  // namespace orv
