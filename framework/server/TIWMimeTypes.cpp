#include "framework/server/TIWMimeTypes.h"

#include "framework/server/ServerText.h"

namespace orv {

TIWMimeTypes& TIWMimeTypes::Instance() {
  static TIWMimeTypes table;
  return table;
}

TIWMimeTypes::TIWMimeTypes() {
  struct Row {
    const char* ext;
    const char* type;
    bool isStatic;
  };
  static constexpr Row kRows[] = {
      {".JS", "application/x-javascript; charset=UTF-8", true},
      {".CSS", "text/css; charset=UTF-8", true},
      {".PNG", "image/png", true},
      {".JPG", "image/jpeg", true},
      {".JPEG", "image/jpeg", true},
      {".JPE", "image/jpeg", true},
      {".GIF", "image/gif", true},
      {".WAV", "audio/wav", true},
      {".OGG", "audio/ogg", true},
      {".MP3", "audio/mpeg", true},
      {".WMV", "video/x-ms-wmv", true},
      {".MOV", "video/quicktime", true},
      {".AVI", "video/x-msvideo", true},
      {".MPG", "video/mpeg", true},
      {".MPEG", "video/mpeg", true},
      {".SWF", "application/x-shockwave-flash", true},
      {".ZIP", "application/zip", true},
      {".PDF", "application/pdf", true},
      {".XML", "text/xml; charset=UTF-8", true},
      {".ICO", "image/x-ico", true},
      {".TXT", "text/plain; charset=UTF-8", true},
      {".RSS", "application/rss+xml; charset=UTF-8", true},
      {".GZ", "application/x-gzip", true},
      {".GZIP", "application/x-gzip", true},
      {".WOFF", "application/font-woff", true},
      {".TTF", "application/font-ttf", true},
      {".OTF", "application/font-otf", true},
      {".SVG", "image/svg+xml", true},
      {".HTML", "text/html; charset=UTF-8", false},
      {".HTM", "text/html; charset=UTF-8", false},
      {".EXE", "application/octet-stream", false},
      {".TMP", "application/octet-stream", false},
  };
  for (const Row& r : kRows) rows_[r.ext] = TMime{r.type, r.isStatic};
}

std::string TIWMimeTypes::key(std::string_view extension) {
  std::string k = detail::upper(extension);
  if (!k.empty() && k.front() != '.') k.insert(k.begin(), '.');
  return k;
}

std::string TIWMimeTypes::GetAsString(std::string_view extension) {
  ReadLock hold(lock_);
  const auto it = rows_.find(key(extension));
  if (it != rows_.end()) return it->second.Desc;
  return "application/octet-stream";
}

bool TIWMimeTypes::IsStaticFile(std::string_view fileName) {
  std::string ignored;
  return IsStaticFile(fileName, ignored);
}

bool TIWMimeTypes::IsStaticFile(std::string_view fileName, std::string& contentType) {
  if (fileName.empty() || fileName == "/") return false;
  const std::string ext = detail::extractFileExt(fileName);
  if (ext.empty()) return false;
  ReadLock hold(lock_);
  const auto it = rows_.find(key(ext));
  if (it == rows_.end() || !it->second.IsStatic) return false;
  contentType = it->second.Desc;
  return true;
}

bool TIWMimeTypes::IsImageFile(std::string_view fileName) {
  const std::string ext = detail::upper(detail::extractFileExt(fileName));
  return ext == ".JPG" || ext == ".PNG" || ext == ".GIF" || ext == ".JPEG" || ext == ".JPE";
}

void TIWMimeTypes::RegisterType(std::string_view extension, std::string_view type,
                                bool isStatic) {
  WriteLock hold(lock_);
  rows_[key(extension)] = TMime{std::string(type), isStatic};
}

void TIWMimeTypes::UnregisterType(std::string_view extension) {
  WriteLock hold(lock_);
  rows_.erase(key(extension));
}

}  // namespace orv
