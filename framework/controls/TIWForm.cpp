#include "framework/controls/TIWForm.h"

#include <algorithm>
#include <stdexcept>

#include "framework/controls/Messages.h"
#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCallBackResponse.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWContainerContext.h"
#include "framework/render/TIWLayoutMgrForm.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The GENERATOR meta element names the framework and its version.
constexpr std::string_view kGeneratorContent = "ORV web framework 14.0.52";
constexpr std::string_view kDefaultDocType = "<!DOCTYPE HTML>";
constexpr std::string_view kDefaultViewport =
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">";

bool isHtml5(std::string_view docType) {
  return docType.empty() || equalsIgnoringCase(docType, kDefaultDocType);
}

// Lines joined, each followed by CR LF.
std::string linesText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

bool isBlank(std::string_view text) { return trimmed(text).empty(); }

// Sets a value for the duration of a scope and restores the previous one on every way out.
template <class T>
class ValueScope {
 public:
  ValueScope(T& slot, T value) : slot_(slot), saved_(slot) { slot_ = value; }
  ~ValueScope() { slot_ = saved_; }
  ValueScope(const ValueScope&) = delete;
  ValueScope& operator=(const ValueScope&) = delete;

 private:
  T& slot_;
  T saved_;
};

// Runs a function on every way out of a scope.
template <class F>
class OnExit {
 public:
  explicit OnExit(F f) : f_(std::move(f)) {}
  ~OnExit() { f_(); }
  OnExit(const OnExit&) = delete;
  OnExit& operator=(const OnExit&) = delete;

 private:
  F f_;
};

}  // namespace

TIWForm::TIWForm() = default;

TIWForm::~TIWForm() = default;

void TIWForm::setDocType(const std::string& docType) {
  const std::string_view t = trimmed(docType);
  if (!t.empty()) {
    if (!startsWithIgnoringCase(t, "<!DOCTYPE"))
      throw std::invalid_argument(std::string(messages::kDocTypeMustStart));
    if (t.back() != '>') throw std::invalid_argument(std::string(messages::kDocTypeMustEnd));
  }
  docType_ = docType;
}

void TIWForm::setKeepAlive(bool value) {
  if (value == keepAlive_) return;
  keepAlive_ = value;
  renderKeepAlive_ = true;
}

void TIWForm::setActiveControl(TIWCustomControl* control) {
  TIWContainer::setActiveControl(control);
  activeControlChanged_ = true;
}

TIWForm::SessionBinding::SessionBinding(TIWForm& form, RenderSession& session)
    : form_(form), saved_(form.session_) {
  form_.session_ = &session;
}

TIWForm::SessionBinding::~SessionBinding() { form_.session_ = saved_; }

