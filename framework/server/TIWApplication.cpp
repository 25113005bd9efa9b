#include "framework/server/TIWApplication.h"

#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/CurrentSession.h"
#include "framework/server/Messages.h"
#include "framework/server/ServerErrors.h"
#include "framework/server/ServerText.h"
#include "framework/server/TBrowser.h"
#include "framework/server/TIWAppCache.h"
#include "framework/server/TIWMimeTypes.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TIWUserSessionBase.h"
#include "platform/ExePaths.h"
#include "transport/ByteStream.h"
#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"

namespace orv {
namespace {

// Runs one step of a session's destruction; whatever it raises is swallowed, because
// the session goes away in any case and the next steps must still run.
template <class F>
void quietly(F&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

std::string nameValueName(const std::string& entry) {
  const auto eq = entry.find('=');
  return eq == std::string::npos ? entry : entry.substr(0, eq);
}

std::string nameValueValue(const std::string& entry) {
  const auto eq = entry.find('=');
  return eq == std::string::npos ? std::string() : entry.substr(eq + 1);
}

}  // namespace

std::string HtmlRedirect(const std::string& url, bool replace) {
  const std::string target = detail::jsStringContent(url);
  std::string script = replace ? "window.location.replace(\"" + target + "\");"
                               : "window.location.href = \"" + target + "\";";
  return "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<script>" + script +
         "</script>\r\n</head></html>";
}

// --- Creation ---------------------------------------------------------------------

TIWApplication::TIWApplication(Key, TIWSessions& registry, std::unique_ptr<TBrowser> browser)
    : registry_(registry), mBrowser(std::move(browser)) {
  if (!mBrowser) mBrowser = TBrowser::CreateBrowser("");
  mCreationTime = registry_.Now();
  FSessionTimeStamp = mCreationTime;
}

std::shared_ptr<TIWApplication> TIWApplication::Create(
    TIWSessions& registry, std::unique_ptr<TBrowser> browser, THttpRequest& request,
    THttpReply& reply, const std::string& urlBase, const std::string& authPassword,
    const std::string& authUser, const std::string& clientIP) {
  auto session = std::make_shared<TIWApplication>(Key{}, registry, std::move(browser));
  session->InitApplication(request, reply, urlBase, authPassword, authUser, clientIP);
  if (!session->mTerminated) {
    session->FFormHeight = session->FFormWidth = -1;
    const TIWServerControllerBase* c = IWServerController();
    if (c != nullptr) {
      session->FMasterTemplate = c->MasterTemplate();
      session->FSessionTimeOut.store(c->SessionTimeout());
    }
    session->SetSessionID(session);
  }
  return session;
}

void TIWApplication::InitApplication(THttpRequest& request, THttpReply& reply,
                                     const std::string& urlBase, const std::string& authPassword,
                                     const std::string& authUser, const std::string& clientIP) {
  TIWServerControllerBase* c = IWServerController();
  mAppUrlBase = urlBase;
  if (c != nullptr && !c->URLBase().empty()) mAppUrlBase = c->URLBase();
  if (mAppUrlBase.empty() || mAppUrlBase.back() != '/') mAppUrlBase += '/';
  mInternalUrlBase = mAppUrlBase + "$/";
  Initialize(request, reply);
  if (c != nullptr) c->DoBrowserCheck(*this, mBrowser);
  if (!mBrowser) mBrowser = TBrowser::CreateBrowser(request.mUserAgent);
  if (!mBrowser->IsSupported())
    throw EUnknownBrowserException(std::string(msg::kUnknownBrowser) + request.mUserAgent);
  if (!mTerminated) {
    MarkAccess();
    FAuthPassword = authPassword;
    FAuthUser = authUser;
    FIP = clientIP;
    FReferringURL = request.mReferer;
    FRunParams = request.GetParams();
  }
}

void TIWApplication::SetSessionID(std::shared_ptr<TIWApplication> self) {
  TIWServerControllerBase* c = IWServerController();
  std::string id;
  if (c != nullptr) c->DoGetSessionID(*this, id);
  // The session lock first: nobody else can see this session yet, so it never waits,
  // and the order stays "session, then registry" as for every request.
  FLock.lock();
  {
    WriteLock hold(registry_.FLock);
    if (id.empty()) id = registry_.generateSessionIDLocked();
    FAppID = id;
    try {
      registry_.addLocked(self);
    } catch (const std::exception& e) {
      FLock.unlock();
      FAppID.clear();
      throw EIWServerError(std::string(msg::kAddSessionFailed) + e.what());
    }
  }
  if (registry_.FOnCreateSession) registry_.FOnCreateSession(*this);
  setUrlBasesForID();
  createUserCacheDir();
}

void TIWApplication::setUrlBasesForID() {
  const TIWServerControllerBase* c = IWServerController();
  if (c != nullptr && c->AllowMultipleSessionsPerUser())
    mSessionInternalUrlBase = mAppUrlBase + FAppID + "/$/";
  else
    mSessionInternalUrlBase = mInternalUrlBase;
  mSessionUrlBase = detail::replaceAll(mSessionInternalUrlBase, "/$", "");
  FTaggedSessionName = FAppID;
}

void TIWApplication::createUserCacheDir() {
  const TIWServerControllerBase* c = IWServerController();
  if (c == nullptr || c->CacheDir().empty()) return;
  mUserCacheDir = c->CacheDir() + "user/" + FAppID + "/";
  mUserCacheUrlBase = mInternalUrlBase + c->AppName() + "/" + FAppID + "/";
  std::error_code ec;
  std::filesystem::create_directories(mUserCacheDir, ec);
}

void TIWApplication::ResetApplicationID() {
  const std::string oldID = FAppID;
  const std::string oldCacheDir = mUserCacheDir;
  std::string newID;
  {
    WriteLock hold(registry_.FLock);
    newID = registry_.generateSessionIDLocked();
    auto it = registry_.FSessions.find(oldID);
    if (it != registry_.FSessions.end()) {
      auto self = it->second;
      registry_.FSessions.erase(it);
      FAppID = newID;
      registry_.FSessions.emplace(newID, std::move(self));
    } else {
      FAppID = newID;
    }
  }
  if (!oldCacheDir.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(oldCacheDir, ec);
  }
  setUrlBasesForID();
  createUserCacheDir();
  std::string url = GetApplicationURL();
  if (FRequest != nullptr) url += FRequest->mPathInfo;
  if (FIsCallBack) {
    AddCallBackScript("IW.Session.resetId(" + detail::jsString(FAppID) + ");");
  } else {
    mRemoveCookie = true;
  }
  GoToURL(url, true, false);
}

// --- Destruction ------------------------------------------------------------------

TIWApplication::~TIWApplication() {
  // Page and data-module code that runs now finds this session as the thread's one.
  CurrentSessionScope bind(this);
  if (!FAppID.empty()) {
    quietly([&] {
      if (TIWServerControllerBase* c = IWServerController()) c->DoCloseSession(*this);
    });
  }
  quietly([&] {
    if (registry_.FOnDestroySession) registry_.FOnDestroySession(*this);
  });
  quietly([&] {
    if (FData) FData->DoDestroy();
  });
  quietly([&] { FData.reset(); });
  // Pages go in reverse creation order, each after its destroy handler.
  FActiveForms.clear();
  FReleasedForms.clear();
  FLastForm = nullptr;
  while (!FForms.empty()) {
    std::unique_ptr<TIWAppForm> form = std::move(FForms.back());
    FForms.pop_back();
    destroyForm(std::move(form));
  }
  mRenderOverride.reset();
  TIWAppCache::ClearCache(mCacheFiles);
  for (auto& [form, files] : formCacheFiles_) TIWAppCache::ClearCache(files);
  if (!mUserCacheDir.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(mUserCacheDir, ec);
  }
}

void TIWApplication::destroyForm(std::unique_ptr<TIWAppForm> form) noexcept {
  if (!form) return;
  quietly([&] { form->DoDestroy(); });
  for (auto it = formCacheFiles_.begin(); it != formCacheFiles_.end(); ++it) {
    if (it->first == form.get()) {
      TIWAppCache::ClearCache(it->second);
      formCacheFiles_.erase(it);
      break;
    }
  }
  quietly([&] { form.reset(); });
}

// --- Time-out ---------------------------------------------------------------------

void TIWApplication::MarkAccess() {
  const double seconds = (registry_.Now() - mCreationTime) * 86400.0;
  mLastAccess.store(seconds > 0 ? static_cast<int>(std::min(seconds, 2.0e9)) : 0);
}

double TIWApplication::GetLastAccess() const {
  return mCreationTime + mLastAccess.load() / 86400.0;
}

bool TIWApplication::IsExpired(double now) const {
  return now - GetLastAccess() >= FSessionTimeOut.load() / 1440.0;
}

// --- Requests ---------------------------------------------------------------------

void TIWApplication::Initialize(THttpRequest& request, THttpReply& reply) {
  FRequest = &request;
  FResponse = &reply;
  FMappedURL.clear();
  FIsCallBack = false;
  mIsRedirect = false;
  mSkipExecuteForm = false;
  mSkipGenerateForm = false;
  mRemoveCookie = false;
  callBackScripts_.clear();
  FCallBackResponse.Initialize();
}

std::vector<std::string> TIWApplication::TakeCallBackScripts() {
  std::vector<std::string> scripts;
  scripts.swap(callBackScripts_);
  return scripts;
}

std::string TIWApplication::RunParamValue(std::string_view name) const {
  for (const std::string& p : FRunParams)
    if (detail::equalsNoCase(nameValueName(p), name)) return nameValueValue(p);
  return {};
}

const std::string& TIWApplication::ApplicationPath() const {
  if (FApplicationPath.empty()) FApplicationPath = exePaths().appPath;
  return FApplicationPath;
}

void TIWApplication::SetData(std::unique_ptr<TIWUserSessionBase> data) {
  if (FData && FData.get() != data.get()) {
    quietly([&] { FData->DoDestroy(); });
  }
  FData = std::move(data);
}

void TIWApplication::SetFormSize(int width, int height) {
  FFormWidth = width;
  FFormHeight = height;
}

// --- Forms ------------------------------------------------------------------------

TIWAppForm& TIWApplication::AddForm(std::unique_ptr<TIWAppForm> form) {
  if (!form) throw std::invalid_argument("AddForm: no form");
  TIWAppForm& added = *form;
  FForms.push_back(std::move(form));
  FLastForm = &added;
  return added;
}

TIWAppForm& TIWApplication::AddAndCreateForm(std::unique_ptr<TIWAppForm> form) {
  TIWAppForm& added = AddForm(std::move(form));
  try {
    added.DoCreate();
  } catch (...) {
    if (FLastForm == &added) FLastForm = nullptr;
    std::erase(FActiveForms, &added);
    for (auto it = FForms.begin(); it != FForms.end(); ++it) {
      if (it->get() == &added) {
        std::unique_ptr<TIWAppForm> failed = std::move(*it);
        FForms.erase(it);
        for (auto f = formCacheFiles_.begin(); f != formCacheFiles_.end(); ++f) {
          if (f->first == failed.get()) {
            TIWAppCache::ClearCache(f->second);
            formCacheFiles_.erase(f);
            break;
          }
        }
        break;  // `failed` releases the page and the controls it built
      }
    }
    throw;
  }
  return added;
}

bool TIWApplication::OwnsForm(const TIWAppForm& form) const {
  for (const auto& f : FForms)
    if (f.get() == &form) return true;
  return false;
}

void TIWApplication::FreeForm(TIWAppForm& form) {
  RemoveForm(form);
  std::erase(FReleasedForms, &form);
  if (FLastForm == &form) FLastForm = nullptr;
  for (auto it = FForms.begin(); it != FForms.end(); ++it) {
    if (it->get() == &form) {
      std::unique_ptr<TIWAppForm> owned = std::move(*it);
      FForms.erase(it);
      destroyForm(std::move(owned));
      return;
    }
  }
}

TIWAppForm* TIWApplication::GetActiveForm() const {
  return FActiveForms.empty() ? nullptr : FActiveForms.back();
}

void TIWApplication::SetActiveForm(TIWAppForm& form) {
  if (FActiveForms.empty() || FActiveForms.back() != &form) FActiveForms.push_back(&form);
  FMappedURL.clear();
  if (auto* page = dynamic_cast<SessionForm*>(&form)) page->FormShown();
  if (FFormWidth >= 0 && FFormHeight >= 0) {
    form.setWidth(FFormWidth);
    form.setHeight(FFormHeight);
  }
}

void TIWApplication::RemoveForm(TIWAppForm& form) {
  TIWAppForm* const before = GetActiveForm();
  std::erase(FActiveForms, &form);
  TIWAppForm* const after = GetActiveForm();
  if (after != nullptr && after != before)
    if (auto* page = dynamic_cast<SessionForm*>(after)) page->FormShown();
}

void TIWApplication::ReleaseForm(TIWAppForm& form) {
  for (TIWAppForm* f : FReleasedForms)
    if (f == &form) return;
  FReleasedForms.push_back(&form);
}

void TIWApplication::freeReleasedForms() {
  std::vector<TIWAppForm*> released;
  released.swap(FReleasedForms);
  for (TIWAppForm* f : released) FreeForm(*f);
}

TIWAppForm* TIWApplication::FindFormByName(std::string_view name) const {
  for (const auto& f : FForms)
    if (detail::equalsNoCase(f->Name(), name)) return f.get();
  return nullptr;
}

TIWAppForm* TIWApplication::FindFormByClassName(std::string_view className) const {
  for (const auto& f : FForms)
    if (detail::equalsNoCase(f->ClassName(), className)) return f.get();
  return nullptr;
}

TIWAppForm* TIWApplication::GetForm(std::size_t index) const {
  return index < FForms.size() ? FForms[index].get() : nullptr;
}

std::vector<std::string>& TIWApplication::FormCacheFiles(const TIWAppForm& form) {
  for (auto& [f, files] : formCacheFiles_)
    if (f == &form) return files;
  formCacheFiles_.emplace_back(&form, std::vector<std::string>{});
  return formCacheFiles_.back().second;
}

// --- Page execution ---------------------------------------------------------------

std::string TIWApplication::TakeInitProc() {
  std::string code;
  code.swap(mInitProc);
  return code;
}

void TIWApplication::ProcessForm(THttpReply& reply, const std::vector<std::string>& params) {
  ExecuteActiveForm(params);
  if (SendRenderOverride(reply)) return;
  if (mSkipGenerateForm || reply.mSendingFile || reply.mDataType != ReplyKind::None) return;
  GenerateActiveForm(reply);
}

bool TIWApplication::ExecuteActiveForm(std::vector<std::string> params) {
  mSkipGenerateForm = false;
  mIsRedirect = false;
  if (mSkipExecuteForm) return true;

  bool ok = true;
  TIWAppForm* active = GetActiveForm();
  if (active != nullptr) {
    // Values submitted by a page that is no longer the active one are stale.
    for (const std::string& p : params) {
      if (detail::equalsNoCase(nameValueName(p), "IW_FormName")) {
        if (!detail::equalsNoCase(nameValueValue(p), active->Name())) params.clear();
        break;
      }
    }
  }
  try {
    if (active != nullptr) {
      if (auto* page = dynamic_cast<SessionForm*>(active))
        page->ExecuteForm(*this, params);
      else
        ExecutePage(*active, params);
    }
    freeReleasedForms();
  } catch (const std::exception& e) {
    ok = false;
    quietly([&] { freeReleasedForms(); });
    HandleExecuteFormError(e);
  }

  const bool replyChosen = FResponse != nullptr && FResponse->mDataType != ReplyKind::None;
  if (!mTerminated && !replyChosen && !mIsRedirect) {
    if (GetActiveForm() == nullptr) {
      mTerminated = true;
    } else {
      ++FTrackID;
      FFormAction = FMappedURL.empty() ? mSessionInternalUrlBase : FMappedURL;
    }
  }
  return ok;
}

void TIWApplication::GenerateActiveForm(THttpReply& reply) {
  TIWAppForm* form = GetActiveForm();
  if (form == nullptr) return;
  TIWServerControllerBase* c = IWServerController();
  if (c != nullptr) {
    TIWAppForm* replacement = nullptr;
    c->DoBeforeRender(*this, *form, replacement);
    if (replacement != nullptr && OwnsForm(*replacement)) form = replacement;
  }
  if (auto* page = dynamic_cast<SessionForm*>(form))
    page->GenerateForm(*this, reply);
  else
    GeneratePage(*form, reply);
  if (c != nullptr) c->DoAfterRender(*this, *form);
}

void TIWApplication::HandleExecuteFormError(const std::exception& error) {
  bool handled = false;
  if (OnExecuteFormError) OnExecuteFormError(*this, error, handled);
  if (handled) return;
  TIWServerControllerBase* c = IWServerController();
  if (c != nullptr) {
    if (c->ExceptionLogger().Enabled()) quietly([&] { c->DoLogException(this, error); });
    quietly([&] { c->DoException(this, error, handled); });
    if (handled) return;
  }
  ShowMessage(error.what(), c != nullptr ? c->ExceptionDisplayMode() : ShowMessageType::smAlert,
              "IWException.html");
}

void TIWApplication::ShowMessage(const std::string& text, ShowMessageType /*kind*/,
                                 const std::string& /*templateName*/) {
  // Every display mode this program can reach shows the message on the page itself:
  // the in-page dialog (UseAjaxNotify, the default) or the browser's alert box. The
  // window-opening modes would need a page without an active form, which a session
  // of this program never renders.
  const TIWServerControllerBase* c = IWServerController();
  const bool ajaxNotify = c == nullptr || c->UseAjaxNotify();
  const std::string code =
      ajaxNotify ? "IWShowMessage(" + detail::jsString(text) + ", " + detail::jsString("") + ", " +
                       detail::jsString("") + ", " + detail::jsString("OK") + ");"
                 : "window.alert(" + detail::jsString(text) + ");";
  TIWAppForm* active = GetActiveForm();
  if (auto* page = dynamic_cast<SessionForm*>(active))
    page->AddToInitProc(code);
  else if (active != nullptr)
    active->AddToInitProc(code);
  else
    AddToInitProc(code);
}

// --- Termination and redirection --------------------------------------------------

void TIWApplication::Terminate(const std::string& message) {
  mTerminated = true;
  const std::string document = "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head><body>" +
                               (message.empty() ? std::string(msg::kSessionTerminatedDefault)
                                                : message) +
                               "</body></html>";
  if (FIsCallBack) {
    const std::string href = TIWAppCache::StreamToCacheFile(
        CacheOwner::Session(*this), document, TCacheType::ctOneTime, "text/html; charset=UTF-8");
    AddCallBackScript("window.location.href = " + detail::jsString(href) + ";");
  } else {
    SetRenderOverride(document);
  }
}

void TIWApplication::TerminateAndRedirect(const std::string& url) {
  Terminate();
  GoToURL(url);
}

void TIWApplication::GoToURL(const std::string& url, bool replace, bool prependBase) {
  std::string target = url;
  if (prependBase && target.find("://") == std::string::npos &&
      target.find("/$/") == std::string::npos) {
    const std::string& base =
        TIWMimeTypes::Instance().IsStaticFile(target) ? mAppUrlBase : mSessionUrlBase;
    std::string rest = target;
    if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    target = base + rest;
  }
  if (FIsCallBack) {
    AddCallBackScript(replace ? "window.location.replace(" + detail::jsString(target) + ");"
                              : "window.location.href = " + detail::jsString(target) + ";");
  } else {
    SetRenderOverride(HtmlRedirect(target, replace));
  }
  mIsRedirect = true;
}

void TIWApplication::SetRenderOverride(std::string document) {
  mRenderOverride = std::move(document);
}

bool TIWApplication::SendRenderOverride(THttpReply& reply) {
  if (!mRenderOverride) return false;
  std::string document = std::move(*mRenderOverride);
  mRenderOverride.reset();
  reply.ResetReplyType();
  reply.mContentType = "text/html; charset=UTF-8";
  reply.SendRenderStream(std::move(document));
  return true;
}

// --- Downloads --------------------------------------------------------------------

void TIWApplication::SendFile(const std::string& path, bool attachment,
                              const std::string& fileName, const std::string& contentType) {
  const std::string name = fileName.empty() ? std::filesystem::path(path).filename().string()
                                            : fileName;
  if (FIsCallBack) {
    std::string type = contentType.empty()
                           ? TIWMimeTypes::Instance().GetAsString(detail::extractFileExt(name))
                           : contentType;
    const std::string href =
        TIWAppCache::AddFileToCache(CacheOwner::Session(*this), path, TCacheType::ctOneTime, type);
    AddCallBackScript("window.location.href = " + detail::jsString(href) + ";");
    mSkipGenerateForm = true;
    return;
  }
  sendDownload(nullptr, path, attachment, name, contentType);
}

void TIWApplication::SendStream(std::string bytes, bool attachment, const std::string& fileName,
                                const std::string& contentType) {
  if (FIsCallBack) {
    std::string type = contentType.empty()
                           ? TIWMimeTypes::Instance().GetAsString(detail::extractFileExt(fileName))
                           : contentType;
    const std::string href = TIWAppCache::StreamToCacheFile(CacheOwner::Session(*this), bytes,
                                                            TCacheType::ctOneTime, type);
    AddCallBackScript("window.location.href = " + detail::jsString(href) + ";");
    mSkipGenerateForm = true;
    return;
  }
  sendDownload(std::make_unique<MemoryStream>(std::move(bytes)), {}, attachment, fileName,
               contentType);
}

void TIWApplication::sendDownload(std::unique_ptr<ByteStream> content, const std::string& path,
                                  bool attachment, const std::string& fileName,
                                  std::string contentType) {
  if (FResponse == nullptr) throw std::logic_error("SendFile outside a request");
  THttpReply& reply = *FResponse;
  if (contentType.empty())
    contentType = TIWMimeTypes::Instance().GetAsString(detail::extractFileExt(fileName));
  // The plain name goes between double quotes in a header line: quotes and line ends
  // in it would end the value or the header.
  std::string plain;
  for (char ch : fileName)
    if (ch != '"' && ch != '\r' && ch != '\n') plain += ch;
  std::string disposition;
  if (mBrowser->IsAndroid()) {
    const std::string ext = detail::extractFileExt(plain);
    disposition = "attachment; filename=\"" + plain.substr(0, plain.size() - ext.size()) +
                  detail::upper(ext) + "\"";
    contentType = "application/octet-stream";
  } else {
    disposition = std::string(attachment ? "attachment" : "inline") + "; filename=\"" + plain +
                  "\"; filename*=UTF-8''" + detail::percentEncode(fileName);
  }
  if (contentType.empty()) contentType = "application/unknown";
  if (detail::findNoCase(contentType, "charset") == std::string::npos)
    contentType += "; charset=UTF-8";
  reply.mContentType = contentType;
  reply.mExpires = registry_.Now() - 1;  // already expired: never served from a cache
  reply.addHeader("Content-Disposition", disposition);
  if (content)
    reply.SendStream(std::move(content));
  else
    reply.SendFile(path);
  reply.mSendingFile = true;
  mSkipGenerateForm = true;
}

// --- URLs -------------------------------------------------------------------------

std::string TIWApplication::GetInternalFileURL(const std::string& name) const {
  std::string n = detail::replaceAll(name, "\\", "/");
  while (!n.empty() && n.front() == '/') n.erase(0, 1);
  if (n.size() >= 3 && detail::endsWithNoCase(n, ".js")) {
    const TIWServerControllerBase* c = IWServerController();
    const std::string uid = c != nullptr ? c->StartUID() : std::string();
    n = n.substr(0, n.size() - 3) + "__" + uid + ".js";
  }
  return mInternalUrlBase + n;
}

std::string TIWApplication::GetExternalFileURL(const std::string& name) const {
  if (name.find("://") != std::string::npos) return name;
  std::string n = detail::replaceAll(name, "\\", "/");
  while (!n.empty() && n.front() == '/') n.erase(0, 1);
  return mAppUrlBase + n;
}

std::string TIWApplication::GetApplicationURL() const {
  const TIWServerControllerBase* c = IWServerController();
  const bool https = FRequest != nullptr && detail::equalsNoCase(FRequest->mHttpsHeader, "on");
  std::string url = https ? "https://" : "http://";
  if (FRequest != nullptr) url += FRequest->mHost;
  if (c != nullptr) url += c->RedirectPortString(https);
  if (FRequest != nullptr) url += FRequest->mScriptName;
  return url;
}

}  // namespace orv
