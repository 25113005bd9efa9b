#pragma once
// Pictures: loading GIF, PNG, JPEG, bitmap (BMP) and icon (ICO) files, told by their
// content, and writing GIF, PNG and JPEG for browsers.
//
// A Picture keeps the file's original bytes and format, so that a picture sent in its
// own format goes out byte for byte as it was loaded, and knows its pixel size. Loading
// decodes the whole file once to prove that it is a readable picture: a missing file,
// an unknown format, a truncated file or one whose headers lie about its size or
// layout raises PictureError, and no decoder ever reads outside the loaded bytes.
// Pixels are decoded again only when a conversion needs them, so a loaded picture costs
// its file size in memory. Copies share the (immutable) bytes.
//
// The encoders are free functions on RgbaImage, independent of any control, for every
// writer of pictures (the image control's cache files, the demo's solver program).
// Conversions drop transparency: transparent and half-transparent pixels are blended
// onto white, as when a picture is first drawn onto a fresh bitmap.
//
// Size limits: each side at most kMaxPictureSide pixels and at most kMaxPicturePixels
// pixels in all, so a small file that claims a huge picture cannot exhaust memory; files
// above kMaxPictureFileBytes are refused unread.
//
// Thread safety: the free functions are safe from any thread; a Picture object is used
// by one thread at a time (its page's session).
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv {

enum class PictureFormat { None, Gif, Png, Jpeg, Bmp, Ico };

// Pixels, rows top to bottom, 4 bytes per pixel (red, green, blue, alpha; straight alpha).
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  RgbaImage() = default;
  RgbaImage(int w, int h);  // all pixels transparent black
  std::uint8_t* pixel(int x, int y) {
    return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
  }
  const std::uint8_t* pixel(int x, int y) const {
    return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
  }
};

// Unreadable pictures, missing files, and impossible conversions. The message is the
// text the page's author or visitor sees.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 32LL * 1024 * 1024;
inline constexpr std::int64_t kMaxPictureFileBytes = 256LL * 1024 * 1024;

// The format told by the first bytes; None when no supported format starts that way.
PictureFormat detectPictureFormat(std::span<const std::uint8_t> bytes);

// Decodes a whole picture of any supported format (of an animated GIF, the first frame
// on its logical screen; of an icon, the image the desktop would pick: 32 x 32 when the
// icon holds that size, else the largest). Throws PictureError with a short reason.
RgbaImage decodePicture(std::span<const std::uint8_t> bytes);

// Writers. All write opaque pictures (alpha blended onto white).
// GIF: a packed colour table (the smallest power of two that holds the colours used;
// pictures of up to 256 colours keep them exactly, others are reduced by median cut),
// no transparent colour.
std::vector<std::uint8_t> encodeGif(const RgbaImage& image);
// PNG: 8-bit RGB.
std::vector<std::uint8_t> encodePng(const RgbaImage& image);
// JPEG: baseline, 4:2:0, the codec's default quality of 75 unless told otherwise.
std::vector<std::uint8_t> encodeJpeg(const RgbaImage& image, int quality = 75);

// The content type of a browser format ("image/gif", "image/png", "image/jpeg").
const char* pictureContentType(PictureFormat format);

class Picture {
 public:
  Picture() = default;
  // Copies share the bytes; a copy gets no OnChange.
  Picture(const Picture& other);
  Picture& operator=(const Picture& other);  // as Assign

  // Loads a file, told by its content. On failure the picture is unchanged and
  // PictureError says why: "Cannot open picture file ..." or "... is not a readable
  // picture (reason)". Reports a change on success.
  void LoadFromFile(const std::string& path);
  // The same for bytes in memory; `name` stands for the file in messages.
  void LoadFromBytes(std::vector<std::uint8_t> bytes, const std::string& name = "picture");
  // A drawn picture (a bitmap without file bytes).
  void SetImage(RgbaImage image);
  void Assign(const Picture& other);
  void Clear();

  bool Empty() const { return format_ == PictureFormat::None || width_ <= 0 || height_ <= 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The format of the loaded file; Bmp for a drawn picture; None when empty.
  PictureFormat Format() const { return format_; }
  // The file's bytes as loaded (empty for drawn and empty pictures).
  std::span<const std::uint8_t> Bytes() const;

  // The pixels (decoded anew for loaded pictures). Empty image for an empty picture.
  RgbaImage Decode() const;
  // The picture as a file of `target` (Gif, Png or Jpeg): the loaded bytes unchanged
  // when the picture already is in that format, else converted. Throws PictureError for
  // an empty picture or another target.
  std::vector<std::uint8_t> SaveAs(PictureFormat target) const;

  // Raised after every change of content (load, assign, drawn image, clear).
  std::function<void(Picture& sender)> OnChange;

 private:
  void changed();

  PictureFormat format_ = PictureFormat::None;
  int width_ = 0;
  int height_ = 0;
  std::shared_ptr<const std::vector<std::uint8_t>> bytes_;  // loaded file, immutable
  std::shared_ptr<const RgbaImage> drawn_;                  // drawn picture, immutable
};

}  // namespace orv
