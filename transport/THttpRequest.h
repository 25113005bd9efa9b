#pragma once
// The decoded request: what the transport read from the wire, as the framework sees it.
// The transport fills one from the HTTP request and encodes it into the request packet
// (`toPacket`); the framework's hook decodes the packet back (`fromPacket`). One object
// per request, used by the thread serving that request.
//
// Request packet body, after its signature and version: UserAgent, Referer,
// ScriptName, Host, Authorization, URL, PathInfo, RemoteAddr (Texts); ServerPort
// (Integer); Query (Text); method (Text: "GET", "PUT", "POST", "HEAD", else empty);
// IfModifiedSince, ForwardedFor, HttpClientIP, AuthorizationHeader, AuthUser,
// AuthPass, AcceptLanguage, HttpsHeader (Texts); RawHeaders, ContentFields,
// CookieFields, QueryFields, ServerVariables (Text lists of "name=value"); uploaded
// file count (Word) and five Texts per file; HasContent (Boolean).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

enum class THttpMethod : std::uint8_t { hmNone, hmGet, hmPut, hmPost, hmHead };

// A file uploaded with the request and stored by the transport.
struct THttpFile {
  std::string mFileName;      // the name on the client's side
  std::string mTempPathName;  // where the transport stored it
  std::string mContentType;
  std::int64_t mFileSize = 0;
  std::string mFieldName;

  bool operator==(const THttpFile&) const = default;
};

class THttpRequest {
 public:
  std::string mUserAgent;
  std::string mReferer;
  std::string mScriptName;
  std::string mHost;
  std::string mAuthorization;
  std::string mURL;
  std::string mPathInfo;
  std::string mRemoteAddr;
  std::int32_t mServerPort = 0;
  std::string mQuery;
  THttpMethod mHttpMethod = THttpMethod::hmNone;
  std::string mIfModifiedSince;
  std::string mForwardedFor;
  std::string mHttpClientIP;
  std::string mAuthorizationHeader;
  std::string mAuthUser;
  std::string mAuthPass;
  std::string mAcceptLanguage;
  std::string mHttpsHeader;
  std::vector<std::string> mRawHeaders;  // "Name=Value"
  std::vector<std::string> mContentFields;
  std::vector<std::string> mCookieFields;
  std::vector<std::string> mQueryFields;
  std::vector<std::string> mServerVariables;
  std::vector<THttpFile> mFiles;
  bool mHasContent = false;

  // Decodes a request packet (errors: see PacketFrame.h and PacketReader.h).
  static THttpRequest fromPacket(std::span<const std::uint8_t> block);
  // Encodes the request packet into the block; a packet that does not fit goes by a
  // temporary file in `tempDir`.
  void toPacket(std::span<std::uint8_t> block, const std::string& tempDir) const;

  // For POST the content fields followed by the query fields; otherwise the query fields.
  std::vector<std::string> GetParams() const;
  // The value of the first "name=value" entry whose name matches (any letter case);
  // empty when there is none.
  std::string GetCookieValue(std::string_view name) const;
  std::string GetContentFieldValue(std::string_view name) const;
  std::string GetRawHeaderValue(std::string_view name) const;
  std::string GetServerVariableValue(std::string_view name) const;
  // The "accept-encoding" header contains "GZIP" (any letter case).
  bool AcceptsGZip() const;

  bool operator==(const THttpRequest&) const = default;
};

// The method text of a packet ("GET", "PUT", "POST", "HEAD"; empty for hmNone), and back.
std::string_view httpMethodText(THttpMethod method);
THttpMethod httpMethodFromText(std::string_view text);

// The value of the first "name=value" line of a list whose name matches in any case.
std::string listValue(const std::vector<std::string>& list, std::string_view name);

}  // namespace orv
