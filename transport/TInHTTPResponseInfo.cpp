#include "transport/TInHTTPResponseInfo.h"

#include <cmath>

#include "transport/HttpDate.h"
#include "transport/InErrors.h"
#include "transport/Messages.h"
#include "transport/TInHTTPRequestInfo.h"
#include "transport/TInIOHandler.h"
#include "transport/UrlCoding.h"

namespace orv {

namespace {

// Header values never carry line breaks: a CR or LF would end the header early and let
// a value write header lines of its own.
std::string headerSafe(std::string_view value) {
  std::string r(value);
  for (char& c : r) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return r;
}

// Header lines in order; a name set twice keeps its first place and its last value.
void setLine(std::vector<std::pair<std::string, std::string>>& lines, const std::string& name,
             const std::string& value) {
  for (auto& line : lines) {
    if (equalsIgnoreCase(line.first, name)) {
      line.second = value;
      return;
    }
  }
  lines.emplace_back(name, value);
}

void removeLine(std::vector<std::pair<std::string, std::string>>& lines, std::string_view name) {
  std::erase_if(lines, [&](const auto& line) { return equalsIgnoreCase(line.first, name); });
}

}  // namespace

std::string encodeContentText(const std::string& text, const std::string& charset) {
  return utf8ToCharset(text, charset.empty() ? std::string_view("UTF-8") : charset);
}

std::string setCookieValue(const HttpCookie& cookie, double now) {
  std::string v = cookie.name + "=" + cookie.value;
  if (!cookie.path.empty()) v += "; Path=" + cookie.path;
  if (!cookie.domain.empty()) v += "; Domain=" + cookie.domain;
  if (cookie.secure) v += "; Secure";
  if (cookie.httpOnly) v += "; HttpOnly";
  if (cookie.expires != 0) {
    const double seconds = std::floor(
        static_cast<double>(localDateTimeToUnix(cookie.expires) - localDateTimeToUnix(now)));
    if (seconds >= 0) v += "; Max-Age=" + std::to_string(static_cast<long long>(seconds));
    v += "; Expires=" + cookieDate(cookie.expires);
  }
  return headerSafe(v);
}

TInHTTPResponseInfo::TInHTTPResponseInfo() { setResponseNo(200); }

void TInHTTPResponseInfo::setResponseNo(int code) {
  responseNo_ = code;
  ResponseText = std::string(msg::httpStatusText(code));
}

void TInHTTPResponseInfo::setContentType(const std::string& value) {
  const std::string charset = charsetParameter(value);
  if (!charset.empty()) CharSet = charset;
  ContentType = withoutCharset(value);
}

void TInHTTPResponseInfo::setCloseConnection(bool close) {
  closeConnection_ = close;
  Connection = close ? "close" : "keep-alive";
}

void TInHTTPResponseInfo::setCustomHeadersText(const std::string& text) {
  std::string_view rest(text);
  while (!rest.empty()) {
    const auto nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (trimText(line).empty()) continue;
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) {
      CustomMarkers.emplace_back(trimText(line));
      continue;
    }
    CustomHeaders.emplace_back(std::string(trimText(line.substr(0, colon))),
                               std::string(trimText(line.substr(colon + 1))));
  }
}

