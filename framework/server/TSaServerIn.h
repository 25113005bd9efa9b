#pragma once
// TSaServerIn: the framework's server wrapper, which owns the application's listeners.
// The standalone window, service mode and the foreground server ("-SERVE") make one
// and start and stop it. It holds a plain HTTP server (THTTPServerIn) and, when the
// controller names a TLS port, the TLS server; their bindings come from the
// controller's BoundIP (one per comma-separated address, else 0.0.0.0) at Port and
// SSLOptions.Port.
//
// After a start, the port the plain server actually listens on is written back into
// the controller's Port (so port 0 in the settings means "any free port").
//
// Used by the thread that starts and stops serving; requests run on the transport's
// connection threads. The controller must outlive it.
#include <functional>
#include <memory>
#include <string>

namespace orv {

class TInCustomTCPServer;
class THTTPServerIn;

class TSaServerIn {
 public:
  // Makes the TLS server for a BoundIP and port (installed by the TLS listener's unit).
  using TlsServerFactory =
      std::function<std::unique_ptr<TInCustomTCPServer>(const std::string& boundIP, int port)>;
  static void SetTlsServerFactory(TlsServerFactory factory);

  // Reads BoundIP, Port, HttpKeepAlive and the TLS options from the controller.
  TSaServerIn();
  // Stops serving.
  ~TSaServerIn();
  TSaServerIn(const TSaServerIn&) = delete;
  TSaServerIn& operator=(const TSaServerIn&) = delete;

  // Starts the TLS server (TLS port above 0) and the plain server (unless a TLS port is
  // set and plain requests are blocked). A failure (a port in use, ...) leaves nothing
  // listening and reaches the caller.
  void Start();
  // Stops both servers: no new connections; waits for the requests that run.
  void Stop();
  bool Active() const;

  // The port the plain server listens on (0 while it is not active).
  int Port() const;
  int SSLPort() const;
  THTTPServerIn& Http() { return *http_; }

 private:
  std::unique_ptr<THTTPServerIn> http_;
  std::unique_ptr<TInCustomTCPServer> https_;  // none without a TLS port
  bool httpActive_ = false;
};

}  // namespace orv
