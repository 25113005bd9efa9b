#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWMemo.h"
#include "framework/render/MarkupText.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The memo's text as the browser shows it: less its final CR LF without EndsWithCRLF.
std::string shownText(const TIWMemo& memo) {
  std::string text = memo.Text();
  if (!memo.EndsWithCRLF() && text.ends_with("\r\n")) text.resize(text.size() - 2);
  return text;
}

const char* resizeStyle(TIWResizeDirection direction) {
  switch (direction) {
    case TIWResizeDirection::rdNone:
      return "resize:none;";
    case TIWResizeDirection::rdBoth:
      return "resize:both;";
    case TIWResizeDirection::rdVertical:
      return "resize:vertical;";
    case TIWResizeDirection::rdHorizontal:
      return "resize:horizontal;";
  }
  return "resize:both;";
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWMemo::RenderHTML(TIWCompContext& /*context*/) {
  auto tag = std::make_unique<TIWHTMLTag>("TEXTAREA");
  tag->AddStringParam("NAME", HTMLName());
  if (!Editable()) tag->Add("READONLY");
  if (!Enabled()) tag->Add("DISABLED");
  if (HorizScrollBar()) tag->AddStringParam("WRAP", "OFF");
  std::string content = TextToHTML(shownText(*this));
  // A browser drops one line end right after "<textarea>"; a text that starts with an
  // empty line would lose it, so one more line end goes in front.
  if (content.starts_with('\n') || content.starts_with('\r')) content.insert(0, "\r\n");
  tag->Contents().AddText(std::move(content));
  return tag;
}

std::string TIWMemo::RenderStyle(TIWCompContext& context) {
  std::string style = CommonStyle(context);
  style += "margin: 0px; ";
  style += detail::backgroundStyle(BGColor());
  if (!VertScrollBar()) style += "overflow: hidden;";
  if (InvisibleBorder())
    style += "border-style: none; ";
  else if (StyleRenderOptions().RenderBorder())
    style += "border: " + std::to_string(BorderWidth()) + "px inset;";
  style += resizeStyle(ResizeDirection());
  return style;
}

void TIWMemo::HookEvents(TIWPageContext40& /*pageContext*/, TIWScriptEvents& scriptEvents) {
  scriptEvents.SetProp("BorderWidthPixels", "\"1\"");
}

std::unique_ptr<TIWXMLTag> TIWMemo::RenderAsync(TIWCompContext& context) {
  auto control = NewAsyncControl("IWMEMO");
  detail::addBoolProperty(*control, "ReadOnly", !Editable());
  control->Contents().AddTag("text").Contents().AddText(TextToHTML(shownText(*this)));
  unsigned bits = AsyncProperty::kAll;
  // A memo stretched by its alignment takes that side's size from its container.
  if (Align() == TAlign::alTop || Align() == TAlign::alBottom || Align() == TAlign::alClient)
    bits &= ~AsyncProperty::kWidth;
  if (Align() == TAlign::alLeft || Align() == TAlign::alRight || Align() == TAlign::alClient)
    bits &= ~AsyncProperty::kHeight;
  RenderAsyncProperties(context, *control, bits, detail::backgroundStyle(BGColor()));
  return control;
}

}  // namespace orv
