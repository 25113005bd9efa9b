#include "transport/PacketWriter.h"

#include "transport/PacketFrame.h"

namespace orv {

void PacketWriter::writeInteger(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  const char raw[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
  bytes_.append(raw, 4);
}

void PacketWriter::writeWord(std::uint16_t value) {
  const char raw[2] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
  bytes_.append(raw, 2);
}

void PacketWriter::writeByte(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }

void PacketWriter::writeText(std::string_view text) {
  writeInteger(static_cast<std::int32_t>(text.size()));
  bytes_.append(text);
}

void PacketWriter::writeTextList(const std::vector<std::string>& list) {
  writeInteger(static_cast<std::int32_t>(list.size()));
  for (const auto& text : list) writeText(text);
}

void PacketWriter::writeSignature() {
  writeInteger(static_cast<std::int32_t>(kPacketSignature));
  writeInteger(kPacketVersion);
}

}  // namespace orv
