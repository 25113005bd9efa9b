#pragma once
// Readers of the desktop's own picture formats: bitmap files (BMP) and icon files
// (ICO). Private to the picture code (see Picture.h); every read is checked against
// the bytes given, and errors are PictureError with a short reason.
#include <cstdint>
#include <span>

#include "platform/Picture.h"

namespace orv::detail {

RgbaImage decodeBmp(std::span<const std::uint8_t> bytes);
// `decodePng` decodes a PNG image stored inside an icon.
RgbaImage decodeIco(std::span<const std::uint8_t> bytes,
                    RgbaImage (*decodePng)(std::span<const std::uint8_t>));
// Throws unless width x height lies within the picture size limits.
void checkPictureSize(std::int64_t width, std::int64_t height);

inline constexpr const char* kReasonTruncated = "the file is truncated";
inline constexpr const char* kReasonBadSize = "the picture size is out of range";

}  // namespace orv::detail
