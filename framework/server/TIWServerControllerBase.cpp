#include "framework/server/TIWServerControllerBase.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "framework/server/CurrentSession.h"
#include "framework/server/IniFile.h"
#include "framework/server/Messages.h"
#include "framework/server/TIWAppCache.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TSessionTimeoutThread.h"
#include "platform/ExePaths.h"
#include "platform/LogFile.h"
#include "transport/HttpHook.h"

namespace orv {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Days from 1899-12-30 to 1970-01-01, and from 0001-01-01 (day 1) to 1899-12-30.
constexpr std::int64_t kUnixEpochDays = 25569;
constexpr std::int64_t kTimeStampDateDelta = 693594;

// The live controller (not owned: whoever built it with New<T>() owns it).
std::atomic<TIWServerControllerBase*> gController{nullptr};

struct ClassRegistry {
  std::mutex mutex;  // guards factory; a leaf lock
  TIWServerControllerBase::ServerControllerClass factory;
};

ClassRegistry& classRegistry() {
  static ClassRegistry r;
  return r;
}

// The last start stamp handed out in this process: two controllers built within one
// millisecond still get two ProcessIDs, so two runs in a row never share a cache
// directory.
std::mutex gStampMutex;  // guards gLastStampMs; a leaf lock
std::int64_t gLastStampMs = 0;

std::int64_t localMillisecondsSince18991230() {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  const std::time_t secs = ts.tv_sec;
  ::localtime_r(&secs, &tm);
  const std::int64_t localMs = (static_cast<std::int64_t>(ts.tv_sec) + tm.tm_gmtoff) * 1000 +
                               ts.tv_nsec / 1000000;
  return localMs + kUnixEpochDays * kMsPerDay;
}

std::string toBase36(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value % 36]);
    value /= 36;
  } while (value != 0);
  return out;
}

std::string toUpperHex(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  return out;
}

bool isControlOrBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Removes blanks and control characters at both ends.
std::string trimmed(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && isControlOrBlank(s[b])) ++b;
  while (e > b && isControlOrBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string withSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

// The rules of a component name: a letter or "_", then letters, digits and "_".
bool isValidIdent(const std::string& s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(s.front())) return false;
  return std::all_of(s.begin(), s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

bool lessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return low(x) < low(y);
  });
}

