#include "framework/server/ZStream.h"

#include <zlib.h>

#include <stdexcept>

namespace orv::detail {
namespace {

constexpr std::size_t kChunk = 32768;

class Deflater {
 public:
  Deflater(int level, int windowBits) {
    if (deflateInit2(&z_, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw std::runtime_error("Compression could not be initialised");
  }
  ~Deflater() { deflateEnd(&z_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
  z_stream& get() { return z_; }

 private:
  z_stream z_{};
};

class Inflater {
 public:
  Inflater() {
    // 32 + 15: detect gzip or zlib wrapper automatically.
    if (inflateInit2(&z_, 32 + 15) != Z_OK)
      throw std::runtime_error("Decompression could not be initialised");
  }
  ~Inflater() { inflateEnd(&z_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream& get() { return z_; }

 private:
  z_stream z_{};
};

}  // namespace

std::string zCompress(std::string_view bytes, ZWrapper wrapper, int level) {
  const int zlevel = (level >= 1 && level <= 9) ? level : Z_DEFAULT_COMPRESSION;
  Deflater d(zlevel, wrapper == ZWrapper::Gzip ? 15 + 16 : 15);
  z_stream& z = d.get();
  std::string out;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  int rc;
  do {
    const std::size_t before = out.size();
    out.resize(before + kChunk);
    z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
    z.avail_out = static_cast<uInt>(kChunk);
    rc = deflate(&z, Z_FINISH);
    if (rc == Z_STREAM_ERROR) throw std::runtime_error("Compression failed");
    out.resize(before + kChunk - z.avail_out);
  } while (rc != Z_STREAM_END);
  return out;
}

std::string zDecompress(std::string_view bytes) {
  Inflater i;
  z_stream& z = i.get();
  std::string out;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  int rc;
  do {
    const std::size_t before = out.size();
    out.resize(before + kChunk);
    z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
    z.avail_out = static_cast<uInt>(kChunk);
    rc = inflate(&z, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) throw std::runtime_error("Decompression failed");
    out.resize(before + kChunk - z.avail_out);
    if (rc == Z_OK && z.avail_in == 0 && z.avail_out != 0)
      throw std::runtime_error("Decompression failed: truncated stream");
  } while (rc != Z_STREAM_END);
  return out;
}

bool isGzip(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F &&
         static_cast<unsigned char>(bytes[1]) == 0x8B;
}

}  // namespace orv::detail
