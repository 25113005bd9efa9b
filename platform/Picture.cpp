#include "platform/Picture.h"

#include <gif_lib.h>
#include <png.h>

// jpeglib.h needs size_t and FILE declared before it, and jerror.h comes after it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>
#include <unordered_map>

#include "platform/PictureDib.h"

namespace orv {

namespace {

// ---------------------------------------------------------------------------------------
// Shared helpers

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// RGB bytes (3 per pixel) of an image with its alpha blended onto white.
std::vector<std::uint8_t> opaqueRgb(const RgbaImage& image) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width) * image.height * 3);
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* s = &image.pixels[i * 4];
    const unsigned a = s[3];
    for (int c = 0; c < 3; ++c)
      rgb[i * 3 + c] = static_cast<std::uint8_t>((s[c] * a + 255 * (255 - a) + 127) / 255);
  }
  return rgb;
}

void checkEncodable(const RgbaImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
    throw PictureError("the picture is empty");
  }
  detail::checkPictureSize(image.width, image.height);
}

// ---------------------------------------------------------------------------------------
// GIF

struct GifSource {
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
  bool ranOut = false;  // a read asked for more bytes than were left
};

int readGifBytes(GifFileType* gif, GifByteType* buffer, int length) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  if (length <= 0) return 0;
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(length),
                                                  source->bytes.size() - source->position);
  std::memcpy(buffer, source->bytes.data() + source->position, count);
  source->position += count;
  if (count < static_cast<std::size_t>(length)) source->ranOut = true;
  return static_cast<int>(count);  // short reads make the decoder fail
}

struct GifDecoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

[[noreturn]] void failGif(int errorCode, const GifSource& source) {
  const char* text = GifErrorString(errorCode);
  if (errorCode == D_GIF_ERR_READ_FAILED || source.ranOut)
    throw PictureError(detail::kReasonTruncated);
  throw PictureError(std::string("the GIF data is not valid") +
                     (text ? std::string(" (") + text + ")" : ""));
}

RgbaImage decodeGif(std::span<const std::uint8_t> bytes) {
  GifSource source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifDecoderCloser> gif(DGifOpen(&source, readGifBytes, &error));
  if (!gif) failGif(error, source);

  RgbaImage canvas;
  bool haveFrame = false;
  int transparentIndex = NO_TRANSPARENT_COLOR;
  std::vector<GifPixelType> line;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) failGif(gif->Error, source);
    if (record == TERMINATE_RECORD_TYPE) break;
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) failGif(gif->Error, source);
      if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && !haveFrame) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
          transparentIndex = control.TransparentColor;
      }
      while (block != nullptr) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) failGif(gif->Error, source);
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) failGif(D_GIF_ERR_WRONG_RECORD, source);

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) failGif(gif->Error, source);
    const GifImageDesc& frame = gif->Image;
    detail::checkPictureSize(frame.Width, frame.Height);
    if (!haveFrame) {
      // The picture is the logical screen; a file without one takes its first frame's extent.
      const std::int64_t width =
          gif->SWidth > 0 ? gif->SWidth : std::int64_t{frame.Left} + frame.Width;
      const std::int64_t height =
          gif->SHeight > 0 ? gif->SHeight : std::int64_t{frame.Top} + frame.Height;
      detail::checkPictureSize(width, height);
      canvas = RgbaImage(static_cast<int>(width), static_cast<int>(height));
    }
    const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    line.resize(static_cast<std::size_t>(frame.Width));
    // Interlaced frames arrive in four passes: rows 0, 8, 16...; 4, 12...; 2, 6...; 1, 3...
    static constexpr int kPassStart[] = {0, 4, 2, 1};
    static constexpr int kPassStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      const int start = frame.Interlace ? kPassStart[pass] : 0;
      const int step = frame.Interlace ? kPassStep[pass] : 1;
      for (int row = start; row < frame.Height; row += step) {
        if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR)
          failGif(gif->Error, source);
        if (haveFrame) continue;  // later frames are checked, not shown
        const std::int64_t y = std::int64_t{frame.Top} + row;
        if (y < 0 || y >= canvas.height) continue;
        for (int x = 0; x < frame.Width; ++x) {
          const std::int64_t cx = std::int64_t{frame.Left} + x;
          if (cx < 0 || cx >= canvas.width) continue;
          const int index = line[static_cast<std::size_t>(x)];
          if (index == transparentIndex) continue;
          std::uint8_t* p = canvas.pixel(static_cast<int>(cx), static_cast<int>(y));
          if (map != nullptr && index < map->ColorCount) {
            p[0] = map->Colors[index].Red, p[1] = map->Colors[index].Green,
            p[2] = map->Colors[index].Blue;
          } else {
            p[0] = p[1] = p[2] = 0;  // no such colour: black, as browsers show it
          }
          p[3] = 255;
        }
      }
    }
    haveFrame = true;
  }
  if (!haveFrame) throw PictureError("the GIF file holds no image");
  return canvas;
}

