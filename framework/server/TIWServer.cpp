#include "framework/server/TIWServer.h"

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "framework/server/CurrentSession.h"
#include "framework/server/Messages.h"
#include "framework/server/ServerErrors.h"
#include "framework/server/ServerText.h"
#include "framework/server/TIWAppCache.h"
#include "framework/server/TIWExceptionRenderer.h"
#include "framework/server/TIWMimeTypes.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWServerInternalFiles.h"
#include "framework/server/TIWServerSession.h"
#include "framework/server/TURL.h"
#include "framework/server/ZStream.h"
#include "platform/LogFile.h"
#include "transport/HttpDate.h"

namespace orv {
namespace {

// A read-only stream over stored bytes that it keeps alive itself.
class SharedBytesStream : public ByteStream {
 public:
  SharedBytesStream(std::shared_ptr<const std::string> storage, std::string_view bytes)
      : storage_(std::move(storage)), bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t read(char* dest, std::size_t n) override {
    const std::size_t k = std::min(n, bytes_.size() - position_);
    std::copy_n(bytes_.data() + position_, k, dest);
    position_ += k;
    return k;
  }
  void rewind() override { position_ = 0; }

 private:
  std::shared_ptr<const std::string> storage_;
  std::string_view bytes_;
  std::size_t position_ = 0;
};

// Whole seconds of a local date-time (days since 1899-12-30).
std::int64_t unixSecondsOf(double localDateTime) {
  return static_cast<std::int64_t>(localDateTimeToUnix(localDateTime));
}

}  // namespace

void HttpExecute(std::uint8_t* block, std::size_t size) {
  const std::span<std::uint8_t> span(block, size);
  THttpRequest request = THttpRequest::fromPacket(span);
  TIWServerSession server(std::move(request), span);
  server.Execute();
}

TIWServer::TIWServer(THttpRequest request, std::span<std::uint8_t> block)
    : mRequest(std::move(request)), block_(block) {}

std::string TIWServer::GetUrlPath() const {
  const TIWServerControllerBase* c = IWServerController();
  return detail::urlPathFromPathInfo(mRequest.mPathInfo, c != nullptr ? c->URLBase() : "");
}

void TIWServer::Execute() {
  TIWServerControllerBase* c = IWServerController();
  mBaseURL = (c != nullptr ? c->URLBase() : std::string()) + mRequest.mScriptName;
  if (mBaseURL.empty() || mBaseURL.back() != '/') mBaseURL += '/';
  mCookiePath = mBaseURL.substr(0, mBaseURL.size() - 1);
  if (mCookiePath.empty() || mCookiePath.front() != '/') mCookiePath.insert(0, "/");
  if (mCookiePath.back() != '/') mCookiePath += '/';
  mCookieName = "IW_" + (c != nullptr ? c->AppName() + c->CookieOptions().CookieNameSuffix()
                                      : std::string());

  mClientIP = !mRequest.mForwardedFor.empty()  ? mRequest.mForwardedFor
              : !mRequest.mHttpClientIP.empty() ? mRequest.mHttpClientIP
                                                : mRequest.mRemoteAddr;
  if (!mRequest.mAuthUser.empty() || !mRequest.mAuthPass.empty()) {
    mUsername = mRequest.mAuthUser;
    mPassword = mRequest.mAuthPass;
  } else {
    const std::string& auth = !mRequest.mAuthorization.empty() ? mRequest.mAuthorization
                                                                : mRequest.mAuthorizationHeader;
    const auto blank = auth.find(' ');
    if (blank != std::string::npos && detail::equalsNoCase(auth.substr(0, blank), "Basic")) {
      const std::string decoded = detail::base64Decode(auth.substr(blank + 1));
      const auto colon = decoded.find(':');
      mUsername = decoded.substr(0, colon);
      if (colon != std::string::npos) mPassword = decoded.substr(colon + 1);
    }
  }
  mParams = mRequest.GetParams();

  try {
    if (c != nullptr && c->SSLOptions().NonSSLRequest() == NonSSLRequestMode::nsRedirect &&
        mRequest.mServerPort != c->SSLOptions().Port()) {
      std::string url = "https://" + mRequest.mHost + c->RedirectPortString(true);
      if (!mRequest.mQuery.empty()) url += "/?" + mRequest.mQuery;
      mReply.SendRedirect(url);
    } else {
      if (c != nullptr) c->DoBeforeDispatch(mRequest, mReply);
      try {
        mFullUrlPath = GetUrlPath();
        ExecuteUrl(mFullUrlPath);
      } catch (...) {
        if (c != nullptr) c->DoAfterDispatch(mRequest, mReply);
        throw;
      }
      if (c != nullptr) c->DoAfterDispatch(mRequest, mReply);
    }
  } catch (const EAbort&) {
    // A silent abort: the reply prepared so far goes out as it is.
  } catch (const std::exception& e) {
    HandleException(e);
  }
  setCurrentSession(nullptr);
  commitReply();
}

void TIWServer::commitReply() {
  TIWServerControllerBase* c = IWServerController();
  if (mCacheIt) mReply.mAllowCaching = true;
  if (c != nullptr) mReply.mIECompatibilityMode = c->IECompatibilityMode();
  if (mReply.mDataType == ReplyKind::None) {
    // Every answer must carry something; a request that produced nothing is empty.
    mReply.mDataType = ReplyKind::NoData;
  }
  try {
    mReply.Commit(block_);
  } catch (const std::exception& e) {
    if (c != nullptr) c->DoLogException(nullptr, e);
    throw;
  }
}

void TIWServer::HandleException(const std::exception& error) {
  bool handled = false;
  if (TIWServerControllerBase* c = IWServerController()) {
    if (c->ExceptionLogger().Enabled()) {
      try {
        c->DoLogException(currentSession(), error);
      } catch (...) {
      }
    }
    try {
      c->DoException(currentSession(), error, handled);
    } catch (...) {
    }
  }
  if (!handled) SendException(error);
}

void TIWServer::SendException(const std::exception& error) {
  const std::string page =
      TIWExceptionRenderer::RenderHTML(error, &mRequest, currentSession());
  mReply = THttpReply();
  mReply.SetCode(500);
  mReply.mContentType = "text/html; charset=UTF-8";
  mReply.SendRenderStream(page);
  mCacheIt = false;
}

void TIWServer::ExecuteSession(const std::string& /*path*/) { SendNotFound(); }

void TIWServer::SendNotFound() {
  mReply.ResetReplyType();
  mReply.SetCode(404);
  mReply.mContentType = "text/html";
  mReply.SendRenderStream(std::string(msg::kNotFoundBody));
  mCacheIt = false;
}

std::int64_t TIWServer::ifModifiedSince() const {
  if (mRequest.mIfModifiedSince.empty()) return -1;
  const auto t = detail::parseHttpDate(mRequest.mIfModifiedSince);
  return t ? *t : -1;
}

std::string TIWServer::GetStartParams(bool force) {
  const TIWServerControllerBase* c = IWServerController();
  if (!force && (c == nullptr || !c->ShowStartParams())) return {};
  return detail::formatStartParams(mParams);
}

void TIWServer::ExecuteUrl(const std::string& path) {
  TIWServerControllerBase* c = IWServerController();
  if (c != nullptr) {
    bool handled = false;
    c->DoExecuteRequest(path, mRequest, handled, mReply);
    if (handled) return;
  }
  const std::string contentPath = c != nullptr ? c->ContentPath() : std::string();

  if (detail::equalsNoCase(path, "/favicon.ico")) {
    std::error_code ec;
    if (!contentPath.empty() && std::filesystem::is_regular_file(contentPath + "favicon.ico", ec)) {
      DoSendFile(contentPath + "favicon.ico", true, "image/x-ico", SendKind::Static);
      return;
    }
    try {
      const InternalFileView v = TIWServerInternalFiles::Instance().ResourceAsStream("IW_FAVICON");
      mReply.mContentType = "image/x-ico";
      mReply.mLastModified = c != nullptr ? c->StartDateTime() : 0;
      mReply.SendStream(std::make_unique<SharedBytesStream>(v.storage, v.bytes));
      mCacheIt = true;
    } catch (const EInvalidResource&) {
      SendNotFound();
    }
    return;
  }
  if (detail::startsWithNoCase(path, "/$/temp/")) {
    const std::string rest = path.substr(8);
    std::string file;
    try {
      file = TURL::UrlPathToFilePath(TIWAppCache::CacheDir(), rest + ".tmp");
    } catch (const EIWServerError&) {
      SendNotFound();
      return;
    }
    DoSendFile(file, true, {}, SendKind::Cache);
    return;
  }
  if (detail::startsWithNoCase(path, "/$/js/")) return SendInternalFile("JS", path.substr(6));
  if (detail::startsWithNoCase(path, "/$/javascript/"))
    return SendInternalFile("JS", path.substr(14));
  if (detail::startsWithNoCase(path, "/$/gfx/")) return SendInternalFile("GFX", path.substr(7));
  if (detail::startsWithNoCase(path, "/$/css/")) return SendInternalFile("CSS", path.substr(7));
  if (detail::startsWithNoCase(path, "/$/files/")) {
    mReply.SendRedirect(mBaseURL + path.substr(3));
    return;
  }
  if (detail::startsWithNoCase(path, "/$/filesnc/")) {
    const std::string file = TURL::UrlPathToFilePath(contentPath + "Files/", path.substr(11));
    DoSendFile(file, true, TIWMimeTypes::Instance().GetAsString(detail::extractFileExt(file)),
               SendKind::NotCached);
    return;
  }
  if (detail::equalsNoCase(path, "/$/blank") || detail::equalsNoCase(path, "/$/blank_")) {
    if (!mRequest.mIfModifiedSince.empty()) {
      mReply.SetCode(304);
      mReply.mDataType = ReplyKind::NoData;
      return;
    }
    mReply.mLastModified = c != nullptr ? c->StartDateTime() : 0;
    mReply.SendRenderStream(std::string(msg::kBlankPage));
    mCacheIt = true;
    return;
  }
  if (detail::equalsNoCase(path, "/$/ping")) {
    mReply.mContentType = "text/plain; charset=UTF-8";
    mReply.SendRenderStream(std::string(msg::kPong));
    return;
  }
  std::string staticType;
  if (TIWMimeTypes::Instance().IsStaticFile(path, staticType)) {
    const auto marker = path.find("/$/");
    const std::string rel = marker == std::string::npos ? path : path.substr(marker + 3);
    const std::string file = TURL::UrlPathToFilePath(contentPath, rel);
    DoSendFile(file, true, staticType, SendKind::Static);
    return;
  }
  ExecuteSession(path);
}

bool TIWServer::DoSendFile(const std::string& file, bool mustExist,
                           const std::string& contentType, SendKind kind) {
  if (file.find('#') != std::string::npos) {
    SendNotFound();
    return true;
  }
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    if (!mustExist) return false;
    SendNotFound();
    return true;
  }
  const std::int64_t since = ifModifiedSince();
  if (since >= 0 && since == static_cast<std::int64_t>(st.st_mtime)) {
    mReply.SetCode(304);
    mReply.mDataType = ReplyKind::NoData;
    return true;
  }
  if (kind == SendKind::Cache) {
    mReply.SendCacheFile(file);
  } else {
    if (contentType.empty()) throw EIWServerError(msg::kContentTypeEmpty);
    mReply.mContentType = contentType;
    mReply.SendFile(file);
  }
  if (kind != SendKind::NotCached) {
    mReply.mLastModified = unixToLocalDateTime(st.st_mtime);
    mCacheIt = true;
  }
  return true;
}

