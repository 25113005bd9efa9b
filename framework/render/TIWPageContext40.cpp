#include "framework/render/TIWPageContext40.h"

#include <algorithm>

#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCompContext.h"

namespace orv {

namespace {

void appendLine(std::string& text, std::string_view code) {
  if (code.empty()) return;
  text.append(code);
  text += "\r\n";
}

bool endsWithCRLF(std::string_view code) {
  return code.size() >= 2 && code.substr(code.size() - 2) == "\r\n";
}

std::string_view withoutFinalLineEnd(std::string_view code) {
  return endsWithCRLF(code) ? code.substr(0, code.size() - 2) : code;
}

void addOnce(std::vector<std::string>& list, std::string_view name) {
  if (std::find(list.begin(), list.end(), name) == list.end()) list.emplace_back(name);
}

}  // namespace

bool detail::CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return lowerCaseAscii(a) < lowerCaseAscii(b);
}

TIWPageContext40::TIWPageContext40(RenderSession* session)
    : session_(session),
      formTag_(std::make_unique<TIWHTMLTag>("FORM")),
      bodyTag_(std::make_unique<TIWHTMLTag>("BODY")) {
  resetStyleTag();
}

bool TIWPageContext40::IsInternetExplorer() const {
  return session_ != nullptr && session_->IsInternetExplorer();
}

bool TIWPageContext40::IsCallBack() const { return session_ != nullptr && session_->IsCallBack(); }

void TIWPageContext40::resetStyleTag() {
  styleTag_ = std::make_unique<TIWHTMLTag>("style");
  styleTag_->AddStringParam("type", "text/css");
  styleTag_->Contents().AddText("\r\n");
}

void TIWPageContext40::AddToInitProc(std::string_view code) { appendLine(InitProc, code); }
void TIWPageContext40::AddToInitProcFocusCode(std::string_view code) {
  appendLine(InitProcFocusCode, code);
}
void TIWPageContext40::AddToInitProcNewWindowCode(std::string_view code) {
  appendLine(InitProcNewWindowCode, code);
}
void TIWPageContext40::AddToInitProcPageUnlockCode(std::string_view code) {
  appendLine(InitProcPageUnlockCode, code);
}
void TIWPageContext40::AddToInitProcDoLastCode(std::string_view code) {
  appendLine(InitProcDoLastCode, code);
}
void TIWPageContext40::AddToIWCLInitProc(std::string_view code) { appendLine(IWCLInitProc, code); }
void TIWPageContext40::AddToUpdateInitProc(std::string_view code) {
  appendLine(UpdateInitProc, code);
}
void TIWPageContext40::AddToUpdateInitProcFocusCode(std::string_view code) {
  appendLine(UpdateInitProcFocusCode, code);
}
void TIWPageContext40::AddToUpdateInitProcNewWindowCode(std::string_view code) {
  appendLine(UpdateInitProcNewWindowCode, code);
}
void TIWPageContext40::AddToUpdateInitProcPageUnlockCode(std::string_view code) {
  appendLine(UpdateInitProcPageUnlockCode, code);
}
void TIWPageContext40::AddToUpdateControlsProc(std::string_view code) {
  appendLine(UpdateControlsProc, code);
}

void TIWPageContext40::AddToOnReady(std::string_view code) { OnReadyProc.append(code); }

void TIWPageContext40::AddToJavaScriptOnce(std::string_view code) {
  JavaScript.append(code);
  if (!(code.size() > 2 && endsWithCRLF(code))) JavaScript += "\r\n";
}

void TIWPageContext40::AddStyle(std::string_view text) {
  if (!text.empty()) styleTag_->Contents().AddText(std::string(text));
}

void TIWPageContext40::AddClassStyle(std::string_view className, std::string_view style) {
  std::string rule(className);
  rule += " {";
  rule.append(style);
  rule += "}\r\n";
  styleTag_->Contents().AddText(std::move(rule));
}

void TIWPageContext40::AddValidation(std::string_view condition, std::string_view message) {
  Validation.emplace_back(condition);
  ValidationMsg.emplace_back(message);
}

