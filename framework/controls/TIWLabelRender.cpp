#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWLabel.h"
#include "framework/render/MarkupText.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The label's content: the caption (escaped unless RawText), in "<nobr>" with NoWrap;
// "<span></span>" for an empty caption.
std::string labelContent(const TIWLabel& label, bool asyncCallback) {
  if (label.Caption().empty()) return "<span></span>";
  std::string text = label.RawText()
                         ? label.Caption()
                         : TextToHTML(label.Caption(), true, label.ConvertSpaces(), asyncCallback);
  if (label.NoWrap()) text = "<nobr>" + text + "</nobr>";
  return text;
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWLabel::RenderHTML(TIWCompContext& context) {
  std::unique_ptr<TIWHTMLTag> tag;
  if (ForControl() != nullptr) {
    tag = std::make_unique<TIWHTMLTag>("LABEL");
    tag->AddStringParam("for", ForControl()->HTMLName());
  } else {
    tag = std::make_unique<TIWHTMLTag>("SPAN");
  }
  tag->Contents().AddText(labelContent(*this, context.IsCallBack()));
  return tag;
}

std::string TIWLabel::RenderStyle(TIWCompContext& context) {
  std::string style = CommonStyle(context, HTMLWidth(), HTMLHeight(), RenderSize() != AutoSize());
  if (Css().empty()) {
    if (Alignment() == TAlignment::taRightJustify) style += "text-align:right; ";
    if (Alignment() == TAlignment::taCenter) style += "text-align:center; ";
  }
  style += detail::backgroundStyle(BGColor());
  return style;
}

std::unique_ptr<TIWXMLTag> TIWLabel::RenderAsync(TIWCompContext& context) {
  auto control = NewAsyncControl("IWLABEL");
  control->Contents().AddTag("innerHTML").Contents().AddText(labelContent(*this, true));
  std::string ownStyle;
  if (Alignment() == TAlignment::taRightJustify) ownStyle += "text-align: right; ";
  if (Alignment() == TAlignment::taCenter) ownStyle += "text-align: center; ";
  ownStyle += detail::backgroundStyle(BGColor());
  RenderAsyncProperties(context, *control, AsyncProperty::kAll, ownStyle);
  return control;
}

}  // namespace orv
