#pragma once
// Reads the packet encodings (see PacketWriter) from a byte range. Every read checks
// that the bytes are there: a packet that ends early raises "Packet data is
// incomplete." instead of reading past its end. Owned by the code decoding one packet.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PacketReader {
 public:
  explicit PacketReader(std::string_view bytes) : bytes_(bytes) {}

  std::int32_t readInteger();
  std::uint16_t readWord();
  std::uint8_t readByte();
  bool readBoolean() { return readByte() != 0; }
  std::string readText();
  std::vector<std::string> readTextList();
  std::string readBytes(std::size_t count);
  // Checks the signature ("No stream signature found.") and the version ("Stream
  // version mismatch. Packet version: <v>, stream version: 6").
  void readSignature();

  std::size_t position() const { return position_; }

 private:
  void need(std::size_t count) const;

  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace orv
