#include "platform/PictureDib.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace orv::detail {

namespace {

// Little-endian reads that never leave the span: a read past its end means the file
// is shorter than its headers say.
class ByteView {
 public:
  explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  bool has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  void need(std::uint64_t offset, std::uint64_t length) const {
    if (!has(offset, length)) throw PictureError(kReasonTruncated);
  }
  std::uint8_t u8(std::uint64_t offset) const {
    need(offset, 1);
    return bytes_[offset];
  }
  std::uint16_t u16(std::uint64_t offset) const {
    need(offset, 2);
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  std::uint32_t u32(std::uint64_t offset) const {
    need(offset, 4);
    return static_cast<std::uint32_t>(bytes_[offset]) |
           (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
  }
  std::int32_t i32(std::uint64_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
  // A checked window of the bytes.
  std::span<const std::uint8_t> slice(std::uint64_t offset, std::uint64_t length) const {
    need(offset, length);
    return bytes_.subspan(offset, length);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    while (((mask >> shift) & 1u) == 0) ++shift;
    max = mask >> shift;
  }
  std::uint8_t operator()(std::uint32_t pixel) const {
    if (max == 0) return 0;
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>((pixel & mask) >> shift) * 255 /
                                     max);
  }
};

// The parsed headers of a device-independent bitmap.
struct DibHeader {
  std::uint32_t headerSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows of the image (for icons: half the stored height)
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  bool hasMasks = false;
  std::vector<Rgb> palette;
  std::uint64_t endOfTables = 0;  // first byte after header, masks and palette
};

DibHeader readDibHeader(const ByteView& in, std::uint64_t at, bool icon) {
  DibHeader h;
  h.headerSize = in.u32(at);
  const bool core = h.headerSize == 12;
  if (!core && h.headerSize < 40) throw PictureError("the bitmap header is not valid");
  in.need(at, h.headerSize);
  std::int64_t rawHeight = 0;
  if (core) {
    h.width = in.u16(at + 4);
    rawHeight = in.u16(at + 6);
    h.bitCount = in.u16(at + 10);
  } else {
    h.width = in.i32(at + 4);
    rawHeight = in.i32(at + 8);
    h.bitCount = in.u16(at + 14);
    h.compression = in.u32(at + 16);
  }
  if (rawHeight < 0) {
    h.topDown = true;
    rawHeight = -rawHeight;
  }
  if (icon) {
    if (h.topDown) throw PictureError("the icon header is not valid");
    rawHeight /= 2;  // the colour bitmap and the mask share the stored height
  }
  h.height = rawHeight;
  checkPictureSize(h.width, h.height);

  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      throw PictureError("the bitmap's colour depth is not supported");
  }
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  const bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  if (h.compression != kBiRgb && !rle && !bitfields) {
    throw PictureError("the bitmap's compression is not supported");
  }
  if ((h.compression == kBiRle8 && h.bitCount != 8) ||
      (h.compression == kBiRle4 && h.bitCount != 4) ||
      (bitfields && h.bitCount != 16 && h.bitCount != 32) || (rle && h.topDown) ||
      (icon && h.compression != kBiRgb)) {
    throw PictureError("the bitmap header is not valid");
  }

  std::uint64_t next = at + h.headerSize;
  if (bitfields) {
    h.hasMasks = true;
    if (h.headerSize >= 52) {  // the masks are part of the larger headers
      for (int i = 0; i < 3; ++i) h.masks[i] = in.u32(at + 40 + 4 * i);
      if (h.headerSize >= 56) h.masks[3] = in.u32(at + 52);
    } else {
      const int count = h.compression == kBiAlphaBitfields ? 4 : 3;
      for (int i = 0; i < count; ++i) h.masks[i] = in.u32(next + 4 * i);
      next += 4 * count;
    }
  } else if (h.bitCount == 16) {
    h.masks = {0x7C00, 0x03E0, 0x001F, 0};  // 5-5-5
    h.hasMasks = true;
  }

  if (h.bitCount <= 8) {
    const std::uint32_t full = 1u << h.bitCount;
    std::uint32_t count = core ? full : in.u32(at + 32);
    if (count == 0 || count > full) count = full;
    const std::uint32_t entry = core ? 3 : 4;
    in.need(next, static_cast<std::uint64_t>(count) * entry);
    h.palette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint64_t p = next + static_cast<std::uint64_t>(i) * entry;
      h.palette[i] = Rgb{in.u8(p + 2), in.u8(p + 1), in.u8(p)};
    }
    next += static_cast<std::uint64_t>(count) * entry;
  }
  h.endOfTables = next;
  return h;
}

std::uint64_t rowStride(std::int64_t width, int bitCount) {
  return ((static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32) * 4;
}

// Rows are stored bottom-up unless the header says top-down.
int imageRow(const DibHeader& h, std::int64_t storedRow) {
  return static_cast<int>(h.topDown ? storedRow : h.height - 1 - storedRow);
}

void setFromPalette(const DibHeader& h, RgbaImage& out, int x, int y, std::uint32_t index) {
  std::uint8_t* p = out.pixel(x, y);
  if (index < h.palette.size()) {
    p[0] = h.palette[index].r;
    p[1] = h.palette[index].g;
    p[2] = h.palette[index].b;
  } else {
    p[0] = p[1] = p[2] = 0;  // an index beyond the palette shows black
  }
  p[3] = 255;
}

// Uncompressed and bit-field pixels. Returns whether any pixel carried a non-zero alpha
// (meaningful only when `useAlpha`).
bool readPlainPixels(const ByteView& in, const DibHeader& h, std::uint64_t offset, RgbaImage& out,
                     bool useAlpha) {
  const std::uint64_t stride = rowStride(h.width, h.bitCount);
  in.need(offset, stride * static_cast<std::uint64_t>(h.height));
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  bool anyAlpha = false;
  for (std::int64_t row = 0; row < h.height; ++row) {
    const std::span<const std::uint8_t> line =
        in.slice(offset + stride * static_cast<std::uint64_t>(row), stride);
    const int y = imageRow(h, row);
    for (int x = 0; x < h.width; ++x) {
      std::uint8_t* p = out.pixel(x, y);
      switch (h.bitCount) {
        case 1:
          setFromPalette(h, out, x, y, (line[x / 8] >> (7 - x % 8)) & 1u);
          break;
        case 4:
          setFromPalette(h, out, x, y, (line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xFu);
          break;
        case 8:
          setFromPalette(h, out, x, y, line[x]);
          break;
        case 16: {
          const std::uint32_t v = static_cast<std::uint32_t>(line[2 * x] | (line[2 * x + 1] << 8));
          p[0] = red(v), p[1] = green(v), p[2] = blue(v);
          p[3] = h.masks[3] != 0 ? alpha(v) : 255;
          break;
        }
        case 24:
          p[0] = line[3 * x + 2], p[1] = line[3 * x + 1], p[2] = line[3 * x];
          p[3] = 255;
          break;
        case 32: {
          const std::uint8_t* s = &line[4 * static_cast<std::size_t>(x)];
          if (h.hasMasks) {
            const std::uint32_t v =
                static_cast<std::uint32_t>(s[0]) | (static_cast<std::uint32_t>(s[1]) << 8) |
                (static_cast<std::uint32_t>(s[2]) << 16) | (static_cast<std::uint32_t>(s[3]) << 24);
            p[0] = red(v), p[1] = green(v), p[2] = blue(v);
            p[3] = h.masks[3] != 0 ? alpha(v) : 255;
          } else {
            p[0] = s[2], p[1] = s[1], p[2] = s[0];
            // The fourth byte of a plain 32-bit bitmap is unused; icons store alpha there.
            p[3] = useAlpha ? s[3] : 255;
            if (s[3] != 0) anyAlpha = true;
          }
          break;
        }
      }
    }
  }
  return anyAlpha;
}

// Run-length encoded 8- and 4-bit pixels; pixels the runs never reach keep palette
// entry 0. The data must end with its end-of-bitmap code.
void readRlePixels(const ByteView& in, const DibHeader& h, std::uint64_t offset, RgbaImage& out) {
  for (int y = 0; y < h.height; ++y) {
    for (int x = 0; x < h.width; ++x) setFromPalette(h, out, x, y, 0);
  }
  const bool four = h.compression == kBiRle4;
  std::int64_t x = 0, row = 0;  // row counts from the bottom
  auto put = [&](std::uint32_t index) {
    if (x < h.width && row < h.height)
      setFromPalette(h, out, static_cast<int>(x), imageRow(h, row), index);
    ++x;
  };
  std::uint64_t p = offset;
  for (;;) {
    const std::uint8_t count = in.u8(p);
    const std::uint8_t value = in.u8(p + 1);
    p += 2;
    if (count > 0) {  // a run of `count` pixels
      for (int i = 0; i < count; ++i) put(four ? ((i % 2 == 0) ? value >> 4 : value & 0xF) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // move right and up
      x += in.u8(p);
      row += in.u8(p + 1);
      p += 2;
    } else {  // `value` literal pixels, padded to a 16-bit boundary
      const std::uint64_t bytes = four ? (value + 1u) / 2 : value;
      const std::span<const std::uint8_t> literal = in.slice(p, bytes);
      for (int i = 0; i < value; ++i) {
        put(four ? ((i % 2 == 0) ? literal[i / 2] >> 4 : literal[i / 2] & 0xF) : literal[i]);
      }
      p += bytes + (bytes % 2);
    }
    if (row > h.height) throw PictureError("the bitmap data is corrupt");
  }
}

}  // namespace

void checkPictureSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
      width * height > kMaxPicturePixels) {
    throw PictureError(kReasonBadSize);
  }
}

RgbaImage decodeBmp(std::span<const std::uint8_t> bytes) {
  const ByteView in(bytes);
  if (in.u8(0) != 'B' || in.u8(1) != 'M') throw PictureError("not a bitmap file");
  const std::uint32_t pixelOffset = in.u32(10);
  const DibHeader h = readDibHeader(in, 14, false);
  if (pixelOffset < h.endOfTables || pixelOffset > in.size()) throw PictureError(kReasonTruncated);
  RgbaImage out(static_cast<int>(h.width), static_cast<int>(h.height));
  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    readRlePixels(in, h, pixelOffset, out);
  } else {
    readPlainPixels(in, h, pixelOffset, out, false);
  }
  return out;
}

