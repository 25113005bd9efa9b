#pragma once
// A body stream that stays in memory while it is small and moves to a temporary file
// once it grows past its threshold (32759 bytes by default: what fits in a packet
// block beside the packet frame). The temporary file is named by MakeTempFile in the
// given directory, created only readable by this user, and removed when the stream is
// destroyed. Used for request bodies on the connection thread that reads them.
#include <cstdint>
#include <string>

#include "transport/ByteStream.h"

namespace orv {

class THsmStream : public ByteStream, public ByteSink {
 public:
  static constexpr std::size_t kDefaultThreshold = 32759;

  explicit THsmStream(std::string tempDir, std::size_t threshold = kDefaultThreshold);
  ~THsmStream() override;
  THsmStream(const THsmStream&) = delete;
  THsmStream& operator=(const THsmStream&) = delete;

  // Appends bytes; raises "Cannot write file \"<path>\"." when the spill file fails.
  void write(std::string_view bytes) override;
  std::uint64_t size() const override { return size_; }
  std::size_t read(char* dest, std::size_t n) override;
  void rewind() override { position_ = 0; }

  bool spilled() const { return fd_ >= 0; }
  // The spill file's path (empty while in memory).
  const std::string& filePath() const { return filePath_; }

 private:
  void spill();
  void writeToFile(std::string_view bytes);

  std::string tempDir_;
  std::size_t threshold_;
  std::string memory_;
  std::string filePath_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace orv
