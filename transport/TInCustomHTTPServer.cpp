#include "transport/TInCustomHTTPServer.h"

#include <charconv>
#include <limits>

#include "transport/HttpHook.h"
#include "transport/InErrors.h"
#include "transport/Messages.h"
#include "transport/UrlCoding.h"

namespace orv {

namespace {

std::string htmlEscape(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        r += "&amp;";
        break;
      case '<':
        r += "&lt;";
        break;
      case '>':
        r += "&gt;";
        break;
      case '"':
        r += "&quot;";
        break;
      default:
        r += c;
    }
  }
  return r;
}

// A chunk-size line: hexadecimal digits, anything from ";" on dropped, blanks trimmed.
bool parseChunkSize(std::string_view line, std::uint64_t& size) {
  const auto semi = line.find(';');
  line = trimText(line.substr(0, semi));
  if (line.empty() || line.size() > 15) return false;
  const auto r = std::from_chars(line.data(), line.data() + line.size(), size, 16);
  return r.ec == std::errc() && r.ptr == line.data() + line.size();
}

}  // namespace

void parseRequestTarget(const std::string& target, std::string& uri, std::string& query,
                        std::string& document, std::string& hostFromTarget) {
  const auto q = target.find('?');
  uri = target.substr(0, q);
  query = q == std::string::npos ? std::string() : target.substr(q + 1);
  hostFromTarget.clear();
  if (uri == "*") {
    document = "*";
    return;
  }
  std::string_view path(uri);
  const auto scheme = path.find("://");
  if (scheme != std::string_view::npos && path.find('/') > scheme) {
    path.remove_prefix(scheme + 3);
    const auto slash = path.find('/');
    hostFromTarget = std::string(path.substr(0, slash));
    path = slash == std::string_view::npos ? std::string_view("/") : path.substr(slash);
  }
  const auto hash = path.find('#');
  document = urlDecode(path.substr(0, hash));
}

TInCustomHTTPServer::TInCustomHTTPServer(std::string name) : TInCustomTCPServer(std::move(name)) {}

TInCustomHTTPServer::~TInCustomHTTPServer() { SetActive(false); }

void TInCustomHTTPServer::DoCommandGet(TInContext& context, TInHTTPRequestInfo& request,
                                       TInHTTPResponseInfo& response) {
  if (OnCommandGet) OnCommandGet(context, request, response);
}

void TInCustomHTTPServer::DoCommandOther(TInContext& context, TInHTTPRequestInfo& request,
                                         TInHTTPResponseInfo& response) {
  if (OnCommandOther) OnCommandOther(context, request, response);
}

std::unique_ptr<THsmStream> TInCustomHTTPServer::CreatePostStream(TInContext&,
                                                                  const TInHeaderList&) {
  return std::make_unique<THsmStream>(packetTempDir(), std::numeric_limits<std::size_t>::max());
}

bool TInCustomHTTPServer::DoHeadersAvailable(TInContext&, const std::string&,
                                             const TInHeaderList&) {
  return true;
}

void TInCustomHTTPServer::DoHeadersBlocked(TInContext&, const std::string&, const TInHeaderList&,
                                           int& code, std::string& text, std::string& content) {
  code = 403;
  text.clear();
  content.clear();
}

bool TInCustomHTTPServer::DoHeaderExpectations(TInContext&, const std::string& expect) {
  return equalsIgnoreCase(expect, "100-continue");
}

void TInCustomHTTPServer::writeResponse(TInIOHandler& io, TInHTTPRequestInfo& request,
                                        TInHTTPResponseInfo& response) {
  // The header and a small content leave in one piece; a large content streams after.
  io.WriteBufferOpen();
  try {
    if (!response.HeaderHasBeenWritten) response.WriteHeader(io);
    if (response.hasContent() && request.CommandType != THTTPCommandType::hcHEAD) {
      response.WriteContent(io);
    }
    io.WriteBufferClose();
  } catch (...) {
    io.WriteBufferCancel();
    throw;
  }
  response.ContentText.clear();
  response.ContentStream.reset();
}

bool TInCustomHTTPServer::answerAndClose(TInIOHandler& io, TInHTTPRequestInfo& request,
                                         TInHTTPResponseInfo& response, int code) {
  response.setResponseNo(code);
  response.setCloseConnection(true);
  writeResponse(io, request, response);
  return false;
}

void TInCustomHTTPServer::setBodyDeadline(TInIOHandler& io, std::uint64_t bytes) const {
  if (ReadTimeout < 0) return;
  const auto allowed = std::chrono::milliseconds(ReadTimeout) +
                       std::chrono::milliseconds(bytes * 1000 / kMinBodyBytesPerSecond);
  io.setReadDeadline(TInIOHandler::Clock::now() + allowed);
}