std::string computerName() {
  char buf[257] = {};
  if (::gethostname(buf, sizeof buf - 1) != 0) return {};
  return std::string(buf);
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

namespace detail {

std::string processIDFromMilliseconds(std::int64_t msSince18991230) {
  std::string id = toBase36(static_cast<std::uint64_t>(std::max<std::int64_t>(msSince18991230, 0)));
  if (id.size() < 10) id.insert(0, 10 - id.size(), '0');
  return id;
}

std::string startUIDFromMilliseconds(std::int64_t msSince18991230) {
  const std::int64_t ms = std::max<std::int64_t>(msSince18991230, 0);
  const std::int64_t date = ms / kMsPerDay + kTimeStampDateDelta;
  const std::int64_t timeOfDay = (ms % kMsPerDay) / 1000 * 1000;  // milliseconds cut to 0
  const std::int64_t total = date * kMsPerDay + timeOfDay;
  return toUpperHex(static_cast<std::uint64_t>((total + 500) / 1000));
}

}  // namespace detail

// --- Construction and destruction -------------------------------------------------

TIWServerControllerBase::TIWServerControllerBase(ConstructionKey) {
  const ExePaths& paths = exePaths();
  contentPath_ = paths.appPath + "wwwroot/";

  compression_.attach(this, "Compression");
  mobileOptions_.attach(this, "MobileOptions");
  proxyPortRedirection_.attach(this, "ProxyPortRedirection");
  cookieOptions_.attach(this, nullptr);
  sslOptions_.attach(this, nullptr);
  searchEngineOptions_.attach(this, nullptr);
  javaScriptOptions_.attach(this, nullptr);
  securityOptions_.attach(this, nullptr);
  backButtonOptions_.attach(this, nullptr);
  exceptionLogger_.attach(this, nullptr);

  serverVariables_ = {"APP_POOL_ID", "SERVER_ADDR", "SERVER_NAME", "SERVER_PORT",
                      "SERVER_SOFTWARE"};

  // The start time. ProcessID names this run's cache folder, so it must not be the name
  // of a folder that is already there (another run started in the same millisecond).
  const std::int64_t now = localMillisecondsSince18991230();
  startDateTime_ = static_cast<double>(now - now % 1000) / static_cast<double>(kMsPerDay);
  startUID_ = detail::startUIDFromMilliseconds(now);
  {
    std::lock_guard lock(gStampMutex);
    std::int64_t stamp = std::max(now, gLastStampMs + 1);
    // mkdir either makes the folder or finds the name taken, in one step: two processes
    // can never both get the same name. Any other failure is left to the cache
    // directory step, which reports a folder it cannot make.
    for (;;) {
      const std::string dir = paths.tempDir + detail::processIDFromMilliseconds(stamp);
      if (::mkdir(dir.c_str(), 0700) == 0) {
        reservedDir_ = dir + "/";
        break;
      }
      if (errno != EEXIST) break;
      ++stamp;
    }
    gLastStampMs = stamp;
    processID_ = detail::processIDFromMilliseconds(stamp);
  }
  // The session purge thread ("IW Session Timeout Thread", every 60000 ms); the session
  // registry it walks is emptied first in the destructor.
  sessionTimeoutThread_ = std::make_unique<TSessionTimeoutThread>(TIWSessions::Instance());

  // Last: nothing after this may throw, or the reference would outlive the object.
  TIWServerControllerBase* expected = nullptr;
  if (!gController.compare_exchange_strong(expected, this)) {
    throw std::runtime_error(std::string(msg::kControllerExists));
  }
}

TIWServerControllerBase::~TIWServerControllerBase() {
  // Teardown order: the session registry goes first (every session is destroyed, which
  // frees its user session and cache files; a session still serving a request is
  // waited for), then the purge thread is stopped (set its stop event and join).
  TIWSessions::Instance().FreeAll();
  releaseReservedDir();  // construction failed before the cache directory step
  sessionTimeoutThread_.reset();
  ClearCacheFiles();
  if (!cacheDir_.empty() && packetTempDir() == cacheDir_) setPacketTempDir("");
  std::error_code ec;
  if (!cacheDir_.empty()) std::filesystem::remove_all(cacheDir_, ec);
  TIWServerControllerBase* self = this;
  gController.compare_exchange_strong(self, nullptr);
}

void TIWServerControllerBase::finishConstruction() {
  ApplyStoredSettings();
  loadPortIni();
  createCommon();
  ensureCacheDir(cacheDir_);
  releaseReservedDir();
}

void TIWServerControllerBase::releaseReservedDir() {
  if (reservedDir_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(reservedDir_, ec);  // only while empty
  reservedDir_.clear();
}

void TIWServerControllerBase::loadPortIni() {
  const std::string path = exePaths().appPath + std::string(msg::kPortIniFile);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return;
  const IniFile ini = IniFile::load(path);
  const std::string section(msg::kPortIniSection);
  SetPort(ini.readInteger(section, msg::kPortIniPortKey, 0));
  sslOptions_.SetPort(ini.readInteger(section, msg::kPortIniSSLPortKey, 0));
}

void TIWServerControllerBase::createCommon() {
  const ExePaths& paths = exePaths();
  if (description_.empty()) description_ = std::string(msg::kDefaultDescription);
  if (displayName_.empty()) displayName_ = description_;
  machineName_ = computerName();
  // ComInitialization: Linux threads need no COM set-up.
  if (appName_.empty()) appName_ = std::string(msg::kDefaultAppName);
  if (templateDir_.empty()) templateDir_ = paths.appPath + "Templates/";
  DoConfig();
  if (cacheDir_.empty()) SetCacheDir("");
  // Temporary files of requests (packets and bodies too large for memory, uploads)
  // go to the cache directory from now on.
  setPacketTempDir(cacheDir_);
  frozen_.store(true, std::memory_order_release);
}

void TIWServerControllerBase::ensureCacheDir(const std::string& dir) {
  std::error_code ec;
  bool created = false;
  if (!reservedDir_.empty() && dir == reservedDir_) {
    // The folder reserved for ProcessID becomes the cache directory: this run made it.
    created = true;
    reservedDir_.clear();
  } else {
    if (std::filesystem::is_directory(dir, ec)) return;
    created = std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir)) {
      throw std::runtime_error(std::string(msg::kUnableToCreateCacheDir) + " " + quoted(dir) +
                               ".");
    }
  }
  if (created) {
    createdCacheDir_ = dir;
    if (log_ == LogMode::loFile) {
      LogFileAppend(std::string(msg::kCacheDirCreated) + " " + quoted(dir), "log");
    }
  }
}

