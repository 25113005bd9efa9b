#include "transport/ReplyPacket.h"

#include "transport/HttpDate.h"
#include "transport/InErrors.h"
#include "transport/Messages.h"
#include "transport/PacketFrame.h"
#include "transport/PacketReader.h"
#include "transport/PacketWriter.h"

namespace orv {

void encodeReplyPacket(std::span<std::uint8_t> block, const ReplyPacket& packet,
                       const std::string& tempDir) {
  PacketWriter w;
  w.writeSignature();
  w.writeByte(static_cast<std::uint8_t>(packet.kind));
  w.writeWord(packet.code);
  w.writeText(packet.statusText);
  w.writeText(packet.contentType);
  w.writeText(packet.authRealm);
  w.writeText(packet.headers);
  w.writeInteger(static_cast<std::int32_t>(packet.cookies.size()));
  for (const auto& c : packet.cookies) {
    w.writeText(c.name);
    w.writeText(c.value);
    w.writeText(c.path);
    w.writeText(dateTimeToText(c.expires));
    w.writeText(c.domain);
    w.writeBoolean(c.httpOnly);
    w.writeBoolean(c.secure);
  }
  switch (packet.kind) {
    case ReplyKind::File:
      w.writeText(packet.filePath);
      w.writeBoolean(packet.fileDelete);
      break;
    case ReplyKind::CacheFile:
      w.writeText(packet.filePath);
      w.writeBoolean(false);
      break;
    case ReplyKind::Inline:
      w.writeInteger(static_cast<std::int32_t>(packet.body.size()));
      w.writeBytes(packet.body);
      break;
    case ReplyKind::None:
    case ReplyKind::NoData:
      break;
  }
  writePacketFrame(block, w.bytes(), tempDir);
}

ReplyPacket decodeReplyPacket(std::span<const std::uint8_t> block) {
  const PacketBody body = readPacketFrame(block);
  PacketReader r(body.bytes());
  r.readSignature();
  ReplyPacket packet;
  const std::uint8_t kind = r.readByte();
  if (kind > static_cast<std::uint8_t>(ReplyKind::CacheFile)) {
    throw EInPacketError(msg::kUnknownPacketType);
  }
  packet.kind = static_cast<ReplyKind>(kind);
  packet.code = r.readWord();
  packet.statusText = r.readText();
  packet.contentType = r.readText();
  packet.authRealm = r.readText();
  packet.headers = r.readText();
  const std::int32_t cookieCount = r.readInteger();
  if (cookieCount < 0) throw EInPacketError(msg::kPacketTruncated);
  for (std::int32_t i = 0; i < cookieCount; ++i) {
    HttpCookie c;
    c.name = r.readText();
    c.value = r.readText();
    c.path = r.readText();
    c.expires = textToDateTime(r.readText());
    c.domain = r.readText();
    c.httpOnly = r.readBoolean();
    c.secure = r.readBoolean();
    packet.cookies.push_back(std::move(c));
  }
  switch (packet.kind) {
    case ReplyKind::File:
    case ReplyKind::CacheFile:
      packet.filePath = r.readText();
      packet.fileDelete = r.readBoolean() && packet.kind == ReplyKind::File;
      break;
    case ReplyKind::Inline: {
      const std::int32_t length = r.readInteger();
      if (length < 0) throw EInPacketError(msg::kPacketTruncated);
      packet.body = r.readBytes(static_cast<std::size_t>(length));
      break;
    }
    case ReplyKind::None:
    case ReplyKind::NoData:
      break;
  }
  return packet;
}

}  // namespace orv
