#include "framework/render/TIWLayoutMgrForm.h"

#include <optional>
#include <string_view>

#include "framework/render/IIWHTML40Component.h"
#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWContainerContext.h"
#include "framework/render/TIWPageContext40.h"

namespace orv {

namespace {

bool isHtml5(const std::string& docType) {
  return docType.empty() || equalsIgnoringCase(docType, "<!DOCTYPE HTML>");
}

// An extra attribute line made safe for the tag: a line whose name part could not be an
// attribute name (blanks, quotes, "<", ">", "/") is left out, because it would break the
// tag open; a double quote in the value is written as "&quot;" so that the value cannot
// end early. Other lines are written as given.
std::optional<std::string> safeAttributeLine(std::string_view line) {
  const std::string_view t = trimmed(line);
  if (t.empty()) return std::nullopt;
  const std::size_t eq = t.find('=');
  const std::string_view name = eq == std::string_view::npos ? t : t.substr(0, eq);
  if (name.empty()) return std::nullopt;
  for (char c : name) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\'' || c == '<' || c == '>' ||
        c == '/')
      return std::nullopt;
  }
  if (eq == std::string_view::npos) return std::string(name);
  std::string safe(name);
  safe += '=';
  for (char c : t.substr(eq + 1)) {
    if (c == '"')
      safe += "&quot;";
    else
      safe += c;
  }
  return safe;
}

bool takesInputOrSubmits(const TIWCompContext& context) {
  const IIWHTML40Component* component = context.Component();
  return component != nullptr && (component->SupportsInput() || component->SupportsSubmit());
}

}  // namespace

TIWLayoutMgrForm::TIWLayoutMgrForm() {
  AllowFrames = true;
  LayoutType = TIWLayoutType::ltGrid;
}

void TIWLayoutMgrForm::ProcessControls(TIWContainerContext& containerContext,
                                       TIWPageContext40& pageContext) {
  for (const auto& context : containerContext)
    ProcessControl(containerContext, pageContext, *context);
  pageContext.AddToInitProc("Body_OnResize();");
  pageContext.AddToInitProc("window.onresize = Body_OnResize;");
  pageContext.AddToInitProc("document.body.onblur = Body_OnBlur;");
}

void TIWLayoutMgrForm::ProcessControl(TIWContainerContext& containerContext,
                                      TIWPageContext40& pageContext, TIWCompContext& context) {
  IIWHTML40Component* component = context.Component();
  if (component == nullptr) return;
  const std::string htmlName = component->get_HTMLName();

  if (TIWMarkupLanguageTag* tag = context.MarkupLanguageTag()) {
    if (!tag->Params().contains("class"))
      tag->AddStringParam("CLASS", component->RenderCSSClass(context));
    const std::string classList = tag->Params().value("class");
    const std::string defaultClass = htmlName + "CSS";
    const std::string style = component->RenderStyle(context);
    if ((" " + classList + " ").find(" " + defaultClass + " ") != std::string::npos) {
      pageContext.AddClassStyle("." + defaultClass, style);
    } else {
      const std::string own = tag->Params().value("style");
      tag->AddStringParam("STYLE", style + own);
    }
    if (!tag->Params().contains("id")) tag->AddStringParam("ID", htmlName);
    if (component->SupportsInput() && component->get_HasName() && !tag->Params().contains("name"))
      tag->AddStringParam("NAME", htmlName);
  }

  if (component->SupportsInput()) {
    if ((component->get_Visible() || containerContext.RenderInvisibleControls) &&
        !component->get_IsUploadControl()) {
      for (const std::string& name : component->GetInputControlNames())
        pageContext.AddFormHiddenInput(name);
    }
  } else if (component->get_NeedsFormTag()) {
    pageContext.AddFormHiddenInput(htmlName);
  }

  pageContext.AppendContext(context);
  if (TIWMarkupLanguageTag* tag = context.MarkupLanguageTag()) component->DoHTMLTag(*tag);
}

std::unique_ptr<TIWHTMLTag> TIWLayoutMgrForm::CreateDefaultFormTag(bool hasFormTag) {
  if (!hasFormTag) return std::make_unique<TIWHTMLTag>("DIV");
  auto form = std::make_unique<TIWHTMLTag>("form");
  form->AddStringParam("onSubmit", "return FormDefaultSubmit();");
  return form;
}

void TIWLayoutMgrForm::MakeHTMLTag(TIWCompContext& context, std::string& out) {
  TIWMarkupLanguageTag* tag = context.MarkupLanguageTag();
  if (tag == nullptr) return;
  if (IIWHTML40Component* component = context.Component()) {
    const int tabIndex = component->get_RenderTabIndex();
    if (tabIndex > 0) tag->AddIntegerParam("TabIndex", tabIndex);
    for (const std::string& line : component->get_ExtraTagParams()) {
      if (auto safe = safeAttributeLine(line)) tag->Add(*safe);
    }
  }
  out += "\r\n";
  tag->Render(out);
  out += context.PostRender;
}

std::string TIWLayoutMgrForm::BodyContent(TIWContainerContext& containerContext,
                                          TIWPageContext40& pageContext) {
  std::string body;
  std::unique_ptr<TIWHTMLTag> wrapper = CreateDefaultFormTag();
  auto flush = [&] {
    if (wrapper->Contents().empty()) return;
    body += "\r\n";
    wrapper->Render(body);
    wrapper = CreateDefaultFormTag();
  };
  for (const auto& context : containerContext) {
    std::string piece;
    MakeHTMLTag(*context, piece);
    if (takesInputOrSubmits(*context)) {
      wrapper->Contents().AddBuffer(std::move(piece));
    } else {
      flush();
      body += piece;
    }
  }
  flush();
  RenderSession* session = pageContext.Session();
  if (session == nullptr || !session->Terminated()) {
    body += "\r\n";
    pageContext.FormTag().Render(body);
  }
  return body;
}

void TIWLayoutMgrForm::Process(std::string& out, TIWContainerContext& containerContext,
                               TIWPageContext40& pageContext) {
  static const RenderSettings kDefaults;
  RenderSession* session = pageContext.Session();
  const RenderSettings& settings = session != nullptr ? session->Settings() : kDefaults;

  // The body first: its size, with the head's texts, tells how much the document needs.
  std::string body = BodyContent(containerContext, pageContext);
  out.reserve(out.size() + body.size() + PreHeadContent.size() + HeadContent.size() +
              pageContext.JavaScript.size() + pageContext.IWCLInitProc.size() +
              pageContext.InitProc.size() + 4096);

  if (!pageContext.DocType.empty()) out += pageContext.DocType + "\r\n";
  out += "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n";
  if (!isHtml5(pageContext.DocType)) {
    out += "<meta http-equiv=\"cache-control\" content=\"no-cache\">\r\n";
    out += "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n";
  }
  out += "<title>" + pageContext.Title + "</title>\r\n";
  if (settings.PageTransitions)
    out += "<meta http-equiv=\"Page-Enter\" content=\"blendTrans(Duration=0.25)\">\r\n";
  out += PreHeadContent;
  out += "\r\n";
  out += ScriptSection(pageContext);
  out += HeadContent;
  out += "\r\n";
  if (!pageContext.StyleTag().Contents().empty()) pageContext.StyleTag().Render(out);
  out += "</head>\r\n";
  pageContext.BodyTag().Contents().AddBuffer(std::move(body));
  pageContext.BodyTag().Render(out);
  out += "</html>\r\n";
}

}  // namespace orv
