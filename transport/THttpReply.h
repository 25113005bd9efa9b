#pragma once
// The reply under construction for one request, as page code and the framework's
// dispatcher fill it: status, content type, custom headers, cookies, caching fields,
// and one kind of body (an inline body, a file, a cache file, or no data). `Commit`
// adds the caching headers and encodes the reply packet into the request's block,
// from which the transport writes the HTTP response. One object per request, used by
// the thread serving that request.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "transport/ByteStream.h"
#include "transport/ReplyPacket.h"

namespace orv {

class THttpReply {
 public:
  THttpReply() = default;

  std::uint16_t mCode = 200;
  std::string mCodeText;
  bool mAllowCaching = false;
  std::string mAuthRealm;
  std::string mContentType = "text/html; charset=UTF-8";
  std::vector<std::string> mHeaders;  // "Name:Value"
  double mLastModified = 0;           // local date-times; 0 = none
  double mExpires = 0;
  std::int32_t mCacheTTL = 120;  // minutes
  ReplyKind mDataType = ReplyKind::None;
  std::unique_ptr<ByteStream> mContentStream;
  std::vector<HttpCookie> mCookies;
  std::string mFilePathname;
  bool mFileDelete = false;
  std::int32_t mServerPort = 0;
  bool mSendingFile = false;
  bool mCacheControlEnabled = true;
  std::string mIECompatibilityMode;
  std::string mP3P;

  // Appends UTF-8 text to the inline body.
  void WriteString(std::string_view text);
  // The stream becomes the inline body ("ContentStream already exists." when there is
  // one already).
  void SendStream(std::unique_ptr<ByteStream> stream);
  void SendHsmStream(std::unique_ptr<ByteStream> stream) { SendStream(std::move(stream)); }
  // A rendered document becomes the inline body.
  void SendRenderStream(std::string rendered);
  // The file becomes the body; `disableCacheControl` leaves out the caching headers;
  // `deleteAfter` removes the file once the transport has sent it.
  void SendFile(const std::string& path, bool disableCacheControl = false,
                bool deleteAfter = false);
  // A cache file (content type from its trailer) becomes the body.
  void SendCacheFile(const std::string& path);
  // Code 302 with "Location: " + url; drops every cookie added so far.
  void SendRedirect(const std::string& url);
  void SetCode(std::uint16_t code, const std::string& codeText = {});
  // Forgets the kind of body chosen so far (and the body).
  void ResetReplyType();

  void addHeader(std::string_view name, std::string_view value);
  void addCookie(HttpCookie cookie) { mCookies.push_back(std::move(cookie)); }

  // Adds the caching headers and "P3P" (at local date-time `now`) and encodes the reply
  // packet into the block; a packet too large for it goes by a temporary file in
  // `tempDir`.
  void Commit(std::span<std::uint8_t> block, const std::string& tempDir, double now);
  // The same at the current time, with the transport's packet directory.
  void Commit(std::span<std::uint8_t> block);

 private:
  void chooseKind(ReplyKind kind);
};

}  // namespace orv
