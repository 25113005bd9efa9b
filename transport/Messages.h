#pragma once
// The texts of the transport layer that reach users, logs or the framework: error
// messages carried by exceptions and the status texts of HTTP responses. Tests compare
// these literal strings.
#include <string_view>

namespace orv::msg {

// Connection and line reading.
inline constexpr std::string_view kReadTimedOut = "Read timed out.";
inline constexpr std::string_view kWriteTimedOut = "Write timed out.";
inline constexpr std::string_view kConnClosedGracefully = "The peer closed the connection.";
inline constexpr std::string_view kMaxLineLengthExceeded = "Max line length exceeded.";
inline constexpr std::string_view kMaxCapturedLinesExceeded =
    "Maximum number of line allowed exceeded";
inline constexpr std::string_view kSchedulerThreadsExceeded =
    "The maximum number of threads for this scheduler is exceeded.";

// HTTP request loop.
inline constexpr std::string_view kErrorParsingCommand = "Error in parsing command.";
inline constexpr std::string_view kUnsupportedAuthScheme = "Unsupported authorization scheme.";
inline constexpr std::string_view kHeaderAlreadyWritten = "Header has already been written.";
inline constexpr std::string_view kHttpHookNotSet = "HTTP hook has not been set.";
inline constexpr std::string_view kUninitializedReply = "Uninitialized reply.";
inline constexpr std::string_view kInvalidContentLength = "Invalid Content-Length.";
inline constexpr std::string_view kInvalidChunkSize = "Invalid chunk size.";

// Packets.
inline constexpr std::string_view kNoStreamSignature = "No stream signature found.";
inline constexpr std::string_view kStreamVersionMismatch =
    "Stream version mismatch. Packet version: ";
inline constexpr std::string_view kStreamVersionMismatchTail = ", stream version: ";
inline constexpr std::string_view kUnknownPacketType = "Unknown packet type.";
inline constexpr std::string_view kPacketTruncated = "Packet data is incomplete.";
inline constexpr std::string_view kPacketTooSmall = "Packet buffer is too small.";

// Reply object.
inline constexpr std::string_view kReplyTypeAlreadySet = "Reply type already set.";
inline constexpr std::string_view kContentStreamExists = "ContentStream already exists.";

// Temporary and cache files.
inline constexpr std::string_view kMakeTempFileNoPath = "MakeTempFile: No path was provided";
inline constexpr std::string_view kInvalidCacheFile = "Invalid cache file";
inline constexpr std::string_view kCacheFileCorrupted = "Cache file is corrupted";
inline constexpr std::string_view kCannotOpenFilePrefix = "Cannot open file \"";
inline constexpr std::string_view kCannotOpenFileSuffix = "\".";
inline constexpr std::string_view kCannotWriteFilePrefix = "Cannot write file \"";

// Response bodies the transport makes itself.
inline constexpr std::string_view kStatusPageHead = "<HTML><BODY><B>";
inline constexpr std::string_view kStatusPageTail = "</B></BODY></HTML>";
inline constexpr std::string_view kDefaultContentType = "text/html";
inline constexpr std::string_view kDefaultCharSet = "ISO-8859-1";
inline constexpr std::string_view kAuthPageContentType = "text/html";
inline constexpr std::string_view kAuthPageCharSet = "utf-8";
inline constexpr std::string_view kContinueText = "Continue";

// The status text of an HTTP status code ("Unknown Response Code" for codes not listed).
inline constexpr std::string_view httpStatusText(int code) {
  switch (code) {
    case 100:
      return "Continue";
    case 200:
      return "OK";
    case 201:
      return "Created";
    case 202:
      return "Accepted";
    case 203:
      return "Non-authoritative Information";
    case 204:
      return "No Content";
    case 205:
      return "Reset Content";
    case 206:
      return "Partial Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Moved Temporarily";
    case 303:
      return "See Other";
    case 304:
      return "Not Modified";
    case 305:
      return "Use Proxy";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method not allowed";
    case 406:
      return "Not Acceptable";
    case 407:
      return "Proxy Authentication Required";
    case 408:
      return "Request Timeout";
    case 409:
      return "Conflict";
    case 410:
      return "Gone";
    case 411:
      return "Length Required";
    case 412:
      return "Precondition Failed";
    case 413:
      return "Request Entity Too Long";
    case 414:
      return "Request-URI Too Long. 256 Chars max";
    case 415:
      return "Unsupported Media Type";
    case 417:
      return "Expectation Failed";
    case 428:
      return "Precondition Required";
    case 429:
      return "Too Many Requests";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway timeout";
    case 505:
      return "HTTP version not supported";
    case 511:
      return "Network Authentication Required";
    default:
      return "Unknown Response Code";
  }
}

}  // namespace orv::msg
