#include "transport/TInIOHandler.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "transport/InErrors.h"
#include "transport/Messages.h"

namespace orv {

namespace {

// How long and how much a closing connection drains of what its peer still sends.
constexpr int kLingerMs = 2000;
constexpr std::size_t kLingerBytes = 1 << 20;
constexpr std::size_t kInitialBuffer = 4096;

}  // namespace

TInIOHandler::TInIOHandler(Socket socket) : socket_(std::move(socket)) {}

const SocketAddress& TInIOHandler::peerAddress() const {
  if (!peer_) peer_ = socket_.valid() ? peerAddressOf(socket_.fd()) : SocketAddress{};
  return *peer_;
}

const SocketAddress& TInIOHandler::localAddress() const {
  if (!local_) local_ = socket_.valid() ? localAddressOf(socket_.fd()) : SocketAddress{};
  return *local_;
}

TInIOHandler::~TInIOHandler() {
  std::lock_guard lock(fdMutex_);
  socket_.reset();
}

int TInIOHandler::waitMs() const {
  int ms = ReadTimeout;
  if (readDeadline_) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(*readDeadline_ - Clock::now())
            .count();
    const int leftMs = static_cast<int>(std::clamp<long long>(left, 0, 1 << 30));
    ms = ms < 0 ? leftMs : std::min(ms, leftMs);
  }
  return ms;
}

std::size_t TInIOHandler::readFromSource(char* dest, std::size_t n, int timeoutMs) {
  for (;;) {
    const ssize_t got = ::recv(socket_.fd(), dest, n, 0);
    if (got > 0) return static_cast<std::size_t>(got);
    if (got == 0) return 0;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) throwSocketError(errno);
    pollfd p{socket_.fd(), POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    if (ready == 0) throw EInReadTimeout(msg::kReadTimedOut);
    if (ready < 0 && errno != EINTR) throwSocketError(errno);
  }
}

void TInIOHandler::writeToDestination(const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t done = ::send(socket_.fd(), data, n, MSG_NOSIGNAL);
    if (done > 0) {
      data += done;
      n -= static_cast<std::size_t>(done);
      continue;
    }
    if (done < 0 && errno == EINTR) continue;
    if (done < 0 && errno != EAGAIN && errno != EWOULDBLOCK) throwSocketError(errno);
    pollfd p{socket_.fd(), POLLOUT, 0};
    const int ready = ::poll(&p, 1, WriteTimeout);
    if (ready == 0) throw EInReadTimeout(msg::kWriteTimedOut);
    if (ready < 0 && errno != EINTR) throwSocketError(errno);
  }
}

void TInIOHandler::fill() {
  if (peerClosed_ || !socket_.valid()) throw EInConnClosedGracefully();
  if (begin_ == end_) {
    begin_ = end_ = scanned_ = 0;
  } else if (begin_ > 0 && (capacity_ - end_ < 1024 || begin_ >= capacity_ / 2)) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (capacity_ - end_ < 1024) {
    const std::size_t grown = std::max(kInitialBuffer, capacity_ * 2);
    auto bigger = std::make_unique_for_overwrite<char[]>(grown);
    if (end_ > begin_) std::memcpy(bigger.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    buffer_ = std::move(bigger);
    capacity_ = grown;
  }
  const std::size_t room = std::min<std::size_t>(
      capacity_ - end_, static_cast<std::size_t>(std::max(RecvBufferSize, 1)));
  const std::size_t got = readFromSource(buffer_.get() + end_, room, waitMs());
  if (got == 0) {
    peerClosed_ = true;
    throw EInConnClosedGracefully();
  }
  end_ += got;
}

std::string TInIOHandler::ReadLn() {
  const std::size_t limit = static_cast<std::size_t>(std::max(MaxLineLength, 0));
  for (;;) {
    const char* start = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* lf =
        available > scanned_ ? std::memchr(start + scanned_, '\n', available - scanned_) : nullptr;
    if (lf != nullptr) {
      std::size_t length = static_cast<const char*>(lf) - start;
      if (MaxLineLength > 0 && length > limit)
        throw EInMaxLineLengthExceeded(msg::kMaxLineLengthExceeded);
      begin_ += length + 1;
      scanned_ = 0;
      if (length > 0 && start[length - 1] == '\r') --length;
      std::string line(start, length);
      for (char& c : line) {
        if (static_cast<unsigned char>(c) > 127) c = '?';
      }
      return line;
    }
    scanned_ = available;
    // Whatever arrives next, this line is already too long: give up now rather than
    // keep buffering for a peer that may never send a line feed.
    if (MaxLineLength > 0 && available > limit)
      throw EInMaxLineLengthExceeded(msg::kMaxLineLengthExceeded);
    fill();
  }
}

void TInIOHandler::Capture(std::vector<std::string>& lines) {
  std::size_t count = 0;
  for (;;) {
    std::string line = ReadLn();
    if (line.empty()) return;
    if (MaxCapturedLines > 0 && count > static_cast<std::size_t>(MaxCapturedLines)) {
      throw EInMaxLineLengthExceeded(msg::kMaxCapturedLinesExceeded);
    }
    lines.push_back(std::move(line));
    ++count;
  }
}

void TInIOHandler::ReadStream(ByteSink& sink, std::uint64_t count) {
  while (count > 0) {
    if (begin_ == end_) fill();
    const std::size_t take =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, end_ - begin_));
    sink.write(std::string_view(buffer_.get() + begin_, take));
    begin_ += take;
    scanned_ = 0;
    count -= take;
  }
}