std::string TInHTTPResponseInfo::buildHeader(double now) {
  if (HeaderHasBeenWritten) throw EInException(msg::kHeaderAlreadyWritten);
  if (!AuthRealm.empty()) {
    setResponseNo(401);
    if (!hasContent()) {
      ContentText = std::string(msg::kStatusPageHead) + std::to_string(ResponseNo()) + " " +
                    ResponseText + std::string(msg::kStatusPageTail);
      ContentType = std::string(msg::kAuthPageContentType);
      CharSet = std::string(msg::kAuthPageCharSet);
    }
  }
  if (hasContent() && ContentType.empty()) {
    ContentType = std::string(msg::kDefaultContentType);
    CharSet = std::string(msg::kDefaultCharSet);
  }
  if (ContentLength == -1 &&
      (TransferEncoding.empty() || equalsIgnoreCase(TransferEncoding, "identity"))) {
    if (!ContentText.empty()) {
      ContentLength = static_cast<std::int64_t>(encodeContentText(ContentText, CharSet).size());
    } else if (ContentStream) {
      ContentLength = static_cast<std::int64_t>(ContentStream->size());
    } else {
      ContentLength = 0;
    }
  }
  if (Date == 0) Date = now;

  std::vector<std::pair<std::string, std::string>> lines;
  auto setIf = [&](const char* name, const std::string& value) {
    if (!value.empty()) setLine(lines, name, value);
  };
  setIf("Connection", Connection);
  setIf("Content-Version", ContentVersion);
  setIf("Content-Disposition", ContentDisposition);
  setIf("Content-Encoding", ContentEncoding);
  setIf("Content-Language", ContentLanguage);
  if (!ContentType.empty()) {
    setLine(lines, "Content-Type",
            CharSet.empty() ? ContentType : ContentType + "; charset=" + CharSet);
  }
  if (ContentLength >= 0) setLine(lines, "Content-Length", std::to_string(ContentLength));
  setIf("Cache-control", CacheControl);
  if (Date != 0) setLine(lines, "Date", httpDate(Date));
  setIf("ETag", ETag);
  if (Expires != 0) setLine(lines, "Expires", httpDate(Expires));
  setIf("Pragma", Pragma);
  setIf("Transfer-Encoding", TransferEncoding);
  for (const auto& [name, value] : CustomHeaders) setLine(lines, name, value);
  if (ContentRangeStart >= 0 || ContentRangeEnd >= 0 || ContentRangeInstanceLength >= 0) {
    std::string range = (ContentRangeUnits.empty() ? "bytes" : ContentRangeUnits) + " ";
    range += (ContentRangeStart >= 0 && ContentRangeEnd >= 0)
                 ? std::to_string(ContentRangeStart) + "-" + std::to_string(ContentRangeEnd)
                 : std::string("*");
    range += "/";
    range += ContentRangeInstanceLength >= 0 ? std::to_string(ContentRangeInstanceLength) : "*";
    setLine(lines, "Content-Range", range);
  }
  setIf("Accept-Patch", AcceptPatch);
  setIf("Accept-Ranges", AcceptRanges);
  setIf("Server", Server);
  setIf("Location", Location);
  if (LastModified != 0) setLine(lines, "Last-Modified", httpDate(LastModified));
  if (!AuthRealm.empty()) setLine(lines, "WWW-Authenticate", "Basic realm=\"" + AuthRealm + "\"");
  if (ResponseNo() == 304) {
    removeLine(lines, "Content-Type");
    removeLine(lines, "Content-Length");
  }

  std::string block =
      "HTTP/1.1 " + std::to_string(ResponseNo()) + " " + headerSafe(ResponseText) + "\r\n";
  RawHeaders = TInHeaderList();
  for (const auto& [name, value] : lines) {
    RawHeaders.add(name, value);
    block += headerSafe(name);
    block += ": ";
    block += headerSafe(value);
    block += "\r\n";
  }
  for (const auto& cookie : Cookies) {
    block += "Set-Cookie: ";
    block += setCookieValue(cookie, now);
    block += "\r\n";
  }
  block += "\r\n";
  HeaderHasBeenWritten = true;
  return block;
}

void TInHTTPResponseInfo::WriteHeader(TInIOHandler& io) {
  const std::string block = buildHeader(nowLocalDateTime());
  const bool ownBuffer = !io.WriteBufferIsOpen();
  if (ownBuffer) io.WriteBufferOpen();
  try {
    io.Write(block);
    if (ownBuffer) io.WriteBufferClose();
  } catch (...) {
    if (ownBuffer) io.WriteBufferCancel();
    throw;
  }
}

void TInHTTPResponseInfo::WriteContent(TInIOHandler& io) {
  if (!HeaderHasBeenWritten) WriteHeader(io);
  if (!ContentText.empty()) {
    io.Write(encodeContentText(ContentText, CharSet));
  } else if (ContentStream) {
    io.Write(*ContentStream);
  } else {
    io.WriteLn(std::string(msg::kStatusPageHead) + std::to_string(ResponseNo()) + " " +
               ResponseText + std::string(msg::kStatusPageTail));
  }
  ContentText.clear();
  ContentStream.reset();
}

}  // namespace orv