// --- Registration, locking, helpers ----------------------------------------------

void TIWServerControllerBase::SetServerControllerClass(ServerControllerClass factory) {
  auto& r = classRegistry();
  std::lock_guard lock(r.mutex);
  r.factory = std::move(factory);
}

TIWServerControllerBase::ServerControllerClass TIWServerControllerBase::GetServerControllerClass() {
  auto& r = classRegistry();
  std::lock_guard lock(r.mutex);
  return r.factory;
}

void TIWServerControllerBase::CheckLock(const std::string& name) const {
  if (Frozen()) throw std::runtime_error(name + std::string(msg::kIsLockedSuffix));
}

void TIWServerControllerBase::CheckLockGlobal(const std::string& name) {
  if (const TIWServerControllerBase* c = IWServerController()) c->CheckLock(name);
}

std::string TIWServerControllerBase::RedirectPortString(bool https) const {
  int port;
  if (proxyPortRedirection_.Active()) {
    port = https ? proxyPortRedirection_.HttpsPort() : proxyPortRedirection_.HttpPort();
  } else {
    port = https ? sslOptions_.Port() : port_;
  }
  if (port <= 0 || (https && port == 443) || (!https && port == 80)) return {};
  return ":" + std::to_string(port);
}

bool TIWServerControllerBase::AuthActive() const {
  return auther_ != nullptr && auther_->Policy() != AuthPolicy::apRestrictNone;
}

std::string TIWServerControllerBase::GetVersion() const { return std::string(msg::kServerVersion); }

std::string TIWServerControllerBase::NewCacheFile(const std::string& contentType) {
  TIWApplication* session = currentSession();
  if (session == nullptr) throw std::runtime_error(std::string(msg::kSessionNotStarted));
  std::string href;
  TIWAppCache::NewCacheStream(CacheOwner::Session(*session), contentType, href,
                              TCacheType::ctOneTime)
      ->Close();
  return href;
}

TIWServerControllerBase* IWServerController() {
  return gController.load(std::memory_order_acquire);
}

// --- Setters with checks and effects ----------------------------------------------

void TIWServerControllerBase::SetTheme(const std::string& v) {
  if (!styleSheet_.empty()) CheckLock("StyleSheet");
  theme_ = v;
  styleSheet_.clear();
}

void TIWServerControllerBase::SetShowLoadingAnimation(bool v) {
  CheckLock("ShowLoadingAnimation");
  showLoadingAnimation_ = v;
}

void TIWServerControllerBase::SetAppName(const std::string& v) {
  CheckLock("AppName");
  const std::string name = trimmed(v);
  if (name.empty()) throw std::runtime_error(std::string(msg::kAppNameEmpty));
  if (!isValidIdent(name)) throw std::runtime_error(std::string(msg::kAppNameInvalid));
  appName_ = name;
}

void TIWServerControllerBase::SetBoundIP(const std::string& v) {
  CheckLock("BoundIP");
  boundIP_ = v;
}

void TIWServerControllerBase::SetAllowMultipleSessionsPerUser(bool v) {
  CheckLock("AllowMultipleSessionsPerUser");
  if (!v && !cookieOptions_.UseCookies()) {
    throw std::runtime_error(std::string(msg::kUseCookiesRequired));
  }
  allowMultipleSessionsPerUser_ = v;
}

