#include "framework/server/TIWAppCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/CurrentSession.h"
#include "framework/server/Messages.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWServerInternalFiles.h"
#include "platform/ExePaths.h"
#include "transport/MakeTempFile.h"
#include "transport/TReadCacheFileStream.h"

namespace orv {
namespace {

void putInt32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putInt64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putText(std::string& out, std::string_view text) {
  putInt32(out, static_cast<std::uint32_t>(text.size()));
  out.append(text);
}

void writeAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("Cannot write file \"" + path + "\".");
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// The session a cache file belongs to, with the checks of every cache operation.
TIWApplication& owningSession(CacheOwner owner, TCacheType cacheType) {
  if (owner.session == nullptr && owner.form == nullptr)
    throw std::runtime_error(std::string(msg::kCacheOwnerMissing));
  TIWApplication* session = owner.session;
  if (session == nullptr) {
    // A page belongs to the session of the request that is working on it.
    TIWApplication* current = currentSession();
    if (current != nullptr && current->OwnsForm(*owner.form)) session = current;
  }
  if (session == nullptr) throw std::runtime_error(std::string(msg::kCacheSessionMissing));
  if (cacheType == TCacheType::ctForm && owner.form == nullptr)
    throw std::runtime_error(std::string(msg::kCacheFormMissing));
  return *session;
}

// Lists an existing file with the owner that deletes it.
void registerFile(CacheOwner owner, TIWApplication& session, TCacheType cacheType,
                  const std::string& path) {
  if (::access(path.c_str(), F_OK) != 0)
    throw std::runtime_error("File \"" + path + "\" does not exist.");
  switch (cacheType) {
    case TCacheType::ctOneTime:
      break;
    case TCacheType::ctApp:
      if (TIWServerControllerBase* c = IWServerController()) c->AddCacheFile(path);
      break;
    case TCacheType::ctSession:
      session.CacheFiles().push_back(path);
      break;
    case TCacheType::ctForm:
      session.FormCacheFiles(*owner.form).push_back(path);
      break;
  }
}

std::string fileNameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The URL of a cache file: the session's internal base + "temp/" + the file name
// without its ".tmp".
std::string hrefFor(const TIWApplication& session, const std::string& path) {
  std::string name = fileNameOf(path);
  if (name.size() >= 4) name.erase(name.size() - 4);
  return session.InternalUrlBase() + "temp/" + name;
}

}  // namespace

// --- TCacheStream -----------------------------------------------------------------

TCacheStream::TCacheStream(std::string fileName, std::string href, std::string contentType,
                           TCacheType cacheType)
    : mHref(std::move(href)),
      mContentType(std::move(contentType)),
      mCacheType(cacheType),
      mFilename(std::move(fileName)) {
  fd_ = ::open(mFilename.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd_ < 0) throw std::runtime_error("Cannot create file \"" + mFilename + "\".");
}

TCacheStream::~TCacheStream() {
  if (fd_ < 0) return;
  try {
    Close();
  } catch (...) {
    // A cache file that cannot be completed is removed rather than left half-written.
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(mFilename.c_str());
  }
}

void TCacheStream::Write(std::string_view bytes) {
  if (fd_ < 0) throw std::runtime_error("Cannot write file \"" + mFilename + "\".");
  writeAll(fd_, bytes, mFilename);
  size_ += bytes.size();
}

void TCacheStream::Close() {
  if (fd_ < 0) return;
  std::string trailer;
  putText(trailer, mContentType);
  trailer += static_cast<char>(mCacheType);
  putText(trailer, mHref);
  putInt64(trailer, size_);
  putText(trailer, "IWCACHE");
  writeAll(fd_, trailer, mFilename);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw std::runtime_error("Cannot write file \"" + mFilename + "\".");
}

// --- TIWAppCache ------------------------------------------------------------------

std::string TIWAppCache::CacheDir() {
  if (TIWServerControllerBase* c = IWServerController(); c != nullptr && !c->CacheDir().empty())
    return c->CacheDir();
  return exePaths().tempDir;
}

std::string TIWAppCache::NewTempFileName(const std::string& extension) {
  return MakeTempFile(CacheDir(), kTempFilePrefix, extension);
}

std::unique_ptr<TCacheStream> TIWAppCache::NewCacheStream(CacheOwner owner,
                                                          const std::string& contentType,
                                                          std::string& href,
                                                          TCacheType cacheType) {
  TIWApplication& session = owningSession(owner, cacheType);
  const std::string path = NewTempFileName();
  href = hrefFor(session, path);
  auto stream = std::make_unique<TCacheStream>(path, href, contentType, cacheType);
  registerFile(owner, session, cacheType, path);
  return stream;
}

std::unique_ptr<TCacheStream> TIWAppCache::NewAppCacheStream(CacheOwner owner,
                                                             const std::string& contentType,
                                                             std::string& href) {
  return NewCacheStream(owner, contentType, href, TCacheType::ctApp);
}

std::unique_ptr<TCacheStream> TIWAppCache::NewSessionCacheStream(CacheOwner owner,
                                                                 const std::string& contentType,
                                                                 std::string& href) {
  return NewCacheStream(owner, contentType, href, TCacheType::ctSession);
}

std::unique_ptr<TCacheStream> TIWAppCache::NewFormCacheStream(CacheOwner owner,
                                                              const std::string& contentType,
                                                              std::string& href) {
  return NewCacheStream(owner, contentType, href, TCacheType::ctForm);
}

std::string TIWAppCache::StreamToCacheFile(CacheOwner owner, std::string_view bytes,
                                           TCacheType cacheType, const std::string& contentType,
                                           const std::string& fileName) {
  TIWApplication& session = owningSession(owner, cacheType);
  std::string path;
  if (fileName.empty()) {
    path = NewTempFileName();
  } else {
    // Only the name part counts, and the served path always ends in ".tmp": a name
    // given by page code can neither leave the cache directory nor become unreachable.
    path = CacheDir() + fileNameOf(fileName) + ".tmp";
  }
  const std::string href = hrefFor(session, path);
  {
    TCacheStream stream(path, href, contentType, cacheType);
    stream.Write(bytes);
    stream.Close();
  }
  registerFile(owner, session, cacheType, path);
  return href;
}

std::string TIWAppCache::AddFileToCache(CacheOwner owner, const std::string& path,
                                        TCacheType cacheType, const std::string& contentType) {
  TIWApplication& session = owningSession(owner, cacheType);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    throw std::runtime_error("Can't add file \"" + path +
                             "\" to cache. The file does not exist.");
  const std::string dir = CacheDir();
  const bool inside = path.starts_with(dir);
  std::string target = inside ? path : dir + fileNameOf(path) + ".tmp";
  if (inside && !target.ends_with(".tmp")) target += ".tmp";

  if (!inside && ::access(target.c_str(), F_OK) == 0) {
    // Copied before: reuse that copy with the URL stored in it.
    try {
      TReadCacheFileStream existing(target);
      registerFile(owner, session, cacheType, target);
      return existing.href();
    } catch (const std::exception&) {
      // Not a readable cache file: make it again below.
    }
  }

  std::string content;
  {
    FileStream in(path);
    content = in.readAll();
  }
  const std::string href = hrefFor(session, target);
  {
    const std::string writing = target + ".part";
    {
      TCacheStream stream(writing, href, contentType, cacheType);
      stream.Write(content);
      stream.Close();
    }
    std::filesystem::rename(writing, target, ec);
    if (ec) {
      ::unlink(writing.c_str());
      throw std::runtime_error("Cannot create file \"" + target + "\".");
    }
  }
  if (inside && target != path) ::unlink(path.c_str());
  registerFile(owner, session, cacheType, target);
  return href;
}

std::string TIWAppCache::ResourceToCacheFile(CacheOwner owner, const std::string& resourceName,
                                             TCacheType cacheType,
                                             const std::string& contentType) {
  const std::string bytes = TIWServerInternalFiles::Instance().ResourceAsString(resourceName);
  return StreamToCacheFile(owner, bytes, cacheType, contentType);
}

std::size_t TIWAppCache::ClearCache(std::vector<std::string>& list) noexcept {
  std::vector<std::string> remaining;
  for (std::string& name : list) {
    if (::unlink(name.c_str()) == 0 || errno == ENOENT) continue;
    remaining.push_back(std::move(name));
  }
  list = std::move(remaining);
  return list.size();
}

}  // namespace orv
