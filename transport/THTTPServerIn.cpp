#include "transport/THTTPServerIn.h"

#include <unistd.h>

#include <charconv>
#include <memory>
#include <span>
#include <vector>

#include "transport/HttpHook.h"
#include "transport/InErrors.h"
#include "transport/Messages.h"
#include "transport/PacketFrame.h"
#include "transport/ReplyPacket.h"
#include "transport/TReadCacheFileStream.h"
#include "transport/UrlCoding.h"

namespace orv {

namespace {

// Splits a Host value into its host and port parts ("[::1]:8080" keeps its brackets).
void splitHost(const std::string& host, std::string& name, std::string& port) {
  std::size_t colon;
  if (!host.empty() && host.front() == '[') {
    const auto close = host.find(']');
    colon = close == std::string::npos ? std::string::npos : host.find(':', close);
  } else {
    colon = host.find(':');
  }
  name = host.substr(0, colon);
  port = colon == std::string::npos ? std::string() : host.substr(colon + 1);
}

}  // namespace

std::vector<TInSocketHandle> bindingsFor(const std::string& boundIP, int port) {
  std::vector<TInSocketHandle> bindings;
  std::string_view rest(boundIP);
  while (!rest.empty()) {
    const auto comma = rest.find(',');
    const std::string_view ip = trimText(rest.substr(0, comma));
    if (!ip.empty()) bindings.push_back(TInSocketHandle{std::string(ip), port});
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  if (bindings.empty()) bindings.push_back(TInSocketHandle{"0.0.0.0", port});
  return bindings;
}

THTTPServerIn::THTTPServerIn(const std::string& boundIP, int port, bool httpKeepAlive)
    : TInCustomHTTPServer("THTTPServerIn") {
  DefaultPort = port;
  Bindings = bindingsFor(boundIP, port);
  // A queue of 15 pending connections overflows as soon as a burst arrives faster than
  // the listener accepts (several browsers loading pages at once; a listener that does
  // not get its high priority without privileges), and every connection dropped there
  // costs its client a retry one to three seconds later.
  ListenQueue = kListenQueue;
  KeepAlive = httpKeepAlive;
}

THTTPServerIn::~THTTPServerIn() { SetActive(false); }

std::unique_ptr<THsmStream> THTTPServerIn::CreatePostStream(TInContext&, const TInHeaderList&) {
  return std::make_unique<THsmStream>(packetTempDir());
}

int portOfHost(const std::string& host) {
  std::string name, port;
  splitHost(host, name, port);
  int parsed = -1;
  const auto r = std::from_chars(port.data(), port.data() + port.size(), parsed);
  if (port.empty() || r.ec != std::errc() || r.ptr != port.data() + port.size() || parsed < 0 ||
      parsed > 65535) {
    return -1;
  }
  return parsed;
}

THttpRequest THTTPServerIn::requestForPacket(const TInHTTPRequestInfo& request, int localPort) {
  THttpRequest q;
  const TInHeaderList& h = request.RawHeaders;
  q.mUserAgent = request.UserAgent;
  q.mReferer = request.Referer;
  std::string hostName, hostPort;
  splitHost(request.Host, hostName, hostPort);
  q.mHost = hostName;
  q.mAuthorization = h.Values("Authorization");
  q.mPathInfo = request.Document;
  q.mRemoteAddr = request.RemoteIP;
  const int port = portOfHost(request.Host);
  q.mServerPort = port >= 0 ? port : localPort;
  q.mQuery = request.QueryParams;
  q.mHttpMethod = httpMethodFromText(request.Command);
  q.mIfModifiedSince = h.Values("If-Modified-Since");
  q.mForwardedFor = h.Values("HTTP_X_FORWARDED_FOR");
  q.mHttpClientIP = h.Values("HTTP_CLIENT_IP");
  q.mAuthorizationHeader = h.Values("Authorization");
  q.mAuthUser = h.Values("Auth_User");
  q.mAuthPass = h.Values("Auth_Pass");
  q.mAcceptLanguage = h.Values("Accept-Language");
  q.mHttpsHeader = h.Values("HTTPS");
  for (const auto& [name, value] : h.lines()) q.mRawHeaders.push_back(name + "=" + value);
  for (const auto& [name, value] : request.Cookies) q.mCookieFields.push_back(name + "=" + value);
  q.mQueryFields = request.Params;
  q.mHasContent = request.ContentLength > 0;
  return q;
}

void THTTPServerIn::dispatch(TInIOHandler& io, TInHTTPRequestInfo& request,
                             TInHTTPResponseInfo& response) {
  // The upload list stays empty: no control of this application uploads files. The
  // connection's own port is looked up only when the Host header names none.
  const THttpRequest packetRequest =
      requestForPacket(request, portOfHost(request.Host) >= 0 ? 0 : io.localAddress().port);
  // A fresh block per request; its bytes past the packet are never read.
  auto storage = std::make_unique_for_overwrite<std::uint8_t[]>(kPacketBlockSize);
  const std::span<std::uint8_t> block(storage.get(), kPacketBlockSize);
  packetRequest.toPacket(block, packetTempDir());
  const std::string requestSpill = packetSpillPath(block);
  try {
    callHttpHook(block.data(), block.size());
  } catch (...) {
    if (!requestSpill.empty()) ::unlink(requestSpill.c_str());
    throw;
  }
  // The framework removes the request's spill file when it reads it; a hook that never
  // read it must not leave it behind.
  if (!requestSpill.empty()) ::unlink(requestSpill.c_str());

  ReplyPacket reply = decodeReplyPacket(block);
  if (reply.kind == ReplyKind::None) throw EInException(msg::kUninitializedReply);
  if (reply.code != 0) response.setResponseNo(reply.code);
  if (!reply.statusText.empty()) response.ResponseText = reply.statusText;
  response.CharSet.clear();
  response.setContentType(reply.contentType);
  if (!reply.authRealm.empty()) response.AuthRealm = reply.authRealm;
  response.setCustomHeadersText(reply.headers);
  response.Cookies = std::move(reply.cookies);
  switch (reply.kind) {
    case ReplyKind::File:
      response.ContentStream = std::make_unique<FileStream>(reply.filePath, reply.fileDelete);
      break;
    case ReplyKind::Inline:
      response.ContentStream = std::make_unique<MemoryStream>(std::move(reply.body));
      break;
    case ReplyKind::CacheFile: {
      auto cache = std::make_unique<TReadCacheFileStream>(reply.filePath);
      response.CharSet.clear();
      response.setContentType(cache->contentType());
      response.ContentStream = std::move(cache);
      break;
    }
    case ReplyKind::NoData:
    case ReplyKind::None:
      break;
  }
  callHttpCompressHook(request, response);
}

void THTTPServerIn::DoCommandGet(TInContext& context, TInHTTPRequestInfo& request,
                                 TInHTTPResponseInfo& response) {
  try {
    dispatch(context.Connection().IOHandler(), request, response);
  } catch (const EInSocketError&) {
    throw;
  } catch (const std::exception& e) {
    // Nothing of a half-applied reply survives: status line and length only.
    const bool close = response.CloseConnection();
    const std::string server = response.Server;
    response = TInHTTPResponseInfo();
    response.setCloseConnection(close);
    response.Server = server;
    response.setResponseNo(400);
    response.ResponseText = e.what();
  }
}

void THTTPServerIn::DoCommandOther(TInContext& context, TInHTTPRequestInfo& request,
                                   TInHTTPResponseInfo& response) {
  DoCommandGet(context, request, response);
}

}  // namespace orv
