#pragma once
// Whole-buffer compression with zlib, the one place the server side touches z_stream
// (owned by an RAII holder inside, so every path ends it). Pure functions; any thread.
#include <string>
#include <string_view>

namespace orv::detail {

enum class ZWrapper { Gzip, Zlib };

// Compresses the bytes with the wrapper and level (1 fastest .. 9 best; any other value
// the library default), memory level 8, default strategy, 32768-byte output steps.
// Throws std::runtime_error when zlib fails.
std::string zCompress(std::string_view bytes, ZWrapper wrapper, int level);

// Decompresses a gzip or zlib stream (wrapper detected); for tests and tools.
std::string zDecompress(std::string_view bytes);

// True when the bytes start with the gzip magic 0x1F 0x8B.
bool isGzip(std::string_view bytes);

}  // namespace orv::detail
