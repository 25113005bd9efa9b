#pragma once
// The reply packet that the framework leaves in the block for the transport: after its
// signature and version, the kind of body, status code and text, content type,
// authentication realm, the custom header lines (Name:Value joined by CR LF), the
// cookies, and then the file path and delete flag (file and cache-file kinds) or the
// inline body (inline kind). `THttpReply::Commit` encodes it; the transport decodes it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orv {

// What carries a reply's body. The values are the packet's kind byte.
enum class ReplyKind : std::uint8_t { None = 0, File = 1, NoData = 2, Inline = 3, CacheFile = 4 };

// One cookie of a reply (and of the response written for it). `expires` is a local
// date-time: 0 = no expiry (a browser-session cookie), -1 = delete the cookie.
struct HttpCookie {
  std::string name;
  std::string value;
  std::string path;
  double expires = 0;
  std::string domain;
  bool httpOnly = false;
  bool secure = false;

  bool operator==(const HttpCookie&) const = default;
};

struct ReplyPacket {
  ReplyKind kind = ReplyKind::None;
  std::uint16_t code = 0;
  std::string statusText;
  std::string contentType;
  std::string authRealm;
  std::string headers;  // "Name:Value" lines joined by CR LF
  std::vector<HttpCookie> cookies;
  std::string filePath;     // kinds File and CacheFile
  bool fileDelete = false;  // kind File only
  std::string body;         // kind Inline

  bool operator==(const ReplyPacket&) const = default;
};

// Encodes into the block; a packet that does not fit goes by a temporary file in
// `tempDir` (see PacketFrame.h).
void encodeReplyPacket(std::span<std::uint8_t> block, const ReplyPacket& packet,
                       const std::string& tempDir);
// Decodes a reply packet (the frame's and the body's errors as in PacketFrame.h).
ReplyPacket decodeReplyPacket(std::span<const std::uint8_t> block);

}  // namespace orv