bool TInIOHandler::CheckForDataOnSource(int timeoutMs) {
  if (begin_ != end_) return true;
  if (peerClosed_ || !socket_.valid()) return false;
  pollfd p{socket_.fd(), POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&p, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return false;
  try {
    fill();
  } catch (const EInConnClosedGracefully&) {
    return false;
  } catch (const EInReadTimeout&) {
    return false;
  }
  return begin_ != end_;
}

void TInIOHandler::send(std::string_view bytes) {
  if (!socket_.valid()) throw EInConnClosedGracefully();
  writeToDestination(bytes.data(), bytes.size());
}

void TInIOHandler::Write(std::string_view bytes) {
  if (writeBufferOpen_) {
    writeBuffer_.append(bytes);
    return;
  }
  send(bytes);
}

void TInIOHandler::Write(ByteStream& stream) {
  stream.rewind();
  const std::size_t chunk = static_cast<std::size_t>(std::max(SendBufferSize, 1024));
  if (writeBufferOpen_ && stream.size() <= chunk) {
    const std::size_t old = writeBuffer_.size();
    writeBuffer_.resize(old + static_cast<std::size_t>(stream.size()));
    std::size_t done = 0;
    while (done < stream.size()) {
      const std::size_t got = stream.read(writeBuffer_.data() + old + done,
                                          static_cast<std::size_t>(stream.size()) - done);
      if (got == 0) break;
      done += got;
    }
    writeBuffer_.resize(old + done);
    return;
  }
  if (writeBufferOpen_) WriteBufferClose(), WriteBufferOpen();
  auto piece = std::make_unique_for_overwrite<char[]>(chunk);
  for (;;) {
    const std::size_t got = stream.read(piece.get(), chunk);
    if (got == 0) break;
    send(std::string_view(piece.get(), got));
  }
}

void TInIOHandler::WriteLn(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void TInIOHandler::WriteBufferOpen() {
  writeBufferOpen_ = true;
  writeBuffer_.clear();
}

void TInIOHandler::WriteBufferClose() {
  writeBufferOpen_ = false;
  std::string pending;
  pending.swap(writeBuffer_);
  if (!pending.empty()) send(pending);
}

void TInIOHandler::WriteBufferCancel() {
  writeBufferOpen_ = false;
  writeBuffer_.clear();
}

bool TInIOHandler::Connected() const { return socket_.valid() && !peerClosed_; }

void TInIOHandler::Close() {
  if (!socket_.valid()) return;
  int unread = 0;
  if (begin_ == end_ && !peerClosed_) ::ioctl(socket_.fd(), FIONREAD, &unread);
  if ((begin_ != end_ || unread > 0) && !peerClosed_) {
    // Unread bytes would make the close send a reset, which can destroy the answer
    // before the peer has read it: shut our side, let the peer see the end, drain.
    ::shutdown(socket_.fd(), SHUT_WR);
    const auto until = Clock::now() + std::chrono::milliseconds(kLingerMs);
    std::size_t drained = 0;
    char sink[4096];
    while (drained < kLingerBytes) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
      if (left <= 0) break;
      pollfd p{socket_.fd(), POLLIN, 0};
      const int ready = ::poll(&p, 1, static_cast<int>(left));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) break;
      const ssize_t got = ::recv(socket_.fd(), sink, sizeof sink, 0);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) break;
      drained += static_cast<std::size_t>(got);
    }
  }
  std::lock_guard lock(fdMutex_);
  socket_.reset();
  begin_ = end_ = scanned_ = 0;
}

void TInIOHandler::wakeUp() {
  std::lock_guard lock(fdMutex_);
  if (socket_.valid()) ::shutdown(socket_.fd(), SHUT_RDWR);
}

}  // namespace orv
