#include "framework/server/TIWServerSession.h"

#include <charconv>
#include <filesystem>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/CurrentSession.h"
#include "framework/server/IWInit.h"
#include "framework/server/Messages.h"
#include "framework/server/ServerErrors.h"
#include "framework/server/ServerText.h"
#include "framework/server/SessionForm.h"
#include "framework/server/TBrowser.h"
#include "framework/server/THandlers.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWMimeTypes.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TURL.h"
#include "transport/HttpDate.h"

namespace orv {
namespace {

constexpr std::string_view kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";

std::string jsonEscape(std::string_view text) {
  std::string r;
  for (unsigned char c : text) {
    switch (c) {
      case '"': r += "\\\""; break;
      case '\\': r += "\\\\"; break;
      case '\b': r += "\\b"; break;
      case '\f': r += "\\f"; break;
      case '\n': r += "\\n"; break;
      case '\r': r += "\\r"; break;
      case '\t': r += "\\t"; break;
      default:
        if (c < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          r += "\\u00";
          r += kHex[c >> 4];
          r += kHex[c & 15];
        } else {
          r += static_cast<char>(c);
        }
    }
  }
  return r;
}

int toInt(const std::string& text, int fallback) {
  int v = 0;
  const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && p == text.data() + text.size() ? v : fallback;
}

// Script that measures the browser window: inner size, else the document element's
// client size, else the body's.
constexpr std::string_view kMeasureScript =
    "function IWWindowWidth(){return window.innerWidth||(document.documentElement&&"
    "document.documentElement.clientWidth)||(document.body&&document.body.clientWidth)||0;}\r\n"
    "function IWWindowHeight(){return window.innerHeight||(document.documentElement&&"
    "document.documentElement.clientHeight)||(document.body&&document.body.clientHeight)||0;}"
    "\r\n";

bool useCookies() {
  const TIWServerControllerBase* c = IWServerController();
  return c == nullptr || c->CookieOptions().UseCookies();
}

}  // namespace

TIWServerSession::TIWServerSession(THttpRequest request, std::span<std::uint8_t> block)
    : TIWServer(std::move(request), block) {}

TIWServerSession::~TIWServerSession() {
  // Every path releases the lock in releaseSession; this only guards against a path
  // that did not reach it, so a session is never left locked for ever.
  if (mSession && mLocked) mSession->Unlock();
  if (currentSession() == mSession.get()) setCurrentSession(nullptr);
}

std::string TIWServerSession::paramValue(std::string_view name) const {
  for (const std::string& p : mParams) {
    const auto eq = p.find('=');
    if (detail::equalsNoCase(std::string_view(p).substr(0, eq), name))
      return eq == std::string::npos ? std::string() : p.substr(eq + 1);
  }
  return {};
}

std::string TIWServerSession::GetStartParams(bool force) {
  const TIWServerControllerBase* c = IWServerController();
  if (!force && (c == nullptr || !c->ShowStartParams())) return {};
  if (mSession) return detail::formatStartParams(mSession->RunParams());
  return detail::formatStartParams(mParams);
}

void TIWServerSession::HandleException(const std::exception& error) {
  TIWServer::HandleException(error);
  const bool lostSession = dynamic_cast<const EInvalidAppID*>(&error) != nullptr ||
                           dynamic_cast<const EExpiredSession*>(&error) != nullptr;
  if (lostSession && useCookies()) {
    HttpCookie gone;
    gone.name = mCookieName;
    gone.path = mCookiePath;
    gone.expires = -1;
    mReply.addCookie(std::move(gone));
  }
}

void TIWServerSession::sendXml(const std::string& xml) {
  mReply.mContentType = "text/xml; charset=UTF-8";
  mReply.SendRenderStream(std::string(kXmlHead) + xml);
}

void TIWServerSession::GetSessionID(const std::string& path) {
  mTrackID = -1;
  mSessionID.clear();
  mSessionIdFromParamOrPath = false;
  const TIWServerControllerBase* c = IWServerController();
  std::string value;
  if (path == "/$/call") {
    value = mRequest.mQuery;
  } else {
    if (useCookies()) value = mRequest.GetCookieValue(mCookieName);
    if (value.empty()) {
      value = paramValue("IW_SessionID_");
      mSessionIdFromParamOrPath = !value.empty();
    }
    if (value.empty() && c != nullptr && c->AllowMultipleSessionsPerUser()) {
      const auto marker = path.find("/$");
      if (marker != std::string::npos && marker > 0) {
        const std::string front = path.substr(0, marker);
        value = front.substr(front.find_last_of('/') + 1);
        mSessionIdFromParamOrPath = !value.empty();
      }
    }
    if (mSessionIdFromParamOrPath) {
      if (const auto t = detail::fromBase36(paramValue("IW_TrackID_")))
        mTrackID = static_cast<std::int64_t>(*t);
    }
  }
  const auto sep = value.find('_');
  mSessionID = value.substr(0, sep);
  if (sep != std::string::npos) {
    if (const auto t = detail::fromBase36(value.substr(sep + 1)))
      mTrackID = static_cast<std::int64_t>(*t);
  }
}

void TIWServerSession::ExecuteSession(const std::string& path) {
  mAuthenticated = false;
  mRequestAuth = true;
  mContentHandler.reset();
  mRestart = false;

  GetSessionID(path);
  if (mSessionID.empty()) {
    if (detail::endsWithNoCase(path, "/$/callback"))
      throw EIWServerError(msg::kSessionTerminated);
    if (detail::endsWithNoCase(path, "/$/StartCheck") && useCookies())
      throw EIWServerError(msg::kCookiesDisabled);
  }

  if (detail::equalsNoCase(path, "/$/Start") || detail::equalsNoCase(path, "/$/Start/")) {
    if (!mSessionID.empty()) {
      if (useCookies()) {
        HttpCookie gone;
        gone.name = mCookieName;
        gone.path = mCookiePath;
        gone.expires = -1;
        mReply.addCookie(std::move(gone));
      }
      TIWSessions::Instance().Terminate(mSessionID);
    }
    SendSessionStart(mBaseURL + GetStartParams(false));
    return;
  }

  const TIWServerControllerBase* c = IWServerController();
  mUrlPath = path;
  if (c != nullptr && !c->URLBase().empty() && detail::startsWithNoCase(mUrlPath, c->URLBase()))
    mUrlPath.erase(0, c->URLBase().size() - 1);
  if (!mSessionID.empty()) {
    const auto at = mUrlPath.find(mSessionID);
    if (at != std::string::npos) mUrlPath.erase(0, at + mSessionID.size());
    if (mUrlPath.empty()) mUrlPath = "/";
    if (c != nullptr && c->AllowMultipleSessionsPerUser()) {
      mBaseURL += mSessionID + "/";
      mCookiePath += mSessionID + "/";
    }
  }

  if (detail::endsWithNoCase(mUrlPath, "/$/QueryStatus")) {
    const int status = mSessionID.empty() ? -1 : TIWSessions::Instance().QueryStatus(mSessionID);
    sendXml("<status>" + std::to_string(status) + "</status>");
    return;
  }
  if (detail::endsWithNoCase(mUrlPath, "/$/KeepAlive")) {
    if (!mSessionID.empty()) TIWSessions::Instance().MarkAccess(mSessionID);
    sendXml("<response>OK</response>");
    return;
  }

  mContentHandler = THandlers::Instance().FindMatch(mUrlPath);
  if (mSessionID.empty() && !mContentHandler && TIWMimeTypes::Instance().IsStaticFile(mUrlPath)) {
    SendNotFound();
    return;
  }

  bool isNew = false;
  GetSession(isNew);
  try {
    runSessionRequest(isNew);
  } catch (...) {
    releaseSession();
    throw;
  }
  releaseSession();
}

void TIWServerSession::GetSession(bool& isNew) {
  isNew = false;
  TIWServerControllerBase* c = IWServerController();
  TIWSessions& registry = TIWSessions::Instance();
  std::vector<std::string> inheritedParams;
  if (!mSessionID.empty()) {
    bool expired = false;
    TIWSessions::ExpiredInfo info;
    mSession = registry.LookupAndLock(mSessionID, expired, 0, &info);
    if (mSession) {
      mLocked = true;
      setCurrentSession(mSession.get());
      std::string_view failure;
      if (c != nullptr && c->SecurityOptions().CheckSameIP() && mClientIP != mSession->IP())
        failure = msg::kDifferentIP;
      else if (c != nullptr && c->SecurityOptions().CheckSameUA() &&
               mRequest.mUserAgent != mSession->Browser().UserAgent())
        failure = msg::kDifferentUA;
      if (!failure.empty()) {
        // The session is ended: whoever sent this request holds its cookie.
        registry.RemoveHeld(mSession);
        setCurrentSession(nullptr);
        mSession->Unlock();
        mLocked = false;
        mSession.reset();
        throw ESecurityError(failure);
      }
      if (mSession->GetSessionTimeOut() == 1 && c != nullptr)
        mSession->SetSessionTimeOut(c->SessionTimeout());
      mTrackID = mSession->TrackID();
      mSession->Initialize(mRequest, mReply);
      return;
    }
    const bool mayStart = (mContentHandler && mContentHandler->mCanStartSession) ||
                          (c != nullptr && c->RestartExpiredSession());
    if (!mayStart) {
      if (expired)
        throw EExpiredSession(msg::kSessionExpired, mSessionID, info.timeoutMinutes,
                              detail::formatStartParams(info.runParams));
      throw EInvalidAppID(msg::kSessionIdInvalid, mSessionID);
    }
    if (c != nullptr && c->RestartExpiredSession()) {
      mRestart = true;
      if (expired) inheritedParams = registry.GetExpiredRunParams(mSessionID, true);
    }
  }
  createSession();
  isNew = true;
  if (mRestart) {
    if (!inheritedParams.empty()) mSession->SetRunParams(std::move(inheritedParams));
    if (c != nullptr) {
      try {
        c->DoSessionRestarted(*mSession);
      } catch (...) {
        mSession->Unlock();
        mLocked = false;
        throw;
      }
    }
  }
}

void TIWServerSession::createSession() {
  TIWServerControllerBase* c = IWServerController();
  mSession = TIWApplication::Create(TIWSessions::Instance(),
                                    TBrowser::CreateBrowser(mRequest.mUserAgent), mRequest, mReply,
                                    mRequest.mScriptName, mPassword, mUsername, mClientIP);
  mLocked = true;
  try {
    // A browser that never comes back is purged after one minute; its first
    // follow-up request gives it the controller's time-out.
    mSession->SetSessionTimeOut(1);
    setCurrentSession(mSession.get());
    if (c != nullptr) c->DoNewSession(*mSession);
  } catch (...) {
    mSession->Unlock();
    mLocked = false;
    throw;
  }
  mTrackID = mSession->TrackID();
  mIsRootStart = mUrlPath == "/";
}

void TIWServerSession::runSessionRequest(bool isNew) {
  if (isNew) {
    SendSessionStart(mSession->SessionInternalUrlBase() + "StartCheck" + GetStartParams(false));
    return;
  }
  const std::string& p = mUrlPath;
  if (detail::equalsNoCase(p, "/$/Stop") || detail::equalsNoCase(p, "/$/Stop/")) {
    std::string url = paramValue("url");
    if (url.empty()) {
      mSession->Terminate(std::string());
    } else {
      if (url.starts_with("_s_.") && url.size() > 5)
        url = "https://" + url.substr(4);
      else
        url = "http://" + url;
      mSession->TerminateAndRedirect(url);
    }
  } else if (detail::equalsNoCase(p, "/$/StartCheck")) {
    ExecuteStartCheck();
    return;
  } else if (detail::equalsNoCase(p, "/$/callback")) {
    // Executes the page and answers with the callback response document.
    mSession->ProcessCallBack(mReply, mParams);
  } else if (p == "/$/" || detail::startsWithNoCase(p, "/$/call")) {
    ExecuteForm();
  } else if (detail::equalsNoCase(p, "/$/resize")) {
    ExecuteResize();
  } else if (detail::startsWithNoCase(p, "/$/upload")) {
    ExecuteUpload();
  } else if (p.starts_with("/$/")) {
    ExecuteContent(p.substr(3));
  } else {
    ExecuteContent(p);
  }
  if (mSession->Terminated() && mSession->HasRenderOverride()) mSession->SendRenderOverride(mReply);
}

void TIWServerSession::ExecuteForm() {
  TIWServerControllerBase* c = IWServerController();
  if (mSession->GetActiveForm() == nullptr) {
    std::unique_ptr<TIWAppForm> form;
    if (c != nullptr) c->DoGetMainForm(*mSession, form);
    if (!form) {
      const MainFormClass factory = GetMainFormClass();
      if (!factory) throw EIWServerError(msg::kMainFormNotDefined);
      form = factory(*mSession);
      if (!form) throw EIWServerError(msg::kMainFormNotDefined);
    }
    TIWAppForm& page = mSession->AddAndCreateForm(std::move(form));
    mSession->SetActiveForm(page);
  } else {
    CheckActiveFormSync();
  }
  if (!(mSession->Terminated() && mSession->HasRenderOverride()))
    mSession->ProcessForm(mReply, mParams);
}

void TIWServerSession::CheckActiveFormSync() {
  TIWServerControllerBase* c = IWServerController();
  TIWAppForm* active = mSession->GetActiveForm();
  if (c == nullptr || !c->OnBackButton || active == nullptr) return;
  const std::string formName = paramValue("IW_FormName");
  const auto submitted = detail::fromBase36(paramValue("IW_TrackID_"));
  const bool trackDiffers = submitted && *submitted != mSession->TrackID();
  const bool nameDiffers = !formName.empty() && !detail::equalsNoCase(formName, active->Name());
  if (!trackDiffers && !nameDiffers) return;
  BackButtonResyncInfo info;
  info.formName = formName;
  info.submittedTrackID = submitted.value_or(0);
  info.currentTrackID = mSession->TrackID();
  c->DoBackButton(info);
  // Unless the handler re-rendered otherwise, the submit runs against the active page.
}

void TIWServerSession::SendSessionStart(const std::string& url) {
  std::string extra;
  if (!useCookies() && mSession) {
    extra = "+\"&IW_SessionID_=" + detail::jsStringContent(mSession->AppID()) +
            "&IW_TrackID_=" + detail::toBase36(mSession->TrackID()) + "\"";
  }
  const std::string page =
      "<!DOCTYPE HTML>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title></title>\r\n"
      "<script type=\"text/javascript\">\r\n" +
      std::string(kMeasureScript) +
      "function IWStart(){\r\n"
      "var u=" + detail::jsString(url) + ";\r\n"
      "u+=(u.indexOf(\"?\")<0?\"?\":\"&\")+\"IW_AjaxID=\"+new Date().getTime()+"
      "\"&IW_width=\"+IWWindowWidth()+\"&IW_height=\"+IWWindowHeight()" + extra + ";\r\n"
      "var x=new XMLHttpRequest();\r\n"
      "x.open(\"GET\",u,false);\r\n"
      "x.send(null);\r\n"
      "var t=x.responseText;\r\n"
      "if(x.status==200&&t.charAt(0)!=\"<\"){window.location.replace(t);}\r\n"
      "else{document.open();document.write(t);document.close();}\r\n"
      "}\r\n"
      "</script>\r\n</head>\r\n<body onload=\"IWStart()\"></body>\r\n</html>\r\n";
  mReply.mContentType = "text/html; charset=UTF-8";
  mReply.SendRenderStream(page);
}

void TIWServerSession::ExecuteStartCheck() {
  const int width = toInt(paramValue("IW_width"), -1);
  const int height = toInt(paramValue("IW_height"), -1);
  if (width >= 0 && height >= 0) mSession->SetFormSize(width, height);
  const std::string action = mBaseURL + GetStartParams(false);
  const std::string page =
      "<!DOCTYPE HTML>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title></title>\r\n"
      "</head>\r\n<body>\r\n"
      "<form name=\"IWStartForm\" method=\"post\" action=\"" + detail::htmlEscape(action) + "\">\r\n"
      "<input type=\"hidden\" name=\"IW_width\" value=\"" + std::to_string(std::max(width, 0)) + "\">\r\n"
      "<input type=\"hidden\" name=\"IW_height\" value=\"" + std::to_string(std::max(height, 0)) + "\">\r\n"
      "<input type=\"hidden\" name=\"IW_SessionID_\" value=\"" + detail::htmlEscape(mSession->AppID()) + "\">\r\n"
      "<input type=\"hidden\" name=\"IW_TrackID_\" value=\"" + detail::toBase36(mSession->TrackID()) + "\">\r\n"
      "</form>\r\n"
      "<script type=\"text/javascript\">\r\n" +
      std::string(kMeasureScript) +
      "var f=document.forms[\"IWStartForm\"];\r\n"
      "f.elements[\"IW_width\"].value=IWWindowWidth();\r\n"
      "f.elements[\"IW_height\"].value=IWWindowHeight();\r\n"
      "f.submit();\r\n"
      "</script>\r\n</body>\r\n</html>\r\n";
  mReply.mContentType = "text/html; charset=UTF-8";
  mReply.SendRenderStream(page);
}

void TIWServerSession::ExecuteResize() {
  TIWAppForm* form = mSession->GetActiveForm();
  const int width = toInt(paramValue("IW_width"), form != nullptr ? form->Width() : -1);
  const int height = toInt(paramValue("IW_height"), form != nullptr ? form->Height() : -1);
  if (form != nullptr) {
    form->setWidth(width);
    form->setHeight(height);
  }
  mSession->SetFormSize(width, height);
  const std::string script =
      mSession->TrackID() > 1 ? "<script type=\"text/javascript\">IWTop().GSubmitting=false;</script>"
                              : "";
  mReply.mContentType = "text/html; charset=UTF-8";
  mReply.SendRenderStream("<html><head>" + script + "</head><body></body></html>");
}

void TIWServerSession::ExecuteUpload() {
  std::string answer;
  try {
    TIWAppForm* form = mSession->GetActiveForm();
    if (auto* page = dynamic_cast<SessionForm*>(form)) page->ExecuteForm(*mSession, mParams);
    answer = "{\"success\":true}";
  } catch (const std::exception& e) {
    answer = "{\"error\":\"" + jsonEscape(e.what()) + "\"}";
  }
  mReply.mContentType = "application/json; charset=UTF-8";
  mReply.SendRenderStream(answer);
}

void TIWServerSession::ExecuteContent(const std::string& path) {
  const TIWServerControllerBase* c = IWServerController();
  const std::string contentPath = c != nullptr ? c->ContentPath() : std::string();
  std::string p = path;
  if (p.empty() || p.back() == '/') p += "index.iwp";
  std::string file = TURL::UrlPathToFilePath(contentPath, p);
  const std::string relative = p.starts_with('/') ? p : "/" + p;
  if (auto handler = THandlers::Instance().FindMatch(relative)) {
    if (handler->DoExecute(mRequest, mReply, file, mSession.get(), mParams)) return;
  }
  if (file.ends_with("/index.iwp")) file.replace(file.size() - 4, 4, "html");
  std::error_code ec;
  if (std::filesystem::is_regular_file(file, ec)) {
    DoSendFile(file, true, TIWMimeTypes::Instance().GetAsString(detail::extractFileExt(file)),
               SendKind::Static);
    return;
  }
  if (path == "/" || (!mSessionID.empty() && path == "/" + mSessionID + "/")) {
    mReply.mContentType = "text/html; charset=UTF-8";
    mReply.SendRenderStream(HtmlRedirect(mBaseURL + "$/" + GetStartParams(false), true));
    return;
  }
  SendNotFound();
}

void TIWServerSession::SetSessionCookie() {
  if (!useCookies() || !mSession) return;
  if (mReply.mCode == 404 || mReply.mCode == 302) return;
  const TIWServerControllerBase* c = IWServerController();
  HttpCookie cookie;
  cookie.name = mCookieName;
  cookie.path = mCookiePath;
  mSession->SetCookiePath(mCookiePath);
  if (mSession->Terminated() || mSession->RemoveCookie()) {
    cookie.expires = -1;
  } else {
    cookie.value = mSession->AppID() + "_" + detail::toBase36(mSession->TrackID());
    if (c != nullptr) {
      cookie.httpOnly = c->CookieOptions().HttpOnly();
      cookie.secure = c->CookieOptions().Secure();
      if (!c->CookieOptions().SessionCookies())
        cookie.expires = nowLocalDateTime() + mSession->GetSessionTimeOut() / 1440.0 + 1;
    }
  }
  mReply.addCookie(std::move(cookie));
}

void TIWServerSession::releaseSession() {
  if (!mSession) return;
  SetSessionCookie();
  if (mSession->Terminated()) {
    // Out of the registry first, so that a request of the same session waiting for
    // the lock finds no session instead of a terminated one.
    TIWSessions::Instance().RemoveHeld(mSession);
    mSession->Unlock();
    mLocked = false;
    setCurrentSession(nullptr);
    mSession.reset();  // the last reference: the session is destroyed here
  } else {
    mSession->MarkAccess();
    mSession->Unlock();
    mLocked = false;
  }
}

}  // namespace orv
