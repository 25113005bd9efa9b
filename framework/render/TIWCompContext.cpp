#include "framework/render/TIWCompContext.h"

#include "framework/render/TIWContainerContext.h"
#include "framework/render/TIWLayoutMgrForm.h"
#include "framework/render/TIWPageContext40.h"

namespace orv {

namespace {

void appendLine(std::string& text, std::string_view code) {
  if (code.empty()) return;
  text.append(code);
  text += "\r\n";
}

}  // namespace

TIWCompContext::TIWCompContext(IIWHTML40Component* component, TIWContainerContext* containerContext,
                               TIWPageContext40& pageContext)
    : component_(component), containerContext_(containerContext), pageContext_(pageContext) {}

RenderSession* TIWCompContext::WebApplication() const { return pageContext_.Session(); }

bool TIWCompContext::IsCallBack() const { return pageContext_.IsCallBack(); }

void TIWCompContext::AddToInitProc(std::string_view code) { appendLine(InitProc, code); }
void TIWCompContext::AddToInitProcDoLastCode(std::string_view code) {
  appendLine(InitProcDoLastCode, code);
}
void TIWCompContext::AddToIWCLInitProc(std::string_view code) { appendLine(IWCLInitProc, code); }
void TIWCompContext::AddToUpdateInitProc(std::string_view code) { UpdateInitProc.append(code); }

void TIWCompContext::AddToJavaScriptOnce(std::string_view code) {
  JavaScript.append(code);
  if (!(code.size() >= 2 && code.substr(code.size() - 2) == "\r\n")) JavaScript += "\r\n";
}

void TIWCompContext::AddStyle(std::string_view text) { pageContext_.AddStyle(text); }
void TIWCompContext::AddClassStyle(std::string_view className, std::string_view style) {
  pageContext_.AddClassStyle(className, style);
}
void TIWCompContext::AddValidation(std::string_view condition, std::string_view message) {
  pageContext_.AddValidation(condition, message);
}
void TIWCompContext::AddScriptFile(std::string_view name) { pageContext_.AddScriptFile(name); }

void TIWCompContext::CacheImage(std::string_view name, std::string_view url) {
  std::string script = "GImageCache_";
  script.append(name);
  script += "=new Image();\r\nGImageCache_";
  script.append(name);
  script += ".src=\"";
  script.append(url);
  script += "\";";
  AddToJavaScriptOnce(script);
}

void TIWCompContext::InitIWCLProperty(std::string_view htmlName, std::string_view property,
                                      std::string_view value) {
  if (containerContext_ == nullptr ||
      dynamic_cast<TIWLayoutMgrForm*>(containerContext_->Layout) == nullptr)
    return;
  std::string code = "  if (";
  code.append(htmlName);
  code += "IWCL) {\r\n    ";
  code.append(htmlName);
  code += "IWCL.";
  code.append(property);
  code += " = ";
  code.append(value);
  code += ";\r\n  }";
  pageContext_.AddToIWCLInitProc(code);
}

}  // namespace orv
