#pragma once
// The HTTP response under construction for one request: status, entity and general
// headers, cookies, custom header lines and the content (a text or a stream), and the
// writing of the header block and the content. Made by the request loop of
// TInCustomHTTPServer, filled by the command handlers, written and released on the
// connection's thread.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "transport/ByteStream.h"
#include "transport/ReplyPacket.h"
#include "transport/TInHeaderList.h"

namespace orv {

class TInIOHandler;

class TInHTTPResponseInfo {
 public:
  TInHTTPResponseInfo();

  // Sets the code and, from the status table, its text.
  void setResponseNo(int code);
  int ResponseNo() const { return responseNo_; }
  std::string ResponseText;

  // Content-Type without its "charset" parameter; CharSet holds that parameter.
  std::string ContentType;
  std::string CharSet;
  // Sets ContentType from a full value; a "charset" parameter in it sets CharSet.
  void setContentType(const std::string& value);

  std::int64_t ContentLength = -1;  // -1: computed when the header is written
  std::string ContentText;
  std::unique_ptr<ByteStream> ContentStream;

  // Whether the connection ends after this response; also the "Connection" value.
  void setCloseConnection(bool close);
  bool CloseConnection() const { return closeConnection_; }
  std::string Connection;

  std::vector<HttpCookie> Cookies;
  std::vector<std::pair<std::string, std::string>> CustomHeaders;
  std::string AuthRealm;
  std::string Server;
  std::string Location;
  double LastModified = 0;  // local date-times; 0 = not set
  double Date = 0;
  double Expires = 0;
  std::string CacheControl;
  std::string ETag;
  std::string Pragma;
  std::string TransferEncoding;
  std::string ContentEncoding;
  std::string ContentLanguage;
  std::string ContentVersion;
  std::string ContentDisposition;
  std::string ContentRangeUnits;  // "bytes" when empty
  std::int64_t ContentRangeStart = -1;
  std::int64_t ContentRangeEnd = -1;
  std::int64_t ContentRangeInstanceLength = -1;
  std::string AcceptRanges;
  std::string AcceptPatch;
  bool HeaderHasBeenWritten = false;
  TInHeaderList RawHeaders;  // built when the header is written

  // Adds custom header lines from "Name:Value" lines joined by CR LF (lines without
  // ":" are markers for the framework, such as "no-compression", and are kept apart).
  void setCustomHeadersText(const std::string& text);
  // Marker lines of the custom header text (never written to the wire).
  std::vector<std::string> CustomMarkers;

  // Completes the fields (401 page, default content type, length, date) and returns
  // the header block: status line, header lines, Set-Cookie lines, empty line. Marks
  // the header as written. Raises "Header has already been written." the second time.
  std::string buildHeader(double now);
  // Writes the header block (one piece through the write buffer).
  void WriteHeader(TInIOHandler& io);
  // Writes the header if needed, then ContentText in CharSet, or ContentStream from its
  // start, or the status page; then drops both.
  void WriteContent(TInIOHandler& io);
  bool hasContent() const { return !ContentText.empty() || ContentStream != nullptr; }

 private:
  int responseNo_ = 200;
  bool closeConnection_ = false;
};

// The value of a "Set-Cookie" header for a cookie, at local date-time `now`.
std::string setCookieValue(const HttpCookie& cookie, double now);
// The content text in the bytes of a character set (UTF-8 unless named otherwise).
std::string encodeContentText(const std::string& text, const std::string& charset);

}  // namespace orv
