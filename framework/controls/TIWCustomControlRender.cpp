// Rendering of the common control: the common style text, the outer element's scripts
// (client object, event hooks, callbacks) and the common properties of an
// asynchronous update.
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/ControlText.h"
#include "framework/controls/TIWCustomControl.h"
#include "framework/controls/TIWForm.h"
#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWContainerContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWLayoutMgrForm.h"
#include "framework/render/TIWPageContext40.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

struct AsyncEventInfo {
  TIWAsyncEventType type;
  const char* browserEvent;  // the default handler's name
  const char* suffix;        // the callback name's suffix
};

constexpr AsyncEventInfo kAsyncEvents[] = {
    {TIWAsyncEventType::aeClick, "OnClick", ".DoOnAsyncClick"},
    {TIWAsyncEventType::aeDoubleClick, "OnDblClick", ".DoOnAsyncDoubleClick"},
    {TIWAsyncEventType::aeChange, "OnChange", ".DoOnAsyncChange"},
    {TIWAsyncEventType::aeEnter, "OnFocus", ".DoOnAsyncEnter"},
    {TIWAsyncEventType::aeExit, "OnBlur", ".DoOnAsyncExit"},
    {TIWAsyncEventType::aeKeyDown, "OnKeyDown", ".DoOnAsyncKeyDown"},
    {TIWAsyncEventType::aeKeyUp, "OnKeyUp", ".DoOnAsyncKeyUp"},
    {TIWAsyncEventType::aeKeyPress, "OnKeyPress", ".DoOnAsyncKeyPress"},
    {TIWAsyncEventType::aeMouseDown, "OnMouseDown", ".DoOnAsyncMouseDown"},
    {TIWAsyncEventType::aeMouseMove, "OnMouseMove", ".DoOnAsyncMouseMove"},
    {TIWAsyncEventType::aeMouseOver, "OnMouseOver", ".DoOnAsyncMouseOver"},
    {TIWAsyncEventType::aeMouseOut, "OnMouseOut", ".DoOnAsyncMouseOut"},
    {TIWAsyncEventType::aeMouseUp, "OnMouseUp", ".DoOnAsyncMouseUp"},
    {TIWAsyncEventType::aeSelect, "OnSelect", ".DoOnAsyncSelect"},
    {TIWAsyncEventType::aeLoad, "OnLoad", ".DoOnAsyncLoad"},
    {TIWAsyncEventType::aeUnLoad, "OnUnLoad", ".DoOnAsyncUnLoad"},
};

const char* alignName(TAlign align) {
  switch (align) {
    case TAlign::alNone:
      return "alNone";
    case TAlign::alTop:
      return "alTop";
    case TAlign::alBottom:
      return "alBottom";
    case TAlign::alLeft:
      return "alLeft";
    case TAlign::alRight:
      return "alRight";
    case TAlign::alClient:
      return "alClient";
    case TAlign::alCustom:
      break;
  }
  return "alNone";
}

