#include "transport/PacketFrame.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "transport/ByteStream.h"
#include "transport/InErrors.h"
#include "transport/MakeTempFile.h"
#include "transport/Messages.h"
#include "transport/PacketReader.h"
#include "transport/PacketWriter.h"

namespace orv {

namespace {

void writeFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  bool ok = fd >= 0;
  while (ok && !bytes.empty()) {
    const ssize_t done = ::write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      ok = false;
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  if (fd >= 0 && ::close(fd) != 0) ok = false;
  if (!ok) {
    if (fd >= 0) ::unlink(path.c_str());
    throw EInException(std::string(msg::kCannotWriteFilePrefix) + path +
                       std::string(msg::kCannotOpenFileSuffix));
  }
}

std::string_view blockView(std::span<const std::uint8_t> block) {
  return {reinterpret_cast<const char*>(block.data()), block.size()};
}

}  // namespace

void writePacketFrame(std::span<std::uint8_t> block, std::string_view body,
                      const std::string& tempDir) {
  if (block.size() < kPacketFrameSize) throw EInPacketError(msg::kPacketTooSmall);
  PacketWriter frame;
  frame.writeSignature();
  if (body.size() <= block.size() - kPacketFrameSize) {
    frame.writeByte(kPacketKindInline);
    frame.writeBytes(body);
  } else {
    const std::string path = MakeTempFile(tempDir);
    frame.writeByte(kPacketKindFile);
    frame.writeText(path);
    if (frame.bytes().size() > block.size()) throw EInPacketError(msg::kPacketTooSmall);
    writeFile(path, body);
  }
  std::memcpy(block.data(), frame.bytes().data(), frame.bytes().size());
}

PacketBody readPacketFrame(std::span<const std::uint8_t> block) {
  PacketReader reader(blockView(block));
  reader.readSignature();
  const std::uint8_t kind = reader.readByte();
  if (kind == kPacketKindInline) {
    return PacketBody(blockView(block).substr(reader.position()));
  }
  if (kind != kPacketKindFile) throw EInPacketError(msg::kUnknownPacketType);
  const std::string path = reader.readText();
  FileStream file(path, /*deleteOnClose=*/true);
  return PacketBody(file.readAll());
}

std::string packetSpillPath(std::span<const std::uint8_t> block) {
  try {
    PacketReader reader(blockView(block));
    reader.readSignature();
    if (reader.readByte() != kPacketKindFile) return {};
    return reader.readText();
  } catch (const EInPacketError&) {
    return {};
  }
}

}  // namespace orv