std::optional<std::string> TIWForm::StoreCacheFile(const std::string& contentType,
                                                   const std::vector<std::uint8_t>& bytes) {
  if (session_ == nullptr) return std::nullopt;
  return session_->StoreFormCacheFile(
      contentType, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

int TIWForm::RealTabIndexOf(const TIWCustomControl& control) const {
  auto it = realTabIndex_.find(&control);
  return it == realTabIndex_.end() ? 0 : it->second;
}

void TIWForm::ExecuteForm() {
  ++execCount_;
  ValueScope state(formState_, TIWFormState::fsExecuting);
  DoExecuteForm();
}

void TIWForm::GenerateForm(RenderSession& session, std::string& out) {
  ValueScope state(formState_, TIWFormState::fsRendering);
  SessionBinding binding(*this, session);
  DoGenerateForm(session, out);
}

void TIWForm::DoGenerateForm(RenderSession& session, std::string& out) {
  if (session.IsCallBack())
    partialRender(session);
  else
    fullRender(session, out);
}

void TIWForm::buildRealTabOrder() {
  realTabIndex_.clear();
  int position = 0;
  for (const TIWCustomControl* control : TabList()) {
    if (control->HasTabOrder()) realTabIndex_.emplace(control, ++position);
  }
}

void TIWForm::afterRender() {
  if (OnAfterRender) OnAfterRender(*this);
}

void TIWForm::renderComponents(TIWContainerContext& containerContext) {
  // Each candidate with its tab order, looked up once (a look-up walks the tab list).
  std::vector<std::pair<int, TIWCustomControl*>> candidates;
  for (TIWCustomControl* control : Components()) {
    if (control->Visible() || renderInvisibleControls_)
      candidates.emplace_back(control->TabOrder(), control);
  }
  // Controls without a tab order (-1) first in insertion order, then the others in tab
  // order; equal keys keep the component order.
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [tabOrder, control] : candidates) {
    auto context = std::make_unique<TIWCompContext>(control, &containerContext, pageContext_);
    std::unique_ptr<TIWHTMLTag> tag = control->RenderMarkupLanguageTag(*context);
    if (tag != nullptr && !control->Visible()) {
      const std::string hidden =
          control->StyleRenderOptions().UseDisplay() ? "display: none; " : "visibility: hidden; ";
      tag->AddStringParam("style", hidden + tag->Params().value("style"));
    }
    context->setMarkupLanguageTag(std::move(tag));
    containerContext.AddComponent(std::move(context));
  }
}

std::string TIWForm::extraHeadText(RenderSession& session) const {
  const RenderSettings& settings = session.Settings();
  std::string head =
      "\r\n<meta name=\"GENERATOR\" content=\"" + std::string(kGeneratorContent) + "\">";
  if (session.IsMobile()) {
    head += "\r\n";
    head += settings.ViewportTag.empty() ? std::string(kDefaultViewport) : settings.ViewportTag;
  }
  head += linesText(settings.HTMLHeaders);
  if (!isHtml5(pageContext_.DocType)) {
    head += "<meta http-equiv=\"MSThemeCompatible\" Content=\"";
    head += xpTheme_ ? "yes" : "no";
    head += "\">\r\n";
    if (!settings.EnableImageToolbar)
      head += "\r\n<meta http-equiv=\"imagetoolbar\" content=\"no\">";
    head += "\r\n<meta http-equiv=\"Expires\" content=\"-1\">";
  }
  const std::string& sheet = styleSheet_.empty() ? settings.StyleSheet : styleSheet_;
  if (!sheet.empty())
    head +=
        "\r\n<link rel=\"stylesheet\" type=\"text/css\" href=\"" + TextToHTML(sheet) + "\">\r\n";
  return head;
}

void TIWForm::setUpBody(RenderSession& session) {
  TIWHTMLTag& body = pageContext_.BodyTag();
  if (!leftToRight_) body.AddStringParam("DIR", "RTL");
  body.AddStringParam("BACKGROUND", TextToHTML(background_.Filename));
  if (background_.Fixed) body.AddStringParam("BGPROPERTIES", "fixed");
  body.AddColor("Text", textColor_);
  body.AddColor("Link", linkColor_);
  body.AddColor("VLink", vLinkColor_);
  std::string style = "margin: 0;";
  if (bgColor_ != clNone) style += "background-color: " + ColorToRGBString(bgColor_) + ";";
  body.AddStringParam("style", style);
  body.AddStringParam("OnLoad", "Initialize()");
  body.AddStringParam("OnUnload", "ReleaseIWCL()");

  if (lockUntilLoaded_ || lockOnSubmit_) {
    const std::string image = session.Settings().ShowLoadingAnimation
                                  ? session.InternalUrlBase() + "gfx/loading.gif"
                                  : std::string();
    TIWHTMLTag& script = body.Contents().AddTag("script");
    script.AddStringParam("type", "text/javascript");
    std::string code = "if (typeof createIWLocker === \"function\") {\r\n  createIWLocker(\"" +
                       ScriptStringBody(image) + "\");\r\n";
    if (lockUntilLoaded_) code += "  ActivateLock();\r\n";
    code += "}";
    script.Contents().AddText(std::move(code));
  }
  if (doResizePrediction_ && OnResize) {
    TIWHTMLTag& frame = body.Contents().AddTag("IFRAME");
    frame.AddStringParam("ID", "onresize");
    frame.AddStringParam("style", "position: absolute; left: -1000px; top: -1000px;");
    if (session.IsInternetExplorer()) frame.AddStringParam("src", "javascript:false;");
  }
  body.Contents().AddText("<script type=\"text/javascript\">");
  body.Contents().AddText("var PreScript=false; PostScript=false;");
  body.Contents().AddText("var PreAsyncScript=false; PostAsyncScript=false;");
  body.Contents().AddText("</script>");
}

void TIWForm::addPageScript(RenderSession& session) {
  pageContext_.AddToInitProc("IW.Utils.fixIEMargins();");
  pageContext_.AddToJavaScriptOnce("function Body_OnBlur(){GSubmitting = false;}");
  if (OnDefaultAction) {
    pageContext_.AddToJavaScriptOnce(
        "function FormDefaultSubmit()\r\n"
        "{ \r\n"
        "   var i;\r\n"
        "   for (i = 0; i < event.srcElement.all.length; i++) {\r\n"
        "     if (event.srcElement.all[i].type == \"submit\") {\r\n"
        "       SubmitClickConfirm(event.srcElement.all[i].name, \"default\", true, \"\");\r\n"
        "       return false;\r\n"
        "     }\r\n"
        "   }\r\n"
        "    SubmitClickConfirm(\"\", \"default\", true, \"\");\r\n"
        "    return false;\r\n"
        "}");
  } else {
    pageContext_.AddToJavaScriptOnce("function FormDefaultSubmit()\r\n{return false;}");
  }
  const int timeout = session.Settings().ServerResizeTimeout;
  pageContext_.AddToJavaScriptOnce(
      "var GOnResizetimeout=" + std::to_string(timeout > 0 ? timeout : 1000) + ";");
  pageContext_.AddToJavaScriptOnce("function IWTop(){return window;}");
  if (ActiveControl() != nullptr) {
    pageContext_.AddToInitProcFocusCode("IW.Utils.setActiveControl(\"" +
                                        ActiveControl()->HTMLName() + "\");");
  }
  if (doResizePrediction_ && OnResize) {
    pageContext_.AddToJavaScriptOnce("var GResizeURL=\"" + session.SessionInternalUrlBase() +
                                     "RESIZE?IW_TrackID_=" + std::to_string(session.TrackID()) +
                                     "\";");
  }
  const std::string script = javaScript_.text();
  if (!isBlank(script)) pageContext_.AddToJavaScriptOnce("\r\n" + script);
  if (!isBlank(javaScriptOnce_)) {
    pageContext_.AddToJavaScriptOnce("\r\n" + javaScriptOnce_);
    javaScriptOnce_.clear();
  }
}

void TIWForm::fullRender(RenderSession& session, std::string& out) {
  const RenderSettings& settings = session.Settings();
  TIWPageContext40& pc = pageContext_;
  pc.setSession(&session);
  // However the render ends: the page's start-up script has been sent (or is dropped
  // with the failed render), and nothing of this render stays in the page context.
  OnExit cleanUp([this] {
    initProc_.clear();
    pageContext_.Clear();
    pageContext_.setSession(nullptr);
    realTabIndex_.clear();
    activeControlChanged_ = false;
  });

  // 1. Document type.
  pc.DocType = !docType_.empty()           ? docType_
               : !settings.DocType.empty() ? settings.DocType
                                           : std::string(kDefaultDocType);
  // 2. Real tab order; 3. the page's render hook.
  buildRealTabOrder();
  if (OnRender) OnRender(*this);
  // 4. Title and URL base.
  pc.Title = TextToHTML(title_);
  pc.URLBase = session.AppUrlBase();
  // 5. Start-up script.
  if (lockUntilLoaded_) pc.AddToInitProcPageUnlockCode("ReleaseLock();");
  pc.AddToInitProc(std::string("GActivateLock = ") + (lockOnSubmit_ ? "true" : "false") + ";");
  pc.AddToInitProc("InitRects(" + std::to_string(width_) + ", " + std::to_string(height_) + ");");
  pc.AddToInitProc("InitIWCLObjects();");
  if (keepAlive_) {
    pc.AddToInitProc("IW.Session.initKeepAlive(" +
                     std::to_string(settings.SessionTimeout * 60000 / 4) + ");");
  }
  pc.AddToInitProc("AttachBeforeUnload();");
  // 6. Back button.
  if (settings.BackButtonMode == 0 || (settings.BackButtonMode == 1 && preventBackButton_)) {
    pc.AddPreScriptFile("/js/IWBackIntercept.js");
    pc.AddToJavaScriptOnce(
        std::string(
            "if (typeof IWBackIntercept === \"function\") {\r\n  IWBackIntercept.Init(false,") +
        (settings.BackButtonShowMessage ? "true" : "false") + ", \"" +
        ScriptStringBody(trimmed(settings.BackButtonWarningMessage)) + "\", \"" +
        session.InternalUrlBase() + "\");\r\n}");
  } else if (settings.BackButtonMode == 3) {
    pc.AddToInitProc("history.go(1);");
  }
  // 7. The components.
  if (layout_ == nullptr) layout_ = std::make_unique<TIWLayoutMgrForm>();
  TIWContainerContext containerContext;
  containerContext.Layout = layout_.get();
  containerContext.RenderInvisibleControls = renderInvisibleControls_;
  renderComponents(containerContext);
  layout_->ProcessControls(containerContext, pc);
  // 8. Content files.
  for (const std::vector<std::string>* files :
       {&settings.ContentFiles, static_cast<const std::vector<std::string>*>(&contentFiles_)}) {
    for (const std::string& file : *files) {
      if (endsWithIgnoringCase(file, ".js"))
        pc.AddPreScriptFile(file);
      else
        pc.AddLinkFile(file);
    }
  }
  // 9. The form tag and its hidden fields.
  TIWHTMLTag& form = pc.FormTag();
  form.AddStringParam("method", "POST");
  form.AddStringParam("name", "SubmitForm");
  form.AddStringParam("action", TextToHTML(formAction_));
  if (containerContext.FormEncoding == TIWFormEncoding::feMultiPart)
    form.AddStringParam("enctype", "multipart/form-data");
  for (const std::string& line : hiddenFields_) {
    const std::string name = TextToHTML(StringList::nameOf(line));
    TIWHTMLTag& field = form.Contents().AddHiddenField(
        name, "HIDDEN_" + name, TextToHTMLStringLiteral(StringList::valueOf(line)));
    field.AddStringParam("size", "-1");
  }
  form.Contents().AddHiddenField("IW_FormName", TextToHTML(Name()));
  form.Contents().AddHiddenField("IW_FormClass", ClassName());
  if (!formId_.empty())
    form.Contents().AddHiddenField("IW_FormID_", TextToHTMLStringLiteral(formId_));
  // 10. Extra head text; 11. the body; 12. more page script.
  const std::string extraHead = extraHeadText(session);
  setUpBody(session);
  addPageScript(session);
  // 13. Head texts of the layout.
  layout_->PreHeadContent =
      extraHead + "\r\n" + linesText(preHeader_) + "\r\n" + linesText(pc.PreHeader);
  std::string scripts;
  for (const std::string& file : pc.ScriptFiles) scripts += pc.ScriptFile(file);
  layout_->HeadContent =
      scripts + "\r\n" + linesText(extraHeader_) + "\r\n" + linesText(pc.ExtraHeader) + "\r\n";
  // 14. The page's own start-up script; 15. Validate(); 16. the document.
  pc.AddToInitProc(initProc_);
  pc.FinalizeContext();
  layout_->Process(out, containerContext, pc);
  // 17. After the render.
  afterRender();
}

void TIWForm::partialRender(RenderSession& session) {
  TIWPageContext40& pc = pageContext_;
  pc.setSession(&session);
  OnExit cleanUp([this] {
    initProc_.clear();
    pageContext_.Clear();
    pageContext_.setSession(nullptr);
    realTabIndex_.clear();
    activeControlChanged_ = false;
  });
  buildRealTabOrder();
  TIWCallBackResponse& response = session.CallBackResponse();

  // 1. The controls to refresh, in component order.
  TIWContainerContext containerContext;
  if (layout_ == nullptr) layout_ = std::make_unique<TIWLayoutMgrForm>();
  containerContext.Layout = layout_.get();
  std::vector<std::unique_ptr<TIWXMLTag>> elements;
  for (TIWCustomControl* control : Components()) {
    if (!control->DoRefreshControl() && !control->RequiresRefresh()) continue;
    TIWCompContext context(control, &containerContext, pc);
    if (auto element = control->RenderAsyncComponent(context))
      elements.push_back(std::move(element));
  }
  // 2. The page's own element with its hidden fields.
  auto page = std::make_unique<TIWXMLTag>("control");
  page->AddStringParam("id", TextToHTML(Name()));
  page->AddStringParam("type", "IWFORM");
  for (const std::string& line : hiddenFields_) {
    TIWXMLTag& field = page->Contents().AddTag("hiddenfield");
    field.AddStringParam("id", TextToHTML(StringList::nameOf(line)));
    field.SetCDATA(true);
    field.Contents().AddText(StringList::valueOf(line));
  }
  response.AddTagToUpdate(std::move(page));
  // 3. Focus.
  if (activeControlChanged_ && ActiveControl() != nullptr) {
    const std::string n = ActiveControl()->HTMLName();
    response.setFocusedControlHTMLName(n);
    response.AddJavaScriptToExecute("var xEvent = " + n + "IWCL.onBlur; " + n +
                                    "IWCL.onBlur = null; " + n + "IWCL.focus(); " + n +
                                    "IWCL.onBlur = xEvent; ");
  }
  // 4. The controls' elements in one piece.
  std::string buffer;
  for (const auto& element : elements) {
    buffer += "\r\n";
    element->Render(buffer);
  }
  if (!buffer.empty()) response.AddTagToUpdate(std::move(buffer));
  // 5. Scripts.
  response.AddJavaScriptToExecuteAsCDATA(pc.IWCLInitProc);
  if (renderKeepAlive_) {
    const int interval = keepAlive_ ? session.Settings().SessionTimeout * 60000 / 4 : 0;
    response.AddJavaScriptToExecuteAsCDATA("IW.Session.initKeepAlive(" + std::to_string(interval) +
                                           ");");
    renderKeepAlive_ = false;
  }
  response.AddJavaScriptToExecuteAsCDATA(initProc_);
  response.SetSubmitURL(session.FormAction());
  // 6. After the render.
  afterRender();
}

}  // namespace orv