TInCustomHTTPServer::BodyResult TInCustomHTTPServer::readBody(TInContext& context,
                                                              TInHTTPRequestInfo& request,
                                                              TInHTTPResponseInfo& response) {
  TInIOHandler& io = context.Connection().IOHandler();
  const std::string te = lowerAscii(trimText(request.TransferEncoding));
  if (te.empty() || te == "identity") {
    if (request.RawHeaders.has("Content-Length") && !request.HasContentLength) {
      // Present but not a whole number: the body's end cannot be known.
      response.ContentText = std::string(msg::kInvalidContentLength);
      answerAndClose(io, request, response, 400);
      return BodyResult::Answered;
    }
    if (request.HasContentLength) {
      if (static_cast<std::uint64_t>(request.ContentLength) > MaxRequestBodySize) {
        answerAndClose(io, request, response, 413);
        return BodyResult::Answered;
      }
      request.PostStream = CreatePostStream(context, request.RawHeaders);
      setBodyDeadline(io, static_cast<std::uint64_t>(request.ContentLength));
      if (request.ContentLength > 0) {
        io.ReadStream(*request.PostStream, static_cast<std::uint64_t>(request.ContentLength));
      }
      return BodyResult::Ok;
    }
    // Bytes already waiting without a length: 411. A method that may carry a body gets
    // a second look after 1 ms; GET and HEAD never carry one, and waiting a millisecond
    // on every page and image request would only add that millisecond to each of them.
    const bool mayCarryBody = request.CommandType != THTTPCommandType::hcGET &&
                              request.CommandType != THTTPCommandType::hcHEAD;
    if (io.CheckForDataOnSource(0) || (mayCarryBody && io.CheckForDataOnSource(1))) {
      answerAndClose(io, request, response, 411);
      return BodyResult::Answered;
    }
    return BodyResult::Ok;
  }
  if (te.find("chunked") == std::string::npos) {
    answerAndClose(io, request, response, 400);
    return BodyResult::Answered;
  }
  request.PostStream = CreatePostStream(context, request.RawHeaders);
  setBodyDeadline(io, MaxRequestBodySize);
  std::uint64_t total = 0;
  for (;;) {
    std::uint64_t size = 0;
    if (!parseChunkSize(io.ReadLn(), size)) {
      response.ContentText = std::string(msg::kInvalidChunkSize);
      answerAndClose(io, request, response, 400);
      return BodyResult::Answered;
    }
    if (size == 0) break;
    if (size > MaxRequestBodySize || total + size > MaxRequestBodySize) {
      answerAndClose(io, request, response, 413);
      return BodyResult::Answered;
    }
    io.ReadStream(*request.PostStream, size);
    total += size;
    io.ReadLn();  // the line ending after the chunk's bytes
  }
  std::vector<std::string> trailer;
  io.Capture(trailer);
  // The decoded length stands in for the missing Content-Length from here on.
  request.ContentLength = static_cast<std::int64_t>(total);
  return BodyResult::Ok;
}