struct GifSink {
  std::vector<std::uint8_t>* out;
};

int writeGifBytes(GifFileType* gif, const GifByteType* buffer, int length) {
  auto* sink = static_cast<GifSink*>(gif->UserData);
  sink->out->insert(sink->out->end(), buffer, buffer + length);
  return length;
}

struct GifEncoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};

struct GifMapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

[[noreturn]] void failGifWrite(int errorCode) {
  const char* text = GifErrorString(errorCode);
  throw PictureError(std::string("the GIF picture could not be written") +
                     (text ? std::string(" (") + text + ")" : ""));
}

// ---------------------------------------------------------------------------------------
// PNG (the library's simplified interface: no jumps through our frames)

// The library stops reading at the end of the image data; a file must also hold the
// rest of its chunks up to the end chunk, or it has been cut short.
void checkPngChunks(std::span<const std::uint8_t> bytes) {
  std::size_t at = 8;  // after the signature
  for (;;) {
    if (bytes.size() - at < 12) throw PictureError(detail::kReasonTruncated);
    const std::uint32_t length = (std::uint32_t{bytes[at]} << 24) |
                                 (std::uint32_t{bytes[at + 1]} << 16) |
                                 (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
    if (length > bytes.size() - at - 12) throw PictureError(detail::kReasonTruncated);
    const bool end = std::memcmp(&bytes[at + 4], "IEND", 4) == 0;
    at += 12 + static_cast<std::size_t>(length);
    if (end) return;
  }
}

RgbaImage decodePng(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 8) throw PictureError(detail::kReasonTruncated);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    const std::string reason = image.message;
    png_image_free(&image);
    throw PictureError(reason.find("EOF") != std::string::npos ||
                               reason.find("read") != std::string::npos
                           ? std::string(detail::kReasonTruncated)
                           : "the PNG data is not valid (" + reason + ")");
  }
  try {
    detail::checkPictureSize(image.width, image.height);
  } catch (...) {
    png_image_free(&image);
    throw;
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaImage out(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
    const std::string reason = image.message;
    png_image_free(&image);
    throw PictureError("the PNG data is not valid (" + reason + ")");
  }
  checkPngChunks(bytes);
  return out;
}

// ---------------------------------------------------------------------------------------
// JPEG (IJG interface). Its errors must not return; they jump back to the frame that
// called the library. No object with a destructor lives in the frames jumped over: all
// of them belong to the library's C code, and our own objects live in the callers of
// the functions that hold the setjmp.

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings about damaged data (a truncated file is one: the library pads it with an
// end marker and warns) count as errors; harmless notes do not.
void jpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
      jpegErrorExit(cinfo);
    default:
      break;
  }
}

struct JpegDecodeState {
  jpeg_decompress_struct cinfo;
  JpegErrorManager error;
};

