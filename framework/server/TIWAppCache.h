#pragma once
// Cache files: generated content (page images, downloads, one-time documents) kept in
// the controller's cache directory and served under "/$/temp/". A cache file holds the
// content bytes followed by a trailer with its content type, cache type, URL and the
// content size, so serving it needs no table (the transport reads the trailer).
//
// Each file belongs to a list that deletes it when its owner ends: the controller's
// (ctApp), the session's (ctSession), one page's (ctForm); ctOneTime files are deleted
// after they have been served once. Names come from MakeTempFile, so they are unique
// in the process. The class-level operations are called by the thread that holds the
// owning session's lock.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class TIWApplication;
class TIWAppForm;

enum class TCacheType : std::uint8_t { ctOneTime = 0, ctApp = 1, ctSession = 2, ctForm = 3 };

// Who a cache file belongs to: a session, or a page (whose session is the calling
// thread's session).
struct CacheOwner {
  TIWApplication* session = nullptr;
  const TIWAppForm* form = nullptr;
  static CacheOwner Session(TIWApplication& s) { return {&s, nullptr}; }
  static CacheOwner Form(const TIWAppForm& f) { return {nullptr, &f}; }
};

// Writes one cache file: content first, the trailer when it is closed.
class TCacheStream {
 public:
  // Creates the file (exclusively, readable by this user only).
  TCacheStream(std::string fileName, std::string href, std::string contentType,
               TCacheType cacheType);
  // Closes quietly (appending the trailer) when Close was not called.
  ~TCacheStream();
  TCacheStream(const TCacheStream&) = delete;
  TCacheStream& operator=(const TCacheStream&) = delete;

  void Write(std::string_view bytes);
  // Appends the trailer and closes the file; raises on a write error.
  void Close();

  const std::string mHref;
  const std::string mContentType;
  const TCacheType mCacheType;
  const std::string mFilename;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

class TIWAppCache {
 public:
  // A new, empty cache file registered with its owner; href receives its URL.
  static std::unique_ptr<TCacheStream> NewCacheStream(CacheOwner owner,
                                                      const std::string& contentType,
                                                      std::string& href, TCacheType cacheType);
  static std::unique_ptr<TCacheStream> NewAppCacheStream(CacheOwner owner,
                                                         const std::string& contentType,
                                                         std::string& href);
  static std::unique_ptr<TCacheStream> NewSessionCacheStream(CacheOwner owner,
                                                             const std::string& contentType,
                                                             std::string& href);
  static std::unique_ptr<TCacheStream> NewFormCacheStream(CacheOwner owner,
                                                          const std::string& contentType,
                                                          std::string& href);
  // Copies the bytes into a new cache file (named fileName + ".tmp" in the cache
  // directory when a name is given) and returns its URL.
  static std::string StreamToCacheFile(CacheOwner owner, std::string_view bytes,
                                       TCacheType cacheType, const std::string& contentType,
                                       const std::string& fileName = {});
  // Makes an existing file a cache file and returns its URL: a file outside the cache
  // directory is copied in under its name + ".tmp" (a copy made before is reused); a
  // file inside it is moved to a name ending in ".tmp".
  static std::string AddFileToCache(CacheOwner owner, const std::string& path,
                                    TCacheType cacheType, const std::string& contentType);
  // An embedded file as a cache file; returns its URL.
  static std::string ResourceToCacheFile(CacheOwner owner, const std::string& resourceName,
                                         TCacheType cacheType, const std::string& contentType);
  // Deletes every listed file; names deleted or already gone leave the list. Returns
  // how many remain. Never throws.
  static std::size_t ClearCache(std::vector<std::string>& list) noexcept;
  // A new unique name in the cache directory (".tmp" when the extension is empty).
  static std::string NewTempFileName(const std::string& extension = {});
  // The cache directory (the controller's; the system temporary directory without one).
  static std::string CacheDir();
};

}  // namespace orv
