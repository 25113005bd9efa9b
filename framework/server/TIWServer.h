#pragma once
// TIWServer: one request's way through the framework. Made by HttpExecute on the
// transport's connection thread for one request packet, it decodes the request,
// derives the URL path and routes it along the URL scheme: embedded files, cache
// files, static files, session-less commands, or (TIWServerSession) a session
// request. Errors become error pages; at the end the reply is committed into the
// packet block. It never outlives the request and is used by its thread alone.
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"

namespace orv {

class TIWServer {
 public:
  TIWServer(THttpRequest request, std::span<std::uint8_t> block);
  virtual ~TIWServer() = default;
  TIWServer(const TIWServer&) = delete;
  TIWServer& operator=(const TIWServer&) = delete;

  // The request pipeline; commits the reply into the block. Errors while committing
  // are logged and passed on to the transport.
  void Execute();

  const THttpReply& Reply() const { return mReply; }
  const std::string& BaseURL() const { return mBaseURL; }
  const std::string& CookieName() const { return mCookieName; }

  // The URL path of the request (see detail::urlPathFromPathInfo).
  std::string GetUrlPath() const;

 protected:
  // Called with the error of a failed request (never a silent abort).
  virtual void HandleException(const std::exception& error);
  virtual void ExecuteSession(const std::string& path);
  // Resets the reply to the error page of the error (code 500).
  virtual void SendException(const std::exception& error);

  void ExecuteUrl(const std::string& path);
  // Sends a file: "#" in its name or a missing file that must exist give 404; a file
  // the browser has (If-Modified-Since) gives 304. Returns false for a missing file
  // that need not exist.
  enum class SendKind { Static, NotCached, Cache };
  bool DoSendFile(const std::string& file, bool mustExist, const std::string& contentType,
                  SendKind kind);
  // An embedded file of a kind ("JS", "GFX", "CSS") by its URL file name.
  void SendInternalFile(const std::string& kind, const std::string& file);
  void SendNotFound();
  // The start parameters of the request (or of the session), "?a=1&b=2" or empty.
  virtual std::string GetStartParams(bool force);
  // The If-Modified-Since of the request as seconds since 1970, or -1.
  std::int64_t ifModifiedSince() const;

  THttpReply mReply;
  THttpRequest mRequest;
  std::span<std::uint8_t> block_;
  std::string mCookieName;
  std::string mCookiePath;
  std::int64_t mTrackID = -1;
  std::string mBaseURL;
  bool mCacheIt = false;
  std::string mClientIP;
  std::string mUsername;
  std::string mPassword;
  std::vector<std::string> mParams;
  std::string mFullUrlPath;
  std::string mUrlPath;

 private:
  void commitReply();
};

// The transport's request hook: decodes the request packet in the block, runs the
// request and leaves the reply packet in the same block.
void HttpExecute(std::uint8_t* block, std::size_t size);

}  // namespace orv