RgbaImage decodeIco(std::span<const std::uint8_t> bytes,
                    RgbaImage (*decodePng)(std::span<const std::uint8_t>)) {
  const ByteView in(bytes);
  if (in.u16(0) != 0 || in.u16(2) != 1) throw PictureError("not an icon file");
  const int count = in.u16(4);
  if (count == 0) throw PictureError("the icon holds no image");

  struct Entry {
    int width, height, bitCount;
    std::uint32_t size, offset;
  };
  std::optional<Entry> chosen;
  auto better = [](const Entry& a, const Entry& b) {  // is a a better pick than b?
    const bool a32 = a.width == 32 && a.height == 32, b32 = b.width == 32 && b.height == 32;
    if (a32 != b32) return a32;
    const long areaA = static_cast<long>(a.width) * a.height,
               areaB = static_cast<long>(b.width) * b.height;
    if (areaA != areaB) return areaA > areaB;
    return a.bitCount > b.bitCount;
  };
  for (int i = 0; i < count; ++i) {
    const std::uint64_t at = 6 + 16ull * static_cast<unsigned>(i);
    Entry e{in.u8(at) == 0 ? 256 : in.u8(at), in.u8(at + 1) == 0 ? 256 : in.u8(at + 1),
            in.u16(at + 6), in.u32(at + 8), in.u32(at + 12)};
    in.need(e.offset, e.size);  // every image must lie inside the file
    if (!chosen || better(e, *chosen)) chosen = e;
  }

  const std::span<const std::uint8_t> image = in.slice(chosen->offset, chosen->size);
  static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (image.size() >= 8 &&
      std::equal(std::begin(kPngSignature), std::end(kPngSignature), image.begin())) {
    return decodePng(image);
  }

  const ByteView dib(image);
  const DibHeader h = readDibHeader(dib, 0, true);
  RgbaImage out(static_cast<int>(h.width), static_cast<int>(h.height));
  const std::uint64_t colorOffset = h.endOfTables;
  const bool anyAlpha = readPlainPixels(dib, h, colorOffset, out, h.bitCount == 32);
  const bool alphaFromPixels = h.bitCount == 32 && anyAlpha;

  // The 1-bit AND mask follows the colour bitmap: set bits are transparent. A 32-bit icon
  // with real alpha may leave it out.
  const std::uint64_t maskOffset =
      colorOffset + rowStride(h.width, h.bitCount) * static_cast<std::uint64_t>(h.height);
  const std::uint64_t maskStride = rowStride(h.width, 1);
  if (!dib.has(maskOffset, maskStride * static_cast<std::uint64_t>(h.height))) {
    if (alphaFromPixels) return out;
    throw PictureError(kReasonTruncated);
  }
  if (alphaFromPixels) return out;
  for (std::int64_t row = 0; row < h.height; ++row) {
    const std::span<const std::uint8_t> line =
        dib.slice(maskOffset + maskStride * static_cast<std::uint64_t>(row), maskStride);
    const int y = static_cast<int>(h.height - 1 - row);
    for (int x = 0; x < h.width; ++x) {
      out.pixel(x, y)[3] = ((line[x / 8] >> (7 - x % 8)) & 1u) ? 0 : 255;
    }
  }
  return out;
}

}  // namespace orv::detail