void TIWPageContext40::AddScriptFile(std::string_view name) { addOnce(ScriptFiles, name); }
void TIWPageContext40::AddPreScriptFile(std::string_view name) { addOnce(PreScriptFiles, name); }
void TIWPageContext40::AddLinkFile(std::string_view name) { addOnce(LinkFiles, name); }

bool TIWPageContext40::AddFormHiddenInput(const std::string& name) {
  if (!FormHiddenInput.insert(name).second) return false;
  formTag_->Contents().AddHiddenField(TextToHTML(name), "");
  return true;
}

void TIWPageContext40::AppendContext(const TIWCompContext& context) {
  // The component's texts already end each piece with CR LF; the page adders add one
  // more, so the last is dropped here and the page text reads as if the pieces had
  // been added to it directly.
  AddToInitProc(withoutFinalLineEnd(context.InitProc));
  if (!context.JavaScript.empty()) AddToJavaScriptOnce(context.JavaScript);
  AddToIWCLInitProc(withoutFinalLineEnd(context.IWCLInitProc));
  AddToUpdateInitProc(context.UpdateInitProc);
  AddToInitProcDoLastCode(withoutFinalLineEnd(context.InitProcDoLastCode));
}

void TIWPageContext40::FinalizeContext() {
  std::string function = "function Validate() {\r\n";
  for (std::size_t i = 0; i < Validation.size(); ++i) {
    const std::string& message = i < ValidationMsg.size() ? ValidationMsg[i] : std::string();
    function += "  if(" + Validation[i] + ") {\r\n";
    function += "    ReleaseLock();\r\n";
    function += "    window.alert(\"" + ScriptStringBody(message) + "\");\r\n";
    function += "    return false;\r\n";
    function += "  }\r\n";
  }
  function += "  return true;\r\n}\r\n";
  AddToJavaScriptOnce(function);
}

void TIWPageContext40::Clear() {
  URLBase.clear();
  Title.clear();
  DocType.clear();
  ExtraHeader.clear();
  PreHeader.clear();
  OnReadyProc.clear();
  InitProc.clear();
  InitProcFocusCode.clear();
  InitProcNewWindowCode.clear();
  InitProcPageUnlockCode.clear();
  InitProcDoLastCode.clear();
  UpdateInitProc.clear();
  UpdateInitProcNewWindowCode.clear();
  UpdateInitProcFocusCode.clear();
  UpdateInitProcPageUnlockCode.clear();
  IWCLInitProc.clear();
  JavaScript.clear();
  UpdateControlsProc.clear();
  ScriptFiles.clear();
  LinkFiles.clear();
  PreScriptFiles.clear();
  Validation.clear();
  ValidationMsg.clear();
  ServerResize = false;
  FormHiddenInput.clear();
  resetStyleTag();
  bodyTag_->Params().clear();
  bodyTag_->Contents().Clear();
  formTag_->Contents().Clear();
}

std::string TIWPageContext40::ScriptFile(std::string_view name) const {
  std::string url;
  if (session_ != nullptr) {
    url = startsWithIgnoringCase(name, "/js/") ? session_->GetInternalFileURL(name)
                                               : session_->GetExternalFileURL(name);
  } else {
    url = std::string(name);
  }
  return "<script type=\"text/javascript\" src=\"" + url + "\"></script>\r\n";
}

std::string TIWPageContext40::LinkFile(std::string_view name) const {
  const std::string url =
      session_ != nullptr ? session_->GetExternalFileURL(name) : std::string(name);
  return "<link href=\"" + url + "\" rel=\"stylesheet\" type=\"text/css\"/>\r\n";
}

std::string TIWPageContext40::LinkInternalFile(std::string_view name) const {
  const std::string url =
      session_ != nullptr ? session_->GetInternalFileURL(name) : std::string(name);
  return "<link href=\"" + url + "\" rel=\"stylesheet\" type=\"text/css\"/>\r\n";
}

std::string ScriptStringBody(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\'':
        out += "\\'";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '<':
        out += "\\x3C";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace orv
