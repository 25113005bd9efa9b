#pragma once
// Writes the encodings of the request and reply packets into a byte string: Integer (4
// bytes little-endian), Word (2 bytes little-endian), Byte and Boolean (1 byte), Text
// (Integer byte count + UTF-8 bytes), Text list (Integer count + Texts). Owned by the
// code that builds one packet, on its thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PacketWriter {
 public:
  void writeInteger(std::int32_t value);
  void writeWord(std::uint16_t value);
  void writeByte(std::uint8_t value);
  void writeBoolean(bool value) { writeByte(value ? 1 : 0); }
  void writeText(std::string_view text);
  void writeTextList(const std::vector<std::string>& list);
  void writeBytes(std::string_view bytes) { bytes_.append(bytes); }
  // The signature and the version that open every packet and packet body.
  void writeSignature();

  const std::string& bytes() const { return bytes_; }
  std::string take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

}  // namespace orv
