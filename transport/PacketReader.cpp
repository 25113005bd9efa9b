#include "transport/PacketReader.h"

#include "transport/InErrors.h"
#include "transport/Messages.h"
#include "transport/PacketFrame.h"

namespace orv {

void PacketReader::need(std::size_t count) const {
  if (count > bytes_.size() - position_) throw EInPacketError(msg::kPacketTruncated);
}

std::int32_t PacketReader::readInteger() {
  need(4);
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) {
    v = (v << 8) | static_cast<std::uint8_t>(bytes_[position_ + static_cast<std::size_t>(i)]);
  }
  position_ += 4;
  return static_cast<std::int32_t>(v);
}

std::uint16_t PacketReader::readWord() {
  need(2);
  const auto lo = static_cast<std::uint8_t>(bytes_[position_]);
  const auto hi = static_cast<std::uint8_t>(bytes_[position_ + 1]);
  position_ += 2;
  return static_cast<std::uint16_t>(lo | (hi << 8));
}

std::uint8_t PacketReader::readByte() {
  need(1);
  return static_cast<std::uint8_t>(bytes_[position_++]);
}

std::string PacketReader::readBytes(std::size_t count) {
  need(count);
  std::string result(bytes_.substr(position_, count));
  position_ += count;
  return result;
}

std::string PacketReader::readText() {
  const std::int32_t count = readInteger();
  if (count < 0) throw EInPacketError(msg::kPacketTruncated);
  return readBytes(static_cast<std::size_t>(count));
}

std::vector<std::string> PacketReader::readTextList() {
  const std::int32_t count = readInteger();
  // Every entry takes at least its 4-byte count: a larger count cannot be real.
  if (count < 0 || static_cast<std::size_t>(count) > (bytes_.size() - position_) / 4) {
    throw EInPacketError(msg::kPacketTruncated);
  }
  std::vector<std::string> list;
  list.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) list.push_back(readText());
  return list;
}

void PacketReader::readSignature() {
  if (bytes_.size() - position_ < 4 ||
      static_cast<std::uint32_t>(readInteger()) != kPacketSignature) {
    throw EInPacketError(msg::kNoStreamSignature);
  }
  const std::int32_t version = readInteger();
  if (version != kPacketVersion) {
    throw EInPacketError(std::string(msg::kStreamVersionMismatch) + std::to_string(version) +
                         std::string(msg::kStreamVersionMismatchTail) +
                         std::to_string(kPacketVersion));
  }
}

}  // namespace orv
