#include "framework/controls/ControlRender.h"

#include "framework/render/MarkupText.h"
#include "framework/render/TIWXMLTag.h"

namespace orv::detail {

std::string textAlignStyle(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify:
      return "text-align: right; ";
    case TAlignment::taCenter:
      return "text-align: center; ";
    case TAlignment::taLeftJustify:
      break;
  }
  return "text-align: left; ";
}

std::string verticalAlignStyle(TIWVerticalAlign align) {
  switch (align) {
    case TIWVerticalAlign::vaMiddle:
      return "vertical-align: middle; ";
    case TIWVerticalAlign::vaTop:
      return "vertical-align: top; ";
    case TIWVerticalAlign::vaBottom:
      return "vertical-align: bottom; ";
    case TIWVerticalAlign::vaBaseline:
      return "vertical-align: baseline; ";
  }
  return {};
}

std::string backgroundStyle(TIWColor color) {
  if (color == clNone) return {};
  return "background-color: " + ColorToRGBString(color) + "; ";
}

std::string sizeStyle(int width, int height) {
  return "width: " + std::to_string(width) + "px; height: " + std::to_string(height) + "px; ";
}

std::string cursorStyle(TIWCursor cursor) {
  const char* text = "default; ";
  switch (cursor) {
    case TIWCursor::crAuto:
      return {};
    case TIWCursor::crCrossHair:
      text = "crosshair; ";
      break;
    case TIWCursor::crDefault:
      text = "default; ";
      break;
    case TIWCursor::crPointer:
      text = "pointer; ";
      break;
    case TIWCursor::crMove:
      text = "move; ";
      break;
    case TIWCursor::crEResize:
      text = "e-resize; ";
      break;
    case TIWCursor::crNEResize:
      text = "ne-resize; ";
      break;
    case TIWCursor::crNWResize:
      text = "nw-resize; ";
      break;
    case TIWCursor::crNResize:
      text = "n-resize; ";
      break;
    case TIWCursor::crSEResize:
      text = "se-resize; ";
      break;
    case TIWCursor::crSWResize:
      text = "sw-resize; ";
      break;
    case TIWCursor::crSResize:
      text = "s-resize; ";
      break;
    case TIWCursor::crWResize:
      text = "w-resize; ";
      break;
    case TIWCursor::crText:
      text = "text; ";
      break;
    case TIWCursor::crWait:
      text = "wait; ";
      break;
    case TIWCursor::crHandPoint:
      text = "pointer; ";
      break;
    case TIWCursor::crHelp:
      text = "help; ";
      break;
  }
  return std::string("cursor: ") + text;
}

void addStringProperty(TIWXMLTag& control, std::string_view name, std::string_view value,
                       bool skipEmpty) {
  if (skipEmpty && value.empty()) return;
  control.Contents().AddTag(lowerCaseAscii(name)).Contents().AddText(TextToHTML(value, true));
}

void addBoolProperty(TIWXMLTag& control, std::string_view name, bool value) {
  addStringProperty(control, name, value ? "true" : "false");
}

void addIntegerProperty(TIWXMLTag& control, std::string_view name, long long value) {
  addStringProperty(control, name, std::to_string(value));
}

void addColorProperty(TIWXMLTag& control, std::string_view name, TIWColor color) {
  addStringProperty(control, name, ColorToRGBString(color));
}

void addPixelProperty(TIWXMLTag& control, std::string_view name, int pixels) {
  addStringProperty(control, name, std::to_string(pixels) + "px");
}

void addStyleProperty(TIWXMLTag& control, std::string_view styleText) {
  TIWXMLTag* style = nullptr;
  std::size_t start = 0;
  while (start <= styleText.size()) {
    std::size_t end = styleText.find(';', start);
    if (end == std::string_view::npos) end = styleText.size();
    const std::string_view entry = trimmed(styleText.substr(start, end - start));
    start = end + 1;
    if (entry.empty()) continue;
    const std::size_t colon = entry.find(':');
    const std::string_view name = trimmed(entry.substr(0, colon));
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view() : trimmed(entry.substr(colon + 1));
    if (name.empty()) continue;
    if (style == nullptr) style = &control.Contents().AddTag("style");
    TIWXMLTag& attribute = style->Contents().AddTag("attribute");
    attribute.AddStringParam("name", TextToHTML(name));
    attribute.Contents().AddText(TextToHTML(value));
  }
}

}  // namespace orv::detail
