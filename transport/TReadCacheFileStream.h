#pragma once
// Reads a cache file back: the content bytes at the start of the file, followed by the
// trailer the framework's cache writer appends (content type Text, cache type Byte,
// href Text, content size as a 64-bit little-endian integer, and the marker Text
// "IWCACHE" as the last 11 bytes). Only the content is exposed as the stream. A
// one-time cache file is removed when the stream is destroyed (after it was sent).
// Used by the connection thread that answers with the file.
#include <cstdint>
#include <string>

#include "transport/ByteStream.h"

namespace orv {

class TReadCacheFileStream : public FileStream {
 public:
  static constexpr std::uint8_t ctOneTime = 0;

  // Raises "Cannot open file ...", "Invalid cache file" (no marker) or "Cache file is
  // corrupted" (a content size not below the file size, or an unreadable trailer).
  explicit TReadCacheFileStream(const std::string& path);

  const std::string& contentType() const { return contentType_; }
  std::uint8_t cacheType() const { return cacheType_; }
  const std::string& href() const { return href_; }

 private:
  struct Trailer {
    std::string contentType;
    std::uint8_t cacheType = 0;
    std::string href;
    std::uint64_t contentSize = 0;
  };
  TReadCacheFileStream(const std::string& path, Trailer trailer);
  static Trailer readTrailer(const std::string& path);

  std::string contentType_;
  std::uint8_t cacheType_;
  std::string href_;
};

}  // namespace orv
