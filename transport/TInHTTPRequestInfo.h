#pragma once
// One parsed HTTP request: the request line and its parts, the header lines and the
// standard headers read from them, parameters, cookies, credentials and the body.
// Made and filled by the request loop of TInCustomHTTPServer on the connection's
// thread and handed to the command handlers; it lives for that one request.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "transport/THsmStream.h"
#include "transport/TInHeaderList.h"

namespace orv {

enum class THTTPCommandType {
  hcUnknown = 0,
  hcHEAD,
  hcGET,
  hcPOST,
  hcDELETE,
  hcPUT,
  hcTRACE,
  hcOPTION
};

class TInHTTPRequestInfo {
 public:
  std::string RawHTTPCommand;
  std::string Command;
  THTTPCommandType CommandType = THTTPCommandType::hcUnknown;
  std::string Version;
  int VersionMajor = -1;
  int VersionMinor = -1;
  std::string URI;
  std::string Document;
  std::string QueryParams;
  std::string FormParams;
  std::string UnparsedParams;
  std::vector<std::string> Params;  // decoded "name=value" lines
  TInHeaderList RawHeaders;
  std::vector<std::pair<std::string, std::string>> Cookies;
  std::unique_ptr<THsmStream> PostStream;
  std::string RemoteIP;
  bool AuthExists = false;
  std::string AuthUsername;
  std::string AuthPassword;

  // Standard headers (see fillStandardHeaders).
  std::string Accept;
  std::string AcceptCharSet;
  std::string AcceptEncoding;
  std::string AcceptLanguage;
  std::string Host;
  std::string From;
  std::string Referer;
  std::string UserAgent;
  std::string Ranges;
  std::string MethodOverride;
  std::string Connection;
  std::string ContentType;
  std::string CharSet;  // "charset" of Content-Type; "UTF-8" when absent
  std::string ContentEncoding;
  std::string ContentLanguage;
  std::string TransferEncoding;
  std::int64_t ContentLength = -1;  // -1: absent or not a whole number
  bool HasContentLength = false;

  // Reads the standard headers from RawHeaders.
  void fillStandardHeaders();
  // Splits Version ("HTTP/1.1") into VersionMajor and VersionMinor (-1 when not numbers).
  void parseVersion();
  // Version 1.1 or later.
  bool atLeastHttp11() const {
    return VersionMajor > 1 || (VersionMajor == 1 && VersionMinor >= 1);
  }
  // Command -> CommandType (any letter case).
  static THTTPCommandType commandTypeOf(const std::string& command);
  // The value of the cookie named `name`, or empty.
  std::string cookieValue(const std::string& name) const;
};

// The "charset" parameter of a Content-Type value (empty when it has none), and the
// value without its "charset" parameter.
std::string charsetParameter(const std::string& contentType);
std::string withoutCharset(const std::string& contentType);

// Splits a parameter text at every "&" and decodes each piece ("+" as a blank, then URL
// decoding in `charset`) into "name=value" lines; a trailing "&" adds nothing.
std::vector<std::string> decodeParams(const std::string& text, const std::string& charset);
// Splits "Cookie" header values at ";" into name/value pairs.
void parseCookies(const std::string& header, std::vector<std::pair<std::string, std::string>>& out);

}  // namespace orv
