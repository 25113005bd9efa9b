#pragma once
// One accepted connection: owns its I/O handler (and through it the socket). Owned by
// the connection's TInContext; used by the connection's thread only, except
// `IOHandler().wakeUp()`, which the server's stop sequence may call from its thread.
#include <memory>

#include "transport/TInIOHandler.h"

namespace orv {

class TInTCPConnection {
 public:
  explicit TInTCPConnection(std::unique_ptr<TInIOHandler> ioHandler)
      : ioHandler_(std::move(ioHandler)) {}

  TInIOHandler& IOHandler() { return *ioHandler_; }
  bool Connected() const { return ioHandler_->Connected(); }
  void Disconnect() { ioHandler_->Close(); }

 private:
  std::unique_ptr<TInIOHandler> ioHandler_;
};

}  // namespace orv
