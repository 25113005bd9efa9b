#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/ControlText.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCallBackResponse.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The list starts with the no-selection entry: it has entries, and nothing is chosen
// yet or a choice is not required.
bool offersNoSelection(const TIWComboBox& combo) {
  return !combo.Items().empty() && (combo.ItemIndex() == -1 || !combo.RequireSelection());
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWComboBox::RenderHTML(TIWCompContext& context) {
  if (!Editable() && NonEditableAsLabel()) {
    // Shown as a label with the selected text.
    auto span = std::make_unique<TIWHTMLTag>("SPAN");
    const std::string text = SelectedText();
    span->Contents().AddText(text.empty() ? std::string("<span></span>")
                                          : TextToHTML(text, true, false, context.IsCallBack()));
    return span;
  }
  const std::string name = HTMLName();
  auto tag = std::make_unique<TIWHTMLTag>("SELECT");
  tag->AddStringParam("NAME", name);
  tag->AddIntegerParam("SIZE", 1);
  if (OnChange) tag->AddStringParam("OnChange", SubmitHandler());
  if (!Enabled() || !Editable()) tag->Add("DISABLED");
  if (Required()) {
    const std::string who = FriendlyName().empty() ? Name() : FriendlyName();
    context.AddValidation("IW.$(\"" + name + "\").value==\"-1\"",
                          detail::formatMessage(messages::kSelectionRequired, who));
  }
  const bool noSelection = offersNoSelection(*this);
  if (noSelection) {
    TIWHTMLTag& option = tag->Contents().AddTag("OPTION");
    option.AddIntegerParam("VALUE", -1);
    if (ItemIndex() == -1) option.Add("SELECTED");
    option.Contents().AddText(TextToHTML(NoSelectionText()));
  }
  for (std::size_t i = 0; i < Items().size(); ++i) {
    TIWHTMLTag& option = tag->Contents().AddTag("OPTION");
    if (static_cast<int>(i) == ItemIndex()) option.Add("SELECTED");
    option.AddStringParam("VALUE", TextToHTML(ItemValue(i)), true);
    option.Contents().AddText(TextToHTML(ItemText(i), false, true, context.IsCallBack()));
  }
  markSent();
  noSelectionSent_ = noSelection;
  return tag;
}

std::string TIWComboBox::RenderStyle(TIWCompContext& context) {
  std::string style = CommonStyle(context);
  style += detail::backgroundStyle(BGColor());
  if (StyleRenderOptions().RenderBorder())
    style += "border: " + std::to_string(BorderWidth()) + "px inset;";
  return style;
}

void TIWComboBox::HookEvents(TIWPageContext40& /*pageContext*/, TIWScriptEvents& scriptEvents) {
  if (FocusColor() == clNone || !Editable()) return;
  scriptEvents.HookEvent("OnFocus",
                         "this.style.backgroundColor='" + ColorToRGBString(FocusColor()) + "';");
  scriptEvents.HookEvent("OnBlur",
                         "this.style.backgroundColor='" + ColorToRGBString(BGColor()) + "';");
}

std::unique_ptr<TIWXMLTag> TIWComboBox::RenderAsync(TIWCompContext& context) {
  const std::string name = HTMLName();
  auto control = NewAsyncControl("IWCOMBOBOX");
  RenderSession* session = context.WebApplication();
  const bool sendItems = ItemsNeedSending();
  bool noSelection = noSelectionSent_;
  if (sendItems) {
    noSelection = offersNoSelection(*this);
    TIWXMLTag& items = control->Contents().AddTag("items");
    if (noSelection) {
      TIWXMLTag& item = items.Contents().AddTag("item");
      if (ItemIndex() == -1) item.AddStringParam("selected", "true");
      item.AddStringParam("value", "-1");
      item.Contents().AddText(TextToHTML(NoSelectionText()));
    }
    for (std::size_t i = 0; i < Items().size(); ++i) {
      TIWXMLTag& item = items.Contents().AddTag("item");
      if (static_cast<int>(i) == ItemIndex()) item.AddStringParam("selected", "true");
      item.AddStringParam("value", TextToHTML(ItemValue(i)), true);
      item.Contents().AddText(TextToHTML(ItemText(i), false, true, true));
    }
  }
  RenderAsyncProperties(context, *control, AsyncProperty::kAllButEnabled,
                        detail::backgroundStyle(BGColor()));
  if (session != nullptr) {
    TIWCallBackResponse& response = session->CallBackResponse();
    // The enabled state travels as script: the "enabled" property would address the
    // wrong element for a list.
    response.AddJavaScriptToExecute("setEnabled(\"" + name + "\"," +
                                    (Enabled() && Editable() ? "true" : "false") + ");");
    if (!sendItems && ItemIndex() != LastSentItemIndex()) {
      response.AddJavaScriptToExecute("IW.$(\"" + name + "\").selectedIndex = " +
                                      std::to_string(ItemIndex() + (noSelection ? 1 : 0)) + ";");
    }
  }
  markSent();
  noSelectionSent_ = noSelection;
  return control;
}

}  // namespace orv
