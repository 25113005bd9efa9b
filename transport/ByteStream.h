#pragma once
// The small stream family of the transport: a readable `ByteStream` (a response's
// content, a request's body) and a writable `ByteSink` (where a body is read into),
// with the two plain kinds: bytes in memory and a file on disk. Each stream belongs to
// one thread at a time (the connection thread that reads or writes it).
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Total number of bytes.
  virtual std::uint64_t size() const = 0;
  // Reads up to n bytes from the current position; 0 at the end.
  virtual std::size_t read(char* dest, std::size_t n) = 0;
  // Back to the first byte.
  virtual void rewind() = 0;
  // Reads everything from the first byte into one string.
  std::string readAll();
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void write(std::string_view bytes) = 0;
};

// Bytes held in memory.
class MemoryStream : public ByteStream, public ByteSink {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t read(char* dest, std::size_t n) override;
  void rewind() override { position_ = 0; }
  void write(std::string_view bytes) override { bytes_.append(bytes); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

// The first `limit` bytes of a file (all of it by default), read through its own
// descriptor. With `deleteOnClose` the file is removed when the stream is destroyed,
// whether it was sent or not.
class FileStream : public ByteStream {
 public:
  // Raises "Cannot open file \"<path>\"." when the file cannot be opened.
  explicit FileStream(const std::string& path, bool deleteOnClose = false,
                      std::uint64_t limit = UINT64_MAX);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  std::uint64_t size() const override { return size_; }
  std::size_t read(char* dest, std::size_t n) override;
  void rewind() override { position_ = 0; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  bool deleteOnClose_;
};

}  // namespace orv
