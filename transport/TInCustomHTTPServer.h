#pragma once
// The HTTP/1.1 layer on the TCP server: on each connection thread it reads requests
// (request line, header lines, body), fills a TInHTTPRequestInfo, hands it to the
// command handlers and writes the TInHTTPResponseInfo they fill.
//
// Limits that keep a peer from holding a thread or memory: the request line and the
// header lines must arrive within ReadTimeout (60 s by default), the body within
// ReadTimeout plus its size at 8 KiB/s; a line longer than 32768 bytes, more than
// MaximumHeaderLineCount header lines, or a time-out end the connection without an
// answer; a body announced (or, chunked, growing) past MaxRequestBodySize (16 MiB by
// default) is answered with 413 before it is read, and the connection closed.
//
// Threads: the request loop and the handlers run on the connection's thread; settings
// are read there and must be set while the server is inactive.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "transport/THsmStream.h"
#include "transport/TInCustomTCPServer.h"
#include "transport/TInHTTPRequestInfo.h"
#include "transport/TInHTTPResponseInfo.h"

namespace orv {

class TInCustomHTTPServer : public TInCustomTCPServer {
 public:
  static constexpr int kDefaultReadTimeoutMs = 60000;
  static constexpr std::uint64_t kDefaultMaxRequestBodySize = 16u << 20;
  // The slowest a body may arrive on top of the read time-out: a peer trickling a byte
  // now and then cannot keep the thread beyond ReadTimeout + size / this rate.
  static constexpr std::uint64_t kMinBodyBytesPerSecond = 8192;

  explicit TInCustomHTTPServer(std::string name = "TInCustomHTTPServer");
  ~TInCustomHTTPServer() override;

  bool KeepAlive = false;
  bool ParseParams = true;
  int MaximumHeaderLineCount = 1024;
  std::string ServerSoftware;
  // Time allowed for the request line and headers together, for the body (plus its size
  // at kMinBodyBytesPerSecond), and for each wait for room to send, in ms (-1: no limit).
  int ReadTimeout = kDefaultReadTimeoutMs;
  std::uint64_t MaxRequestBodySize = kDefaultMaxRequestBodySize;

  // Handlers (used when DoCommandGet / DoCommandOther are not overridden).
  using CommandHandler =
      std::function<void(TInContext&, TInHTTPRequestInfo&, TInHTTPResponseInfo&)>;
  CommandHandler OnCommandGet;
  CommandHandler OnCommandOther;
  // Told about an error raised by a handler (after the 500 response has been prepared).
  std::function<void(TInContext&, const std::exception&)> OnCommandError;

 protected:
  bool DoExecute(TInContext& context) override;

  // HEAD, GET and POST.
  virtual void DoCommandGet(TInContext& context, TInHTTPRequestInfo& request,
                            TInHTTPResponseInfo& response);
  // Every other method.
  virtual void DoCommandOther(TInContext& context, TInHTTPRequestInfo& request,
                              TInHTTPResponseInfo& response);
  // The stream a body is read into (in memory here).
  virtual std::unique_ptr<THsmStream> CreatePostStream(TInContext& context,
                                                       const TInHeaderList& headers);
  // False blocks the request (answered by DoHeadersBlocked, then closed).
  virtual bool DoHeadersAvailable(TInContext& context, const std::string& uri,
                                  const TInHeaderList& headers);
  virtual void DoHeadersBlocked(TInContext& context, const std::string& uri,
                                const TInHeaderList& headers, int& code, std::string& text,
                                std::string& content);
  // Whether an "Expect" value can be met (exactly "100-continue", any letter case).
  virtual bool DoHeaderExpectations(TInContext& context, const std::string& expect);

 private:
  enum class BodyResult { Ok, Answered };
  BodyResult readBody(TInContext& context, TInHTTPRequestInfo& request,
                      TInHTTPResponseInfo& response);
  void setBodyDeadline(TInIOHandler& io, std::uint64_t bytes) const;
  void writeResponse(TInIOHandler& io, TInHTTPRequestInfo& request, TInHTTPResponseInfo& response);
  bool answerAndClose(TInIOHandler& io, TInHTTPRequestInfo& request, TInHTTPResponseInfo& response,
                      int code);
};

// Splits a request target into URI and query (at the first "?") and decodes the path
// into Document; an absolute target ("http://host:port/path") gives its host.
void parseRequestTarget(const std::string& target, std::string& uri, std::string& query,
                        std::string& document, std::string& hostFromTarget);

}  // namespace orv