// Returns false (with the library's message in state.error.message) on failure.
// `out` is only resized before the pixels are read.
bool runJpegDecode(JpegDecodeState& state, std::span<const std::uint8_t> bytes, RgbaImage& out,
                   std::vector<std::uint8_t>& rowBuffer, bool& tooLarge) {
  jpeg_decompress_struct& cinfo = state.cinfo;
  cinfo.err = jpeg_std_error(&state.error.pub);
  state.error.pub.error_exit = jpegErrorExit;
  state.error.pub.emit_message = jpegEmitMessage;
  state.error.message[0] = '\0';
  if (setjmp(state.error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  const std::int64_t width = cinfo.image_width, height = cinfo.image_height;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
      width * height > kMaxPicturePixels) {
    tooLarge = true;
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  jpeg_start_decompress(&cinfo);
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height * 4, 0);
  rowBuffer.assign(static_cast<std::size_t>(out.width) * 4, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW row = rowBuffer.data();
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
    std::uint8_t* target = out.pixel(0, y);
    if (!cmyk) {
      std::memcpy(target, rowBuffer.data(), rowBuffer.size());
      continue;
    }
    // CMYK as Adobe writes it, stored inverted: each channel is (255 - ink).
    for (int x = 0; x < out.width; ++x) {
      const std::uint8_t* s = &rowBuffer[static_cast<std::size_t>(x) * 4];
      target[x * 4 + 0] = static_cast<std::uint8_t>(s[0] * s[3] / 255);
      target[x * 4 + 1] = static_cast<std::uint8_t>(s[1] * s[3] / 255);
      target[x * 4 + 2] = static_cast<std::uint8_t>(s[2] * s[3] / 255);
      target[x * 4 + 3] = 255;
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

RgbaImage decodeJpeg(std::span<const std::uint8_t> bytes) {
  auto state = std::make_unique<JpegDecodeState>();
  RgbaImage out;
  std::vector<std::uint8_t> rowBuffer;
  bool tooLarge = false;
  if (!runJpegDecode(*state, bytes, out, rowBuffer, tooLarge)) {
    if (tooLarge) throw PictureError(detail::kReasonBadSize);
    const std::string reason = state->error.message;
    if (reason.find("Premature end") != std::string::npos)
      throw PictureError(detail::kReasonTruncated);
    throw PictureError("the JPEG data is not valid (" + reason + ")");
  }
  return out;
}

struct JpegEncodeState {
  jpeg_compress_struct cinfo;
  JpegErrorManager error;
  unsigned char* buffer = nullptr;  // malloc'ed by the library's memory destination
  unsigned long size = 0;
};

bool runJpegEncode(JpegEncodeState& state, const std::vector<std::uint8_t>& rgb, int width,
                   int height, int quality) {
  jpeg_compress_struct& cinfo = state.cinfo;
  cinfo.err = jpeg_std_error(&state.error.pub);
  state.error.pub.error_exit = jpegErrorExit;
  state.error.message[0] = '\0';
  if (setjmp(state.error.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &state.buffer, &state.size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // The library does not write through the row pointer.
    JSAMPROW row =
        const_cast<JSAMPROW>(&rgb[static_cast<std::size_t>(cinfo.next_scanline) * width * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

// -----------------------------------------------------------------------------------------
// Public functions

RgbaImage::RgbaImage(int w, int h)
    : width(w),
      height(h),
      pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0) {}

PictureFormat detectPictureFormat(std::span<const std::uint8_t> b) {
  auto starts = [&](std::initializer_list<std::uint8_t> prefix) {
    return b.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), b.begin());
  };
  if (starts({'G', 'I', 'F', '8', '7', 'a'}) || starts({'G', 'I', 'F', '8', '9', 'a'}))
    return PictureFormat::Gif;
  if (starts({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return PictureFormat::Png;
  if (starts({0xFF, 0xD8, 0xFF})) return PictureFormat::Jpeg;
  if (starts({'B', 'M'}) && b.size() >= 18) return PictureFormat::Bmp;
  if (starts({0, 0, 1, 0}) && b.size() >= 6) return PictureFormat::Ico;
  return PictureFormat::None;
}

RgbaImage decodePicture(std::span<const std::uint8_t> bytes) {
  switch (detectPictureFormat(bytes)) {
    case PictureFormat::Gif:
      return decodeGif(bytes);
    case PictureFormat::Png:
      return decodePng(bytes);
    case PictureFormat::Jpeg:
      return decodeJpeg(bytes);
    case PictureFormat::Bmp:
      return detail::decodeBmp(bytes);
    case PictureFormat::Ico:
      return detail::decodeIco(bytes, decodePng);
    case PictureFormat::None:
      break;
  }
  throw PictureError(bytes.empty() ? "the file is empty"
                                   : "the file is not in a known picture format");
}

std::vector<std::uint8_t> encodeGif(const RgbaImage& image) {
  checkEncodable(image);
  const std::vector<std::uint8_t> rgb = opaqueRgb(image);
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  std::vector<GifByteType> indices(count);
  std::array<GifColorType, 256> palette{};
  int colors = 0;

  // Pictures of up to 256 colours (drawings, plots) keep their exact colours.
  std::unordered_map<std::uint32_t, std::uint8_t> exact;
  bool fits = true;
  std::uint32_t lastKey = 0xFFFFFFFF;
  std::uint8_t lastIndex = 0;
  for (std::size_t i = 0; i < count && fits; ++i) {
    const std::uint32_t key =
        (std::uint32_t{rgb[i * 3]} << 16) | (std::uint32_t{rgb[i * 3 + 1]} << 8) | rgb[i * 3 + 2];
    if (key != lastKey) {
      auto found = exact.find(key);
      if (found == exact.end()) {
        if (exact.size() == 256) {
          fits = false;
          break;
        }
        const auto index = static_cast<std::uint8_t>(exact.size());
        found = exact.emplace(key, index).first;
        palette[index] = GifColorType{rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]};
      }
      lastKey = key;
      lastIndex = found->second;
    }
    indices[i] = lastIndex;
  }
  if (fits) {
    colors = static_cast<int>(exact.size());
  } else {
    // Median cut over the picture, then each entry becomes the true mean of the pixels
    // mapped to it (the cut itself works on 5-bit channels and would dull the colours).
    std::vector<GifByteType> r(count), g(count), b(count);
    for (std::size_t i = 0; i < count; ++i)
      r[i] = rgb[i * 3], g[i] = rgb[i * 3 + 1], b[i] = rgb[i * 3 + 2];
    colors = 256;
    if (GifQuantizeBuffer(static_cast<unsigned>(image.width), static_cast<unsigned>(image.height),
                          &colors, r.data(), g.data(), b.data(), indices.data(),
                          palette.data()) == GIF_ERROR) {
      throw PictureError("the GIF picture could not be written (colour reduction failed)");
    }
    colors = std::clamp(colors, 1, 256);
    std::array<std::array<std::uint64_t, 4>, 256> sums{};
    for (std::size_t i = 0; i < count; ++i) {
      if (indices[i] >= colors) indices[i] = 0;
      auto& s = sums[indices[i]];
      s[0] += r[i], s[1] += g[i], s[2] += b[i], s[3] += 1;
    }
    for (int c = 0; c < colors; ++c) {
      const auto& s = sums[static_cast<std::size_t>(c)];
      if (s[3] == 0) continue;
      palette[static_cast<std::size_t>(c)] =
          GifColorType{static_cast<GifByteType>((s[0] + s[3] / 2) / s[3]),
                       static_cast<GifByteType>((s[1] + s[3] / 2) / s[3]),
                       static_cast<GifByteType>((s[2] + s[3] / 2) / s[3])};
    }
  }

  // The colour table is packed: the smallest power of two (at least 2) that holds them.
  int bits = 1;
  while ((1 << bits) < colors) ++bits;
  std::unique_ptr<ColorMapObject, GifMapDeleter> map(GifMakeMapObject(1 << bits, palette.data()));
  if (!map) throw PictureError("the GIF picture could not be written (out of memory)");

  std::vector<std::uint8_t> out;
  GifSink sink{&out};
  int error = 0;
  std::unique_ptr<GifFileType, GifEncoderCloser> gif(EGifOpen(&sink, writeGifBytes, &error));
  if (!gif) failGifWrite(error);
  if (EGifPutScreenDesc(gif.get(), image.width, image.height, bits, 0, map.get()) == GIF_ERROR ||
      EGifPutImageDesc(gif.get(), 0, 0, image.width, image.height, false, nullptr) == GIF_ERROR) {
    failGifWrite(gif->Error);
  }
  for (int y = 0; y < image.height; ++y) {
    if (EGifPutLine(gif.get(), &indices[static_cast<std::size_t>(y) * image.width], image.width) ==
        GIF_ERROR) {
      failGifWrite(gif->Error);
    }
  }
  GifFileType* raw = gif.release();
  if (EGifCloseFile(raw, &error) == GIF_ERROR) failGifWrite(error);  // writes the trailer
  return out;
}

std::vector<std::uint8_t> encodePng(const RgbaImage& image) {
  checkEncodable(image);
  const std::vector<std::uint8_t> rgb = opaqueRgb(image);
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
    const std::string reason = png.message;
    png_image_free(&png);
    throw PictureError("the PNG picture could not be written (" + reason + ")");
  }
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, rgb.data(), 0, nullptr)) {
    const std::string reason = png.message;
    png_image_free(&png);
    throw PictureError("the PNG picture could not be written (" + reason + ")");
  }
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> encodeJpeg(const RgbaImage& image, int quality) {
  checkEncodable(image);
  const std::vector<std::uint8_t> rgb = opaqueRgb(image);
  auto state = std::make_unique<JpegEncodeState>();
  const bool ok =
      runJpegEncode(*state, rgb, image.width, image.height, std::clamp(quality, 1, 100));
  std::vector<std::uint8_t> out;
  if (ok) out.assign(state->buffer, state->buffer + state->size);
  std::free(state->buffer);
  if (!ok)
    throw PictureError(std::string("the JPEG picture could not be written (") +
                       state->error.message + ")");
  return out;
}

const char* pictureContentType(PictureFormat format) {
  switch (format) {
    case PictureFormat::Gif:
      return "image/gif";
    case PictureFormat::Png:
      return "image/png";
    case PictureFormat::Jpeg:
      return "image/jpeg";
    case PictureFormat::Bmp:
      return "image/bmp";
    case PictureFormat::Ico:
      return "image/x-icon";
    case PictureFormat::None:
      break;
  }
  return "application/octet-stream";
}

// -----------------------------------------------------------------------------------------
// Picture

Picture::Picture(const Picture& other)
    : format_(other.format_),
      width_(other.width_),
      height_(other.height_),
      bytes_(other.bytes_),
      drawn_(other.drawn_) {}

Picture& Picture::operator=(const Picture& other) {
  Assign(other);
  return *this;
}

void Picture::LoadFromFile(const std::string& path) {
  const std::string name = fileNameOf(path);
  auto unreadable = [&](const std::string& reason) {
    return PictureError("\"" + name + "\" is not a readable picture (" + reason + ")");
  };
  // Only regular files: a device or a pipe named as a picture could be read forever.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) {
    throw PictureError("Cannot open picture file \"" + name +
                       "\": " + (ec ? ec.message() : std::generic_category().message(ENOENT)));
  }
  if (!std::filesystem::is_regular_file(status)) throw unreadable("it is not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int code = errno;
    throw PictureError("Cannot open picture file \"" + name +
                       "\": " + std::generic_category().message(code != 0 ? code : EACCES));
  }
  // Pictures are read whole; a file beyond any sensible picture size is refused unread.
  in.seekg(0, std::ios::end);
  const std::streamoff length = in.tellg();
  in.seekg(0, std::ios::beg);
  if (length < 0 || !in) throw PictureError("Cannot read picture file \"" + name + "\"");
  if (length > kMaxPictureFileBytes) throw unreadable("the file is too large");
  // A file that shrinks while it is read (a plot being rewritten) yields fewer bytes,
  // which the decoders report as a truncated picture.
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  in.read(reinterpret_cast<char*>(bytes.data()), length);
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) throw PictureError("Cannot read picture file \"" + name + "\"");
  LoadFromBytes(std::move(bytes), name);
}

void Picture::LoadFromBytes(std::vector<std::uint8_t> bytes, const std::string& name) {
  const PictureFormat format = detectPictureFormat(bytes);
  RgbaImage decoded;
  try {
    decoded = decodePicture(bytes);  // proves the whole file readable; the pixels are dropped
  } catch (const PictureError& e) {
    throw PictureError("\"" + name + "\" is not a readable picture (" + e.what() + ")");
  }
  format_ = format;
  width_ = decoded.width;
  height_ = decoded.height;
  bytes_ = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
  drawn_.reset();
  changed();
}

void Picture::SetImage(RgbaImage image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
    Clear();
    return;
  }
  format_ = PictureFormat::Bmp;
  width_ = image.width;
  height_ = image.height;
  bytes_.reset();
  drawn_ = std::make_shared<const RgbaImage>(std::move(image));
  changed();
}

void Picture::Assign(const Picture& other) {
  if (&other == this) return;
  format_ = other.format_;
  width_ = other.width_;
  height_ = other.height_;
  bytes_ = other.bytes_;
  drawn_ = other.drawn_;
  changed();
}

void Picture::Clear() {
  format_ = PictureFormat::None;
  width_ = 0;
  height_ = 0;
  bytes_.reset();
  drawn_.reset();
  changed();
}

std::span<const std::uint8_t> Picture::Bytes() const {
  if (!bytes_) return {};
  return {bytes_->data(), bytes_->size()};
}

RgbaImage Picture::Decode() const {
  if (drawn_) return *drawn_;
  if (bytes_) return decodePicture(*bytes_);
  return {};
}

std::vector<std::uint8_t> Picture::SaveAs(PictureFormat target) const {
  if (Empty()) throw PictureError("the picture is empty");
  if (target == format_ && bytes_) return *bytes_;
  switch (target) {
    case PictureFormat::Gif:
      return encodeGif(Decode());
    case PictureFormat::Png:
      return encodePng(Decode());
    case PictureFormat::Jpeg:
      return encodeJpeg(Decode());
    default:
      break;
  }
  throw PictureError("pictures cannot be written in that format");
}

void Picture::changed() {
  if (OnChange) OnChange(*this);
}

}  // namespace orv
