#include "framework/server/TIWExceptionRenderer.h"

#include <cxxabi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <typeinfo>

#include "framework/render/TIWColor.h"
#include "framework/server/Messages.h"
#include "framework/server/ServerErrors.h"
#include "framework/server/ServerText.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWServerInternalFiles.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TURL.h"
#include "transport/HttpDate.h"
#include "transport/THttpRequest.h"

namespace orv {
namespace {

std::string className(const std::exception& e) {
  const char* mangled = typeid(e).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  return status == 0 && demangled ? demangled.get() : mangled;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string timeoutText(int minutes) {
  std::string text(msg::kSessionTimeoutFmt);
  text = detail::replaceAll(text, "%d", std::to_string(minutes));
  return detail::replaceAll(text, "%s", minutes == 1 ? "" : "s");
}

std::string colour(std::uint32_t rrggbb) { return ColorToRGBString(detail::rgbToColor(rrggbb)); }

}  // namespace

std::string TIWExceptionRenderer::KindOf(const std::exception& error) {
  if (dynamic_cast<const ESecurityError*>(&error)) return "SECURITYCHECK";
  if (dynamic_cast<const EExpiredSession*>(&error)) return "SESSIONTIMEOUT";
  if (dynamic_cast<const EInvalidAppID*>(&error)) return "SESSIONINVALID";
  return "ERROR";
}

std::string TIWExceptionRenderer::DetailReport(const std::exception& error,
                                               const THttpRequest& request,
                                               const TIWApplication* session) {
  const std::string rule(120, '-');
  const std::string crlf = "\r\n";
  std::string r;
  r += rule + crlf;
  r += "Exception class: " + className(error) + crlf;
  r += "Exception message: " + std::string(error.what()) + crlf;
  r += "Exception time: " + httpDate(nowLocalDateTime()) + crlf;
  // Application and session details only for a browser on the server machine itself.
  if (request.mHost == "localhost" || request.mHost == "127.0.0.1") {
    r += rule + crlf;
    if (const TIWServerControllerBase* c = IWServerController()) {
      r += "Application name: " + c->AppName() + crlf;
      r += "Application version: " + c->Version() + crlf;
      r += "Application started: " + httpDate(c->StartDateTime()) + crlf;
      r += "Active sessions: " + std::to_string(TIWSessions::Instance().GetCount()) + crlf;
    }
    if (session != nullptr) {
      r += "Session ID: " + session->AppID() + crlf;
      r += "Session IP: " + session->IP() + crlf;
      r += "Session created: " + httpDate(session->CreationTime()) + crlf;
      r += "Session last access: " + httpDate(session->GetLastAccess()) + crlf;
      r += "Session timeout: " + std::to_string(session->GetSessionTimeOut()) + " minutes" + crlf;
    }
  }
  r += rule + crlf;
  r += "Request method: " + std::string(httpMethodText(request.mHttpMethod)) + crlf;
  r += "Request path: " + request.mPathInfo + crlf;
  r += "User agent: " + request.mUserAgent + crlf;
  r += "Client IP: " + request.mRemoteAddr + crlf;
  r += rule + crlf;
  r += "Stack trace: not recorded" + crlf;
  return r;
}

std::string TIWExceptionRenderer::RenderHTML(const std::exception& error,
                                             const THttpRequest* request,
                                             const TIWApplication* session) {
  const TIWServerControllerBase* c = IWServerController();
  if (c == nullptr || request == nullptr) return error.what();
  try {
    const std::string kind = KindOf(error);
    std::string specific;
    std::string content = error.what();
    bool details = false;
    std::string appID;
    std::string runParams;
    if (kind == "SECURITYCHECK") {
      specific = msg::kSecurityCheckFailed;
      details = c->SecurityOptions().ShowSecurityErrorDetails();
      if (!details) content = msg::kErrorDetailsDisabled;
    } else if (const auto* expired = dynamic_cast<const EExpiredSession*>(&error)) {
      specific = timeoutText(expired->timeoutMinutes());
      appID = expired->appID();
      runParams = expired->runParams();
    } else if (const auto* invalid = dynamic_cast<const EInvalidAppID*>(&error)) {
      specific = msg::kSessionIdInvalid;
      appID = invalid->appID();
    } else {
      specific = msg::kRestartPossible;
      details = true;
    }
    if (runParams.empty() && session != nullptr) runParams = detail::formatStartParams(session->RunParams());
    if (!runParams.empty()) runParams = "/" + runParams;

    std::string page;
    const std::string templateFile = c->TemplateDir() + "IW" + kind + ".html";
    std::error_code ec;
    if (!c->TemplateDir().empty() && std::filesystem::is_regular_file(templateFile, ec))
      page = readFile(templateFile);
    else
      page = TIWServerInternalFiles::Instance().ResourceAsString("IW_GFX_" + kind);

    std::string address = c->URLBase();
    if (!address.empty() && address.back() == '/') address.pop_back();
    address += request->mScriptName;
    if (address.empty() || address.back() != '/') address += '/';

    const std::pair<std::string_view, std::string> fields[] = {
        {"{%APPID%}", detail::htmlEscape(appID)},
        {"{%RUNPARAMS%}", detail::htmlEscape(runParams)},
        {"{%CONTENT%}", detail::htmlEscape(content)},
        {"{%APPADDRESS%}", detail::htmlEscape(address)},
        {"{%APPNAME%}", detail::htmlEscape(c->AppName())},
        {"{%EXCEPTIONSPECIFIC%}", detail::htmlEscape(specific)},
        {"{%FROMCOLOR%}", colour(0x224B09)},
        {"{%TOCOLOR%}", colour(0xA9DB80)},
        {"{%HEADERTEXTCOLOR%}", colour(0xFFFFFF)},
        {"{%BODYBACKCOLOR%}", colour(0xF9F9F9)},
        {"{%BODYTEXTCOLOR%}", colour(0x000000)},
        {"{%ERRORDETAILS_TITLE%}", details ? std::string(msg::kErrorDetailsTitle) : std::string()},
        {"{%ERRORDETAILS_CONTENT%}",
         details ? detail::htmlEscape(DetailReport(error, *request, session)) : std::string()},
    };
    for (const auto& [name, value] : fields) page = detail::replaceAll(page, name, value);
    page = detail::replaceAll(page, "\r", "");
    page = detail::replaceAll(page, "\n", "");
    return page;
  } catch (const std::exception&) {
    return error.what();
  }
}

}  // namespace orv