void TIWServerControllerBase::SetCacheDir(const std::string& v) {
  CheckLock("CacheDir");
  const std::string& temp = exePaths().tempDir;
  std::string dir = trimmed(v);
  if (dir.empty()) dir = temp;
  dir = withSlash(dir);
  if (dir.front() != '/') dir = temp + dir;
  if (!dir.ends_with("/" + processID_ + "/")) dir += processID_ + "/";
  if (dir == cacheDir_) return;

  const std::string previousCreated = createdCacheDir_;
  createdCacheDir_.clear();
  ensureCacheDir(dir);
  cacheDir_ = dir;
  // A directory this controller made for an earlier value and that is still empty
  // would otherwise stay behind.
  if (!previousCreated.empty() && previousCreated != dir) {
    std::error_code ec;
    std::filesystem::remove(previousCreated, ec);
  }
}

void TIWServerControllerBase::SetCompression(const TIWCompressionOptions& v) {
  CheckLock("Compression");
  compression_.Assign(v);
}

void TIWServerControllerBase::SetContentPath(const std::string& v) {
  CheckLock("ContentPath");
  const std::string& appPath = exePaths().appPath;
  std::string path = trimmed(v);
  if (path.empty()) path = appPath + "wwwroot/";
  if (path.front() != '/') path = appPath + path;
  contentPath_ = withSlash(path);
}

void TIWServerControllerBase::SetHTMLHeaders(std::vector<std::string> v) {
  CheckLock("HTMLHeaders");
  htmlHeaders_ = std::move(v);
}

void TIWServerControllerBase::SetPort(int v) {
  detail::checkPortValue(v);
  port_ = v;
}

void TIWServerControllerBase::SetSessionTimeout(int v) {
  if (v < 0 || v > 65535) throw std::runtime_error(std::string(msg::kInvalidSessionTimeout));
  sessionTimeout_.store(v, std::memory_order_relaxed);
}

void TIWServerControllerBase::SetTemplateDir(const std::string& v) {
  const std::string& appPath = exePaths().appPath;
  std::string dir = trimmed(v);
  if (dir.empty()) dir = appPath + "Templates/";
  if (dir.front() != '/') dir = appPath + dir;
  templateDir_ = withSlash(dir);
}

void TIWServerControllerBase::SetStyleSheet(const std::string& v) {
  CheckLock("StyleSheet");
  styleSheet_ = v;
  if (!v.empty()) theme_.clear();
}

void TIWServerControllerBase::SetURLBase(const std::string& v) {
  CheckLock("URLBase");
  std::string base = trimmed(v);
  if (!base.empty()) {
    if (base.front() != '/') base.insert(0, "/");
    if (base.back() != '/') base += '/';
  }
  urlBase_ = base;
}

void TIWServerControllerBase::SetDocType(const std::string& v) {
  CheckLock("DocType");
  const std::string docType = trimmed(v);
  if (!docType.empty()) {
    if (!docType.starts_with(msg::kDocTypeStart)) {
      throw std::runtime_error(std::string(msg::kDocTypeMustStartWith) + " " +
                                  quoted(std::string(msg::kDocTypeStart)));
    }
    if (!docType.ends_with(msg::kDocTypeEnd)) {
      throw std::runtime_error(std::string(msg::kDocTypeMustEndWith) + " " +
                                  quoted(std::string(msg::kDocTypeEnd)));
    }
  }
  docType_ = docType;
}

std::vector<std::string> TIWServerControllerBase::CacheFiles() const {
  std::lock_guard lock(cacheFilesMutex_);
  return cacheFiles_;
}

void TIWServerControllerBase::AddCacheFile(const std::string& fileName) {
  std::lock_guard lock(cacheFilesMutex_);
  cacheFiles_.push_back(fileName);
}

std::size_t TIWServerControllerBase::ClearCacheFiles() {
  std::lock_guard lock(cacheFilesMutex_);
  std::erase_if(cacheFiles_, [](const std::string& name) {
    std::error_code ec;
    std::filesystem::remove(name, ec);
    return !ec;  // deleted, or already gone
  });
  return cacheFiles_.size();
}

void TIWServerControllerBase::SetServerVariables(const std::vector<std::string>& v) {
  serverVariables_.clear();
  for (const std::string& name : v) AddServerVariable(name);
}

