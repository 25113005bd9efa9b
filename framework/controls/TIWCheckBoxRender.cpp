#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWCheckBox.h"
#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWPageContext40.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The framework's internal-file address of a picture ("gfx/...").
std::string internalPicture(TIWCompContext& context, const std::string& name) {
  RenderSession* session = context.WebApplication();
  return (session != nullptr ? session->InternalUrlBase() : std::string("/$/")) + "gfx/" + name;
}

// Preloads a picture once per page.
void preloadOnce(TIWCompContext& context, const std::string& name, const std::string& url) {
  const std::string marker = "GImageCache_" + name + "=new Image();";
  if (context.PageContext().JavaScript.find(marker) != std::string::npos ||
      context.JavaScript.find(marker) != std::string::npos)
    return;
  context.CacheImage(name, url);
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWCheckBox::RenderHTML(TIWCompContext& context) {
  const std::string name = HTMLName();
  const std::string click = "checkBoxClick(event, '" + name + "');";
  auto span = std::make_unique<TIWHTMLTag>("SPAN");
  span->AddStringParam("ID", name);

  if (Style() == TIWCheckBoxStyle::stNormal) {
    TIWHTMLTag& input = span->Contents().AddTag("INPUT");
    if (get_RenderTabIndex() > 0) input.AddIntegerParam("TabIndex", get_RenderTabIndex());
    input.AddStringParam("TYPE", "CHECKBOX");
    input.AddStringParam("NAME", name + "_CHECKBOX");
    input.AddStringParam("ID", name + "_CHECKBOX");
    input.AddStringParam("OnClick", click);
    if (!Enabled() || !Editable()) input.Add("disabled");
    if (Checked()) input.Add("checked");
    TIWHTMLTag& caption = span->Contents().AddTag("SPAN");
    caption.AddStringParam("ID", name + "_CHKBCAPTION");
    caption.AddStringParam("OnClick", click);
    caption.Contents().AddText(Caption());
    return span;
  }

  // The drawn style: a picture of the box, a hidden field for its value.
  const std::string state = Checked() ? "True" : "False";
  const std::string picture = internalPicture(context, "CoolCheckBox_" + state + ".gif");
  auto image = std::make_unique<TIWHTMLTag>("IMG");
  image->AddStringParam("ID", name + "_Image");
  image->AddStringParam("ALT", name);
  image->AddStringParam("SRC", picture);
  image->AddStringParam("style", "text-decoration: none; width: 10px; height: 12px; border: 0;");
  if (Editable()) {
    preloadOnce(context, "CoolCheckBox_False", internalPicture(context, "CoolCheckBox_False.gif"));
    preloadOnce(context, "CoolCheckBox_True", internalPicture(context, "CoolCheckBox_True.gif"));
    TIWHTMLTag& link = span->Contents().AddTag("A");
    link.AddStringParam("HREF", "#");
    link.AddStringParam("OnClick", "CoolCheckBoxToggle('" + name + "', " +
                                       (OnClick || OnChange ? "true" : "false") + ")");
    link.Contents().AddTagAsObject(std::move(image));
    span->Contents().AddHiddenField(name + "_CHECKBOX", Checked() ? "On" : "Off");
    context.AddToInitProc("IW.$(\"" + name + "_Image\").src=\"" + picture + "\";IW.$(\"" + name +
                          "_CHECKBOX\").value=\"" + (Checked() ? "On" : "Off") + "\";");
  } else {
    span->Contents().AddTagAsObject(std::move(image));
  }
  TIWHTMLTag& caption = span->Contents().AddTag("SPAN");
  caption.AddStringParam("ID", name + "_CHKBCAPTION");
  if (Editable() && Enabled())
    caption.AddStringParam("OnClick", "CoolCheckBoxToggle('" + name + "', " +
                                          (OnClick || OnChange ? "true" : "false") + ")");
  caption.Contents().AddText(Caption());
  return span;
}

void TIWCheckBox::HookEvents(TIWPageContext40& /*pageContext*/, TIWScriptEvents& scriptEvents) {
  if (!Editable()) return;
  if (OnClick)
    scriptEvents.HookEvent("OnClick", SubmitHandler());
  else if (OnChange)
    scriptEvents.HookEvent("OnChange", SubmitHandler());
}

std::unique_ptr<TIWXMLTag> TIWCheckBox::RenderAsync(TIWCompContext& context) {
  auto control = NewAsyncControl("IWCHECKBOX");
  detail::addStringProperty(*control, "Caption", Caption());
  RenderAsyncProperties(context, *control, AsyncProperty::kAllButEnabled);
  detail::addBoolProperty(*control, "checked", Checked());
  detail::addBoolProperty(*control, "enabled", Enabled() && Editable());
  return control;
}

}  // namespace orv
