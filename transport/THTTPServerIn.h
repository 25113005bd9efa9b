#pragma once
// The application's HTTP server: hands every request to the framework in process. It
// encodes the request into a request packet in a fresh 32768-byte block, calls the
// HTTP hook (HttpHook.h) with it, reads the reply packet the hook leaves in the block
// into the response, and lets the framework compress the content. An error on that way
// (no hook, a bad reply packet, a missing file) answers 400 with the error's message as
// the status text.
//
// Bindings: one per comma-separated address of BoundIP at Port, or one at 0.0.0.0.
// Keep-alive follows the controller's HttpKeepAlive (false: one request per
// connection). Bodies are read into a stream that moves to a temporary file past 32759
// bytes.
//
// Threads: constructed, started and stopped by the controlling thread; requests run on
// connection threads (see TInCustomTCPServer).
#include <string>

#include "transport/THttpRequest.h"
#include "transport/TInCustomHTTPServer.h"

namespace orv {

class THTTPServerIn : public TInCustomHTTPServer {
 public:
  // Pending connections the system queues for the listener.
  static constexpr int kListenQueue = 511;

  // `boundIP`: comma-separated addresses, empty for all IPv4 interfaces.
  THTTPServerIn(const std::string& boundIP, int port, bool httpKeepAlive = false);
  ~THTTPServerIn() override;

  // The port of the first binding once active (the one the system chose for port 0).
  int Port() const { return boundPort(0); }

  // The request packet's view of an HTTP request; `localPort` is the connection's port,
  // the server port when the Host header names none.
  static THttpRequest requestForPacket(const TInHTTPRequestInfo& request, int localPort);

 protected:
  void DoCommandGet(TInContext& context, TInHTTPRequestInfo& request,
                    TInHTTPResponseInfo& response) override;
  void DoCommandOther(TInContext& context, TInHTTPRequestInfo& request,
                      TInHTTPResponseInfo& response) override;
  std::unique_ptr<THsmStream> CreatePostStream(TInContext& context,
                                               const TInHeaderList& headers) override;

 private:
  void dispatch(TInIOHandler& io, TInHTTPRequestInfo& request, TInHTTPResponseInfo& response);
};

// The port a Host value names ("h:8080" -> 8080), or -1 when it names none.
int portOfHost(const std::string& host);

// The bindings for a BoundIP setting: each non-empty comma-separated address, or
// "0.0.0.0" when there is none.
std::vector<TInSocketHandle> bindingsFor(const std::string& boundIP, int port);

}  // namespace orv