bool TInCustomHTTPServer::DoExecute(TInContext& context) {
  TInIOHandler& io = context.Connection().IOHandler();
  io.ReadTimeout = ReadTimeout;
  io.WriteTimeout = ReadTimeout;
  io.MaxCapturedLines = MaximumHeaderLineCount;
  if (ReadTimeout >= 0) {
    io.setReadDeadline(TInIOHandler::Clock::now() + std::chrono::milliseconds(ReadTimeout));
  }

  // Request line.
  const std::string line = io.ReadLn();
  const auto lastBlank = line.rfind(' ');
  if (lastBlank == std::string::npos) throw EInException(msg::kErrorParsingCommand);

  // Version after the last blank; method and target before it.
  TInHTTPRequestInfo request;
  TInHTTPResponseInfo response;
  response.Server = std::string(trimText(ServerSoftware));
  request.RawHTTPCommand = line;
  request.Version = line.substr(lastBlank + 1);
  request.parseVersion();
  const std::string methodAndTarget = line.substr(0, lastBlank);

  // Header lines.
  std::vector<std::string> headerLines;
  io.Capture(headerLines);
  for (const auto& h : headerLines) request.RawHeaders.addLine(h);
  request.fillStandardHeaders();
  io.setReadDeadline(std::nullopt);

  // One request per connection unless keep-alive is on and the client wants it.
  bool close = true;
  if (KeepAlive) {
    close = request.atLeastHttp11() ? equalsIgnoreCase(request.Connection, "close")
                                    : !equalsIgnoreCase(request.Connection, "keep-alive");
  }
  response.setCloseConnection(close);

  // Method.
  const auto firstBlank = methodAndTarget.find(' ');
  request.Command = upperAscii(methodAndTarget.substr(0, firstBlank));
  if (!trimText(request.MethodOverride).empty()) {
    request.Command = upperAscii(trimText(request.MethodOverride));
  }
  request.RemoteIP = io.peerAddress().ip;
  request.CommandType = TInHTTPRequestInfo::commandTypeOf(request.Command);

  // Target.
  const std::string target = firstBlank == std::string::npos
                                 ? std::string()
                                 : std::string(trimText(methodAndTarget.substr(firstBlank + 1)));
  std::string hostFromTarget;
  parseRequestTarget(target, request.URI, request.QueryParams, request.Document, hostFromTarget);
  if (request.Host.empty() && !hostFromTarget.empty()) request.Host = hostFromTarget;

  // Header checks.
  if (!DoHeadersAvailable(context, request.URI, request.RawHeaders)) {
    int code = 403;
    std::string text, content;
    DoHeadersBlocked(context, request.URI, request.RawHeaders, code, text, content);
    response.setResponseNo(code);
    if (!text.empty()) response.ResponseText = text;
    response.ContentText = content;
    response.setCloseConnection(true);
    writeResponse(io, request, response);
    return false;
  }
  if (request.atLeastHttp11() && trimText(request.Host).empty()) {
    return answerAndClose(io, request, response, 400);
  }
  const std::string expect = request.RawHeaders.Values("Expect");
  if (!expect.empty() && io.InputBufferIsEmpty() && !io.CheckForDataOnSource(0)) {
    if (DoHeaderExpectations(context, expect)) {
      if (containsIgnoreCase(expect, "100-continue")) {
        io.Write(request.Version + " 100 " + std::string(msg::kContinueText) + "\r\n\r\n");
      }
    } else {
      return answerAndClose(io, request, response, 417);
    }
  }

  // Body.
  if (readBody(context, request, response) == BodyResult::Answered) return false;
  io.setReadDeadline(std::nullopt);

  // Parameters.
  const bool isForm = equalsIgnoreCase(
      trimText(std::string_view(request.ContentType).substr(0, request.ContentType.find(';'))),
      "application/x-www-form-urlencoded");
  if (request.PostStream && request.PostStream->size() > 0 && isForm) {
    request.FormParams = request.PostStream->readAll();
    request.PostStream.reset();
  }
  if (!request.FormParams.empty() && !request.QueryParams.empty()) {
    request.UnparsedParams = request.FormParams + "&" + request.QueryParams;
  } else if (!request.FormParams.empty()) {
    request.UnparsedParams = request.FormParams;
  } else {
    request.UnparsedParams = request.QueryParams;
  }
  if (ParseParams) {
    request.Params =
        decodeParams(isForm ? request.UnparsedParams : request.QueryParams, request.CharSet);
  }

  // Cookies.
  for (const auto& value : request.RawHeaders.allValues("Cookie"))
    parseCookies(value, request.Cookies);

  // Authorization.
  const std::string authorization = request.RawHeaders.Values("Authorization");
  if (!authorization.empty()) {
    const std::string_view auth = trimText(authorization);
    const auto blank = auth.find(' ');
    const std::string_view scheme = auth.substr(0, blank);
    const std::string_view credentials =
        blank == std::string_view::npos ? std::string_view() : trimText(auth.substr(blank + 1));
    if (!equalsIgnoreCase(scheme, "Basic")) {
      response.ContentText = std::string(msg::kUnsupportedAuthScheme);
      return answerAndClose(io, request, response, 400);
    }
    const std::string decoded = base64Decode(credentials);
    const auto colon = decoded.find(':');
    request.AuthUsername = decoded.substr(0, colon);
    request.AuthPassword = colon == std::string::npos ? std::string() : decoded.substr(colon + 1);
    request.AuthExists = true;
  }

  // Dispatch.
  try {
    switch (request.CommandType) {
      case THTTPCommandType::hcHEAD:
      case THTTPCommandType::hcGET:
      case THTTPCommandType::hcPOST:
        DoCommandGet(context, request, response);
        break;
      default:
        DoCommandOther(context, request, response);
        break;
    }
  } catch (const EInSocketError&) {
    throw;
  } catch (const std::exception& e) {
    response.ContentStream.reset();
    response.ContentType.clear();
    response.CharSet.clear();
    response.ContentLength = -1;
    response.setResponseNo(500);
    // The message goes into an HTML page: escaped, so it can never carry markup.
    response.ContentText = htmlEscape(e.what());
    if (OnCommandError) {
      try {
        OnCommandError(context, e);
      } catch (...) {
      }
    }
  }

  // Answer.
  writeResponse(io, request, response);

  // Next request on the same connection, or the end.
  return !response.CloseConnection();
}

}  // namespace orv
