#include "transport/TReadCacheFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "transport/InErrors.h"
#include "transport/Messages.h"
#include "transport/PacketReader.h"

namespace orv {

namespace {

constexpr std::string_view kMarker = "IWCACHE";
constexpr std::size_t kMarkerBytes = 4 + 7;

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool readAt(int fd, char* dest, std::size_t n, off_t offset) {
  while (n > 0) {
    const ssize_t got = ::pread(fd, dest, n, offset);
    if (got <= 0) return false;
    dest += got;
    n -= static_cast<std::size_t>(got);
    offset += got;
  }
  return true;
}

}  // namespace

TReadCacheFileStream::Trailer TReadCacheFileStream::readTrailer(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    throw EInException(std::string(msg::kCannotOpenFilePrefix) + path +
                       std::string(msg::kCannotOpenFileSuffix));
  }
  const auto fileSize = static_cast<std::uint64_t>(st.st_size);
  char tail[kMarkerBytes + 8];
  if (fileSize < kMarkerBytes) throw EInException(msg::kInvalidCacheFile);
  if (!readAt(fd.get(), tail + 8, kMarkerBytes, static_cast<off_t>(fileSize - kMarkerBytes))) {
    throw EInException(msg::kInvalidCacheFile);
  }
  {
    PacketReader marker(std::string_view(tail + 8, kMarkerBytes));
    if (marker.readInteger() != static_cast<std::int32_t>(kMarker.size()) ||
        marker.readBytes(kMarker.size()) != kMarker) {
      throw EInException(msg::kInvalidCacheFile);
    }
  }
  if (fileSize < kMarkerBytes + 8 ||
      !readAt(fd.get(), tail, 8, static_cast<off_t>(fileSize - kMarkerBytes - 8))) {
    throw EInException(msg::kCacheFileCorrupted);
  }
  std::uint64_t contentSize = 0;
  for (int i = 7; i >= 0; --i)
    contentSize = (contentSize << 8) | static_cast<std::uint8_t>(tail[i]);
  if (contentSize >= fileSize || contentSize > fileSize - kMarkerBytes - 8) {
    throw EInException(msg::kCacheFileCorrupted);
  }
  std::string trailer(static_cast<std::size_t>(fileSize - kMarkerBytes - 8 - contentSize), '\0');
  if (!readAt(fd.get(), trailer.data(), trailer.size(), static_cast<off_t>(contentSize))) {
    throw EInException(msg::kCacheFileCorrupted);
  }
  Trailer t;
  t.contentSize = contentSize;
  try {
    PacketReader r(trailer);
    t.contentType = r.readText();
    t.cacheType = r.readByte();
    t.href = r.readText();
  } catch (const EInPacketError&) {
    throw EInException(msg::kCacheFileCorrupted);
  }
  return t;
}

TReadCacheFileStream::TReadCacheFileStream(const std::string& path)
    : TReadCacheFileStream(path, readTrailer(path)) {}

TReadCacheFileStream::TReadCacheFileStream(const std::string& path, Trailer trailer)
    : FileStream(path, trailer.cacheType == ctOneTime, trailer.contentSize),
      contentType_(std::move(trailer.contentType)),
      cacheType_(trailer.cacheType),
      href_(std::move(trailer.href)) {}

}  // namespace orv
