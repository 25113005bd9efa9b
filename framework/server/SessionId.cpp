#include "framework/server/SessionId.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orv {

std::string Encode64(std::span<const unsigned char> bytes) {
  std::string out;
  out.reserve((bytes.size() * 8 + 5) / 6);
  unsigned acc = 0;  // pending bits, right-aligned
  int bits = 0;
  for (unsigned char b : bytes) {
    acc = (acc << 8) | b;
    bits += 8;
    while (bits >= 6) {
      bits -= 6;
      out += kEncode64Alphabet[(acc >> bits) & 0x3F];
    }
    acc &= (1u << bits) - 1;
  }
  if (bits > 0) out += kEncode64Alphabet[(acc << (6 - bits)) & 0x3F];
  return out;
}

std::array<unsigned char, 16> NewRandomGuid() {
  std::array<unsigned char, 16> g{};
  std::size_t got = 0;
  while (got < g.size()) {
    const ssize_t n = getrandom(g.data() + got, g.size() - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(std::string("No random bytes for a session ID: ") +
                               std::strerror(errno));
    }
    got += static_cast<std::size_t>(n);
  }
  // Memory order of a GUID: Data1 (4 bytes), Data2 (2), Data3 (2) little-endian, then
  // Data4. The version is the top nibble of Data3 (byte 7), the variant the top two bits
  // of Data4[0] (byte 8).
  g[7] = static_cast<unsigned char>((g[7] & 0x0F) | 0x40);
  g[8] = static_cast<unsigned char>((g[8] & 0x3F) | 0x80);
  return g;
}

std::string NewGuidEncode64() {
  const auto g = NewRandomGuid();
  return Encode64(g);
}

}  // namespace orv