// A hint as an attribute value: markup characters escaped, and "'" written as "&#39".
std::string hintAttribute(const std::string& hint) {
  std::string out;
  for (char c : hint) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWCustomControl::RenderHTML(TIWCompContext& /*context*/) {
  return nullptr;
}

std::unique_ptr<TIWXMLTag> TIWCustomControl::RenderAsync(TIWCompContext& /*context*/) {
  return nullptr;
}

void TIWCustomControl::HookEvents(TIWPageContext40& /*pageContext*/,
                                  TIWScriptEvents& /*scriptEvents*/) {}

std::string TIWCustomControl::RenderStyle(TIWCompContext& context) { return CommonStyle(context); }

std::string TIWCustomControl::RenderCSSClass(TIWCompContext& /*context*/) {
  return Css().empty() ? HTMLName() + "CSS" : Css();
}

int TIWCustomControl::get_RenderTabIndex() const {
  if (!HasTabOrder()) return 0;
  const auto* page = dynamic_cast<const TIWForm*>(Parent());
  return page == nullptr ? 0 : page->RealTabIndexOf(*this);
}

void TIWCustomControl::DoHTMLTag(TIWMarkupLanguageTag& tag) {
  if (OnHTMLTag) OnHTMLTag(*this, tag);
}

std::string TIWCustomControl::IWCLParentName() const {
  if (Parent() == nullptr || dynamic_cast<const TIWForm*>(Parent()) != nullptr) return "IWCLForm";
  return detail::upperCaseAscii(Parent()->Name()) + "IWCL";
}

std::string TIWCustomControl::CommonStyle(TIWCompContext& /*context*/, int width, int height,
                                          bool withSize) {
  const TIWStyleRenderOptions& options = StyleRenderOptions();
  std::string style;
  if (options.RenderPosition() && Parent() != nullptr) {
    style += options.RenderAbsolute() ? "position: absolute;" : "position: relative;";
    style += " left: " + std::to_string(HTMLLeft()) + "px;";
    style += " top: " + std::to_string(HTMLTop()) + "px;";
  }
  if (options.RenderZIndex() && ZIndex() != -100)
    style += "z-index: " + std::to_string(ZIndex() + 100) + "; ";
  if (withSize && ((RenderSize() && options.RenderSize()) || !AutoSize()))
    style += detail::sizeStyle(width, height);
  if (options.RenderPadding()) style += "padding: 0; ";
  if (Clip()) {
    style += "clip:rect(0px," + std::to_string(HTMLWidth()) + "px," + std::to_string(HTMLHeight()) +
             "px,0px); ";
  }
  if (options.RenderFont()) style += WebFont().FontToStringStyle();
  style += detail::cursorStyle(WebCursor());
  return style;
}

std::string TIWCustomControl::SubmitHandler(const std::string& param, const std::string& name,
                                            bool returnFalse) const {
  const std::string call = "SubmitClickConfirm('" + (name.empty() ? HTMLName() : name) + "','" +
                           param + "', " + (DoSubmitValidation() ? "true" : "false") + ", '" +
                           TextToJSStringLiteral(Confirmation()) + "')";
  return returnFalse ? call + ";return false;" : "return " + call + ";";
}

std::unique_ptr<TIWHTMLTag> TIWCustomControl::RenderMarkupLanguageTag(TIWCompContext& context) {
  std::unique_ptr<TIWHTMLTag> tag = RenderHTML(context);
  if (tag == nullptr) return nullptr;
  RenderSession* session = context.WebApplication();
  if (session == nullptr || !session->Terminated()) {
    RenderScripts(context);
    if (!scriptOnload_.empty()) tag->AddStringParam("onload", scriptOnload_);
  }
  if (ShowHint() && !Hint().empty()) tag->AddStringParam("title", hintAttribute(Hint()));
  return tag;
}

void TIWCustomControl::RenderScripts(TIWCompContext& context) {
  const std::string name = HTMLName();
  const std::string object = name + "IWCL";
  std::string line = "  IW.initIWCL(" + IWCLParentName() + ",\"" + name + "\"," +
                     (SupportsInput() && SubmitOnAsyncEvent() ? "true" : "false") + ")";
  const bool pageLayout =
      context.ContainerContext() != nullptr &&
      dynamic_cast<TIWLayoutMgrForm*>(context.ContainerContext()->Layout) != nullptr;
  if (StyleRenderOptions().RenderPosition() && pageLayout &&
      (Align() != TAlign::alNone || Anchors() != (akLeft | akTop))) {
    const auto flag = [&](unsigned bit) { return (Anchors() & bit) != 0 ? "true" : "false"; };
    line += "\r\n  if (" + object + ") {\r\n    " + object + ".SetAlign(" + alignName(Align()) +
            ");\r\n    " + object + ".SetAnchors(new CreateAnchors(" + flag(akLeft) + ", " +
            flag(akRight) + ", " + flag(akTop) + ", " + flag(akBottom) + "));\r\n  }";
  }
  if (line.back() != ';') line += ';';
  context.AddToIWCLInitProc(line);

  TIWScriptEvents events;
  HookEvents(context.PageContext(), events);
  // The asynchronous events: a default handler in the browser, a callback on the server.
  RenderSession* session = context.WebApplication();
  const auto* page = dynamic_cast<TIWForm*>(Parent());
  for (const AsyncEventInfo& info : kAsyncEvents) {
    if (!AsyncEventHandler(info.type)) continue;
    const bool lock = (LockOnAsyncEvents() & asyncEventBit(info.type)) != 0;
    events.HookDefaultHandler(info.browserEvent, lock ? "Lock" : "");
    if (session == nullptr || Parent() == nullptr) continue;
    std::string callback = name + info.suffix;
    if (page != nullptr) callback = page->Name() + "." + callback;
    // The callback finds the control by name when it runs, so a control removed since
    // this render is simply not called.
    TIWContainer* container = Parent();
    session->RegisterCallBack(callback, [container, component = Name(),
                                         type = info.type](const std::vector<std::string>& params) {
      if (TIWCustomControl* control = container->FindComponent(component)) {
        const StringList list{std::vector<std::string>(params)};
        control->DoAsyncEvent(type, list);
      }
    });
  }
  const TIWScriptEvents::Rendered rendered = events.RenderEvents(name);
  if (!rendered.iwclLines.empty())
    context.AddToIWCLInitProc("  if (" + object + ") {\r\n" + rendered.iwclLines + "  }");
  if (!rendered.functions.empty()) context.AddToJavaScriptOnce(rendered.functions);
  scriptOnload_ = rendered.onload;
}

std::unique_ptr<TIWXMLTag> TIWCustomControl::RenderAsyncComponent(TIWCompContext& context) {
  if (!SupportsPartial()) return nullptr;
  return RenderAsync(context);
}

std::unique_ptr<TIWXMLTag> TIWCustomControl::NewAsyncControl(const std::string& type) const {
  auto control = std::make_unique<TIWXMLTag>("control");
  control->AddStringParam("id", HTMLName());
  control->AddStringParam("type", type);
  return control;
}

void TIWCustomControl::RenderAsyncProperties(TIWCompContext& context, TIWXMLTag& control,
                                             unsigned bits, const std::string& ownStyle) {
  using namespace AsyncProperty;
  const TIWStyleRenderOptions& options = StyleRenderOptions();
  if (!RenderSize()) bits &= ~(kHeight | kWidth);
  if ((bits & kCss) != 0) detail::addStringProperty(control, "css", RenderCSSClass(context), true);
  detail::addBoolProperty(control, "supportsinput", SupportsInput() && SubmitOnAsyncEvent());
  if ((bits & kEnabled) != 0 && options.RenderStatus())
    detail::addBoolProperty(control, "enabled", Enabled());
  if ((bits & kHint) != 0 && ShowHint()) detail::addStringProperty(control, "hint", Hint());

  std::string style = ownStyle;
  if ((bits & kVisibility) != 0 && options.RenderVisibility()) {
    if (options.UseDisplay())
      style += std::string(" display: ") + (Visible() ? "" : "none") + "; ";
    else
      style += std::string(" visibility: ") + (Visible() ? "inherit" : "hidden") + "; ";
  }
  if ((bits & kLeft) != 0 && options.RenderPosition())
    style += " left: " + std::to_string(HTMLLeft()) + "px; ";
  if ((bits & kTop) != 0 && options.RenderPosition())
    style += "top: " + std::to_string(HTMLTop()) + "px; ";
  if ((bits & kHeight) != 0 && options.RenderSize())
    style += " height: " + std::to_string(HTMLHeight()) + "px; ";
  if ((bits & kWidth) != 0 && options.RenderSize())
    style += " width: " + std::to_string(HTMLWidth()) + "px; ";
  if ((bits & kZIndex) != 0 && options.RenderZIndex() && ZIndex() != -100)
    style += " z-index: " + std::to_string(ZIndex() + 100) + "; ";
  if ((bits & kFont) != 0 && options.RenderFont()) style += WebFont().FontToStringStyle();
  detail::addStyleProperty(control, style);
}

}  // namespace orv
