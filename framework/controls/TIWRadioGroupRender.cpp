#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWRadioGroup.h"
#include "framework/render/MarkupText.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

std::unique_ptr<TIWHTMLTag> TIWRadioGroup::RenderHTML(TIWCompContext& /*context*/) {
  const std::string name = HTMLName();
  auto div = std::make_unique<TIWHTMLTag>("DIV");
  div->AddStringParam("type", "RADIOGROUP");
  for (std::size_t i = 0; i < Items().size(); ++i) {
    const std::string id = name + "_INPUT_" + std::to_string(i + 1);
    const std::string click = "radioGroupClick(event, '" + id + "');";
    TIWHTMLTag& input = div->Contents().AddTag("INPUT");
    input.AddStringParam("TYPE", "RADIO");
    if (static_cast<int>(i) == ItemIndex()) input.Add("CHECKED");
    input.AddStringParam("NAME", name + "_INPUT");
    input.AddStringParam("id", id);
    input.AddIntegerParam("VALUE", static_cast<long long>(i));
    if (!Enabled() || !Editable()) input.Add("DISABLED");
    input.AddStringParam("OnClick", click);
    TIWHTMLTag& caption = div->Contents().AddTag("SPAN");
    caption.AddStringParam("OnClick", click);
    caption.Contents().AddText(Items()[i]);
    if (Layout() == TIWRadioGroupLayout::glVertical) div->Contents().AddTag("BR");
  }
  return div;
}

std::string TIWRadioGroup::RenderStyle(TIWCompContext& context) {
  std::string style = CommonStyle(context);
  if (Layout() == TIWRadioGroupLayout::glHorizontal) style += " white-space:nowrap;";
  return style;
}

void TIWRadioGroup::HookEvents(TIWPageContext40& /*pageContext*/, TIWScriptEvents& scriptEvents) {
  if (OnClick && Editable()) scriptEvents.HookEvent("OnClick", SubmitHandler());
}

std::unique_ptr<TIWXMLTag> TIWRadioGroup::RenderAsync(TIWCompContext& context) {
  const std::string name = HTMLName();
  auto control = NewAsyncControl("IWRADIOGROUP");
  control->AddStringParam("layout",
                          Layout() == TIWRadioGroupLayout::glVertical ? "vertical" : "horizontal");
  TIWXMLTag& items = control->Contents().AddTag("items");
  const bool enabled = Enabled() && Editable();
  for (std::size_t i = 0; i < Items().size(); ++i) {
    TIWXMLTag& item = items.Contents().AddTag("item");
    if (static_cast<int>(i) == ItemIndex()) item.AddStringParam("selected", "true");
    item.AddIntegerParam("value", static_cast<long long>(i));
    item.AddStringParam("id", name + "_INPUT_" + std::to_string(i + 1));
    item.AddBoolParam("enabled", enabled);
    item.Contents().AddText(TextToHTML(Items()[i], true));
  }
  RenderAsyncProperties(context, *control, AsyncProperty::kAllButEnabled);
  return control;
}

}  // namespace orv
