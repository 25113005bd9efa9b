#pragma once
// The outer frame of both packets, in the one block that the transport and the
// framework exchange for every request: signature, version, kind (0: the body follows
// in the block; 1: a Text follows with the path of a temporary file holding the body).
// A body longer than the block less the 9 frame bytes (32759 bytes in the usual 32768
// byte block) goes by file, named by MakeTempFile in the given directory; the reader
// removes that file once it has read it. Pure functions, thread-safe.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace orv {

inline constexpr std::uint32_t kPacketSignature = 0x07220807;
inline constexpr std::int32_t kPacketVersion = 6;
inline constexpr std::size_t kPacketBlockSize = 32768;
inline constexpr std::size_t kPacketFrameSize = 9;
inline constexpr std::uint8_t kPacketKindInline = 0;
inline constexpr std::uint8_t kPacketKindFile = 1;

// Writes the frame and the body into the block (by file when it does not fit).
void writePacketFrame(std::span<std::uint8_t> block, std::string_view body,
                      const std::string& tempDir);

// A packet body as read from a block: a view of the block itself (the body follows the
// frame there) or the contents of the spill file. Valid while the block is.
class PacketBody {
 public:
  explicit PacketBody(std::string_view inBlock) : bytes_(inBlock) {}
  explicit PacketBody(std::string fromFile) : file_(std::move(fromFile)), bytes_(file_) {}
  PacketBody(const PacketBody&) = delete;
  PacketBody& operator=(const PacketBody&) = delete;

  std::string_view bytes() const { return bytes_; }

 private:
  std::string file_;
  std::string_view bytes_;
};

// Reads the body back: the rest of the block after the frame, or the contents of the
// named file (which is then removed). Raises "No stream signature found.", the version
// mismatch text, or "Unknown packet type.".
PacketBody readPacketFrame(std::span<const std::uint8_t> block);

// The temporary file named by a block whose body travels by file; empty otherwise (or
// when the block is not a readable frame). Lets a caller remove a file nobody read.
std::string packetSpillPath(std::span<const std::uint8_t> block);

}  // namespace orv
