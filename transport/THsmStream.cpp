#include "transport/THsmStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "transport/InErrors.h"
#include "transport/MakeTempFile.h"
#include "transport/Messages.h"

namespace orv {

THsmStream::THsmStream(std::string tempDir, std::size_t threshold)
    : tempDir_(std::move(tempDir)), threshold_(threshold) {}

THsmStream::~THsmStream() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(filePath_.c_str());
  }
}

void THsmStream::spill() {
  filePath_ = MakeTempFile(tempDir_);
  fd_ = ::open(filePath_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    const std::string path = filePath_;
    filePath_.clear();
    throw EInException(std::string(msg::kCannotWriteFilePrefix) + path +
                       std::string(msg::kCannotOpenFileSuffix));
  }
  std::string moved;
  moved.swap(memory_);
  size_ = 0;  // counts what the file holds from here on
  writeToFile(moved);
}

void THsmStream::writeToFile(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(size_));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      throw EInException(std::string(msg::kCannotWriteFilePrefix) + filePath_ +
                         std::string(msg::kCannotOpenFileSuffix));
    }
    size_ += static_cast<std::uint64_t>(done);
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
}

void THsmStream::write(std::string_view bytes) {
  if (fd_ < 0 && memory_.size() + bytes.size() > threshold_) spill();
  if (fd_ >= 0) {
    writeToFile(bytes);
  } else {
    memory_.append(bytes);
    size_ = memory_.size();
  }
}

std::size_t THsmStream::read(char* dest, std::size_t n) {
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(n, size_ - position_));
  if (want == 0) return 0;
  if (fd_ < 0) {
    std::memcpy(dest, memory_.data() + position_, want);
    position_ += want;
    return want;
  }
  for (;;) {
    const ssize_t got = ::pread(fd_, dest, want, static_cast<off_t>(position_));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return 0;
    position_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
  }
}

}  // namespace orv
