#pragma once
// The exceptions of the transport. Each carries exactly the text a user or the log
// sees. Socket errors remember whether the peer simply went away (reset, abort, shut
// down, closed): those end a connection silently.
#include <stdexcept>
#include <string>
#include <string_view>

#include "transport/Messages.h"

namespace orv {

// Base of every transport error.
class EInException : public std::runtime_error {
 public:
  explicit EInException(std::string_view message) : std::runtime_error(std::string(message)) {}
};

// A socket call failed. `peerGone` is true for resets, aborts and shut-down sockets.
class EInSocketError : public EInException {
 public:
  EInSocketError(std::string_view message, int errorCode, bool peerGone)
      : EInException(message), errorCode_(errorCode), peerGone_(peerGone) {}
  int errorCode() const noexcept { return errorCode_; }
  bool peerGone() const noexcept { return peerGone_; }

 private:
  int errorCode_;
  bool peerGone_;
};

// The peer closed its side while more bytes were expected.
class EInConnClosedGracefully : public EInSocketError {
 public:
  EInConnClosedGracefully() : EInSocketError(msg::kConnClosedGracefully, 0, true) {}
};

// No byte arrived within the read time-out (or could be sent within the write time-out).
class EInReadTimeout : public EInException {
 public:
  using EInException::EInException;
};

// A line longer than the handler's limit, or more lines than `Capture` accepts.
class EInMaxLineLengthExceeded : public EInException {
 public:
  using EInException::EInException;
};

// A packet that cannot be read (signature, version, kind, truncation).
class EInPacketError : public EInException {
 public:
  using EInException::EInException;
};

}  // namespace orv