void TIWServer::SendInternalFile(const std::string& kind, const std::string& file) {
  // "IWCommon__1a2b.js" under "/$/js/" asks for IW_JS_IWCommon: the part from "__" is
  // the cache breaker of the process start, so old URLs still resolve.
  std::string name = file;
  const std::string ext = detail::extractFileExt(name);
  name.erase(name.size() - ext.size());
  if (const auto cut = name.find("__"); cut != std::string::npos) name.erase(cut);
  name = detail::replaceAll(name, "/", "_");
  const std::string resource = "IW_" + kind + "_" + name;

  const TIWServerControllerBase* c = IWServerController();
  const double start = c != nullptr ? c->StartDateTime() : 0;
  const std::int64_t since = ifModifiedSince();
  if (since >= 0 && c != nullptr && since == unixSecondsOf(start)) {
    mReply.SetCode(304);
    mReply.mDataType = ReplyKind::NoData;
    return;
  }
  InternalFileView v;
  try {
    v = TIWServerInternalFiles::Instance().ResourceAsStream(resource);
  } catch (const EInvalidResource&) {
    SendNotFound();
    return;
  }
  mReply.mContentType = TIWMimeTypes::Instance().GetAsString(ext);
  if (v.compressed && !mRequest.AcceptsGZip()) {
    // Stored compressed, but this client cannot read gzip: it gets the plain bytes.
    auto plain = std::make_shared<const std::string>(detail::zDecompress(v.bytes));
    mReply.SendStream(std::make_unique<SharedBytesStream>(plain, *plain));
  } else {
    if (v.compressed) {
      mReply.addHeader("Content-Encoding", "gzip");
      mReply.addHeader("Vary", "Accept-Encoding");
    }
    mReply.SendStream(std::make_unique<SharedBytesStream>(v.storage, v.bytes));
  }
  if (v.cacheable) {
    mReply.mLastModified = start;
    mCacheIt = true;
  } else {
    mReply.mLastModified = nowLocalDateTime();
    mCacheIt = false;
  }
}

}  // namespace orv
