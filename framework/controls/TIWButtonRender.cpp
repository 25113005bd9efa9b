#include <memory>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWButton.h"
#include "framework/render/MarkupText.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The escaped caption with the first occurrence of the hot key (any case) underlined.
std::string captionWithHotKey(const std::string& caption, const std::string& hotKey) {
  const std::string escaped = TextToHTML(caption, true);
  const std::string key = lowerCaseAscii(hotKey);
  const std::size_t at = lowerCaseAscii(escaped).find(key);
  if (key.empty() || at == std::string::npos) return escaped;
  return escaped.substr(0, at) + "<u>" + TextToHTML(hotKey) + "</u>" +
         escaped.substr(at + key.size());
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWButton::RenderHTML(TIWCompContext& /*context*/) {
  std::unique_ptr<TIWHTMLTag> tag;
  if (HotKey().empty()) {
    tag = std::make_unique<TIWHTMLTag>("INPUT");
    tag->AddStringParam("VALUE", TextToHTML(Caption(), true));
  } else {
    tag = std::make_unique<TIWHTMLTag>("BUTTON");
    tag->AddStringParam("ACCESSKEY", TextToHTML(HotKey()));
    tag->Contents().AddText(captionWithHotKey(Caption(), HotKey()));
  }
  tag->AddStringParam("NAME", HTMLName());
  tag->AddStringParam("TYPE", "button");
  if (WebFont().Enabled() && Color() != clBtnFace)
    tag->AddStringParam("STYLE", detail::backgroundStyle(Color()) + WebFont().FontToStringStyle());
  if (!Enabled()) tag->Add("DISABLED");
  return tag;
}

void TIWButton::HookEvents(TIWPageContext40& /*pageContext*/, TIWScriptEvents& scriptEvents) {
  if (OnClick) scriptEvents.HookEvent("OnClick", SubmitHandler());
}

std::unique_ptr<TIWXMLTag> TIWButton::RenderAsync(TIWCompContext& context) {
  auto control = NewAsyncControl("IWBUTTON");
  detail::addStringProperty(*control, "Caption", Caption());
  const std::string background = WebFont().Enabled() && Color() != clBtnFace
                                     ? detail::backgroundStyle(Color())
                                     : std::string();
  detail::addColorProperty(*control, "Color", Color());
  RenderAsyncProperties(context, *control, AsyncProperty::kAll, background);
  return control;
}

}  // namespace orv