void TIWServerControllerBase::AddServerVariable(const std::string& name) {
  const auto at =
      std::lower_bound(serverVariables_.begin(), serverVariables_.end(), name, lessNoCase);
  if (at != serverVariables_.end() && !lessNoCase(name, *at)) return;  // duplicate
  serverVariables_.insert(at, name);
}

void TIWServerControllerBase::SetMobileOptions(const TIWMobileOptions& v) {
  CheckLock("MobileOptions");
  mobileOptions_.Assign(v);
}

void TIWServerControllerBase::SetProxyPortRedirection(const TIWProxyPortRedirection& v) {
  CheckLock("ProxyPortRedirection");
  proxyPortRedirection_.Assign(v);
}

void TIWServerControllerBase::SetRestartExpiredSession(bool v) {
  CheckLock("RestartExpiredSession");
  restartExpiredSession_ = v;
}

void TIWServerControllerBase::SetUseAjaxNotify(bool v) {
  CheckLock("UseAjaxNotify");
  useAjaxNotify_ = v;
}

// --- Event dispatch ------------------------------------------------------------------

void TIWServerControllerBase::DoConfig() {
  if (OnConfig) OnConfig(*this);
}
void TIWServerControllerBase::DoNewSession(TIWApplication& session) {
  if (OnNewSession) OnNewSession(session);
}
void TIWServerControllerBase::DoCloseSession(TIWApplication& session) {
  if (OnCloseSession) OnCloseSession(session);
}
void TIWServerControllerBase::DoSessionRestarted(TIWApplication& session) {
  if (OnSessionRestarted) OnSessionRestarted(session);
}
void TIWServerControllerBase::DoGetSessionID(TIWApplication& session, std::string& id) {
  if (OnGetSessionID) OnGetSessionID(session, id);
}
void TIWServerControllerBase::DoGetMainForm(TIWApplication& session,
                                            std::unique_ptr<TIWAppForm>& form) {
  if (OnGetMainForm) OnGetMainForm(session, form);
}
void TIWServerControllerBase::DoBrowserCheck(TIWApplication& session,
                                             std::unique_ptr<TBrowser>& browser) {
  if (OnBrowserCheck) OnBrowserCheck(session, browser);
}
void TIWServerControllerBase::DoBeforeDispatch(THttpRequest& request, THttpReply& reply) {
  if (OnBeforeDispatch) OnBeforeDispatch(request, reply);
}
void TIWServerControllerBase::DoAfterDispatch(THttpRequest& request, THttpReply& reply) {
  if (OnAfterDispatch) OnAfterDispatch(request, reply);
}
void TIWServerControllerBase::DoExecuteRequest(const std::string& path, THttpRequest& request,
                                               bool& handled, THttpReply& reply) {
  if (OnExecuteRequest) OnExecuteRequest(path, request, handled, reply);
}
void TIWServerControllerBase::DoException(TIWApplication* session, const std::exception& error,
                                          bool& handled) {
  if (OnException) OnException(session, error, handled);
}
void TIWServerControllerBase::DoLogException(TIWApplication* session,
                                             const std::exception& error) {
  if (OnLogException) OnLogException(session, error);
}
void TIWServerControllerBase::DoBackButton(BackButtonResyncInfo& info) {
  if (OnBackButton) OnBackButton(info);
}
void TIWServerControllerBase::DoBeforeRender(TIWApplication& session, TIWAppForm& form,
                                             TIWAppForm*& replacement) {
  if (OnBeforeRender) OnBeforeRender(session, form, replacement);
}
void TIWServerControllerBase::DoAfterRender(TIWApplication& session, TIWAppForm& form) {
  if (OnAfterRender) OnAfterRender(session, form);
}
void TIWServerControllerBase::DoUserTag(const std::string& tag, std::string& value) {
  if (OnUserTag) OnUserTag(tag, value);
}
void TIWServerControllerBase::DoSessionTag(TIWApplication& session, const std::string& tag,
                                           std::string& value) {
  if (OnSessionTag) OnSessionTag(session, tag, value);
}
void TIWServerControllerBase::DoParseParameter(std::string& parameter, bool& valid,
                                               int position) {
  if (OnParseParameter) OnParseParameter(parameter, valid, position);
}

}  // namespace orv
