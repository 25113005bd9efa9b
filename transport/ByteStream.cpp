#include "transport/ByteStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "transport/InErrors.h"
#include "transport/Messages.h"

namespace orv {

std::string ByteStream::readAll() {
  rewind();
  std::string result;
  result.resize(static_cast<std::size_t>(size()));
  std::size_t done = 0;
  while (done < result.size()) {
    const std::size_t got = read(result.data() + done, result.size() - done);
    if (got == 0) break;
    done += got;
  }
  result.resize(done);
  return result;
}

std::size_t MemoryStream::read(char* dest, std::size_t n) {
  const std::size_t count = std::min(n, bytes_.size() - position_);
  std::memcpy(dest, bytes_.data() + position_, count);
  position_ += count;
  return count;
}

FileStream::FileStream(const std::string& path, bool deleteOnClose, std::uint64_t limit)
    : path_(path), deleteOnClose_(deleteOnClose) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    deleteOnClose_ = false;  // never remove something we could not read
    throw EInException(std::string(msg::kCannotOpenFilePrefix) + path +
                       std::string(msg::kCannotOpenFileSuffix));
  }
  size_ = std::min<std::uint64_t>(static_cast<std::uint64_t>(st.st_size), limit);
}

FileStream::~FileStream() {
  if (fd_ >= 0) ::close(fd_);
  if (deleteOnClose_) ::unlink(path_.c_str());
}

std::size_t FileStream::read(char* dest, std::size_t n) {
  const std::uint64_t left = size_ - position_;
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(n, left));
  if (want == 0) return 0;
  for (;;) {
    const ssize_t got = ::pread(fd_, dest, want, static_cast<off_t>(position_));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return 0;  // the file shrank underneath us: end of content
    position_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
  }
}

}  // namespace orv
