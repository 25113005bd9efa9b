#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWForm.h"
#include "framework/render/MarkupText.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"
#include "platform/CodePage.h"

namespace orv {

namespace {

constexpr int kNoLengthLimit = 2147483647;

// "text-align:left;" as the asynchronous update writes it.
std::string compactTextAlign(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify:
      return "text-align:right;";
    case TAlignment::taCenter:
      return "text-align:center;";
    case TAlignment::taLeftJustify:
      break;
  }
  return "text-align:left;";
}

}  // namespace

// A non-editable edit with NonEditableAsLabel shows as a label: a "SPAN" with the text
// (a row of "*" of the same length for a password), in the edit's place, font and size.
static bool rendersAsLabel(const TIWEdit& edit) {
  return !edit.Editable() && edit.NonEditableAsLabel();
}

std::unique_ptr<TIWHTMLTag> TIWEdit::RenderHTML(TIWCompContext& context) {
  if (rendersAsLabel(*this)) {
    auto span = std::make_unique<TIWHTMLTag>("SPAN");
    const std::string shown = PasswordPrompt() ? std::string(utf8Length(Text()), '*') : Text();
    span->Contents().AddText(shown.empty() ? std::string("<span></span>")
                                           : TextToHTML(shown, true, false, context.IsCallBack()));
    return span;
  }
  auto tag = std::make_unique<TIWHTMLTag>("INPUT");
  tag->AddStringParam("TYPE", PasswordPrompt() ? "PASSWORD" : "TEXT");
  tag->AddStringParam("NAME", HTMLName());
  if (!Editable()) tag->Add("READONLY");
  if (!Enabled()) tag->Add("DISABLED");
  tag->AddIntegerParam("MAXLENGTH", MaxLength() == 0 ? kNoLengthLimit : MaxLength());
  tag->AddStringParam("VALUE", TextToHTML(Text(), true));
  if (ReadOnly()) tag->Add("READONLY");
  return tag;
}

std::string TIWEdit::RenderStyle(TIWCompContext& context) {
  if (rendersAsLabel(*this)) {
    std::string style = CommonStyle(context);
    if (Alignment() != TAlignment::taLeftJustify) style += detail::textAlignStyle(Alignment());
    return style;
  }
  const int border = BorderWidth();
  std::string style = CommonStyle(context, HTMLWidth() - 2 * border, HTMLHeight() - 2 * border);
  if (WebFont().Color() != clNone) style += "color:" + ColorToRGBString(WebFont().Color()) + ";";
  style += detail::backgroundStyle(BGColor());
  style += detail::textAlignStyle(Alignment());
  if (StyleRenderOptions().RenderBorder())
    style += "border: " + std::to_string(border) + "px inset;";
  return style;
}

void TIWEdit::HookEvents(TIWPageContext40& /*pageContext*/, TIWScriptEvents& scriptEvents) {
  const auto* page = dynamic_cast<const TIWForm*>(Parent());
  if (OnSubmit || (page != nullptr && page->OnDefaultAction)) {
    scriptEvents.SetProp("ImplicitSubmit", "true");
    scriptEvents.SetProp("SubmitValidation", DoSubmitValidation() ? "true" : "false");
  }
  if (FocusColor() != clNone && Editable()) {
    scriptEvents.SetProp("FocusColor", "\"" + ColorToRGBString(FocusColor()) + "\"");
    scriptEvents.SetProp("BGColor", "\"" + ColorToRGBString(BGColor()) + "\"");
  }
}

std::unique_ptr<TIWXMLTag> TIWEdit::RenderAsync(TIWCompContext& context) {
  auto control = NewAsyncControl(rendersAsLabel(*this) ? "IWEDITASLABEL" : "IWEDIT");
  const std::string ownStyle = detail::backgroundStyle(BGColor()) + compactTextAlign(Alignment());
  detail::addBoolProperty(*control, "ReadOnly", ReadOnly() || !Editable());
  detail::addBoolProperty(*control, "Enabled", Enabled());
  detail::addStringProperty(*control, "Text", Text());
  detail::addIntegerProperty(*control, "MaxLength", MaxLength());
  RenderAsyncProperties(context, *control, AsyncProperty::kAllButEnabled, ownStyle);
  return control;
}

}  // namespace orv
