#pragma once
// The state of one accepted connection while its thread serves it: the connection and
// the name of the thread. Created by a listener thread, owned by the server's list of
// connection slots, used by the connection's thread (and, to wake it, by the stop
// sequence).
#include <memory>
#include <string>

#include "transport/TInTCPConnection.h"

namespace orv {

class TInCustomTCPServer;

class TInContext {
 public:
  TInContext(TInCustomTCPServer& server, std::unique_ptr<TInTCPConnection> connection)
      : server_(server), connection_(std::move(connection)) {}

  TInTCPConnection& Connection() { return *connection_; }
  // The server that accepted the connection (it outlives every context).
  TInCustomTCPServer& Server() { return server_; }

 private:
  TInCustomTCPServer& server_;
  std::unique_ptr<TInTCPConnection> connection_;
};

}  // namespace orv
